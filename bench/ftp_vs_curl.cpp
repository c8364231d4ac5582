// Upload and download of a 200 MB database to a local FTP server, timed
// beside the curl program moving the same file to the same server in the same
// run. Each round times the two side by side (in alternating order) and the
// medians of the times and of the per-round ratios are printed, which keeps
// the figures steady on a machine that is busy with other work.
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
#include <vector>

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

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One comparison: times of the client and of curl, and their ratios per round.
struct Pair {
    std::vector<double> ours, theirs, ratios;
    void add(int round, const std::function<double()>& a, const std::function<double()>& b) {
        double x, y;
        if (round % 2 == 0) {
            x = a();
            y = b();
        } else {
            y = b();
            x = a();
        }
        ours.push_back(x);
        theirs.push_back(y);
        ratios.push_back(x / y);
    }
    void print(const char* what, const char* curlName, double megabytes) const {
        std::printf("%-9s client %.3f s (%4.0f MB/s)  %s %.3f s (%4.0f MB/s)  ratio %.3f\n", what,
                    median(ours), megabytes / median(ours), curlName, median(theirs),
                    megabytes / median(theirs), median(ratios));
    }
};

} // namespace

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? std::stoul(argv[1]) : 200;
    const int rounds = argc > 2 ? std::stoi(argv[2]) : 7;
    FtpTestServer server;
    ScratchDir local;
    const fs::path file = local.path() / "big.nte";
    WriteFileBytes(file, DatabaseBytes(megabytes * 1024 * 1024, 11));
    const std::string url = "ftp://127.0.0.1:" + std::to_string(server.port()) + "/";
    const std::string login =
        std::string("-u '") + FtpTestServer::kUser + ":" + FtpTestServer::kPassword + "' ";

    const auto oursUp = [&] {
        return seconds([&] {
            FtpSession session(server.settings());
            return session.connect() && session.upload(file.string());
        });
    };
    const auto curlUp = [&] {
        return seconds([&] { return curl(login + "-T '" + file.string() + "' " + url + "c.nte"); });
    };
    const auto oursDown = [&] {
        return seconds([&] {
            FtpSession session(server.settings());
            return session.connect() && session.download("big.nte", (local.path() / "down.nte").string());
        });
    };
    const auto curlDown = [&] {
        return seconds([&] {
            return curl(login + "-o '" + (local.path() / "c.nte").string() + "' " + url + "big.nte");
        });
    };
    const auto curlDownFlushed = [&] {
        return seconds([&] {
            const fs::path out = local.path() / "f.nte";
            return curl(login + "-o '" + out.string() + "' " + url + "big.nte") && flush(out);
        });
    };

    Pair up, down, downFlushed;
    for (int round = 0; round < rounds; ++round) {
        up.add(round, oursUp, curlUp);
        down.add(round, oursDown, curlDown);
        downFlushed.add(round, oursDown, curlDownFlushed);
        fs::remove(server.root() / "big_old.nte");
        fs::remove(local.path() / "down_old.nte");
    }
    const double mb = static_cast<double>(megabytes);
    std::printf("%zu MB, medians of %d rounds (ratio: client time / curl time)\n", megabytes, rounds);
    up.print("upload", "curl", mb);
    down.print("download", "curl", mb);
    downFlushed.print("download", "curl+fsync", mb);
    return 0;
}
