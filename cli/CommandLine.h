#pragma once
// The parsed command line of the companion: one command, its operands and the
// options. Options may stand anywhere; "--" ends them; "--opt=value" and
// "--opt value" are both accepted.

#include "core/Protection.h"

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    enum class Command { Help, Version, Ls, Show, Export, Import, Passwd, Verify, Find, Ftp, Merge };

    // The server options of "ftp"; the FTP password comes from --password-file.
    struct Ftp {
        std::optional<std::string> host;
        std::optional<std::string> port;
        std::optional<std::string> user;
        std::optional<std::string> directory;
        std::optional<std::string> caFile;
        bool active = false;
        bool anonymous = false;
        bool tls = false;
    };

    Command command = Command::Help;
    // Help: the command whose own help was asked for ("ftp"), else empty.
    std::string helpTopic;
    std::vector<std::string> operands;
    std::optional<std::string> passwordFile;
    // Every --password-file in order (merge takes one per file when they differ).
    std::vector<std::string> passwordFiles;
    std::optional<std::string> newPasswordFile;
    std::optional<std::string> attachmentsDir;
    // passwd --strong / --compatible, import --strong: the kind of file written.
    std::optional<Protection> protection;
    bool bodyOnly = false;
    bool rawRtf = false;
    // show: values of secret fields as a row of dots.
    bool conceal = false;
    // find: "title", "body" or "both" as given (checked by the command).
    std::optional<std::string> scope;
    bool matchCase = false;
    bool wholeWord = false;
    // merge: -o OUT and --two-way.
    std::optional<std::string> output;
    bool twoWay = false;
    Ftp ftp;
};

// Parses the arguments after the program name. No arguments, -h or --help give
// the Help command; --version the Version command. Throws CliError with the line to print on a bad command
// line.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The command word of the arguments (the first operand), also when they do
// not parse; empty when there is none.
std::string CommandWord(const std::vector<std::string>& args);
