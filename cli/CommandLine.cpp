#include "cli/CommandLine.h"

#include "cli/CliError.h"
#include "cli/CliTexts.h"

#include <array>

namespace {

using Command = CommandLine::Command;

// "ftp" takes its own command and that command's operands; FtpCommand checks them.
constexpr size_t kAnyCount = static_cast<size_t>(-1);

struct CommandInfo {
    const char* name;
    Command command;
    size_t operandCount;
    const char* operandText; // for the error about the operand count
};

constexpr std::array<CommandInfo, 9> kCommands{{
    {"ls", Command::Ls, 1, "FILE"},
    {"show", Command::Show, 2, "FILE ID"},
    {"export", Command::Export, 1, "FILE"},
    {"import", Command::Import, 2, "JSON OUT.nte"},
    {"passwd", Command::Passwd, 1, "FILE"},
    {"verify", Command::Verify, 1, "FILE"},
    {"find", Command::Find, 2, "FILE TEXT"},
    {"ftp", Command::Ftp, kAnyCount, "COMMAND"},
    {"merge", Command::Merge, kAnyCount, "BASE OURS THEIRS"},
}};

enum class Option {
    PasswordFile,
    NewPasswordFile,
    Attachments,
    Body,
    Rtf,
    Conceal,
    Scope,
    MatchCase,
    WholeWord,
    Help,
    Version,
    Host,
    Port,
    User,
    Directory,
    CaFile,
    Active,
    Anonymous,
    Tls,
    Output,
    TwoWay,
    Strong,
    Compatible
};

struct OptionInfo {
    const char* name;
    Option option;
    bool takesValue;
};

constexpr std::array<OptionInfo, 25> kOptions{{
    {"--password-file", Option::PasswordFile, true},
    {"--new-password-file", Option::NewPasswordFile, true},
    {"--attachments", Option::Attachments, true},
    {"--body", Option::Body, false},
    {"--rtf", Option::Rtf, false},
    {"--conceal", Option::Conceal, false},
    {"--scope", Option::Scope, true},
    {"--match-case", Option::MatchCase, false},
    {"--whole-word", Option::WholeWord, false},
    {"--help", Option::Help, false},
    {"-h", Option::Help, false},
    {"--version", Option::Version, false},
    {"--host", Option::Host, true},
    {"--port", Option::Port, true},
    {"--user", Option::User, true},
    {"--directory", Option::Directory, true},
    {"--ca-file", Option::CaFile, true},
    {"--active", Option::Active, false},
    {"--anonymous", Option::Anonymous, false},
    {"--tls", Option::Tls, false},
    {"-o", Option::Output, true},
    {"--output", Option::Output, true},
    {"--two-way", Option::TwoWay, false},
    {"--strong", Option::Strong, false},
    {"--compatible", Option::Compatible, false},
}};

const OptionInfo* findOption(const std::string& name) {
    for (const auto& info : kOptions) {
        if (name == info.name)
            return &info;
    }
    return nullptr;
}

// The commands an option belongs to; the password file applies to all.
bool optionFits(Option option, Command command) {
    switch (option) {
    case Option::NewPasswordFile:
        return command == Command::Passwd;
    case Option::Attachments:
        return command == Command::Export || command == Command::Import;
    case Option::Strong:
        return command == Command::Passwd || command == Command::Import;
    case Option::Compatible:
        return command == Command::Passwd;
    case Option::Body:
    case Option::Rtf:
    case Option::Conceal:
        return command == Command::Show;
    case Option::Scope:
    case Option::MatchCase:
    case Option::WholeWord:
        return command == Command::Find;
    case Option::Host:
    case Option::Port:
    case Option::User:
    case Option::Directory:
    case Option::CaFile:
    case Option::Active:
    case Option::Anonymous:
    case Option::Tls:
        return command == Command::Ftp;
    case Option::Output:
    case Option::TwoWay:
        return command == Command::Merge;
    case Option::PasswordFile:
    case Option::Help:
    case Option::Version:
        return true;
    }
    return false;
}

} // namespace

std::string CommandWord(const std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--")
            return i + 1 < args.size() ? args[i + 1] : std::string();
        if (arg.size() < 2 || arg[0] != '-')
            return arg;
        const OptionInfo* info = findOption(arg);
        if (info && info->takesValue)
            ++i;
    }
    return {};
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    std::vector<std::string> words;
    std::vector<std::pair<const OptionInfo*, std::string>> given;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // A lone "-" is an operand (standard input for import).
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const auto eq = arg.find('='); eq != std::string::npos && arg.starts_with("--")) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        const OptionInfo* info = findOption(name);
        if (!info)
            throw CliError(FormatText(CliTexts::unknownOption, {name}));
        if (info->takesValue && !value) {
            if (i + 1 >= args.size())
                throw CliError(FormatText(CliTexts::missingOptionValue, {name}));
            value = args[++i];
        } else if (!info->takesValue && value) {
            throw CliError(FormatText(CliTexts::unknownOption, {arg}));
        }
        if (info->option == Option::Help)
            help = true;
        if (info->option == Option::Version)
            version = true;
        given.emplace_back(info, value.value_or(std::string()));
    }

    if (help || (words.empty() && !version)) {
        result.command = Command::Help;
        if (!words.empty() && words.front() == "ftp")
            result.helpTopic = words.front();
        return result;
    }
    if (version) {
        result.command = Command::Version;
        return result;
    }

    const CommandInfo* command = nullptr;
    for (const auto& info : kCommands) {
        if (words.front() == info.name)
            command = &info;
    }
    if (!command)
        throw CliError(FormatText(CliTexts::unknownCommand, {words.front()}));
    result.command = command->command;
    result.operands.assign(words.begin() + 1, words.end());
    if (command->operandCount != kAnyCount && result.operands.size() != command->operandCount)
        throw CliError(FormatText(CliTexts::wrongArgumentCount, {command->name, command->operandText}));

    for (const auto& [info, value] : given) {
        if (!optionFits(info->option, result.command))
            throw CliError(FormatText(CliTexts::optionNotForCommand, {info->name, command->name}));
        switch (info->option) {
        case Option::PasswordFile:
            result.passwordFile = value;
            result.passwordFiles.push_back(value);
            break;
        case Option::NewPasswordFile:
            result.newPasswordFile = value;
            break;
        case Option::Attachments:
            result.attachmentsDir = value;
            break;
        case Option::Body:
            result.bodyOnly = true;
            break;
        case Option::Strong:
        case Option::Compatible: {
            const Protection kind =
                info->option == Option::Strong ? Protection::Strong : Protection::Compatible;
            if (result.protection && *result.protection != kind)
                throw CliError(CliTexts::strongAndCompatible);
            result.protection = kind;
            break;
        }
        case Option::Rtf:
            result.rawRtf = true;
            break;
        case Option::Conceal:
            result.conceal = true;
            break;
        case Option::Scope:
            result.scope = value;
            break;
        case Option::MatchCase:
            result.matchCase = true;
            break;
        case Option::WholeWord:
            result.wholeWord = true;
            break;
        case Option::Host:
            result.ftp.host = value;
            break;
        case Option::Port:
            result.ftp.port = value;
            break;
        case Option::User:
            result.ftp.user = value;
            break;
        case Option::Directory:
            result.ftp.directory = value;
            break;
        case Option::CaFile:
            result.ftp.caFile = value;
            break;
        case Option::Active:
            result.ftp.active = true;
            break;
        case Option::Anonymous:
            result.ftp.anonymous = true;
            break;
        case Option::Tls:
            result.ftp.tls = true;
            break;
        case Option::Output:
            result.output = value;
            break;
        case Option::TwoWay:
            result.twoWay = true;
            break;
        case Option::Help:
        case Option::Version:
            break;
        }
    }
    if (result.bodyOnly && result.rawRtf)
        throw CliError(CliTexts::bodyAndRtf);
    if (result.command == Command::Merge && result.operands.size() != (result.twoWay ? 2u : 3u))
        throw CliError(
            FormatText(CliTexts::wrongArgumentCount,
                       {command->name, result.twoWay ? "--two-way OURS THEIRS" : command->operandText}));
    return result;
}
