// Upload and download of a 200 MB database to a local FTP server, timed
// beside the curl program moving the same file to the same server in the same
// run. Prints the best of several rounds for each and the ratios.
//
//     build/bench/bench_ftp_vs_curl [megabytes] [rounds]

#include "ftp/client/FtpSession.h"
#include "tests/support/FtpTestServer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

double seconds(const std::function<bool()>& run) {
    const auto start = std::chrono::steady_clock::now();
    if (!run()) {
        std::fprintf(stderr, "a transfer failed\n");
        std::exit(1);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool curl(const std::string& args) {
    return std::system(("curl -sS " + args).c_str()) == 0;
}

// The client flushes a downloaded file to disk before it takes the old one's
// place; curl leaves it in the page cache. This gives curl the same flush.
bool flush(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? std::stoul(argv[1]) : 200;
    const int rounds = argc > 2 ? std::stoi(argv[2]) : 3;
    FtpTestServer server;
    ScratchDir local;
    const fs::path file = local.path() / "big.nte";
    WriteFileBytes(file, PatternBytes(megabytes * 1024 * 1024, 11));
    const std::string url = "ftp://127.0.0.1:" + std::to_string(server.port()) + "/";
    const std::string login =
        std::string("-u '") + FtpTestServer::kUser + ":" + FtpTestServer::kPassword + "' ";

    double oursUp = 1e9, curlUp = 1e9, oursDown = 1e9, curlDown = 1e9, curlDownFlushed = 1e9;
    for (int round = 0; round < rounds; ++round) {
        oursUp = std::min(oursUp, seconds([&] {
                              FtpSession session(server.settings());
                              return session.connect() && session.upload(file.string());
                          }));
        curlUp = std::min(
            curlUp, seconds([&] { return curl(login + "-T '" + file.string() + "' " + url + "c.nte"); }));
        oursDown = std::min(oursDown, seconds([&] {
                                FtpSession session(server.settings());
                                return session.connect() &&
                                       session.download("big.nte", (local.path() / "down.nte").string());
                            }));
        curlDown = std::min(curlDown, seconds([&] {
                                return curl(login + "-o '" + (local.path() / "c.nte").string() + "' " + url +
                                            "big.nte");
                            }));
        curlDownFlushed =
            std::min(curlDownFlushed, seconds([&] {
                         const fs::path out = local.path() / "f.nte";
                         return curl(login + "-o '" + out.string() + "' " + url + "big.nte") && flush(out);
                     }));
        fs::remove(server.root() / "big_old.nte");
        fs::remove(local.path() / "down_old.nte");
    }
    const double mb = static_cast<double>(megabytes);
    std::printf("%zu MB, best of %d rounds\n", megabytes, rounds);
    std::printf("upload    client %.3f s (%.0f MB/s)   curl %.3f s (%.0f MB/s)   ratio %.3f\n", oursUp,
                mb / oursUp, curlUp, mb / curlUp, oursUp / curlUp);
    std::printf("download  client %.3f s (%.0f MB/s)   curl %.3f s (%.0f MB/s)   ratio %.3f\n", oursDown,
                mb / oursDown, curlDown, mb / curlDown, oursDown / curlDown);
    std::printf("download  client %.3f s beside curl with the same flush to disk %.3f s   ratio %.3f\n",
                oursDown, curlDownFlushed, oursDown / curlDownFlushed);
    return 0;
}
