#pragma once
// A failure of the command-line companion that is not a file error: bad
// arguments, malformed JSON, a database that breaks the tree's rules. It
// carries the one line the program prints on standard error.

#include <initializer_list>
#include <stdexcept>
#include <string>

class CliError : public std::runtime_error {
public:
    explicit CliError(const std::string& line) : std::runtime_error(line) {}
};

// `text` with %1, %2 ... replaced by the arguments in order.
std::string FormatText(const char* text, std::initializer_list<std::string> args);
