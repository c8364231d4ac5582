#include "cli/PasswordSource.h"

#include "cli/CliError.h"
#include "cli/CliTexts.h"
#include "cli/Utf.h"
#include "core/FileError.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace {

// The terminal settings to put back if the user interrupts a prompt; echo
// would otherwise stay off in the shell.
struct termios g_savedTerminal;
volatile sig_atomic_t g_echoOff = 0;

void restoreOnSignal(int sig) {
    if (g_echoOff)
        tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTerminal);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

std::optional<std::string> readHiddenFromTerminal(const char* prompt) {
    struct termios hidden;
    const bool haveTerminal = tcgetattr(STDIN_FILENO, &g_savedTerminal) == 0;
    if (haveTerminal) {
        hidden = g_savedTerminal;
        hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        hidden.c_lflag |= ECHONL;
        auto oldInt = std::signal(SIGINT, restoreOnSignal);
        auto oldTerm = std::signal(SIGTERM, restoreOnSignal);
        g_echoOff = 1;
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
        // The prompt comes after echo is off: anything typed once it shows is
        // neither echoed nor thrown away by the flush above.
        std::cerr << prompt << std::flush;
        std::string line;
        const bool got = static_cast<bool>(std::getline(std::cin, line));
        tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTerminal);
        g_echoOff = 0;
        std::signal(SIGINT, oldInt);
        std::signal(SIGTERM, oldTerm);
        if (!got)
            return std::nullopt;
        return line;
    }
    std::cerr << prompt << std::flush;
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    return line;
}

} // namespace

PasswordSource PasswordSource::System() {
    PasswordSource source;
    source.getEnv = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (!value)
            return std::nullopt;
        return std::string(value);
    };
    source.stdinIsTerminal = [] { return isatty(STDIN_FILENO) == 1; };
    source.readHidden = readHiddenFromTerminal;
    return source;
}

std::u16string PasswordFromUtf8(const std::string& text) {
    auto converted = FromUtf8(text);
    if (!converted)
        throw CliError(CliTexts::passwordNotUtf8);
    return *converted;
}

std::string PasswordSource::ReadFirstLine(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FileError(FileError::kindFromErrno(errno), path);
    std::string line;
    std::getline(in, line);
    if (in.bad())
        throw FileError(FileError::Kind::Generic, path);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

std::u16string PasswordSource::Password(const std::optional<std::string>& passwordFile, bool confirm) const {
    if (passwordFile)
        return PasswordFromUtf8(ReadFirstLine(*passwordFile));
    if (auto value = getEnv(CliTexts::passwordEnv); value && !value->empty())
        return PasswordFromUtf8(*value);
    if (stdinIsTerminal()) {
        if (confirm)
            return promptTwice(CliTexts::promptPassword, CliTexts::promptRepeatPassword);
        return PasswordFromUtf8(readHidden(CliTexts::promptPassword).value_or(std::string()));
    }
    return {};
}

std::string PasswordSource::FtpPassword(const std::optional<std::string>& passwordFile) const {
    if (passwordFile)
        return ReadFirstLine(*passwordFile);
    if (auto value = getEnv(CliTexts::ftpPasswordEnv))
        return *value;
    if (stdinIsTerminal())
        return readHidden(CliTexts::promptFtpPassword).value_or(std::string());
    return {};
}

std::u16string PasswordSource::NewPassword(const std::optional<std::string>& newPasswordFile) const {
    if (newPasswordFile)
        return PasswordFromUtf8(ReadFirstLine(*newPasswordFile));
    if (auto value = getEnv(CliTexts::newPasswordEnv))
        return PasswordFromUtf8(*value);
    if (stdinIsTerminal())
        return promptTwice(CliTexts::promptNewPassword, CliTexts::promptRepeatNewPassword);
    throw CliError(CliTexts::noNewPassword);
}

std::u16string PasswordSource::promptTwice(const char* prompt, const char* repeatPrompt) const {
    const auto first = readHidden(prompt);
    const auto second = first ? readHidden(repeatPrompt) : std::nullopt;
    if (!first || !second || *first != *second)
        throw CliError(CliTexts::passwordMismatch);
    return PasswordFromUtf8(*first);
}
