// The document through the main window's commands: open with the password
// prompt, the save prompt, the first save, and a file changed by another program.
#include "AppFixture.h"

#include "app/CNotesView.h"
#include "app/NotesTreeModel.h"
#include "core/FileKind.h"
#include "dialogs/CDatabaseProperties.h"
#include "dialogs/CPasswordDlg.h"
#include "gui/SettingsTable.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <vector>

namespace {

AppFixture::DialogAnswer fillProperties(const QString& title, const QString& password) {
    return [title, password](QDialog& dialog) {
        auto& properties = dynamic_cast<CDatabaseProperties&>(dialog);
        properties.titleBox()->setText(title);
        properties.passwordBox()->setText(password);
        properties.repeatBox()->setText(password);
        return AppFixture::accept(properties);
    };
}

QByteArray readFile(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class DocumentTest : public AppFixture {};

TEST_F(DocumentTest, OpenAsksAgainAfterAWrongPasswordUntilTheRightOne) {
    const QString file = makeDatabase("locked.nte", u"right");
    ASSERT_TRUE(start());
    FileDialogs::QueueAnswers({file});
    std::vector<bool> saysWrong;
    answer(typePassword("wrong", &saysWrong));
    answer(typePassword("also wrong", &saysWrong));
    answer(typePassword("right", &saysWrong));
    frame().action(Command::Open)->trigger();

    EXPECT_EQ(dialogs, (QStringList{"CStartUpDlg", "CPasswordDlg", "CPasswordDlg", "CPasswordDlg"}));
    // The first prompt follows the password held, not one the user typed.
    EXPECT_EQ(saysWrong, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(doc().pathName(), QFileInfo(file).absoluteFilePath());
    EXPECT_EQ(notes().dbTitle, u"Saved");
    EXPECT_EQ(notes().password, u"right");
    EXPECT_FALSE(doc().isModified());
    EXPECT_TRUE(frame().windowTitle().startsWith("locked.nte"));
    ASSERT_FALSE(notes().recentFiles.empty());
    EXPECT_EQ(QString::fromStdU16String(notes().recentFiles.front()), QFileInfo(file).absoluteFilePath());
}

TEST_F(DocumentTest, AFailedOrCancelledOpenKeepsTheDatabaseWithItsUnsavedChanges) {
    const QString locked = makeDatabase("locked.nte", u"right");
    const QString damaged = path("damaged.nte");
    QFile bad(damaged);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a database at all");
    bad.close();
    ASSERT_TRUE(start());
    notes().AddNode(0, 0, 0, u"Unsaved", u"", u"", NoteTimestamp{});
    doc().setModified(true);
    const size_t nodes = notes().nodes.size();

    struct Case {
        QString file;
        bool cancelPassword;
        bool expectMessage;
    };
    for (const Case& c :
         {Case{locked, true, false}, Case{damaged, false, true}, Case{path("missing.nte"), false, true}}) {
        SCOPED_TRACE(c.file.toStdString());
        messages.clear();
        messageAnswers = {MessageAnswer::No}; // do not save the changes first
        if (c.cancelPassword)
            answer(reject);
        EXPECT_FALSE(app->OpenDocumentFile(c.file));
        EXPECT_EQ(notes().nodes.size(), nodes);
        EXPECT_TRUE(doc().isModified());
        EXPECT_TRUE(doc().pathName().isEmpty());
        EXPECT_EQ(messages.size(), c.expectMessage ? 2 : 1); // the save prompt, then the failure
    }
}

TEST_F(DocumentTest, FirstSaveAsksForPropertiesAndCancelWritesNoFile) {
    ASSERT_TRUE(start());
    const QString file = path("first.nte");
    FileDialogs::QueueAnswers({file});
    answer(reject);
    frame().action(Command::Save)->trigger();
    EXPECT_EQ(dialogs.last(), "CDatabaseProperties");
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(doc().pathName().isEmpty());

    // Again, now answering: the title was preset to the file name.
    FileDialogs::QueueAnswers({file});
    QString presetTitle;
    answer([&presetTitle](QDialog& dialog) {
        presetTitle = dynamic_cast<CDatabaseProperties&>(dialog).titleBox()->text();
        return fillProperties("My notes", "pw")(dialog);
    });
    frame().action(Command::Save)->trigger();
    EXPECT_EQ(presetTitle, "first");
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_FALSE(doc().isModified());

    NotesMgr reread;
    reread.password = u"pw";
    reread.Load(QFile::encodeName(file).toStdString());
    EXPECT_EQ(reread.dbTitle, u"My notes");
}

TEST_F(DocumentTest, SavingKeepsTheTreeAsItWas) {
    ASSERT_TRUE(start());
    std::vector<int32_t> folders;
    int32_t lastNote = -1;
    for (int i = 0; i < 60; ++i) {
        folders.push_back(notes().AddNode(
            0, 0, 1, u"Folder " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)), u"", u"", {}));
        lastNote = notes().AddNode(folders.back(), 0, 0, u"Note", u"", u"", {});
    }
    CNotesView& view = *frame().view();
    view.Fill();
    NotesTreeModel& model = view.notesModel();
    view.expand(model.indexOf(folders[3]));
    view.expand(model.indexOf(folders.back()));
    view.setCurrentIndex(model.indexOf(lastNote));
    QTest::qWait(0); // the view lays its items out first
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    const int scrolled = view.verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0) << "the tree should need scrolling";
    const QString file = path("kept.nte");

    struct Case {
        const char* name;
        std::function<void()> act;
        const char* label;
    };
    const Case cases[] = {
        {"first save, with its properties",
         [&] {
             FileDialogs::QueueAnswers({file});
             answer(fillProperties("Kept", ""));
             frame().action(Command::Save)->trigger();
         },
         "Kept (the password is not set)"},
        {"a later save",
         [&] {
             doc().setModified(true);
             frame().action(Command::Save)->trigger();
         },
         "Kept (the password is not set)"},
        {"database properties",
         [&] {
             answer(fillProperties("Renamed", "pw"));
             frame().action(Command::DatabaseProperties)->trigger();
         },
         "Renamed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.act();
        // Past the time a rebuild would take.
        QTest::qWait(CNotesView::kRebuildDelayMs * 2);
        EXPECT_EQ(model.indexOf(0).data().toString(), c.label);
        EXPECT_TRUE(view.isExpanded(model.indexOf(folders[3])));
        EXPECT_TRUE(view.isExpanded(model.indexOf(folders.back())));
        EXPECT_FALSE(view.isExpanded(model.indexOf(folders[4])));
        EXPECT_EQ(view.selectedNodeId(), lastNote);
        EXPECT_EQ(view.verticalScrollBar()->value(), scrolled);
    }
    EXPECT_FALSE(doc().pathName().isEmpty());
}

TEST_F(DocumentTest, ClosingWithChangesAsksAndCancelKeepsTheWindow) {
    ASSERT_TRUE(start());
    doc().setModified(true);
    messageAnswers = {MessageAnswer::Cancel};
    EXPECT_FALSE(frame().close());
    EXPECT_TRUE(frame().isVisible());
    EXPECT_EQ(messages, QStringList{"Save changes to Untitled?"});

    messageAnswers = {MessageAnswer::No};
    EXPECT_TRUE(frame().close());
}

TEST_F(DocumentTest, SavingOverAFileChangedByAnotherProgramAsksFirst) {
    const QString file = makeDatabase("shared.nte", u"");
    ASSERT_TRUE(start({file}));
    notes().dbTitle = u"Mine";
    doc().setModified(true);
    // Another program writes the file in the meantime.
    makeDatabase("shared.nte", u"", u"Theirs");
    const QByteArray theirs = readFile(file);

    messageAnswers = {MessageAnswer::Cancel};
    EXPECT_FALSE(doc().OnSave());
    EXPECT_EQ(messages.last(),
              "shared.nte was changed by another program after it was opened. Overwrite it?");
    EXPECT_EQ(readFile(file), theirs);
    EXPECT_TRUE(doc().isModified());

    // Save As keeps their file and writes ours beside it; the name offered is not theirs.
    const QString other = path("mine.nte");
    QFile(path("shared (2).nte")).open(QIODevice::WriteOnly);
    messageAnswers = {MessageAnswer::SaveAs};
    FileDialogs::QueueAnswers({other});
    EXPECT_TRUE(doc().OnSave());
    EXPECT_EQ(FileDialogs::SuggestedNames().value(0), QFileInfo(path("shared (3).nte")).absoluteFilePath());
    EXPECT_EQ(readFile(file), theirs);
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_EQ(doc().pathName(), QFileInfo(other).absoluteFilePath());

    // Our own saves are not taken for another program's.
    messages.clear();
    doc().setModified(true);
    EXPECT_TRUE(doc().OnSave());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DocumentTest, FileDialogsStartWhereTheUserWorks) {
    QDir(dir.path()).mkpath("start");
    QDir(dir.path()).mkpath("work");
    WriteStringSetting(*settings, Setting::StartUpPath, path("start"));
    const QString database = makeDatabase("work/db.nte", u"");
    ASSERT_TRUE(start());
    struct Step {
        const char* name;
        Command command;
        QString answer;
        QString startPlace;
    };
    const Step steps[] = {
        {"at first: the start-up dialog's folder", Command::Open, QString(), path("start")},
        {"first save of a new database", Command::Save, QString(), path("start/Sealbook.nte")},
        {"the database is opened from there", Command::Open, database, path("start")},
        {"with a database open: its folder", Command::Open, QString(), path("work")},
        {"a new database", Command::New, QString(), QString()},
        {"then the folder last used", Command::Open, QString(), path("work")},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        FileDialogs::ClearQueue();
        if (s.startPlace.isEmpty()) {
            frame().Execute(s.command);
            continue;
        }
        FileDialogs::QueueAnswers({s.answer});
        frame().Execute(s.command);
        EXPECT_EQ(FileDialogs::StartPlaces(), QStringList{s.startPlace});
    }
    EXPECT_EQ(ReadStringSetting(*settings, Setting::LastFileDialogFolder), path("work"));
}

TEST_F(DocumentTest, ACommandLineFileThatDoesNotOpenEndsTheStart) {
    messageAnswers = {MessageAnswer::Ok};
    EXPECT_FALSE(start({path("missing.nte")}));
    EXPECT_EQ(messages.size(), 1);
    EXPECT_FALSE(dialogs.contains("CStartUpDlg"));
}

TEST_F(DocumentTest, StrongProtectionIsChosenSavedWithTheKeptKeyAndReopened) {
    ASSERT_TRUE(start());
    notes().strongCosts = StrongKey::smallestCosts();
    // More than one piece, so that damage after the first can be told from a wrong password.
    const int32_t big = notes().AddNode(0, 0, 0, u"Big", u"", u"", NoteTimestamp{});
    notes().FindNode(big)->setAttachment(std::vector<uint8_t>(100000, 7));
    const QString file = path("strong.nte");
    const std::string local = QFile::encodeName(file).toStdString();
    FileDialogs::QueueAnswers({file});
    answer([](QDialog& dialog) {
        auto& properties = dynamic_cast<CDatabaseProperties&>(dialog);
        properties.titleBox()->setText("Strong");
        properties.strongButton()->setChecked(true);
        properties.accept(); // without a password: refused, the dialog stays
        properties.passwordBox()->setText("pw");
        properties.repeatBox()->setText("pw");
        return AppFixture::accept(properties);
    });
    frame().action(Command::Save)->trigger();
    EXPECT_EQ(messages, QStringList{"Strong protection needs a password."});
    EXPECT_EQ(ProtectionOfFile(local), Protection::Strong);
    const auto key = notes().strongKey;
    ASSERT_TRUE(key);
    notes().dbTitle = u"Changed";
    doc().setModified(true);
    frame().action(Command::Save)->trigger();
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(notes().strongKey, key) << "a save with the same password derives no new key";

    doc().OnNewDocument();
    EXPECT_EQ(notes().protection, Protection::Compatible);
    notes().password.clear(); // as after a fresh start: the open asks
    answer(typePassword("wrong"));
    answer(typePassword("pw"));
    dialogs.clear();
    EXPECT_TRUE(doc().OnOpenDocument(file));
    EXPECT_EQ(dialogs, (QStringList{"CPasswordDlg", "CPasswordDlg"}));
    EXPECT_EQ(notes().dbTitle, u"Changed");
    EXPECT_EQ(notes().protection, Protection::Strong);

    // A damaged copy is refused with its message; the open database stays.
    QByteArray bytes = readFile(file);
    bytes[bytes.size() - 2] = char(bytes[bytes.size() - 2] ^ 0x10);
    QFile damaged(path("damaged.nte"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(bytes);
    damaged.close();
    messages.clear();
    EXPECT_FALSE(doc().OnOpenDocument(damaged.fileName()));
    EXPECT_EQ(messages, QStringList{QFileInfo(damaged).absoluteFilePath() +
                                    ": The file is damaged or was changed by someone else."});
    EXPECT_EQ(doc().pathName(), QFileInfo(file).absoluteFilePath());
    EXPECT_EQ(notes().dbTitle, u"Changed");
}
