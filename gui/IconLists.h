#pragma once
// The application's icon image lists: folder icons (16) and note icons (80),
// each at 16 x 16 (tree) and 32 x 32 (property sheet, icon grid), plus the
// database and program icons. They are built once and kept for the program's
// whole run. A node's iconIndex addresses the same picture in both sizes and
// in every build: an icon missing from the theme at build time is replaced by
// a drawn placeholder, never dropped, so stored indices never shift.

#include "core/Edition.h"

#include <QPixmap>
#include <QSize>
#include <QStringList>
#include <vector>

// A list of same-sized images addressed by index.
struct ImageList {
    QSize imageSize;
    std::vector<QPixmap> images;

    int count() const { return static_cast<int>(images.size()); }
    // A null pixmap for an index outside the list.
    QPixmap image(int index) const;
};

class IconLists {
public:
    static constexpr int kFolderIconCount = 16;
    static constexpr int kNoteIconCount = 80;
    static constexpr int kSmallSize = 16;
    static constexpr int kLargeSize = 32;

    // Icon resource numbers. The desktop set has no note icon 222, so its note
    // icons are 143 ... 221 and 223; the handheld's are 144 ... 223.
    static constexpr int kProgramIconId = 128;
    static constexpr int kDatabaseIconId = kHandheld ? 131 : 135;
    static constexpr int kFirstNoteIconId = kHandheld ? 144 : 143;
    static constexpr int kLastNoteIconId = 223;
    static constexpr int kMissingNoteIconId = kHandheld ? -1 : 222;
    static constexpr int kFirstFolderIconId = 224;
    static constexpr int kLastFolderIconId = 239;

    // The tree's image list: image 0 the database, then the folder icons, then
    // the note icons.
    static constexpr int kDatabaseTreeImage = 0;
    static int TreeImageIndex(bool isFolder, int iconIndex) {
        return isFolder ? iconIndex + 1 : iconIndex + 1 + kFolderIconCount;
    }

    // Builds all lists from the embedded icon set (or, for tests, from SVG
    // files under another folder laid out the same way). Needs a QGuiApplication.
    explicit IconLists(const QString& iconRoot = QStringLiteral(":/icons"));

    // The lists of this run, built on first use and freed when the application object goes.
    static const IconLists& instance();

    const ImageList& folderIcons(bool large) const { return large ? m_folderLarge : m_folderSmall; }
    const ImageList& noteIcons(bool large) const { return large ? m_noteLarge : m_noteSmall; }
    QPixmap databaseIcon(bool large) const { return large ? m_databaseLarge : m_databaseSmall; }
    QPixmap programIcon(bool large) const { return large ? m_programLarge : m_programSmall; }

    // 16 x 16: the database icon, the 16 folder icons, the 80 note icons.
    ImageList treeImages() const;

    // The picture for an icon resource number (see above); a null pixmap for a
    // number that has no icon.
    QPixmap iconForResource(int resourceId, bool large) const;

    // Icons drawn as placeholders because their file was missing, as
    // "kind/index-size" (e.g. "note/7-32").
    const QStringList& placeholders() const { return m_placeholders; }

    // A drawn stand-in for a missing icon: a coloured square with the index.
    static QPixmap Placeholder(const QString& kind, int index, int size);

private:
    QPixmap load(const QString& kind, int index, int size);

    QString m_root;
    ImageList m_folderSmall, m_folderLarge, m_noteSmall, m_noteLarge;
    QPixmap m_databaseSmall, m_databaseLarge, m_programSmall, m_programLarge;
    QStringList m_placeholders;
};
