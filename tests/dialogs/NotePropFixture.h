#pragma once
// Shared set-up of the note property sheet tests: a database with the built-in
// templates, message boxes and file dialogs answered without a person, and
// small helpers that drive the sheet as a user would.

#include "core/NoteRecord.h"
#include "core/NotesMgr.h"
#include "dialogs/CNotePropSheet.h"
#include "gui/FileDialogs.h"
#include "gui/MessageBox.h"

#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class NotePropFixture : public ::testing::Test {
protected:
    void SetUp() override {
        notes.InstallDefaultTemplates();
        rootId = notes.AddNode(-1, 0, 1, u"Untitled", u"", u"", NoteTimestamp::now());
        previousHandler =
            SetMessageBoxHandler([this](QWidget*, const QString& text, MessageIcon icon, MessageButtons) {
                messages << text;
                icons.push_back(icon);
                return MessageAnswer::Ok;
            });
        FileDialogs::ClearQueue();
    }
    void TearDown() override {
        sheet.reset();
        SetMessageBoxHandler(previousHandler);
        FileDialogs::ClearQueue();
    }

    // A note (or folder) with a title, ready to be edited.
    NoteRecord MakeRecord(bool folder, const std::u16string& title = u"Bank") {
        NoteRecord r;
        r.isFolder = folder ? 1 : 0;
        r.title = title;
        return r;
    }

    // Opens the sheet on `record` and shows it (which activates the first page).
    CNotePropSheet& Open(NoteRecord& record, bool folder) {
        sheet = std::make_unique<CNotePropSheet>(notes, record, folder);
        sheet->show();
        return *sheet;
    }

    // Chooses a tab with the mouse; true when the sheet switched to it.
    bool ClickTab(int index) {
        QTabBar* bar = sheet->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        return sheet->activePage() == index;
    }

    NotesMgr notes;
    int32_t rootId = 0;
    std::unique_ptr<CNotePropSheet> sheet;
    QStringList messages;
    std::vector<MessageIcon> icons;
    MessageBoxHandler previousHandler;
};
