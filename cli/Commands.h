#pragma once
// The commands of the companion. RunMain is the whole program but for the
// process itself: it parses the arguments, runs the command and turns every
// failure into one line on `err` and the exit status (0 success, 2 wrong
// password, 1 any other failure).

#include "cli/CommandLine.h"
#include "cli/PasswordSource.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitWrongPassword = 2;

int RunMain(const std::vector<std::string>& args, const PasswordSource& passwords, std::istream& in,
            std::ostream& out, std::ostream& err);

// Runs one parsed command; failures are thrown (CliError, FileError, WrongPasswordError).
void RunCommand(const CommandLine& line, const PasswordSource& passwords, std::istream& in,
                std::ostream& out);

// A stored body as plain text for the terminal (RTF converted, plain text as
// is, line ends as ShownBody makes them).
std::u16string BodyAsPlainText(const std::u16string& body);
