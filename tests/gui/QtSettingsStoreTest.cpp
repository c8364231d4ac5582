// The settings store over INI files, and the binary settings with their
// system-wide/per-user fallback.
#include "gui/QtSettingsStore.h"
#include "gui/GuiHelpers.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A path no one can write, not even the superuser.
const QString kUnwritable = QStringLiteral("/proc/sealbook-none/settings.conf");

struct BinaryFiles {
    BinaryFiles(const QString& system, const QString& user) { SetBinarySettingFiles(system, user); }
    ~BinaryFiles() { SetBinarySettingFiles(QString(), QString()); }
};

} // namespace

TEST(QtSettingsStore, ValuesRoundTripThroughTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Marrowick Sealbook.conf"));
    const std::vector<uint8_t> placement = {44, 0, 0, 0, 0xFF, 0x00, 0x7F, 0x80, 0x0A, 0x0D, 0x5C, 0x40};
    {
        QtSettingsStore store(path);
        store.writeString("Settings", "StartUpPath", u"/home/a user/Документы");
        store.writeString("Settings", "FTPHost", u"");
        store.writeString("Settings", "FTPPassword", u"@ByteArray(not bytes)");
        store.writeInt("Settings", "FTPPort", 21);
        store.writeInt("Settings", "Lowest", INT32_MIN);
        store.writeInt("Settings", "Highest", INT32_MAX);
        store.writeBinary("Layout", "Main", placement);
        store.writeBinary("Layout", "Empty", {});
        store.writeString("RecentFiles", "File0", u"C:\\notes\\a.nte");
        ASSERT_TRUE(store.sync());
    }
    const QtSettingsStore store(path);
    EXPECT_EQ(store.readString("Settings", "StartUpPath"), u"/home/a user/Документы");
    EXPECT_EQ(store.readString("Settings", "FTPHost"), u"");
    EXPECT_EQ(store.readString("Settings", "FTPPassword"), u"@ByteArray(not bytes)");
    EXPECT_EQ(store.readInt("Settings", "FTPPort"), 21);
    EXPECT_EQ(store.readInt("Settings", "Lowest"), INT32_MIN);
    EXPECT_EQ(store.readInt("Settings", "Highest"), INT32_MAX);
    EXPECT_EQ(store.readBinary("Layout", "Main"), placement);
    EXPECT_EQ(store.readBinary("Layout", "Empty"), std::vector<uint8_t>{});
    EXPECT_EQ(store.readString("RecentFiles", "File0"), u"C:\\notes\\a.nte");
}

TEST(QtSettingsStore, MissingOrUnreadableValuesFallBackToTheDefault) {
    QTemporaryDir dir;
    QtSettingsStore store(dir.filePath(QStringLiteral("s.conf")));
    EXPECT_FALSE(store.readString("Settings", "FTPHost").has_value());
    EXPECT_FALSE(store.readInt("Settings", "FTPPort").has_value());
    EXPECT_FALSE(store.readBinary("Layout", "Preview").has_value());
    EXPECT_EQ(store.getInt("Settings", "FTPPort", 21), 21);
    // A number field holding text (edited by hand) is not silently 0.
    store.writeString("Settings", "FTPPassiveMode", u"yes");
    EXPECT_EQ(store.getInt("Settings", "FTPPassiveMode", 1), 1);
    store.writeString("Settings", "Huge", u"99999999999");
    EXPECT_FALSE(store.readInt("Settings", "Huge").has_value());
    // The same name in another section is another value.
    store.writeInt("Settings", "Value", 1);
    EXPECT_FALSE(store.readInt("Layout", "Value").has_value());
}

TEST(QtSettingsStore, RemovingASectionLeavesTheOthers) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.conf"));
    {
        QtSettingsStore store(path);
        for (int i = 0; i < 7; ++i)
            store.writeString("RecentFiles", "File" + std::to_string(i), u"x.nte");
        store.writeString("Settings", "FTPHost", u"host");
        store.writeString("Dictionary", "word", u"");
        store.removeSection("RecentFiles");
        EXPECT_FALSE(store.readString("RecentFiles", "File3").has_value());
        ASSERT_TRUE(store.sync());
    }
    const QtSettingsStore store(path);
    EXPECT_FALSE(store.readString("RecentFiles", "File0").has_value());
    EXPECT_EQ(store.readString("Settings", "FTPHost"), u"host");
    EXPECT_TRUE(store.readString("Dictionary", "word").has_value());
}

TEST(QtSettingsStore, ProgramStoreLivesUnderTheOrganisationAndApplication) {
    const QtSettingsStore store;
    EXPECT_TRUE(store.fileName().endsWith(QStringLiteral("/Marrowick/Marrowick Sealbook.conf")))
        << store.fileName().toStdString();
}

TEST(QtSettingsStore, UnwritableFileReportsFailure) {
    QtSettingsStore store(kUnwritable);
    store.writeInt("Settings", "FTPPort", 2121);
    EXPECT_FALSE(store.sync());
}

TEST(BinarySetting, SystemWideFirstThenUser) {
    QTemporaryDir dir;
    const QString system = dir.filePath(QStringLiteral("system.conf"));
    const QString user = dir.filePath(QStringLiteral("user.conf"));
    BinaryFiles files(system, user);
    const QByteArray a("\x01\x00\x00\x00", 4), b("\x00\x00\x00\x00", 4);

    ASSERT_TRUE(WriteBinarySetting(QStringLiteral("Layout"), QStringLiteral("Preview"), a, false));
    EXPECT_EQ(QtSettingsStore(system).readBinary("Layout", "Preview"), std::vector<uint8_t>({1, 0, 0, 0}));
    EXPECT_FALSE(QtSettingsStore(user).readBinary("Layout", "Preview").has_value());

    ASSERT_TRUE(WriteBinarySetting(QStringLiteral("Layout"), QStringLiteral("Preview"), b, true));
    QByteArray read;
    ASSERT_TRUE(ReadBinarySetting(QStringLiteral("Layout"), QStringLiteral("Preview"), read, true));
    EXPECT_EQ(read, b);
    ASSERT_TRUE(ReadBinarySetting(QStringLiteral("Layout"), QStringLiteral("Preview"), read, false));
    EXPECT_EQ(read, a); // the system-wide value wins unless the user's alone is asked for
}

TEST(BinarySetting, FallsBackToTheUserWhenTheSystemCannotServe) {
    QTemporaryDir dir;
    const QString user = dir.filePath(QStringLiteral("user.conf"));
    BinaryFiles files(kUnwritable, user);
    const QByteArray main(44, '\x07');
    ASSERT_TRUE(WriteBinarySetting(QStringLiteral("Layout"), QStringLiteral("Main"), main, false));
    QByteArray read;
    ASSERT_TRUE(ReadBinarySetting(QStringLiteral("Layout"), QStringLiteral("Main"), read, false));
    EXPECT_EQ(read, main);
    EXPECT_FALSE(ReadBinarySetting(QStringLiteral("Layout"), QStringLiteral("Other"), read, false));
}

TEST(BinarySetting, FailsOnlyWhenBothPlacesFail) {
    BinaryFiles files(kUnwritable, kUnwritable);
    QByteArray read;
    EXPECT_FALSE(
        WriteBinarySetting(QStringLiteral("Layout"), QStringLiteral("Main"), QByteArray(44, 0), false));
    EXPECT_FALSE(ReadBinarySetting(QStringLiteral("Layout"), QStringLiteral("Main"), read, false));
}

TEST(BinarySetting, StoredStringReadsAsItsBytes) {
    QTemporaryDir dir;
    const QString user = dir.filePath(QStringLiteral("user.conf"));
    BinaryFiles files(kUnwritable, user);
    {
        QtSettingsStore store(user);
        store.writeString("Layout", "Preview", u"1");
        ASSERT_TRUE(store.sync());
    }
    QByteArray read;
    ASSERT_TRUE(ReadBinarySetting(QStringLiteral("Layout"), QStringLiteral("Preview"), read, true));
    EXPECT_EQ(read, QByteArray("1"));
}
