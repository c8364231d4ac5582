#include "cli/CliError.h"

std::string FormatText(const char* text, std::initializer_list<std::string> args) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
            const size_t index = static_cast<size_t>(p[1] - '1');
            if (index < args.size()) {
                out += *(args.begin() + index);
                ++p;
                continue;
            }
        }
        out += *p;
    }
    return out;
}
