#pragma once
// Helpers shared by the tests of database files: temporary folders, whole-file
// reads and writes, and a database with something in every kind of field.

#include "StreamTestSupport.h"

#include "core/FileSink.h"
#include "core/NotesMgr.h"
#include "core/Texts.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace filetest {

namespace fs = std::filesystem;
using streamtest::stamp;

inline std::vector<uint8_t> readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const fs::path& p, const std::vector<uint8_t>& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class TempFolder {
public:
    explicit TempFolder(const std::string& name = "sealbook-file-XXXXXX") {
        std::string pattern = (fs::temp_directory_path() / name).string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp");
        m_path = pattern;
    }
    ~TempFolder() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }
    fs::path operator/(const std::string& name) const { return m_path / name; }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(m_path))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    fs::path m_path;
};

inline void fill(NotesMgr& db, size_t attachmentBytes = 0) {
    db.AddNode(-1, 0, 1, Texts::untitled, {}, {}, stamp(2020, 1, 3, 1, 0, 0));
    db.InstallDefaultTemplates();
    db.AddDefaultFolders();
    db.dbTitle = u"Household";
    const int32_t id = db.AddNode(1, 4, 0, u"Visa", u"{\\rtf1\\ansi card}", {}, stamp(2021, 3, 1, 1, 12, 0));
    NoteRecord& n = *db.FindNode(id);
    n.templateId = 1;
    n.fieldValues[1] = u"4111 1111 1111 1111";
    if (attachmentBytes) {
        std::vector<uint8_t> data(attachmentBytes);
        for (size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<uint8_t>(i * 31 + (i >> 8));
        n.attachmentName = u"statement.pdf";
        n.setAttachment(std::move(data));
    }
}

// The temporary folders of these tests have ASCII names.
inline std::u16string ascii(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

// Replaces the file factory for the lifetime of the object.
class FactoryOverride {
public:
    explicit FactoryOverride(FileSink::Factory f) : m_previous(FileSink::setFactory(std::move(f))) {}
    ~FactoryOverride() { FileSink::setFactory(std::move(m_previous)); }

private:
    FileSink::Factory m_previous;
};

} // namespace filetest
