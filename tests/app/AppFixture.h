#pragma once
// A sandbox for tests of the whole program: settings, layout and desktop
// registration in a temporary folder, and every question the program asks
// (dialogs, message boxes, file dialogs, opened links) answered by the test.

#include "app/CMainFrame.h"
#include "app/CNotesApp.h"
#include "app/CStartUpDlg.h"
#include "core/NotesMgr.h"
#include "core/TreeOps.h"
#include "dialogs/CPasswordDlg.h"
#include "gui/DialogRunner.h"
#include "gui/FileAssociation.h"
#include "gui/FileDialogs.h"
#include "gui/GuiHelpers.h"
#include "gui/MessageBox.h"
#include "gui/QtSettingsStore.h"
#include "gui/ShellOpen.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

class AppFixture : public ::testing::Test {
public:
    using DialogAnswer = std::function<int(QDialog&)>;
    static int accept(QDialog& dialog) {
        dialog.accept();
        return dialog.result();
    }
    static int reject(QDialog& dialog) {
        dialog.reject();
        return QDialog::Rejected;
    }
    // Types `password` into the password prompt and confirms it; `saysWrong`
    // records whether the prompt said the last try was wrong.
    static DialogAnswer typePassword(const QString& password, std::vector<bool>* saysWrong = nullptr) {
        return [password, saysWrong](QDialog& dialog) {
            auto& prompt = dynamic_cast<CPasswordDlg&>(dialog);
            if (saysWrong) {
                saysWrong->push_back(!prompt.wrongPasswordLabel()->isHidden());
                EXPECT_EQ(prompt.wrongPasswordLabel()->text(), "The password is not correct.");
            }
            prompt.passwordBox()->setText(password);
            return accept(prompt);
        };
    }

protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
        FileAssociation::SetToolRunner([](const QString&, const QStringList&) {});
        settings = std::make_unique<QtSettingsStore>(settingsFile());
        SetBinarySettingFiles(dir.filePath("system.conf"), settingsFile());
        SetDialogRunner([this](QDialog& dialog) {
            dialogs.append(QString::fromLatin1(dialog.metaObject()->className()));
            if (answers.empty())
                return int(QDialog::Rejected);
            DialogAnswer answer = std::move(answers.front());
            answers.pop_front();
            return answer(dialog);
        });
        SetMessageBoxHandler([this](QWidget*, const QString& text, MessageIcon, MessageButtons) {
            messages.append(text);
            if (messageAnswers.empty())
                return MessageAnswer::Cancel;
            const MessageAnswer answer = messageAnswers.front();
            messageAnswers.pop_front();
            return answer;
        });
        SetShellOpenHandler([this](const QString& target) {
            shellOpened.append(target);
            return shellOpens;
        });
    }

    void TearDown() override {
        app.reset();
        SetDialogRunner({});
        SetMessageBoxHandler({});
        SetShellOpenHandler({});
        FileAssociation::SetToolRunner({});
        FileDialogs::ClearQueue();
        SetBinarySettingFiles(QString(), QString());
    }

    QString settingsFile() const { return dir.filePath("settings.conf"); }
    QString path(const QString& name) const { return dir.filePath(name); }

    // Starts the program as from the command line; the start-up dialog (when
    // there is no file) takes the first queued answer.
    bool start(const QStringList& arguments = {}) {
        app = std::make_unique<CNotesApp>(arguments, *settings);
        return app->InitInstance();
    }
    CMainFrame& frame() { return app->mainFrame(); }
    CNotesDoc& doc() { return app->document(); }
    NotesMgr& notes() { return app->document().notes(); }

    // A database file with a root, one folder and one note, under `password`.
    QString makeDatabase(const QString& name, const std::u16string& password,
                         const std::u16string& title = u"Saved") {
        NotesMgr mgr;
        NewDatabase(mgr);
        mgr.dbTitle = title;
        const int32_t folder = mgr.AddNode(0, 2, 1, u"Folder", u"", u"", NoteTimestamp{});
        mgr.AddNode(folder, 5, 0, u"Note", u"body text", u"", NoteTimestamp{});
        mgr.password = password;
        const QString file = path(name);
        mgr.Save(QFile::encodeName(file).toStdString());
        return file;
    }

    // Answers for the next dialogs, in order.
    void answer(DialogAnswer a) { answers.push_back(std::move(a)); }

    QTemporaryDir dir;
    std::unique_ptr<QtSettingsStore> settings;
    std::unique_ptr<CNotesApp> app;
    std::deque<DialogAnswer> answers;
    QStringList dialogs;
    std::deque<MessageAnswer> messageAnswers;
    QStringList messages;
    QStringList shellOpened;
    bool shellOpens = true; // false: no program can open anything
};
