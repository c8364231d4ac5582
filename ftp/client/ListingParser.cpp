#include "ftp/client/ListingParser.h"

#include "ftp/client/RemotePaths.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

template <typename Fn> void forEachLine(const std::string& text, Fn fn) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        if (stop > start)
            fn(text.substr(start, stop - start));
        start = end + 1;
    }
}

bool parseNumber(const std::string& text, uint64_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

} // namespace

std::optional<std::time_t> ParseFtpTime(const std::string& text) {
    if (text.size() < 14)
        return std::nullopt;
    for (size_t i = 0; i < 14; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return std::nullopt;
    }
    const auto field = [&](size_t at, size_t len) { return std::stoi(text.substr(at, len)); };
    const int year = field(0, 4), month = field(4, 2), day = field(6, 2);
    const int hour = field(8, 2), minute = field(10, 2), second = field(12, 2);
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    const int64_t days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return static_cast<std::time_t>(days * 86400 + hour * 3600 + minute * 60 + second);
}

std::vector<FtpFileInfo> ParseMlsdFiles(const std::string& text) {
    std::vector<FtpFileInfo> files;
    forEachLine(text, [&](const std::string& line) {
        // The facts end at the first space; the name is everything after it.
        const size_t space = line.find(' ');
        if (space == std::string::npos)
            return;
        FtpFileInfo info;
        info.name = line.substr(space + 1);
        info.modified = -1;
        bool isFile = false;
        bool haveSize = false;
        const std::string facts = line.substr(0, space);
        size_t start = 0;
        while (start < facts.size()) {
            size_t end = facts.find(';', start);
            if (end == std::string::npos)
                end = facts.size();
            const std::string fact = facts.substr(start, end - start);
            start = end + 1;
            const size_t eq = fact.find('=');
            if (eq == std::string::npos)
                continue;
            const std::string name = lowerCase(fact.substr(0, eq));
            const std::string value = fact.substr(eq + 1);
            if (name == "type")
                isFile = lowerCase(value) == "file";
            else if (name == "size")
                haveSize = parseNumber(value, info.size);
            else if (name == "modify")
                info.modified = ParseFtpTime(value).value_or(-1);
        }
        if (isFile && haveSize)
            files.push_back(std::move(info));
    });
    return files;
}

std::vector<FtpFileInfo> ParseMlsdListing(const std::string& text) {
    std::vector<FtpFileInfo> files = ParseMlsdFiles(text);
    std::erase_if(files, [](const FtpFileInfo& file) { return !IsDatabaseName(file.name); });
    return files;
}

std::vector<std::string> ParseNames(const std::string& text) {
    std::vector<std::string> names;
    forEachLine(text, [&](const std::string& line) {
        const size_t slash = line.rfind('/');
        names.push_back(slash == std::string::npos ? line : line.substr(slash + 1));
    });
    return names;
}

std::vector<std::string> ParseNameListing(const std::string& text) {
    std::vector<std::string> names = ParseNames(text);
    std::erase_if(names, [](const std::string& name) { return !IsDatabaseName(name); });
    return names;
}
