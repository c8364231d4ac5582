#pragma once
// One database file of the server folder as the listing gives it, and the
// texts the manager shows for it.

#include <cstdint>
#include <ctime>
#include <string>

struct FtpFileInfo {
    std::string name;         // UTF-8, as the server names it
    uint64_t size = 0;        // bytes
    std::time_t modified = 0; // last write, seconds since the epoch (UTC); -1 when the server gave none
};

// "N B" up to 1023 bytes, else "N Kb" with the size divided by 1024, rounded down.
std::string SizeText(uint64_t size);

// The last-write time in local time as "%I:%M %p, %x" (hour 01-12, minutes,
// AM/PM, the locale's date); empty when unknown.
std::string TimeText(std::time_t modified);

// The time in UTC as "YYYY-MM-DDTHH:MM:SSZ", for scripts; "-" when unknown.
std::string IsoTimeText(std::time_t modified);
