#include "tests/support/FtpTestServer.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path freshFolder(const std::string& stem) {
    std::random_device rd;
    for (;;) {
        fs::path path = fs::temp_directory_path() / (stem + "-\xC3\xA9-" + std::to_string(rd()));
        if (fs::create_directory(path))
            return path;
    }
}

void run(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

// A CA and a certificate for 127.0.0.1 signed by it.
void makeCertificates(const fs::path& dir) {
    const std::string d = "'" + dir.string() + "'";
    run("cd " + d +
        " && openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=SealbookTestCA"
        " -keyout ca.key -out ca.pem >/dev/null 2>&1"
        " && openssl req -newkey rsa:2048 -nodes -subj /CN=127.0.0.1 -keyout server.key -out server.csr"
        " >/dev/null 2>&1"
        " && printf 'subjectAltName=IP:127.0.0.1\\n' > ext.cnf"
        " && openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2"
        " -extfile ext.cnf -out server.pem >/dev/null 2>&1");
}

} // namespace

FtpTestServer::FtpTestServer(FtpServerOptions options) {
    m_base = freshFolder("sealbook-ftp");
    m_root = m_base / "home";
    m_anonRoot = m_base / "public";
    fs::create_directory(m_root);
    fs::create_directory(m_anonRoot);

    std::vector<std::string> args = {SEALBOOK_PYTHON, SEALBOOK_SOURCE_DIR "/tests/support/ftp_server.py",
                                     "--root",        m_root.string(),
                                     "--anon-root",   m_anonRoot.string(),
                                     "--user",        kUser,
                                     "--password",    kPassword,
                                     "--log",         (m_base / "logins.txt").string()};
    if (options.dropAfter >= 0) {
        args.push_back("--drop-after");
        args.push_back(std::to_string(options.dropAfter));
    }
    if (options.noMlsd)
        args.push_back("--no-mlsd");
    if (options.throttle > 0) {
        args.push_back("--throttle");
        args.push_back(std::to_string(options.throttle));
    }
    if (options.tls) {
        makeCertificates(m_base);
        args.insert(args.end(),
                    {"--cert", (m_base / "server.pem").string(), "--key", (m_base / "server.key").string()});
    }

    int toChild[2], fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    m_pid = fork();
    if (m_pid == 0) {
        dup2(toChild[0], 0);
        dup2(fromChild[1], 1);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    m_stdin = toChild[1];
    // The first line is the port.
    std::string line;
    char c;
    while (read(fromChild[0], &c, 1) == 1 && c != '\n')
        line += c;
    close(fromChild[0]);
    m_port = std::atoi(line.c_str());
    if (m_port <= 0)
        throw std::runtime_error("the test FTP server did not start (is python3-pyftpdlib installed?)");
}

FtpTestServer::~FtpTestServer() {
    if (m_stdin >= 0)
        close(m_stdin); // the server ends when its input closes
    if (m_pid > 0) {
        for (int i = 0; i < 200; ++i) {
            if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                m_pid = -1;
                break;
            }
            usleep(10000);
        }
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    std::error_code ec;
    fs::remove_all(m_base, ec);
}

std::string FtpTestServer::caFile() const {
    return (m_base / "ca.pem").string();
}

std::string FtpTestServer::loginLog() const {
    return ReadFileBytes(m_base / "logins.txt");
}

FtpSettings FtpTestServer::settings() const {
    FtpSettings s;
    s.host = "127.0.0.1";
    s.port = m_port;
    s.login = kUser;
    s.password = kPassword;
    return s;
}

ScratchDir::ScratchDir() : m_path(freshFolder("sealbook-local")) {}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFileBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string PatternBytes(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = static_cast<char>(state >> 24);
    }
    return bytes;
}

std::string DatabaseBytes(size_t size, unsigned seed) {
    std::string bytes = PatternBytes(size, seed);
    const char magic[] = {'\x1A', '\x7F', '\x1D', '\xAF'};
    bytes.replace(0, std::min(size, sizeof magic), magic, std::min(size, sizeof magic));
    return bytes;
}
