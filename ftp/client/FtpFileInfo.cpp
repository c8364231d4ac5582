#include "ftp/client/FtpFileInfo.h"

#include "ftp/client/FtpTexts.h"

namespace {

std::string withNumber(const char* text, uint64_t number) {
    std::string out = text;
    out.replace(out.find("%1"), 2, std::to_string(number));
    return out;
}

std::string formatTime(const char* format, const std::tm& parts) {
    char buffer[128];
    const size_t n = std::strftime(buffer, sizeof buffer, format, &parts);
    return std::string(buffer, n);
}

} // namespace

std::string SizeText(uint64_t size) {
    // The whole 64-bit size counts: a file of 4 GB or more is not shown by
    // the low half of its size.
    if (size > 1023)
        return withNumber(FtpTexts::sizeKilobytes, size / 1024);
    return withNumber(FtpTexts::sizeBytes, size);
}

std::string TimeText(std::time_t modified) {
    std::tm parts{};
    if (modified < 0 || !localtime_r(&modified, &parts))
        return {};
    return formatTime("%I:%M %p, %x", parts);
}

std::string IsoTimeText(std::time_t modified) {
    std::tm parts{};
    if (modified < 0 || !gmtime_r(&modified, &parts))
        return "-";
    return formatTime("%Y-%m-%dT%H:%M:%SZ", parts);
}
