// The application's icon lists: complete in both sizes, in the committed
// order, placeholders instead of gaps, and the resource and tree numbering.
#include "gui/IconLists.h"
#include "gui/GuiHelpers.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

QStringList namesOfKind(const QString& kind) {
    QFile file(QStringLiteral(SEALBOOK_SOURCE_DIR "/res/icons.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList names;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList words = in.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() >= 2 && words[0] == kind)
            names.append(words[1]);
    }
    return names;
}

bool samePicture(const QPixmap& a, const QPixmap& b) {
    return a.toImage().convertToFormat(QImage::Format_ARGB32) ==
           b.toImage().convertToFormat(QImage::Format_ARGB32);
}

void expectComplete(const ImageList& list, int count, int size) {
    ASSERT_EQ(list.count(), count);
    EXPECT_EQ(list.imageSize, QSize(size, size));
    for (int i = 0; i < count; ++i) {
        EXPECT_FALSE(list.image(i).isNull()) << i;
        EXPECT_EQ(list.image(i).size(), QSize(size, size)) << i;
    }
    EXPECT_TRUE(list.image(count).isNull());
    EXPECT_TRUE(list.image(-1).isNull());
}

} // namespace

TEST(IconLists, TheCommittedListNamesSixteenFoldersAndEightyNotes) {
    // The line order is the iconIndex stored in files; a line added or lost
    // here would shift every icon after it.
    EXPECT_EQ(namesOfKind(QStringLiteral("folder")).size(), IconLists::kFolderIconCount);
    EXPECT_EQ(namesOfKind(QStringLiteral("note")).size(), IconLists::kNoteIconCount);
    EXPECT_EQ(namesOfKind(QStringLiteral("database")).size(), 1);
    EXPECT_EQ(namesOfKind(QStringLiteral("program")).size(), 1);
    const QStringList folders = namesOfKind(QStringLiteral("folder"));
    const QStringList notes = namesOfKind(QStringLiteral("note"));
    EXPECT_EQ(QSet<QString>(folders.begin(), folders.end()).size(), 16);
    EXPECT_EQ(QSet<QString>(notes.begin(), notes.end()).size(), 80);
}

TEST(IconLists, AllFourListsAreCompleteInBothSizes) {
    const IconLists& icons = IconLists::instance();
    expectComplete(icons.folderIcons(false), 16, 16);
    expectComplete(icons.folderIcons(true), 16, 32);
    expectComplete(icons.noteIcons(false), 80, 16);
    expectComplete(icons.noteIcons(true), 80, 32);
    EXPECT_EQ(icons.databaseIcon(true).size(), QSize(32, 32));
    EXPECT_EQ(icons.programIcon(false).size(), QSize(16, 16));
}

TEST(IconLists, ThemeIconsAreEmbeddedAndDistinct) {
    if (!QFile::exists(QStringLiteral(":/icons/folder/0-16.svg")))
        GTEST_SKIP() << "built without the icon theme; placeholders stand in";
    const IconLists& icons = IconLists::instance();
    EXPECT_TRUE(icons.placeholders().isEmpty()) << icons.placeholders().join(u' ').toStdString();
    // Pictures that render the same would make two indices look alike.
    for (const ImageList* list : {&icons.folderIcons(false), &icons.folderIcons(true),
                                  &icons.noteIcons(false), &icons.noteIcons(true)}) {
        QHash<QByteArray, int> seen;
        for (int i = 0; i < list->count(); ++i) {
            const QImage image = list->image(i).toImage();
            const QByteArray bits(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
            EXPECT_FALSE(seen.contains(bits)) << "size " << list->imageSize.width() << ": icon " << i
                                              << " looks like icon " << seen.value(bits);
            seen.insert(bits, i);
        }
    }
}

TEST(IconLists, MissingThemeFilesBecomeNumberedPlaceholdersNotGaps) {
    QTemporaryDir empty;
    const IconLists icons(empty.path());
    expectComplete(icons.folderIcons(false), 16, 16);
    expectComplete(icons.noteIcons(true), 80, 32);
    EXPECT_EQ(icons.placeholders().size(), 2 * (16 + 80 + 2));
    EXPECT_TRUE(icons.placeholders().contains(QStringLiteral("note/79-16")));
    EXPECT_TRUE(samePicture(icons.noteIcons(true).image(7), IconLists::Placeholder("note", 7, 32)));
    EXPECT_FALSE(samePicture(icons.noteIcons(true).image(7), icons.noteIcons(true).image(8)));
}

TEST(IconLists, OnlyTheMissingFileIsReplaced) {
    if (!QFile::exists(QStringLiteral(":/icons/note/0-32.svg")))
        GTEST_SKIP() << "built without the icon theme";
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("note"));
    ASSERT_TRUE(QFile::copy(":/icons/note/1-32.svg", dir.filePath("note/1-32.svg")));
    const IconLists partial(dir.path());
    const IconLists& full = IconLists::instance();
    EXPECT_TRUE(samePicture(partial.noteIcons(true).image(1), full.noteIcons(true).image(1)));
    EXPECT_TRUE(samePicture(partial.noteIcons(true).image(0), IconLists::Placeholder("note", 0, 32)));
    EXPECT_FALSE(partial.placeholders().contains("note/1-32"));
    EXPECT_TRUE(partial.placeholders().contains("note/1-16"));
}

TEST(IconLists, TreeNumberingPutsDatabaseFoldersThenNotes) {
    EXPECT_EQ(IconLists::TreeImageIndex(true, 0), 1);
    EXPECT_EQ(IconLists::TreeImageIndex(true, 15), 16);
    EXPECT_EQ(IconLists::TreeImageIndex(false, 0), 17);
    EXPECT_EQ(IconLists::TreeImageIndex(false, 79), 96);
    const IconLists& icons = IconLists::instance();
    const ImageList tree = icons.treeImages();
    ASSERT_EQ(tree.count(), 97);
    EXPECT_TRUE(samePicture(tree.image(IconLists::kDatabaseTreeImage), icons.databaseIcon(false)));
    EXPECT_TRUE(
        samePicture(tree.image(IconLists::TreeImageIndex(true, 5)), icons.folderIcons(false).image(5)));
    EXPECT_TRUE(
        samePicture(tree.image(IconLists::TreeImageIndex(false, 79)), icons.noteIcons(false).image(79)));
}

TEST(IconLists, ResourceNumbersMapToTheEditionsIcons) {
    const IconLists& icons = IconLists::instance();
    EXPECT_TRUE(samePicture(LoadAppIcon(224, true), icons.folderIcons(true).image(0)));
    EXPECT_TRUE(samePicture(LoadAppIcon(239, false), icons.folderIcons(false).image(15)));
    EXPECT_TRUE(samePicture(LoadAppIcon(223, true), icons.noteIcons(true).image(79)));
    EXPECT_TRUE(samePicture(LoadAppIcon(128, true), icons.programIcon(true)));
    EXPECT_TRUE(LoadAppIcon(240, true).isNull());
    EXPECT_TRUE(LoadAppIcon(1, false).isNull());
    if (kHandheld) {
        EXPECT_TRUE(samePicture(LoadAppIcon(144, true), icons.noteIcons(true).image(0)));
        EXPECT_TRUE(samePicture(LoadAppIcon(222, true), icons.noteIcons(true).image(78)));
        EXPECT_TRUE(LoadAppIcon(143, true).isNull());
        EXPECT_TRUE(samePicture(LoadAppIcon(131, false), icons.databaseIcon(false)));
    } else {
        EXPECT_TRUE(samePicture(LoadAppIcon(143, true), icons.noteIcons(true).image(0)));
        EXPECT_TRUE(samePicture(LoadAppIcon(221, true), icons.noteIcons(true).image(78)));
        EXPECT_TRUE(LoadAppIcon(222, true).isNull());
        EXPECT_TRUE(samePicture(LoadAppIcon(135, false), icons.databaseIcon(false)));
    }
}

TEST(IconLists, BuildTimeIsReported) {
    QElapsedTimer timer;
    timer.start();
    const IconLists icons;
    const qint64 ms = timer.elapsed();
    std::printf("[ info     ] building the icon lists took %lld ms\n", static_cast<long long>(ms));
    EXPECT_EQ(icons.noteIcons(true).count(), 80);
}
