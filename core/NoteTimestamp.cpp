#include "core/NoteTimestamp.h"

#include <chrono>

NoteTimestamp NoteTimestamp::now() {
    using namespace std::chrono;
    const auto t = system_clock::now();
    const std::time_t secs = system_clock::to_time_t(t);
    const auto ms = duration_cast<milliseconds>(t.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&secs, &local);
    return fromTm(local, static_cast<uint16_t>(ms));
}

NoteTimestamp NoteTimestamp::fromTm(const std::tm& t, uint16_t millisecond) {
    NoteTimestamp ts;
    ts.year = static_cast<uint16_t>(t.tm_year + 1900);
    ts.month = static_cast<uint16_t>(t.tm_mon + 1);
    ts.dayOfWeek = static_cast<uint16_t>(t.tm_wday);
    ts.day = static_cast<uint16_t>(t.tm_mday);
    ts.hour = static_cast<uint16_t>(t.tm_hour);
    ts.minute = static_cast<uint16_t>(t.tm_min);
    ts.second = static_cast<uint16_t>(t.tm_sec);
    ts.millisecond = millisecond;
    return ts;
}

bool NoteTimestamp::isZero() const {
    return *this == NoteTimestamp{};
}

int CompareTimestamps(const NoteTimestamp& a, const NoteTimestamp& b) {
    const uint16_t NoteTimestamp::*fields[] = {&NoteTimestamp::year, &NoteTimestamp::month,
                                               &NoteTimestamp::day, &NoteTimestamp::hour,
                                               &NoteTimestamp::minute};
    for (auto f : fields) {
        if (a.*f != b.*f)
            return a.*f < b.*f ? -1 : 1;
    }
    return 0;
}

uint16_t WeekdayOf(const NoteTimestamp& t) {
    using namespace std::chrono;
    const year_month_day ymd{year(t.year), month(t.month), day(t.day)};
    if (ymd.ok())
        return static_cast<uint16_t>(weekday(sys_days(ymd)).c_encoding());
    return static_cast<uint16_t>(t.dayOfWeek % 7);
}
