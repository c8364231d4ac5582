#pragma once
// A settings store held in memory, for tests and for programs that keep no settings.

#include "core/SettingsStore.h"

#include <map>
#include <variant>

class MemorySettingsStore : public SettingsStore {
public:
    using Value = std::variant<std::u16string, int32_t, std::vector<uint8_t>>;

    std::optional<std::u16string> readString(const std::string& section,
                                             const std::string& name) const override;
    void writeString(const std::string& section, const std::string& name,
                     const std::u16string& value) override;
    std::optional<int32_t> readInt(const std::string& section, const std::string& name) const override;
    void writeInt(const std::string& section, const std::string& name, int32_t value) override;
    std::optional<std::vector<uint8_t>> readBinary(const std::string& section,
                                                   const std::string& name) const override;
    void writeBinary(const std::string& section, const std::string& name,
                     const std::vector<uint8_t>& value) override;
    void removeSection(const std::string& section) override;

    bool hasSection(const std::string& section) const { return m_sections.count(section) != 0; }

private:
    template <typename T> std::optional<T> read(const std::string& section, const std::string& name) const;

    std::map<std::string, std::map<std::string, Value>> m_sections;
};
