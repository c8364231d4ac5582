#include "ftp/client/FtpSession.h"

#include "core/DatabaseFile.h"
#include "ftp/client/FtpTexts.h"
#include "ftp/client/ListingParser.h"
#include "ftp/client/LocalDownloadFile.h"
#include "ftp/client/RemotePaths.h"

#include <curl/curl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Large blocks keep a transfer of a few hundred megabytes close to what the
// link allows; libcurl's own defaults are sized for small files.
constexpr long kDownloadBuffer = 1024 * 1024;
constexpr long kUploadBuffer = 2 * 1024 * 1024; // libcurl's largest
constexpr long kConnectTimeoutSeconds = 30;
constexpr long kResponseTimeoutSeconds = 60;
constexpr long kStallSeconds = 60; // a transfer without a byte for this long fails

CURL* handle(void* curl) {
    return static_cast<CURL*>(curl);
}

void initialiseLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Every byte of a path goes into the URL escaped, except the separators; a
// leading "/" is escaped too, which makes the path absolute on the server.
std::string escapePath(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || (c == '/' && i > 0)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// A host name or address as it may stand in a URL; anything else could
// change what the URL means.
bool validHost(const std::string& host) {
    if (host.empty())
        return false;
    return std::all_of(host.begin(), host.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '.' || c == '-' || c == '_' || c == ':' || c >= 0x80;
    });
}

std::string randomSuffix() {
    std::random_device device;
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (int i = 0; i < 8; ++i)
        out += hex[device() & 15];
    return out;
}

size_t discard(char*, size_t size, size_t count, void*) {
    return size * count;
}

// Where nothing but the stop flag is watched (connecting, listing).
int watchStop(void* stop, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* flag = static_cast<const std::atomic<bool>*>(stop);
    return flag && flag->load() ? 1 : 0;
}

} // namespace

// What the callbacks of one transfer reach.
struct FtpSession::Transfer {
    std::string* text = nullptr;       // listing answer
    LocalDownloadFile* file = nullptr; // download target
    int readFd = -1;                   // upload source
    bool writeFailed = false;
    const Progress* progress = nullptr;
    const std::atomic<bool>* stop = nullptr;
    uint64_t total = 0; // upload size; downloads take libcurl's figure

    static size_t write(char* data, size_t size, size_t count, void* user) {
        auto* self = static_cast<Transfer*>(user);
        const size_t bytes = size * count;
        if (self->text) {
            self->text->append(data, bytes);
            return bytes;
        }
        if (self->file && self->file->write(data, bytes))
            return bytes;
        self->writeFailed = true;
        return 0; // stops the transfer
    }

    static size_t read(char* buffer, size_t size, size_t count, void* user) {
        auto* self = static_cast<Transfer*>(user);
        for (;;) {
            const ssize_t n = ::read(self->readFd, buffer, size * count);
            if (n >= 0)
                return static_cast<size_t>(n);
            if (errno != EINTR)
                return CURL_READFUNC_ABORT;
        }
    }

    static int progressed(void* user, curl_off_t downTotal, curl_off_t downNow, curl_off_t upTotal,
                          curl_off_t upNow) {
        auto* self = static_cast<Transfer*>(user);
        if (watchStop(const_cast<std::atomic<bool>*>(self->stop), 0, 0, 0, 0))
            return 1; // ends the transfer
        if (self->progress && *self->progress) {
            if (self->readFd >= 0)
                (*self->progress)(static_cast<uint64_t>(upNow),
                                  self->total ? self->total : static_cast<uint64_t>(upTotal));
            else
                (*self->progress)(static_cast<uint64_t>(downNow), static_cast<uint64_t>(downTotal));
        }
        return 0;
    }
};

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FtpSession::FtpSession(FtpSettings settings) : m_settings(std::move(settings)) {
    initialiseLibrary();
    m_curl = curl_easy_init();
    m_curlError = new char[CURL_ERROR_SIZE];
    m_curlError[0] = 0;
}

FtpSession::~FtpSession() {
    if (m_curl)
        curl_easy_cleanup(handle(m_curl));
    delete[] m_curlError;
}

bool FtpSession::fail(const std::string& message, const std::string& detail) {
    m_error = m_stopped ? FtpTexts::stopped : message;
    if (!detail.empty())
        m_detail = detail;
    return false;
}

void FtpSession::setCommonOptions(const std::string& path) {
    CURL* curl = handle(m_curl);
    std::string host = m_settings.host;
    if (host.find(':') != std::string::npos)
        host = "[" + host + "]"; // an IPv6 address
    const std::string url = "ftp://" + host + "/" + escapePath(path);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, m_curlError);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // What a step does not ask for (the facts of a size query) goes nowhere.
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &discard);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &discard);
    if (m_settings.port > 0)
        curl_easy_setopt(curl, CURLOPT_PORT, static_cast<long>(m_settings.port));
    const bool anonymous = m_settings.anonymous;
    curl_easy_setopt(curl, CURLOPT_USERNAME, anonymous ? FtpTexts::anonymousLogin : m_settings.login.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD,
                     anonymous ? FtpTexts::anonymousLogin : m_settings.password.c_str());
    // The path goes to the server whole, with no change of folder.
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    if (!m_settings.passive)
        curl_easy_setopt(curl, CURLOPT_FTPPORT, "-");
    if (m_settings.useTls) {
        curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        if (!m_settings.caFile.empty())
            curl_easy_setopt(curl, CURLOPT_CAINFO, m_settings.caFile.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, kResponseTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, kDownloadBuffer);
    curl_easy_setopt(curl, CURLOPT_UPLOAD_BUFFERSIZE, kUploadBuffer);
}

bool FtpSession::perform(const std::string& path, const std::function<void()>& configure, bool stoppable) {
    if (!m_curl)
        return false;
    if (stoppable && stopRequested()) {
        m_stopped = true;
        return false;
    }
    curl_easy_reset(handle(m_curl));
    m_curlError[0] = 0;
    setCommonOptions(path);
    if (stoppable) {
        CURL* curl = handle(m_curl);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &watchStop);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(m_stop));
    }
    if (configure)
        configure();
    const CURLcode code = curl_easy_perform(handle(m_curl));
    if (code == CURLE_OK)
        return true;
    if (stoppable && stopRequested()) {
        m_stopped = true;
        m_detail.clear();
        return false;
    }
    m_detail = m_curlError[0] ? m_curlError : curl_easy_strerror(code);
    return false;
}

bool FtpSession::safeName(const std::string& name) const {
    // A line break would end the command and start another on the control connection.
    return name.find_first_of(std::string("\r\n\0", 3)) == std::string::npos &&
           m_settings.directory.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

bool FtpSession::connect() {
    m_connected = false;
    if (!m_curl)
        return fail(FtpTexts::connectFailed, "libcurl could not be started");
    if (!validHost(m_settings.host))
        return fail(FtpTexts::connectFailed, "no valid host name");
    if (m_settings.port < 0 || m_settings.port > 65535)
        return fail(FtpTexts::connectFailed, "no valid port");
    if (!safeName(m_settings.login) || !safeName(m_settings.password))
        return fail(FtpTexts::connectFailed, "line break in the login or password");
    // Logging in with nothing to fetch: the connection stays open for the steps that follow.
    if (!perform(
            "", [this] { curl_easy_setopt(handle(m_curl), CURLOPT_NOBODY, 1L); }, true))
        return fail(FtpTexts::connectFailed);
    m_connected = true;
    return true;
}

bool FtpSession::runCommands(const std::vector<std::string>& commands) {
    curl_slist* list = nullptr;
    for (const auto& command : commands)
        list = curl_slist_append(list, command.c_str());
    const bool ok = perform("", [&] {
        curl_easy_setopt(handle(m_curl), CURLOPT_NOBODY, 1L);
        curl_easy_setopt(handle(m_curl), CURLOPT_QUOTE, list);
    });
    curl_slist_free_all(list);
    return ok;
}

bool FtpSession::serverSize(const std::string& path, int64_t& size) {
    size = -1;
    if (!perform(path, [this] { curl_easy_setopt(handle(m_curl), CURLOPT_NOBODY, 1L); }))
        return false;
    curl_off_t length = -1;
    curl_easy_getinfo(handle(m_curl), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    size = length;
    return true;
}

bool FtpSession::serverTime(const std::string& path, std::time_t& time) {
    time = -1;
    if (!perform(path, [this] {
            curl_easy_setopt(handle(m_curl), CURLOPT_NOBODY, 1L);
            curl_easy_setopt(handle(m_curl), CURLOPT_FILETIME, 1L);
        }))
        return false;
    curl_off_t stamp = -1;
    curl_easy_getinfo(handle(m_curl), CURLINFO_FILETIME_T, &stamp);
    time = static_cast<std::time_t>(stamp);
    return stamp >= 0;
}

bool FtpSession::listByMlsd(std::vector<FtpFileInfo>& files, bool& refused) {
    std::string text;
    Transfer transfer;
    transfer.text = &text;
    refused = false;
    const bool ok = perform(
        m_settings.directory + "/",
        [&] {
            CURL* curl = handle(m_curl);
            curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "MLSD");
            curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Transfer::write);
            curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
        },
        true);
    if (!ok) {
        long reply = 0;
        curl_easy_getinfo(handle(m_curl), CURLINFO_RESPONSE_CODE, &reply);
        // 500-504: the server does not know the command; 550 is a missing folder.
        refused = reply >= 500 && reply <= 504;
        return false;
    }
    files = ParseMlsdFiles(text);
    return true;
}

bool FtpSession::listByNames(std::vector<FtpFileInfo>& files) {
    std::string text;
    Transfer transfer;
    transfer.text = &text;
    const bool ok = perform(
        m_settings.directory + "/",
        [&] {
            CURL* curl = handle(m_curl);
            curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 1L);
            curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Transfer::write);
            curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
        },
        true);
    if (!ok)
        return false;
    for (const std::string& name : ParseNames(text)) {
        FtpFileInfo info;
        info.name = name;
        info.modified = -1;
        if (!perform(RemotePath(m_settings.directory, name), [this] {
                curl_easy_setopt(handle(m_curl), CURLOPT_NOBODY, 1L);
                curl_easy_setopt(handle(m_curl), CURLOPT_FILETIME, 1L);
            }))
            continue; // a folder, or a file gone meanwhile
        curl_off_t length = -1, time = -1;
        curl_easy_getinfo(handle(m_curl), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        curl_easy_getinfo(handle(m_curl), CURLINFO_FILETIME_T, &time);
        if (length < 0)
            continue;
        info.size = static_cast<uint64_t>(length);
        info.modified = static_cast<std::time_t>(time);
        files.push_back(std::move(info));
    }
    return true;
}

// Every plain file of the folder, whatever its name.
bool FtpSession::listFolder(std::vector<FtpFileInfo>& files) {
    files.clear();
    if (!m_connected || !safeName(m_settings.directory))
        return false;
    bool refused = false;
    return listByMlsd(files, refused) || (refused && listByNames(files));
}

// Whether the folder holds an entry (file or folder) of that name, by a
// listing of names read now.
bool FtpSession::folderHolds(const std::string& name, bool& holds) {
    std::string text;
    Transfer transfer;
    transfer.text = &text;
    if (!perform(m_settings.directory + "/", [&] {
            CURL* curl = handle(m_curl);
            curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 1L);
            curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Transfer::write);
            curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
        }))
        return false;
    const std::vector<std::string> names = ParseNames(text);
    holds = std::find(names.begin(), names.end(), name) != names.end();
    return true;
}

bool FtpSession::list(std::vector<FtpFileInfo>& files) {
    if (!listFolder(files))
        return fail(FtpTexts::listFailed);
    std::erase_if(files, [](const FtpFileInfo& file) { return !IsDatabaseName(file.name); });
    // By name as a person reads it: letter case second.
    const auto folded = [](const std::string& name) {
        std::string out = name;
        std::transform(out.begin(), out.end(), out.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return out;
    };
    std::sort(files.begin(), files.end(), [&](const FtpFileInfo& a, const FtpFileInfo& b) {
        const std::string fa = folded(a.name), fb = folded(b.name);
        return fa != fb ? fa < fb : a.name < b.name;
    });
    return true;
}

bool FtpSession::upload(const std::string& localPath, const Progress& progress) {
    const std::string name = FileNameOf(localPath);
    if (ContainsSpace(name))
        return fail(FtpTexts::nameHasSpaces);
    if (!IsPlainName(name))
        return fail(FtpTexts::nameNotPlain);
    if (!m_connected || !safeName(name))
        return fail(FtpTexts::uploadFailed);
    // A plaintext export or any other file would land unseen beside the databases.
    if (!IsDatabaseName(name))
        return fail(WithName(FtpTexts::notADatabase, name));

    const int fd = ::open(localPath.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const std::string why = std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return fail(FtpTexts::uploadFailed, localPath + ": " + why);
    }
    const auto localSize = static_cast<uint64_t>(st.st_size);
    if (!IsDatabaseFile(localPath)) {
        ::close(fd);
        return fail(WithName(FtpTexts::notADatabase, name));
    }

    const std::string remote = RemotePath(m_settings.directory, name);
    const std::string backup = RemotePath(m_settings.directory, BackupName(name));
    // Not a database name, so a file left behind by a lost connection is never
    // listed; a later upload of the same name removes it.
    const std::string temporary = RemotePath(m_settings.directory, TemporaryName(name, randomSuffix()));

    Transfer transfer;
    transfer.readFd = fd;
    transfer.progress = &progress;
    transfer.stop = m_stop;
    transfer.total = localSize;
    bool sent = perform(
        temporary,
        [&] {
            CURL* curl = handle(m_curl);
            curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
            curl_easy_setopt(curl, CURLOPT_READFUNCTION, &Transfer::read);
            curl_easy_setopt(curl, CURLOPT_READDATA, &transfer);
            curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(localSize));
            curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
            curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Transfer::progressed);
            curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
        },
        true);
    ::close(fd);
    curl_off_t sentBytes = -1;
    curl_easy_getinfo(handle(m_curl), CURLINFO_SIZE_UPLOAD_T, &sentBytes);
    if (sent && sentBytes != static_cast<curl_off_t>(localSize)) {
        m_detail = "sent " + std::to_string(sentBytes) + " of " + std::to_string(localSize) + " bytes";
        sent = false;
    }

    // The server must hold every byte before its copy is touched (a server
    // that gives no size is trusted with what was sent).
    int64_t stored = -1;
    if (sent && serverSize(temporary, stored) && stored >= 0 && static_cast<uint64_t>(stored) != localSize) {
        m_detail =
            "the server holds " + std::to_string(stored) + " of " + std::to_string(localSize) + " bytes";
        sent = false;
    }
    if (!sent) {
        const std::string detail = m_detail;
        runCommands({"*DELE " + temporary});
        return fail(FtpTexts::uploadFailed, detail);
    }
    // The file just written tells the server's time, which judges the age of
    // the temporary files others left.
    std::time_t serverNow = -1;
    serverTime(temporary, serverNow);

    // The backup steps are best effort ("*"): a first upload has neither file.
    const bool hasBackup = backup != remote;
    if (hasBackup)
        runCommands({"*DELE " + backup, "*RNFR " + remote, "*RNTO " + backup});
    if (!runCommands({"RNFR " + temporary, "RNTO " + remote})) {
        const std::string detail = m_detail;
        if (hasBackup)
            runCommands({"*RNFR " + backup, "*RNTO " + remote});
        runCommands({"*DELE " + temporary});
        return fail(FtpTexts::uploadFailed, detail);
    }
    // Best effort: the upload itself has succeeded.
    std::vector<FtpFileInfo> files;
    if (serverNow >= 0 && listFolder(files))
        removeStale(files, name, serverNow, nullptr);
    if (progress)
        progress(localSize, localSize);
    return true;
}

void FtpSession::removeStale(const std::vector<FtpFileInfo>& files, const std::string& owner, std::time_t now,
                             std::vector<std::string>* removed) {
    for (const FtpFileInfo& file : files) {
        const std::string fileOwner = TemporaryNameOwner(file.name);
        if (fileOwner.empty() || (!owner.empty() && fileOwner != owner))
            continue;
        // A file without a time could be written right now: it stays.
        if (file.modified < 0 || now - file.modified < kStaleSeconds || !safeName(file.name))
            continue;
        if (runCommands({"DELE " + RemotePath(m_settings.directory, file.name)}) && removed)
            removed->push_back(file.name);
    }
}

bool FtpSession::clean(std::vector<std::string>& removed) {
    removed.clear();
    if (!m_connected || !safeName(m_settings.directory))
        return fail(FtpTexts::cleanFailed);
    // An empty file of a temporary name of its own gives the server's time.
    const std::string probe =
        RemotePath(m_settings.directory, TemporaryName(FtpTexts::clockProbeName, randomSuffix()));
    std::string nothing;
    const bool made = perform(probe, [&] {
        CURL* curl = handle(m_curl);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(0));
        curl_easy_setopt(
            curl, CURLOPT_READFUNCTION, +[](char*, size_t, size_t, void*) -> size_t { return 0; });
    });
    std::time_t now = -1;
    const bool timed = made && serverTime(probe, now);
    if (made)
        runCommands({"*DELE " + probe});
    if (!timed)
        return fail(FtpTexts::cleanFailed);
    std::vector<FtpFileInfo> files;
    if (!listFolder(files))
        return fail(FtpTexts::cleanFailed);
    removeStale(files, {}, now, &removed);
    return true;
}

bool FtpSession::download(const std::string& name, const std::string& localPath, const Progress& progress) {
    if (ContainsSpace(FileNameOf(localPath)))
        return fail(FtpTexts::nameHasSpaces);
    if (!IsPlainName(name))
        return fail(FtpTexts::nameNotPlain);
    if (!m_connected || !safeName(name))
        return fail(FtpTexts::downloadFailed);

    LocalDownloadFile file(localPath);
    if (!file.open())
        return fail(FtpTexts::downloadFailed, localPath + ": " + std::strerror(errno));
    Transfer transfer;
    transfer.file = &file;
    transfer.progress = &progress;
    transfer.stop = m_stop;
    const std::string remote = RemotePath(m_settings.directory, name);
    if (!perform(
            remote,
            [&] {
                CURL* curl = handle(m_curl);
                curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Transfer::write);
                curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
                curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
                curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Transfer::progressed);
                curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
            },
            true)) {
        if (transfer.writeFailed)
            m_detail = localPath + ": the file could not be written";
        return fail(FtpTexts::downloadFailed);
    }
    // The size the server gave before sending must have arrived whole.
    curl_off_t expected = -1;
    curl_easy_getinfo(handle(m_curl), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &expected);
    if (expected < 0) {
        int64_t size = -1;
        if (serverSize(remote, size))
            expected = size;
    }
    if (expected >= 0 && file.written() != static_cast<uint64_t>(expected))
        return fail(FtpTexts::downloadFailed, "received " + std::to_string(file.written()) + " of " +
                                                  std::to_string(expected) + " bytes");
    if (!file.commit())
        return fail(FtpTexts::downloadFailed, localPath + ": the file could not be put in place");
    if (progress)
        progress(file.written(), file.written());
    return true;
}

bool FtpSession::remove(const std::string& name) {
    if (!IsPlainName(name))
        return fail(FtpTexts::nameNotPlain);
    if (!m_connected || !safeName(name))
        return fail(FtpTexts::deleteFailed);
    if (!runCommands({"DELE " + RemotePath(m_settings.directory, name)}))
        return fail(FtpTexts::deleteFailed);
    return true;
}

bool FtpSession::rename(const std::string& name, const std::string& enteredName) {
    const std::string target = RenameTarget(enteredName);
    if (!IsPlainName(name) || !IsPlainName(enteredName))
        return fail(FtpTexts::nameNotPlain);
    if (!m_connected || !safeName(name) || !safeName(target))
        return fail(FtpTexts::renameFailed);
    // The server's rename would replace a file of the new name without a word.
    bool taken = false;
    if (!folderHolds(target, taken))
        return fail(FtpTexts::renameFailed);
    if (taken)
        return fail(WithName(FtpTexts::nameTaken, target));
    if (!runCommands({"RNFR " + RemotePath(m_settings.directory, name),
                      "RNTO " + RemotePath(m_settings.directory, target)}))
        return fail(FtpTexts::renameFailed);
    return true;
}
