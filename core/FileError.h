#pragma once
// Errors of the file layer. Every failure to read or write a database ends in
// a FileError carrying a kind and the path; a wrong password is the distinct
// WrongPasswordError (the check word did not read 777).

#include <stdexcept>
#include <string>

class FileError : public std::runtime_error {
public:
    enum class Kind {
        Generic,      // any other system error
        FileNotFound, // the path does not exist
        AccessDenied, // no permission, or a folder where a file was expected
        DiskFull,     // no space left while writing
        EndOfFile,    // the data ended before a field was complete, or a count does not fit
        BadFormat,    // not a database file, or a stream version without a known layout
        Damaged,      // a strongly protected file whose bytes do not check
    };

    FileError(Kind kind, std::string path, const std::string& detail = {});

    Kind kind() const { return m_kind; }
    // The file's path; empty for the in-memory stream.
    const std::string& path() const { return m_path; }
    // The user-facing message for this error, with the file's name filled in.
    std::string message() const;

    // The kind for an errno value of a failed system call.
    static Kind kindFromErrno(int err);

private:
    Kind m_kind;
    std::string m_path;
};

class WrongPasswordError : public std::runtime_error {
public:
    static constexpr int code = 777;
    WrongPasswordError() : std::runtime_error("wrong password") {}
};
