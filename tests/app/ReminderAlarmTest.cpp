// Reminders firing in the running program: the pass over the tree's
// database, the "Reminder" window shown modally through the dialog seam,
// once per occurrence, never over another modal dialog or over itself, Open
// writing the note back into the tree and the preview, and a database made
// by the companion's import firing after it is opened.

#include "AppFixture.h"

#include "app/CNotesDoc.h"
#include "app/CNotesView.h"
#include "app/NotesTreeModel.h"
#include "app/PreviewTarget.h"
#include "app/ReminderAlarm.h"
#include "core/Edition.h"
#include "dialogs/CNotePropNotes.h"
#include "dialogs/CNotePropReminder.h"
#include "dialogs/CNotePropSheet.h"
#include "dialogs/CReminderAlerts.h"
#include "gui/DialogMenuBar.h"

#include <QDateTimeEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>

namespace {

NoteTimestamp At(int y, int mo, int d, int h, int mi, int s = 0) {
    NoteTimestamp t;
    t.year = uint16_t(y);
    t.month = uint16_t(mo);
    t.day = uint16_t(d);
    t.hour = uint16_t(h);
    t.minute = uint16_t(mi);
    t.second = uint16_t(s);
    return t;
}

class RecordingPreview : public PreviewTarget {
public:
    void ShowNode(const NotesMgr*, const NoteRecord* node) override { last = node ? node->nodeId : -1; }
    int32_t last = -1;
};

class ReminderAlarmTest : public ::testing::Test {
protected:
    void SetUp() override {
        NotesMgr& notes = doc.notes();
        folder = notes.AddNode(0, 1, 1, u"Errands", u"", u"", NoteTimestamp{});
        daily = AddReminder(u"Water the plants", RepeatDaily, At(2024, 1, 1, 8, 0));
        weekly = AddReminder(u"Team call", RepeatWeekly, At(2024, 1, 1, 9, 0));
        notes.FindNode(weekly)->repeatDays = kTuesday;
        notes.AddNode(folder, 16, 0, u"No reminder", u"", u"", NoteTimestamp{});
        doc.setModified(false);

        previousRunner = SetDialogRunner([this](QDialog& dialog) {
            if (auto* alerts = qobject_cast<CReminderAlerts*>(&dialog)) {
                QStringList rows;
                for (int i = 0; i < alerts->list()->count(); ++i)
                    rows << alerts->list()->item(i)->text();
                windows.push_back(rows);
                alerts->show();
                if (onWindow)
                    onWindow(*alerts);
                alerts->reject();
                return int(QDialog::Rejected);
            }
            auto* sheet = qobject_cast<CNotePropSheet*>(&dialog);
            if (!sheet || !onSheet)
                return int(QDialog::Rejected);
            sheet->show();
            onSheet(*sheet);
            sheet->accept();
            return sheet->result();
        });
        view = std::make_unique<CNotesView>(doc);
        view->setPreviewTarget(&preview);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->Fill();
        alarm().timer().stop(); // the test runs the passes
    }
    void TearDown() override {
        view.reset();
        SetDialogRunner(previousRunner);
    }

    int32_t AddReminder(const std::u16string& title, int kind, const NoteTimestamp& when) {
        const int32_t id = doc.notes().AddNode(folder, 16, 0, title, u"", u"", NoteTimestamp{});
        NoteRecord& n = *doc.notes().FindNode(id);
        n.reminderOn = 1;
        n.repeatKind = kind;
        n.reminderTime = when;
        return id;
    }
    ReminderAlarm& alarm() { return view->reminderAlarm(); }
    void PassAt(const NoteTimestamp& now) {
        alarm().clock().Set(now);
        alarm().RunPass();
    }

    CNotesDoc doc{nullptr};
    int32_t folder = -1, daily = -1, weekly = -1;
    std::unique_ptr<CNotesView> view;
    RecordingPreview preview;
    std::vector<QStringList> windows;
    std::function<void(CReminderAlerts&)> onWindow;
    std::function<void(CNotePropSheet&)> onSheet;
    DialogRunnerHandler previousRunner;
};

TEST_F(ReminderAlarmTest, DueNotesFireOncePerOccurrence) {
    // Monday 2024-05-06, a minute before the daily reminder: nothing at all.
    PassAt(At(2024, 5, 6, 7, 59, 40));
    EXPECT_TRUE(windows.empty());
    EXPECT_FALSE(doc.isModified());
    // At its minute it fires; the weekly one waits for Tuesday.
    PassAt(At(2024, 5, 6, 8, 0));
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0], QStringList{"Water the plants"});
    EXPECT_TRUE(doc.isModified());
    // The passes of the rest of the day show nothing more.
    for (int minute = 0; minute < 60; minute += 7)
        PassAt(At(2024, 5, 6, 15, minute, 20));
    EXPECT_EQ(windows.size(), 1u);
    // Tuesday 09:00: both, in the order of the database.
    PassAt(At(2024, 5, 7, 9, 0));
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[1], (QStringList{"Water the plants", "Team call"}));
}

TEST_F(ReminderAlarmTest, NoPassOverAModalDialogOrOverItsOwnWindow) {
    // Another dialog of the program is running: the pass waits.
    QDialog other;
    const DialogRunnerHandler fixtureRunner = SetDialogRunner([&](QDialog&) {
        PassAt(At(2024, 5, 7, 9, 0));
        return int(QDialog::Rejected);
    });
    RunDialog(other);
    SetDialogRunner(fixtureRunner);
    EXPECT_TRUE(windows.empty());
    EXPECT_TRUE(doc.notes().FindNode(daily)->reminderAckTime.isZero());

    // While the window stays open for a day, the timer's passes show nothing.
    bool nestedWindow = false;
    onWindow = [&](CReminderAlerts&) {
        EXPECT_TRUE(alarm().isWindowShown());
        const size_t before = windows.size();
        PassAt(At(2024, 5, 8, 9, 0));
        nestedWindow = windows.size() != before;
    };
    PassAt(At(2024, 5, 7, 9, 0));
    EXPECT_EQ(windows.size(), 1u);
    EXPECT_FALSE(nestedWindow);
    EXPECT_FALSE(alarm().isWindowShown());
    // Once it is closed, the next pass fires what came due meanwhile.
    onWindow = nullptr;
    PassAt(At(2024, 5, 8, 9, 0));
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[1], QStringList{"Water the plants"});
}

TEST_F(ReminderAlarmTest, OpenWritesTheNoteBackIntoTheTreeAndThePreview) {
    onWindow = [&](CReminderAlerts& alerts) {
        alerts.list()->setCurrentRow(0);
        if (kHandheld)
            DialogMenuBar::Find(&alerts)->leftButton()->click();
        else
            QTest::mouseClick(alerts.openButton(), Qt::LeftButton);
    };
    onSheet = [&](CNotePropSheet& sheet) {
        sheet.notesPage()->titleBox()->setText(QStringLiteral("Water the garden"));
        ASSERT_TRUE(sheet.SetActivePage(sheet.pageCount() - 1));
        QDateTimeEdit* time = sheet.reminderPage()->timeEdit();
        time->setDateTime(time->dateTime().addSecs(3600));
    };
    view->setCurrentIndex(view->notesModel().indexOf(daily));
    doc.setModified(false);
    PassAt(At(2024, 5, 6, 8, 0));
    ASSERT_EQ(windows.size(), 1u);

    const NoteRecord& note = *doc.notes().FindNode(daily);
    EXPECT_EQ(note.title, u"Water the garden");
    EXPECT_EQ(note.reminderTime.hour, 9);
    // A new reminder time may fire again: the acknowledgement is cleared.
    EXPECT_TRUE(note.reminderAckTime.isZero());
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(view->notesModel().indexOf(daily).data().toString(), QStringLiteral("Water the garden"));
    EXPECT_EQ(preview.last, daily);
    onWindow = nullptr;
    PassAt(At(2024, 5, 6, 9, 0));
    EXPECT_EQ(windows.size(), 2u);
}

class ReminderStartTest : public AppFixture {};

// The companion builds the file from JSON; the program opens it and the
// reminder fires in the window shortly after.
TEST_F(ReminderStartTest, ADatabaseImportedByTheCompanionFiresWhenOpened) {
    const QString original = makeDatabase("made.nte", u"");
    {
        NotesMgr mgr;
        mgr.Load(QFile::encodeName(original).toStdString());
        const int32_t id = mgr.AddNode(0, 16, 0, u"Renew the passport", u"", u"", NoteTimestamp{});
        NoteRecord& n = *mgr.FindNode(id);
        n.reminderOn = 1;
        n.repeatKind = RepeatOnce;
        n.reminderTime = At(2020, 2, 3, 4, 5);
        mgr.Save(QFile::encodeName(original).toStdString());
    }
    QProcess exporter;
    exporter.start(QStringLiteral(SEALBOOK_CLI_PROGRAM), {QStringLiteral("export"), original});
    ASSERT_TRUE(exporter.waitForFinished(30000));
    ASSERT_EQ(exporter.exitCode(), 0);
    QFile json(path("made.json"));
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(exporter.readAllStandardOutput());
    json.close();
    const QString imported = path("imported.nte");
    QProcess importer;
    importer.start(QStringLiteral(SEALBOOK_CLI_PROGRAM),
                   {QStringLiteral("import"), json.fileName(), imported});
    ASSERT_TRUE(importer.waitForFinished(30000));
    ASSERT_EQ(importer.exitCode(), 0) << importer.readAllStandardError().toStdString();

    QStringList shown;
    answer([&](QDialog& dialog) {
        auto* alerts = qobject_cast<CReminderAlerts*>(&dialog);
        if (alerts && alerts->list()->count() > 0)
            shown << alerts->list()->item(0)->text();
        return reject(dialog);
    });
    ASSERT_TRUE(start({imported}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 5000));
    EXPECT_EQ(shown, QStringList{"Renew the passport"});
    EXPECT_EQ(dialogs, QStringList{"CReminderAlerts"});
}

} // namespace
