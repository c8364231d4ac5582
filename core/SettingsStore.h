#pragma once
// The per-user settings store: named sections holding string, integer and
// binary values. The application backs it with QSettings; tests use the
// in-memory store. A missing value reads as the caller's default.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::optional<std::u16string> readString(const std::string& section,
                                                     const std::string& name) const = 0;
    virtual void writeString(const std::string& section, const std::string& name,
                             const std::u16string& value) = 0;
    virtual std::optional<int32_t> readInt(const std::string& section, const std::string& name) const = 0;
    virtual void writeInt(const std::string& section, const std::string& name, int32_t value) = 0;
    virtual std::optional<std::vector<uint8_t>> readBinary(const std::string& section,
                                                           const std::string& name) const = 0;
    virtual void writeBinary(const std::string& section, const std::string& name,
                             const std::vector<uint8_t>& value) = 0;
    // Every value of the section and the section itself.
    virtual void removeSection(const std::string& section) = 0;

    std::u16string getString(const std::string& section, const std::string& name,
                             const std::u16string& fallback = {}) const {
        return readString(section, name).value_or(fallback);
    }
    int32_t getInt(const std::string& section, const std::string& name, int32_t fallback = 0) const {
        return readInt(section, name).value_or(fallback);
    }
};
