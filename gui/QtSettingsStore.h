#pragma once
// The per-user settings store on disk: QSettings in INI form, organisation
// "Marrowick", application "Marrowick Sealbook". The store's sections are the
// file's groups; binary values are kept as byte arrays.

#include "core/SettingsStore.h"

#include <QSettings>
#include <QString>
#include <memory>

class QtSettingsStore : public SettingsStore {
public:
    // The user's settings file of the program.
    QtSettingsStore();
    // An explicit INI file (tests, other tools).
    explicit QtSettingsStore(const QString& iniPath);
    ~QtSettingsStore() override;

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

    // Writes pending changes to the file; false when the file could not be written.
    bool sync();
    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};
