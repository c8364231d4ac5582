#pragma once
// A failure of the command-line companion that is not a file error: bad
// arguments, malformed JSON, a database that breaks the tree's rules. It
// carries the one line the program prints on standard error.

#include <initializer_list>
#include <stdexcept>
#include <string>

class CliError : public std::runtime_error {
public:
    // `status` is the program's exit status (1, or 128 + a signal's number
    // for an operation a signal stopped).
    explicit CliError(const std::string& line, int status = 1) : std::runtime_error(line), m_status(status) {}
    int status() const { return m_status; }

private:
    int m_status;
};

// `text` with %1, %2 ... replaced by the arguments in order.
std::string FormatText(const char* text, std::initializer_list<std::string> args);
