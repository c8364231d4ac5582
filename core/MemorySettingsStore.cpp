#include "core/MemorySettingsStore.h"

template <typename T>
std::optional<T> MemorySettingsStore::read(const std::string& section, const std::string& name) const {
    auto s = m_sections.find(section);
    if (s == m_sections.end())
        return std::nullopt;
    auto v = s->second.find(name);
    if (v == s->second.end() || !std::holds_alternative<T>(v->second))
        return std::nullopt;
    return std::get<T>(v->second);
}

std::optional<std::u16string> MemorySettingsStore::readString(const std::string& section,
                                                              const std::string& name) const {
    return read<std::u16string>(section, name);
}

void MemorySettingsStore::writeString(const std::string& section, const std::string& name,
                                      const std::u16string& value) {
    m_sections[section][name] = value;
}

std::optional<int32_t> MemorySettingsStore::readInt(const std::string& section,
                                                    const std::string& name) const {
    return read<int32_t>(section, name);
}

void MemorySettingsStore::writeInt(const std::string& section, const std::string& name, int32_t value) {
    m_sections[section][name] = value;
}

std::optional<std::vector<uint8_t>> MemorySettingsStore::readBinary(const std::string& section,
                                                                    const std::string& name) const {
    return read<std::vector<uint8_t>>(section, name);
}

void MemorySettingsStore::writeBinary(const std::string& section, const std::string& name,
                                      const std::vector<uint8_t>& value) {
    m_sections[section][name] = value;
}

void MemorySettingsStore::removeSection(const std::string& section) {
    m_sections.erase(section);
}
