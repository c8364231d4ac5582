#include "gui/IconLists.h"

#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

// The embedded icon set lives in this static library; naming it here makes
// the linker keep it.
static void initIconResources() {
    Q_INIT_RESOURCE(sealbook_icons);
}

namespace {

IconLists* g_instance = nullptr;

void freeInstance() {
    delete g_instance;
    g_instance = nullptr;
}

} // namespace

QPixmap ImageList::image(int index) const {
    if (index < 0 || index >= count())
        return QPixmap();
    return images[static_cast<size_t>(index)];
}

IconLists::IconLists(const QString& iconRoot) : m_root(iconRoot) {
    initIconResources();
    m_folderSmall.imageSize = m_noteSmall.imageSize = QSize(kSmallSize, kSmallSize);
    m_folderLarge.imageSize = m_noteLarge.imageSize = QSize(kLargeSize, kLargeSize);
    for (int i = 0; i < kFolderIconCount; ++i) {
        m_folderSmall.images.push_back(load(QStringLiteral("folder"), i, kSmallSize));
        m_folderLarge.images.push_back(load(QStringLiteral("folder"), i, kLargeSize));
    }
    for (int i = 0; i < kNoteIconCount; ++i) {
        m_noteSmall.images.push_back(load(QStringLiteral("note"), i, kSmallSize));
        m_noteLarge.images.push_back(load(QStringLiteral("note"), i, kLargeSize));
    }
    m_databaseSmall = load(QStringLiteral("database"), 0, kSmallSize);
    m_databaseLarge = load(QStringLiteral("database"), 0, kLargeSize);
    m_programSmall = load(QStringLiteral("program"), 0, kSmallSize);
    m_programLarge = load(QStringLiteral("program"), 0, kLargeSize);
}

const IconLists& IconLists::instance() {
    if (!g_instance) {
        g_instance = new IconLists;
        // Pixmaps must go before the application object does.
        qAddPostRoutine(freeInstance);
    }
    return *g_instance;
}

QPixmap IconLists::load(const QString& kind, int index, int size) {
    const QString path = QStringLiteral("%1/%2/%3-%4.svg").arg(m_root, kind).arg(index).arg(size);
    if (QFile::exists(path)) {
        QSvgRenderer renderer(path);
        if (renderer.isValid()) {
            QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            renderer.render(&painter, QRectF(0, 0, size, size));
            painter.end();
            return QPixmap::fromImage(image);
        }
    }
    const QString name = QStringLiteral("%1/%2-%3").arg(kind).arg(index).arg(size);
    if (!m_placeholders.contains(name))
        m_placeholders.append(name);
    return Placeholder(kind, index, size);
}

QPixmap IconLists::Placeholder(const QString& kind, int index, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    // A hue per index, so neighbouring placeholders can be told apart.
    const QColor fill =
        QColor::fromHsv((index * 47 + (kind == QLatin1String("folder") ? 0 : 23)) % 360, 160, 200);
    painter.fillRect(QRect(1, 1, size - 2, size - 2), fill);
    painter.setPen(fill.darker(180));
    painter.drawRect(QRect(1, 1, size - 3, size - 3));
    QFont font = painter.font();
    font.setPixelSize(size / 2);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString::number(index));
    painter.end();
    return QPixmap::fromImage(image);
}

ImageList IconLists::treeImages() const {
    ImageList tree;
    tree.imageSize = QSize(kSmallSize, kSmallSize);
    tree.images.reserve(1 + kFolderIconCount + kNoteIconCount);
    tree.images.push_back(m_databaseSmall);
    tree.images.insert(tree.images.end(), m_folderSmall.images.begin(), m_folderSmall.images.end());
    tree.images.insert(tree.images.end(), m_noteSmall.images.begin(), m_noteSmall.images.end());
    return tree;
}

QPixmap IconLists::iconForResource(int resourceId, bool large) const {
    if (resourceId == kProgramIconId)
        return programIcon(large);
    if (resourceId == kDatabaseIconId)
        return databaseIcon(large);
    if (resourceId >= kFirstFolderIconId && resourceId <= kLastFolderIconId)
        return folderIcons(large).image(resourceId - kFirstFolderIconId);
    if (resourceId >= kFirstNoteIconId && resourceId <= kLastNoteIconId && resourceId != kMissingNoteIconId) {
        int index = resourceId - kFirstNoteIconId;
        if (kMissingNoteIconId > 0 && resourceId > kMissingNoteIconId)
            --index; // the numbers skip the one without an icon
        return noteIcons(large).image(index);
    }
    return QPixmap();
}
