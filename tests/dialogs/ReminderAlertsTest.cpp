// The Reminder window: the due titles with their notes, and Open, which edits
// a copy in the property sheet and writes it back with the reset rule of the
// reminder list.

#include "NotePropFixture.h"

#include "core/Edition.h"
#include "dialogs/CNotePropNotes.h"
#include "dialogs/CNotePropReminder.h"
#include "dialogs/CReminderAlerts.h"
#include "gui/DialogMenuBar.h"
#include "gui/DialogRunner.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <functional>

class ReminderAlertsTest : public NotePropFixture {
protected:
    void SetUp() override {
        NotePropFixture::SetUp();
        previousRunner = SetDialogRunner([this](QDialog& dialog) {
            ++sheetsRun;
            auto* sheetShown = qobject_cast<CNotePropSheet*>(&dialog);
            if (!sheetShown || !answer)
                return int(QDialog::Rejected);
            dialog.show();
            return answer(*sheetShown);
        });
    }
    void TearDown() override {
        SetDialogRunner(previousRunner);
        NotePropFixture::TearDown();
    }

    int32_t AddDue(const std::u16string& title) {
        const int32_t id = notes.AddNode(rootId, 16, 0, title, u"", u"", NoteTimestamp::now());
        NoteRecord& n = *notes.FindNode(id);
        n.reminderOn = 1;
        n.repeatKind = RepeatOnce;
        n.reminderTime = NoteTimestamp{2024, 5, 1, 6, 9, 30, 0, 0};
        n.reminderAckTime = NoteTimestamp{2024, 5, 1, 6, 9, 31, 5, 0};
        return id;
    }

    // Clicks Open as the edition offers it.
    static void PressOpen(CReminderAlerts& alerts) {
        if (kHandheld)
            DialogMenuBar::Find(&alerts)->leftButton()->click();
        else
            QTest::mouseClick(alerts.openButton(), Qt::LeftButton);
    }

    std::function<int(CNotePropSheet&)> answer;
    int sheetsRun = 0;
    DialogRunnerHandler previousRunner;
};

TEST_F(ReminderAlertsTest, ListsTheDueTitlesWithTheirNotes) {
    const int32_t a = AddDue(u"Dentist");
    const int32_t b = AddDue(u"Pay rent");
    CReminderAlerts alerts(notes, {a, 4242, b});
    alerts.show();
    EXPECT_EQ(alerts.windowTitle(), QStringLiteral("Reminder"));
    const auto* label = alerts.findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Reminder:"));
    ASSERT_EQ(alerts.list()->count(), 2);
    EXPECT_EQ(alerts.list()->item(0)->text(), QStringLiteral("Dentist"));
    EXPECT_EQ(alerts.list()->item(1)->text(), QStringLiteral("Pay rent"));
    EXPECT_EQ(alerts.rowNote(0), a);
    EXPECT_EQ(alerts.rowNote(1), b);
    // Open and Close: buttons on the desktop, soft keys on the handheld.
    DialogMenuBar* bar = DialogMenuBar::Find(&alerts);
    EXPECT_EQ(bar != nullptr, kHandheld);
    EXPECT_EQ(alerts.openButton()->isVisible(), !kHandheld);
    if (bar) {
        EXPECT_EQ(bar->leftKey()->text(), QStringLiteral("Open"));
        bar->rightButton()->click();
    } else {
        EXPECT_EQ(alerts.openButton()->text(), QStringLiteral("Open"));
        QTest::mouseClick(alerts.closeButton(), Qt::LeftButton);
    }
    EXPECT_FALSE(alerts.isVisible());
}

TEST_F(ReminderAlertsTest, OpenEditsACopyAndWritesItBack) {
    struct Case {
        const char* what;
        std::function<void(CNotePropSheet&)> edit; // null: Cancel
        bool written;
        bool ackCleared;
    };
    const Case cases[] = {
        {"cancelled", nullptr, false, false},
        {"title only",
         [](CNotePropSheet& s) { s.notesPage()->titleBox()->setText(QStringLiteral("Dentist at ten")); },
         true, false},
        {"new minute",
         [](CNotePropSheet& s) {
             s.SetActivePage(s.pageCount() - 1);
             QDateTimeEdit* edit = s.reminderPage()->timeEdit();
             edit->setDateTime(edit->dateTime().addSecs(3600));
         },
         true, true},
    };
    for (const Case& c : cases) {
        const int32_t id = AddDue(u"Dentist");
        const NoteRecord before = *notes.FindNode(id);
        notes.SetModified(false);
        CReminderAlerts alerts(notes, {id});
        alerts.show();
        QSignalSpy written(&alerts, &CReminderAlerts::noteWritten);
        answer = [&](CNotePropSheet& s) {
            // The sheet edits a copy: the stored note is untouched until OK.
            if (!c.edit)
                return int(QDialog::Rejected);
            c.edit(s);
            s.accept();
            EXPECT_EQ(*notes.FindNode(id), before) << c.what;
            return s.result();
        };
        // Without a selected row Open does nothing.
        alerts.list()->clearSelection();
        PressOpen(alerts);
        EXPECT_EQ(sheetsRun, 0) << c.what;

        alerts.list()->setCurrentRow(0);
        PressOpen(alerts);
        EXPECT_EQ(sheetsRun, 1) << c.what;
        sheetsRun = 0;
        const NoteRecord& after = *notes.FindNode(id);
        EXPECT_EQ(written.count(), c.written ? 1 : 0) << c.what;
        EXPECT_EQ(notes.IsModified(), c.written) << c.what;
        EXPECT_EQ(after.reminderAckTime.isZero(), c.ackCleared) << c.what;
        EXPECT_EQ(alerts.list()->item(0)->text(), QString::fromStdU16String(after.title)) << c.what;
        if (!c.written) {
            EXPECT_TRUE(after == before) << c.what;
        }
    }
}

TEST_F(ReminderAlertsTest, OpensOnItsFirstNoteSoThatReturnOpensItOnce) {
    const int32_t first = AddDue(u"Dentist");
    AddDue(u"Tax return");
    CReminderAlerts alerts(notes, {first, first + 1});
    alerts.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&alerts));
    EXPECT_EQ(alerts.list()->currentRow(), 0);
    EXPECT_TRUE(alerts.list()->currentItem()->isSelected());
    std::u16string opened;
    answer = [&](CNotePropSheet& s) {
        opened = s.notesPage()->titleBox()->text().toStdU16String();
        return int(QDialog::Rejected);
    };
    // Return where the focus is: the list.
    QTest::keyClick(alerts.focusWidget(), Qt::Key_Return);
    EXPECT_EQ(sheetsRun, 1);
    EXPECT_EQ(opened, u"Dentist");
}
