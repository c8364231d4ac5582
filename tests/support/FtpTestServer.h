#pragma once
// A real FTP server for tests: tests/support/ftp_server.py (pyftpdlib) run on
// 127.0.0.1 at a free port, serving a fresh folder of its own to one user and,
// in a second folder, to anonymous. The server stops when the object goes.

#include "ftp/client/FtpSettings.h"

#include <filesystem>
#include <string>

struct FtpServerOptions {
    long long dropAfter = -1; // cut the connections after this many bytes of a transfer
    bool noMlsd = false;      // a server without machine-readable listings
    bool tls = false;         // explicit TLS required on control and data connections
    long long throttle = 0;   // at most this many bytes a second in a transfer (0: no limit)
};

class FtpTestServer {
public:
    static constexpr const char* kUser = "backup";
    static constexpr const char* kPassword = "s3cret word";

    explicit FtpTestServer(FtpServerOptions options = {});
    ~FtpTestServer();
    FtpTestServer(const FtpTestServer&) = delete;
    FtpTestServer& operator=(const FtpTestServer&) = delete;

    int port() const { return m_port; }
    // The user's folder ("/" on the server) and anonymous's.
    const std::filesystem::path& root() const { return m_root; }
    const std::filesystem::path& anonymousRoot() const { return m_anonRoot; }
    // The CA that signed the server's certificate (TLS servers only).
    std::string caFile() const;
    // Every USER and PASS line the server received, one a line.
    std::string loginLog() const;
    // Settings that reach this server as its user, passive, the root folder.
    FtpSettings settings() const;

private:
    std::filesystem::path m_base;
    std::filesystem::path m_root;
    std::filesystem::path m_anonRoot;
    int m_pid = -1;
    int m_stdin = -1;
    int m_port = 0;
};

// A folder of its own for a test (a non-ASCII name), removed with its contents.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Whole-file helpers for the tests.
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);
// `size` bytes of a repeatable pattern that differs with `seed`.
std::string PatternBytes(size_t size, unsigned seed);
// The same, starting as a database file does, so that an upload takes it.
std::string DatabaseBytes(size_t size, unsigned seed);
