// The Reminder page: what it shows, and that leaving it writes exactly what
// was changed on it, so the tree's reset rule keeps the acknowledgement of an
// untouched reminder and clears it for a changed one.

#include "NotePropFixture.h"

#include "core/TreeOps.h"
#include "dialogs/CNotePropReminder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <functional>
#include <tuple>

namespace {

NoteTimestamp Stamp(int y, int mo, int d, int h, int mi, int s = 0, int dow = 0) {
    NoteTimestamp t;
    t.year = uint16_t(y);
    t.month = uint16_t(mo);
    t.day = uint16_t(d);
    t.hour = uint16_t(h);
    t.minute = uint16_t(mi);
    t.second = uint16_t(s);
    t.dayOfWeek = uint16_t(dow);
    return t;
}

// The fields a reminder consists of, every time stamp field included.
auto ReminderFields(const NoteRecord& n) {
    const auto stamp = [](const NoteTimestamp& t) {
        return std::tuple(t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second, t.millisecond);
    };
    return std::tuple(n.reminderOn, stamp(n.reminderTime), stamp(n.reminderAckTime), n.repeatKind,
                      n.repeatDays);
}

} // namespace

class NotePropReminderTest : public NotePropFixture {
protected:
    // A weekly reminder on Monday 2024-05-06 09:30 that fired 20 seconds
    // after; the Monday digit holds 2 and the lowest digit 5, values the page
    // never writes itself. dayOfWeek is left wrong on purpose.
    int32_t AddReminderNote(int kind = RepeatWeekly) {
        const int32_t id = notes.AddNode(rootId, 16, 0, u"Dentist", u"", u"", NoteTimestamp::now());
        NoteRecord& n = *notes.FindNode(id);
        n.reminderOn = 1;
        n.reminderTime = Stamp(2024, 5, 6, 9, 30, 0, 3);
        n.reminderAckTime = Stamp(2024, 5, 6, 9, 30, 20, 1);
        n.repeatKind = kind;
        n.repeatDays = 2 * kMonday | kFriday | 0x5;
        return id;
    }

    CNotePropReminder& OpenReminderPage(NoteRecord& copy) {
        Open(copy, false);
        EXPECT_TRUE(ClickTab(sheet->pageCount() - 1));
        return *sheet->reminderPage();
    }
};

TEST_F(NotePropReminderTest, ShowsTheStoredReminder) {
    const int32_t id = AddReminderNote();
    NoteRecord copy = *notes.FindNode(id);
    CNotePropReminder& page = OpenReminderPage(copy);
    EXPECT_EQ(sheet->tabBar()->tabText(sheet->pageCount() - 1), QStringLiteral("Reminder"));
    EXPECT_TRUE(page.remindBox()->isChecked());
    EXPECT_EQ(page.timeEdit()->dateTime(), QDateTime(QDate(2024, 5, 6), QTime(9, 30)));
    EXPECT_EQ(page.repeatList()->currentText(), QStringLiteral("Weekly"));
    QStringList kinds;
    for (int i = 0; i < page.repeatList()->count(); ++i)
        kinds << page.repeatList()->itemText(i);
    EXPECT_EQ(kinds, (QStringList{"Once", "Daily", "Weekly", "Monthly", "Yearly"}));
    const bool days[] = {true, false, false, false, true, false, false};
    for (int d = 0; d < 7; ++d) {
        EXPECT_EQ(page.dayBox(d)->isChecked(), days[d]) << d;
        EXPECT_TRUE(page.dayBox(d)->isEnabled()) << d;
    }
    // The days belong to weekly reminders, everything to a reminder that is on.
    page.repeatList()->setCurrentIndex(RepeatMonthly);
    EXPECT_FALSE(page.dayBox(0)->isEnabled());
    EXPECT_TRUE(page.timeEdit()->isEnabled());
    QTest::mouseClick(page.remindBox(), Qt::LeftButton, {}, QPoint(5, page.remindBox()->height() / 2));
    EXPECT_FALSE(page.remindBox()->isChecked());
    EXPECT_FALSE(page.timeEdit()->isEnabled());
    EXPECT_FALSE(page.repeatList()->isEnabled());
}

TEST_F(NotePropReminderTest, WritesExactlyWhatWasChanged) {
    struct Case {
        const char* what;
        int storedKind;
        std::function<void(CNotePropReminder&)> edit;
        std::function<void(NoteRecord&)> expected; // applied to the stored note
        bool ackKept;
    };
    const Case cases[] = {
        {"untouched", RepeatWeekly, [](CNotePropReminder&) {}, [](NoteRecord&) {}, true},
        {"unknown kind untouched", 7, [](CNotePropReminder&) {}, [](NoteRecord&) {}, true},
        {"switched off", RepeatWeekly, [](CNotePropReminder& p) { p.remindBox()->setChecked(false); },
         [](NoteRecord& n) { n.reminderOn = 0; }, true},
        {"one minute later", RepeatWeekly,
         [](CNotePropReminder& p) { p.timeEdit()->setDateTime(p.timeEdit()->dateTime().addSecs(60)); },
         [](NoteRecord& n) { n.reminderTime = Stamp(2024, 5, 6, 9, 31, 0, 1); }, false},
        {"next day", RepeatWeekly,
         [](CNotePropReminder& p) { p.timeEdit()->setDateTime(p.timeEdit()->dateTime().addDays(1)); },
         [](NoteRecord& n) { n.reminderTime = Stamp(2024, 5, 7, 9, 30, 0, 2); }, false},
        {"daily", RepeatWeekly, [](CNotePropReminder& p) { p.repeatList()->setCurrentIndex(RepeatDaily); },
         [](NoteRecord& n) { n.repeatKind = RepeatDaily; }, false},
        {"Tuesday added", RepeatWeekly, [](CNotePropReminder& p) { p.dayBox(1)->setChecked(true); },
         [](NoteRecord& n) { n.repeatDays |= kTuesday; }, false},
        {"Monday taken away", RepeatWeekly, [](CNotePropReminder& p) { p.dayBox(0)->setChecked(false); },
         [](NoteRecord& n) { n.repeatDays = kFriday | 0x5; }, false},
        {"changed and changed back", RepeatWeekly,
         [](CNotePropReminder& p) {
             p.dayBox(2)->setChecked(true);
             p.dayBox(2)->setChecked(false);
             p.repeatList()->setCurrentIndex(RepeatYearly);
             p.repeatList()->setCurrentIndex(RepeatWeekly);
         },
         [](NoteRecord&) {}, true},
    };
    for (const Case& c : cases) {
        const int32_t id = AddReminderNote(c.storedKind);
        const NoteRecord before = *notes.FindNode(id);
        NoteRecord copy = before;
        CNotePropReminder& page = OpenReminderPage(copy);
        c.edit(page);
        sheet->accept();
        ASSERT_EQ(sheet->result(), QDialog::Accepted) << c.what;

        NoteRecord expected = before;
        c.expected(expected);
        EXPECT_TRUE(ReminderFields(copy) == ReminderFields(expected)) << c.what;
        ASSERT_TRUE(ApplyEditedNode(notes, copy));
        EXPECT_EQ(notes.FindNode(id)->reminderAckTime.isZero(), !c.ackKept) << c.what;
    }
}
