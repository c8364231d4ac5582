#pragma once
// The local side of a download: the bytes go into a temporary file beside the
// chosen path, and only a complete file takes the chosen path's place, the
// previous file becoming its "_old.nte" backup. Until commit() succeeds the
// chosen file and its backup are untouched; a file not committed is removed.

#include <cstddef>
#include <cstdint>
#include <string>

class LocalDownloadFile {
public:
    explicit LocalDownloadFile(std::string target);
    ~LocalDownloadFile();
    LocalDownloadFile(const LocalDownloadFile&) = delete;
    LocalDownloadFile& operator=(const LocalDownloadFile&) = delete;

    // Creates the temporary file; false when the folder cannot take it.
    bool open();
    bool write(const char* data, size_t size);
    uint64_t written() const { return m_written; }

    // Flushes the file to disk, removes the old backup, makes the current file
    // the backup and moves the new one into place. False when the new file
    // could not be put in place (the current file is then where it was).
    bool commit();

    // The backup of a local path: the rule applied to the file name only.
    static std::string BackupPath(const std::string& path);

private:
    void discard();

    std::string m_target;
    std::string m_temp;
    int m_fd = -1;
    uint64_t m_written = 0;
    uint64_t m_writtenBack = 0; // bytes handed to the disk ahead of the final flush
    bool m_committed = false;
};
