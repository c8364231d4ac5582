#pragma once
// A fresh temporary folder for one test, removed with everything in it.

#include <filesystem>
#include <random>
#include <string>

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        const auto base = std::filesystem::temp_directory_path();
        // A non-ASCII folder name checks that paths pass through unharmed.
        for (;;) {
            m_path = base / ("sealbook-cli-\xC3\xA9-" + std::to_string(rd()));
            if (std::filesystem::create_directory(m_path))
                break;
        }
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
