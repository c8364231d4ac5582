#pragma once
// A database that exercises every field: nested folders, notes with templates,
// reminders, attachments (one of them 0 bytes), non-ASCII and mixed-case
// titles, and a body with a lone surrogate.

#include "core/NotesMgr.h"
#include "core/TreeOps.h"

inline NoteTimestamp SampleTime(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute) {
    NoteTimestamp ts;
    ts.year = year;
    ts.month = month;
    ts.dayOfWeek = 2;
    ts.day = day;
    ts.hour = hour;
    ts.minute = minute;
    return ts;
}

inline void FillSampleDatabase(NotesMgr& mgr) {
    NewDatabase(mgr);
    mgr.dbTitle = u"Kasse \u00fc\u00df \u65e5\u672c";
    mgr.dbDescription = u"line one\r\nline two \"quoted\" \\ back";
    auto& custom = mgr.AddTemplate();
    custom.name = u"Locker";
    custom.captions = {u"Number:", u"", u"Code:", u"", u"", u"", u"Floor:"};

    const int32_t cards = mgr.AddNode(0, 3, 1, u"cards", u"", u"", SampleTime(2020, 1, 2, 3, 4));
    const int32_t archive = mgr.AddNode(cards, 5, 1, u"Archive", u"", u"", SampleTime(2020, 1, 2, 3, 5));

    const int32_t visa =
        mgr.AddNode(cards, 20, 0, u"Visa \u00c9lite", u"{\\rtf1\\ansi Card {\\b kept} here\\par}",
                    u"http://bank.example", SampleTime(2021, 6, 7, 8, 9));
    NoteRecord& v = *mgr.FindNode(visa);
    v.templateId = 1;
    v.fieldValues = {u"J. Doe", u"4111 1111", u"12/30", u"123", u"", u"Bank \u20ac", u"Debit"};
    v.reminderOn = 1;
    v.reminderTime = SampleTime(2022, 2, 28, 23, 59);
    v.reminderAckTime = SampleTime(2022, 2, 28, 23, 59);
    v.repeatKind = RepeatMonthly;
    v.repeatDays = kMonday | kFriday;
    v.attachmentName = u"scan \u00e9.png";
    v.attachmentTime = SampleTime(2019, 12, 31, 0, 0);
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 1000; ++i)
        bytes.push_back(static_cast<uint8_t>(i * 7));
    v.setAttachment(bytes);

    const int32_t locker = mgr.AddNode(archive, 0, 0, u"alpha", u"plain text body\nsecond line", u"",
                                       SampleTime(2018, 3, 4, 5, 6));
    NoteRecord& l = *mgr.FindNode(locker);
    l.templateId = custom.templateId;
    l.fieldValues = {u"17", u"hidden", u"0000", u"", u"", u"", u"3rd"};
    l.attachmentName = u"empty.txt"; // a 0-byte attachment keeps only name and time
    l.attachmentTime = SampleTime(2018, 3, 4, 5, 7);

    const int32_t odd = mgr.AddNode(0, 1, 0, u"Beta", std::u16string{u'a', char16_t(0xD800), u'b'}, u"",
                                    SampleTime(2017, 1, 1, 0, 0));
    mgr.FindNode(odd)->title = std::u16string{u'B', u'e', char16_t(0xDC01)};
    mgr.FindNode(odd)->templateId = 999; // a template that no longer exists
}
