// libFuzzer entry point for the whole file path: the input is a deciphered
// stream, enciphered under a fixed password into a database file, so that
// the reader is reached past the first unit; long inputs cross the pieces
// in which the file is deciphered. The file is loaded, and also scanned node
// by node with attachments passed over and bodies taken in pieces: both must
// end alike and agree on every node. The same stream in a strongly protected
// file (the cheapest key, small pieces) must read as the stream read from
// memory does.

#include "fuzz/FuzzSupport.h"

#include "core/NodeReceiver.h"

#include <map>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

class ScanReceiver : public NodeReceiver, public StringPieces {
public:
    bool wantsAttachmentData() const override { return false; }
    StringPieces* bodyPieces(const NoteRecord&) override {
        m_body.clear();
        return this;
    }
    void start(uint64_t length) override { m_length = length; }
    void piece(std::u16string_view text) override { m_body += text; }

    void node(NoteRecord& record) override {
        fuzz::check(record.body.empty() && record.attachmentData.empty() && m_body.size() == m_length);
        record.body = m_body;
        nodes.try_emplace(record.nodeId, std::move(record));
    }

    std::map<int32_t, NoteRecord> nodes;

private:
    std::u16string m_body;
    uint64_t m_length = 0;
};

// The input as a file only this process sees, one file for every run.
class MemoryFile {
public:
    MemoryFile() : m_fd(memfd_create("fuzz.nte", 0)) {
        fuzz::check(m_fd >= 0);
        path = "/proc/self/fd/" + std::to_string(m_fd);
    }
    ~MemoryFile() { ::close(m_fd); }

    void hold(const std::vector<uint8_t>& bytes) {
        fuzz::check(::ftruncate(m_fd, 0) == 0);
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::pwrite(m_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
            fuzz::check(n > 0);
            done += static_cast<size_t>(n);
        }
    }

    std::string path;

private:
    int m_fd;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryFile file;
    file.hold(fuzz::fileOfStream(data, size));

    NotesMgr loaded(nullptr);
    loaded.password = fuzz::kPassword;
    const fuzz::Outcome load = fuzz::attempt([&] { loaded.Load(file.path); });

    NotesMgr scanned(nullptr);
    scanned.password = fuzz::kPassword;
    ScanReceiver receiver;
    const fuzz::Outcome scan = fuzz::attempt([&] { scanned.Scan(file.path, receiver); });

    fuzz::check(load == scan);

    file.hold(fuzz::strongFileOfStream(data, size));
    NotesMgr strong(nullptr);
    strong.password = fuzz::kPassword;
    strong.strongKey = fuzz::strongKey();
    const fuzz::Outcome strongLoad = fuzz::attempt([&] { strong.Load(file.path); });
    NotesMgr direct(nullptr);
    const fuzz::Outcome directRead = fuzz::readStream(direct, data, size);
    fuzz::check(strongLoad == directRead);
    fuzz::check(!strongLoad.ok ||
                (fuzz::sameReading(strong, direct) && strong.strongKey == fuzz::strongKey()));

    if (!load.ok)
        return 0;
    fuzz::check(loaded.templates == scanned.templates && loaded.nextNodeId == scanned.nextNodeId);
    fuzz::check(loaded.nodes.size() == receiver.nodes.size());
    for (auto a = loaded.nodes.begin(), b = receiver.nodes.begin(); a != loaded.nodes.end(); ++a, ++b) {
        NoteRecord expected = a->second;
        expected.attachmentData.clear(); // passed over by the scan
        fuzz::check(a->first == b->first && fuzz::keptTimeless(expected) == fuzz::keptTimeless(b->second));
    }
    return 0;
}
