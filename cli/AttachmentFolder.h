#pragma once
// The folder that receives attachments as files (export --attachments DIR) or
// supplies them (import --attachments DIR). A stored attachmentName is only a
// wish: it may hold folder parts ("../x", "/etc/x", "C:\\x") or characters a
// file name cannot have, so the file name is made from its last part, and a
// name already taken gets a number. Files are created exclusively, so nothing
// in the folder (a file, or a link planted there) is ever overwritten.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class AttachmentFolder {
public:
    // Creates the folder (and its parents) for writing when `create`.
    // Throws CliError when it cannot.
    AttachmentFolder(std::filesystem::path folder, bool create);

    // Writes the bytes under a safe, unused name in the folder and returns
    // that name (a single path component, UTF-8). Throws CliError on failure.
    std::string Write(const std::u16string& attachmentName, const std::vector<uint8_t>& data);

    // Reads the file `fileName` from the folder. The name must be a single
    // component (no separators, not "." or ".."). Throws CliError otherwise,
    // or FileError when the file cannot be read.
    std::vector<uint8_t> Read(const std::string& fileName, const std::string& where) const;

    // The base name used for an attachment: the last part after '/' or '\\',
    // without control characters, never empty, "." or "..", at most 200 bytes.
    static std::string SafeFileName(const std::u16string& attachmentName);

    const std::filesystem::path& path() const { return m_folder; }

private:
    std::filesystem::path m_folder;
};
