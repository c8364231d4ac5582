#include "cli/FtpCommand.h"

#include "cli/CliError.h"
#include "cli/CliTexts.h"
#include "ftp/client/FtpSession.h"
#include "ftp/client/FtpTexts.h"
#include "ftp/client/RemotePaths.h"

#include <atomic>
#include <charconv>
#include <csignal>
#include <ostream>

namespace {

struct Verb {
    const char* name;
    size_t minOperands;
    size_t maxOperands;
    const char* operandText;
};

constexpr Verb kVerbs[] = {
    {"list", 0, 0, "no operand"}, {"upload", 1, 1, "FILE"},     {"download", 1, 2, "NAME [LOCAL]"},
    {"delete", 1, 1, "NAME"},     {"rename", 2, 2, "NAME NEW"}, {"clean", 0, 0, "no operand"},
};

// SIGINT and SIGTERM stop a running operation the way the manager's Stop
// does; the program then exits with 128 + the signal's number.
std::atomic<bool> g_stop = false;
volatile std::sig_atomic_t g_signal = 0;

extern "C" void onStopSignal(int signal) {
    g_signal = signal;
    g_stop = true;
}

class StopSignals {
public:
    StopSignals() {
        struct sigaction action {};
        action.sa_handler = &onStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_previousInt);
        sigaction(SIGTERM, &action, &m_previousTerm);
    }
    ~StopSignals() {
        sigaction(SIGINT, &m_previousInt, nullptr);
        sigaction(SIGTERM, &m_previousTerm, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    struct sigaction m_previousInt {};
    struct sigaction m_previousTerm {};
};

// A failure: the operation's message, then what went wrong underneath.
[[noreturn]] void fail(const FtpSession& session) {
    if (session.stopped())
        throw CliError(FtpTexts::stopped, 128 + static_cast<int>(g_signal));
    std::string line = session.errorString();
    if (!session.errorDetail().empty())
        line += " (" + session.errorDetail() + ")";
    throw CliError(line);
}

// A name on one line of the listing: control characters would break it.
std::string printable(std::string text) {
    for (auto& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return text;
}

} // namespace

FtpSettings FtpSettingsFromCommandLine(const CommandLine& line, const PasswordSource& passwords) {
    const CommandLine::Ftp& options = line.ftp;
    FtpSettings settings;
    if (!options.host || options.host->empty())
        throw CliError(CliTexts::noHost);
    settings.host = *options.host;
    if (options.port) {
        const std::string& text = *options.port;
        int32_t port = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
        if (ec != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535)
            throw CliError(FormatText(CliTexts::badPort, {text}));
        settings.port = port;
    }
    settings.login = options.user.value_or(std::string());
    settings.anonymous = options.anonymous;
    settings.passive = !options.active;
    settings.useTls = options.tls;
    settings.caFile = options.caFile.value_or(std::string());
    settings.directory = TrimFolder(options.directory.value_or(std::string()));
    if (!settings.anonymous)
        settings.password = passwords.FtpPassword(line.passwordFile);
    return settings;
}

void RunFtpCommand(const CommandLine& line, const PasswordSource& passwords, std::ostream& out) {
    if (line.operands.empty())
        throw CliError(CliTexts::noFtpCommand);
    const std::string& verbName = line.operands.front();
    const std::vector<std::string> args(line.operands.begin() + 1, line.operands.end());
    const Verb* verb = nullptr;
    for (const Verb& v : kVerbs) {
        if (verbName == v.name)
            verb = &v;
    }
    if (!verb)
        throw CliError(FormatText(CliTexts::unknownFtpCommand, {verbName}));
    if (args.size() < verb->minOperands || args.size() > verb->maxOperands)
        throw CliError(FormatText(CliTexts::wrongArgumentCount, {"ftp " + verbName, verb->operandText}));

    // A name with a space, and a server name that is a path, are refused
    // before anything is sent.
    if ((verbName == "upload" && ContainsSpace(FileNameOf(args[0]))) ||
        (verbName == "download" && ContainsSpace(FileNameOf(args.size() > 1 ? args[1] : args[0]))))
        throw CliError(FtpTexts::nameHasSpaces);
    const bool namesServerFiles = verbName == "download" || verbName == "delete" || verbName == "rename";
    if ((namesServerFiles && !IsPlainName(args[0])) || (verbName == "rename" && !IsPlainName(args[1])))
        throw CliError(FtpTexts::nameNotPlain);

    FtpSession session(FtpSettingsFromCommandLine(line, passwords));
    const StopSignals signals;
    session.setStopFlag(&g_stop);
    if (!session.connect())
        fail(session);
    if (verbName == "list") {
        std::vector<FtpFileInfo> files;
        if (!session.list(files))
            fail(session);
        for (const FtpFileInfo& file : files)
            out << printable(file.name) << "\t" << file.size << "\t" << IsoTimeText(file.modified) << "\n";
    } else if (verbName == "upload") {
        if (!session.upload(args[0]))
            fail(session);
    } else if (verbName == "download") {
        // Without LOCAL the file keeps its name, in the current folder.
        if (!session.download(args[0], args.size() > 1 ? args[1] : FileNameOf(args[0])))
            fail(session);
    } else if (verbName == "delete") {
        if (!session.remove(args[0]))
            fail(session);
    } else if (verbName == "rename") {
        if (!session.rename(args[0], args[1]))
            fail(session);
    } else if (verbName == "clean") {
        std::vector<std::string> removed;
        if (!session.clean(removed))
            fail(session);
        for (const std::string& name : removed)
            out << printable(name) << "\n";
    }
}
