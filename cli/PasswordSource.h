#pragma once
// Where the companion's passwords come from: a password file, an environment
// variable, or a prompt without echo when standard input is a terminal. The
// environment and the terminal are reached through replaceable functions so
// that tests can play them.

#include <functional>
#include <optional>
#include <string>

class PasswordSource {
public:
    // The process environment and the real terminal (termios on standard input).
    static PasswordSource System();

    std::function<std::optional<std::string>(const char* name)> getEnv;
    std::function<bool()> stdinIsTerminal;
    // Shows the prompt on standard error and reads one line without echo;
    // nothing at end of input.
    std::function<std::optional<std::string>(const char* prompt)> readHidden;

    // The password of a database: --password-file, SEALBOOK_PASSWORD, the
    // prompt (asked twice when `confirm`, for a file being created), else none.
    std::u16string Password(const std::optional<std::string>& passwordFile, bool confirm) const;

    // The new password of passwd: --new-password-file, SEALBOOK_NEW_PASSWORD
    // (an empty value removes the password), else a prompt asked twice. Throws
    // CliError when there is no source at all, so a script never drops a
    // password by accident.
    std::u16string NewPassword(const std::optional<std::string>& newPasswordFile) const;

    // The FTP password of "ftp", as UTF-8: --password-file, SEALBOOK_FTP_PASSWORD
    // (even empty), a prompt on a terminal, else none.
    std::string FtpPassword(const std::optional<std::string>& passwordFile) const;

    // The first line of the file, without its line end ("\n" or "\r\n").
    // Throws FileError when the file cannot be read.
    static std::string ReadFirstLine(const std::string& path);

private:
    std::u16string promptTwice(const char* prompt, const char* repeatPrompt) const;
};

// UTF-8 from the command side to the database's UTF-16; throws CliError when
// the bytes are not UTF-8.
std::u16string PasswordFromUtf8(const std::string& text);
