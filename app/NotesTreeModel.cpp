#include "app/NotesTreeModel.h"

#include "app/AppTexts.h"
#include "core/NotesMgr.h"

#include <QChar>
#include <QPixmap>
#include <algorithm>
#include <string>

namespace {

// Titles compare as the platform's case-insensitive comparison does: each
// character lower-cased, then by code.
char16_t lowerUnit(char16_t c) {
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
    return static_cast<char16_t>(QChar::toLower(static_cast<char32_t>(c)));
}

int compareTitles(const std::u16string& a, const std::u16string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const char16_t x = lowerUnit(a[i]);
        const char16_t y = lowerUnit(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace

NotesTreeModel::NotesTreeModel(const NotesMgr& notes, QObject* parent)
    : QAbstractItemModel(parent), m_notes(notes), m_images(IconLists::instance().treeImages()) {
    // Only the weight is set, so the view's own font supplies the rest.
    m_boldFont.setBold(true);
    m_items.emplace_back();
}

void NotesTreeModel::Fill() {
    beginResetModel();
    m_items.clear();
    m_slots.clear();
    const size_t count = m_notes.nodes.size();
    m_items.reserve(count + 1);
    m_items.emplace_back(); // the top
    std::unordered_map<int32_t, int32_t> slotById;
    slotById.reserve(count);
    std::vector<int32_t> parentIds;
    parentIds.reserve(count);
    for (const auto& [id, node] : m_notes.nodes) {
        slotById.emplace(id, static_cast<int32_t>(m_items.size()));
        Item& item = m_items.emplace_back();
        item.nodeId = id;
        item.isFolder = node.isFolder != 0;
        parentIds.push_back(node.parentId);
    }
    // The children lists, in ascending id as the map holds them. A node under
    // a note or under a missing node has no place in the tree.
    for (size_t slot = 1; slot < m_items.size(); ++slot) {
        const int32_t parentId = parentIds[slot - 1];
        int32_t parentSlot = 0;
        if (parentId != -1) {
            const auto found = slotById.find(parentId);
            if (found == slotById.end() || !m_items[static_cast<size_t>(found->second)].isFolder)
                continue;
            parentSlot = found->second;
        }
        m_items[static_cast<size_t>(parentSlot)].children.push_back(static_cast<int32_t>(slot));
        m_items[slot].parent = parentSlot;
    }
    // Only what hangs below the top is shown: a damaged file's nodes that
    // are their own ancestors never are.
    m_slots.reserve(count);
    std::vector<int32_t> pending{0};
    while (!pending.empty()) {
        const int32_t slot = pending.back();
        pending.pop_back();
        for (int32_t child : m_items[static_cast<size_t>(slot)].children) {
            m_slots.emplace(m_items[static_cast<size_t>(child)].nodeId, child);
            if (!m_items[static_cast<size_t>(child)].children.empty())
                pending.push_back(child);
        }
    }
    endResetModel();
}

int32_t NotesTreeModel::slotOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<int32_t>(index.internalId()) : 0;
}

int32_t NotesTreeModel::slotOfNode(int32_t nodeId) const {
    const auto found = m_slots.find(nodeId);
    return found == m_slots.end() ? -1 : found->second;
}

QModelIndex NotesTreeModel::indexOfSlot(int32_t slot) const {
    if (slot <= 0)
        return {};
    const Item& item = m_items[static_cast<size_t>(slot)];
    Order(item.parent);
    return createIndex(m_items[static_cast<size_t>(slot)].row, 0, static_cast<quintptr>(slot));
}

QModelIndex NotesTreeModel::indexOf(int32_t nodeId) const {
    return indexOfSlot(slotOfNode(nodeId));
}

int32_t NotesTreeModel::nodeIdAt(const QModelIndex& index) const {
    return index.isValid() ? m_items[static_cast<size_t>(slotOf(index))].nodeId : -1;
}

void NotesTreeModel::Order(int32_t slot) const {
    Item& parent = m_items[static_cast<size_t>(slot)];
    if (parent.ordered)
        return;
    parent.ordered = true;
    // Each title is looked up once, not at every comparison.
    struct Key {
        int32_t slot;
        int32_t nodeId;
        bool isFolder;
        const std::u16string* title;
    };
    static const std::u16string noTitle;
    std::vector<Key> keys;
    keys.reserve(parent.children.size());
    for (int32_t child : parent.children) {
        const Item& item = m_items[static_cast<size_t>(child)];
        const NoteRecord* node = m_notes.FindNode(item.nodeId);
        keys.push_back({child, item.nodeId, item.isFolder, node ? &node->title : &noTitle});
    }
    // Folders first, then by title; equal titles keep ascending ids, so the
    // order does not change from one fill to the next.
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        if (a.isFolder != b.isFolder)
            return a.isFolder;
        const int byTitle = compareTitles(*a.title, *b.title);
        if (byTitle != 0)
            return byTitle < 0;
        return a.nodeId < b.nodeId;
    });
    for (size_t row = 0; row < keys.size(); ++row) {
        parent.children[row] = keys[row].slot;
        m_items[static_cast<size_t>(keys[row].slot)].row = static_cast<int32_t>(row);
    }
}

QModelIndex NotesTreeModel::AppendNode(int32_t nodeId) {
    if (const int32_t existing = slotOfNode(nodeId); existing > 0)
        return indexOfSlot(existing);
    const NoteRecord* node = m_notes.FindNode(nodeId);
    if (!node)
        return {};
    const int32_t parentSlot = node->parentId == -1 ? 0 : slotOfNode(node->parentId);
    if (parentSlot < 0 || !m_items[static_cast<size_t>(parentSlot)].isFolder)
        return {};
    // The siblings take their sorted places first; the new one goes after them all.
    Order(parentSlot);
    const int row = static_cast<int>(m_items[static_cast<size_t>(parentSlot)].children.size());
    beginInsertRows(indexOfSlot(parentSlot), row, row);
    const auto slot = static_cast<int32_t>(m_items.size());
    Item& item = m_items.emplace_back();
    item.nodeId = nodeId;
    item.parent = parentSlot;
    item.row = row;
    item.isFolder = node->isFolder != 0;
    item.ordered = true;
    m_items[static_cast<size_t>(parentSlot)].children.push_back(slot);
    m_slots.emplace(nodeId, slot);
    endInsertRows();
    return createIndex(row, 0, static_cast<quintptr>(slot));
}

void NotesTreeModel::RemoveNode(int32_t nodeId) {
    const int32_t slot = slotOfNode(nodeId);
    if (slot <= 0)
        return;
    const int32_t parentSlot = m_items[static_cast<size_t>(slot)].parent;
    Order(parentSlot);
    const int row = m_items[static_cast<size_t>(slot)].row;
    beginRemoveRows(indexOfSlot(parentSlot), row, row);
    std::vector<int32_t>& siblings = m_items[static_cast<size_t>(parentSlot)].children;
    siblings.erase(siblings.begin() + row);
    for (size_t after = static_cast<size_t>(row); after < siblings.size(); ++after)
        m_items[static_cast<size_t>(siblings[after])].row = static_cast<int32_t>(after);
    // The items below go with it; their slots stay unused until the next fill.
    std::vector<int32_t> gone{slot};
    while (!gone.empty()) {
        Item& item = m_items[static_cast<size_t>(gone.back())];
        gone.pop_back();
        m_slots.erase(item.nodeId);
        item.parent = -1;
        gone.insert(gone.end(), item.children.begin(), item.children.end());
        item.children.clear();
    }
    endRemoveRows();
}

void NotesTreeModel::RefreshNode(int32_t nodeId) {
    const QModelIndex index = indexOf(nodeId);
    if (index.isValid())
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::DecorationRole, Qt::FontRole});
}

QModelIndex NotesTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0 || (parent.isValid() && parent.column() != 0))
        return {};
    const int32_t parentSlot = slotOf(parent);
    const Item& item = m_items[static_cast<size_t>(parentSlot)];
    if (static_cast<size_t>(row) >= item.children.size())
        return {};
    Order(parentSlot);
    return createIndex(row, 0, static_cast<quintptr>(item.children[static_cast<size_t>(row)]));
}

QModelIndex NotesTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid())
        return {};
    return indexOfSlot(m_items[static_cast<size_t>(slotOf(child))].parent);
}

int NotesTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return static_cast<int>(m_items[static_cast<size_t>(slotOf(parent))].children.size());
}

int NotesTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool NotesTreeModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant NotesTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const Item& item = m_items[static_cast<size_t>(slotOf(index))];
    if (role == NodeIdRole)
        return item.nodeId;
    const NoteRecord* node = m_notes.FindNode(item.nodeId);
    if (!node)
        return {};
    const bool database = item.nodeId == 0;
    switch (role) {
    case Qt::DisplayRole: {
        if (!database)
            return QString::fromStdU16String(node->title);
        QString label = QString::fromStdU16String(m_notes.dbTitle);
        if (m_notes.password.empty())
            label += QString::fromUtf8(AppTexts::passwordNotSet);
        return label;
    }
    case Qt::DecorationRole: {
        const int image = database ? IconLists::kDatabaseTreeImage
                                   : IconLists::TreeImageIndex(node->isFolder != 0, node->iconIndex);
        const QPixmap picture = m_images.image(image);
        return picture.isNull() ? QVariant() : QVariant(picture);
    }
    case Qt::FontRole:
        if (!database && !node->isFolder && node->reminderOn)
            return m_boldFont;
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags NotesTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!m_items[static_cast<size_t>(slotOf(index))].isFolder)
        flags |= Qt::ItemNeverHasChildren;
    return flags;
}
