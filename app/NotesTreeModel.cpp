#include "app/NotesTreeModel.h"

#include "app/AppTexts.h"
#include "core/NotesMgr.h"
#include "core/SubtreeRecords.h"

#include <QChar>
#include <QCoreApplication>
#include <QMimeData>
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

// A dragged item: the node id, with the process and the model it came from,
// so that only this tree's own drags are taken.
const QString kNodeMimeType = QStringLiteral("application/x-sealbook-node");

QByteArray dragSource(const NotesTreeModel* model) {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(model)) + ':';
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

int32_t NotesTreeModel::parentSlotFor(int32_t nodeId) const {
    const NoteRecord* node = m_notes.FindNode(nodeId);
    if (!node)
        return -1;
    const int32_t parentSlot = node->parentId == -1 ? 0 : slotOfNode(node->parentId);
    if (parentSlot < 0 || !m_items[static_cast<size_t>(parentSlot)].isFolder)
        return -1;
    return parentSlot;
}

int32_t NotesTreeModel::AddItem(int32_t parentSlot, int32_t nodeId, bool isFolder) {
    const auto slot = static_cast<int32_t>(m_items.size());
    Item& item = m_items.emplace_back();
    item.nodeId = nodeId;
    item.parent = parentSlot;
    item.isFolder = isFolder;
    Item& parent = m_items[static_cast<size_t>(parentSlot)];
    item.row = parent.ordered ? static_cast<int32_t>(parent.children.size()) : -1;
    parent.children.push_back(slot);
    m_slots.emplace(nodeId, slot);
    return slot;
}

QModelIndex NotesTreeModel::AppendNode(int32_t nodeId) {
    return InsertSubtree(nodeId, {nodeId});
}

QModelIndex NotesTreeModel::InsertSubtree(int32_t nodeId, const std::vector<int32_t>& ids) {
    if (const int32_t existing = slotOfNode(nodeId); existing > 0)
        return indexOfSlot(existing);
    const int32_t parentSlot = parentSlotFor(nodeId);
    if (parentSlot < 0)
        return {};
    // The siblings take their sorted places first; the new one goes after them all.
    Order(parentSlot);
    const int row = static_cast<int>(m_items[static_cast<size_t>(parentSlot)].children.size());
    beginInsertRows(indexOfSlot(parentSlot), row, row);
    const int32_t slot = AddItem(parentSlot, nodeId, m_notes.FindNode(nodeId)->isFolder != 0);
    // The items below: first all of them, then each under its folder.
    std::unordered_map<int32_t, int32_t> added;
    for (int32_t id : ids) {
        const NoteRecord* node = m_notes.FindNode(id);
        if (id == nodeId || !node || slotOfNode(id) >= 0)
            continue;
        const auto below = static_cast<int32_t>(m_items.size());
        Item& item = m_items.emplace_back();
        item.nodeId = id;
        item.isFolder = node->isFolder != 0;
        added.emplace(id, below);
    }
    m_slots.reserve(m_slots.size() + added.size());
    for (const auto& [id, below] : added) {
        const int32_t parentId = m_notes.FindNode(id)->parentId;
        const auto folder = added.find(parentId);
        const int32_t folderSlot = parentId == nodeId ? slot : (folder == added.end() ? -1 : folder->second);
        if (folderSlot < 0)
            continue; // not below the node after all: it gets no item
        m_items[static_cast<size_t>(below)].parent = folderSlot;
        m_items[static_cast<size_t>(folderSlot)].children.push_back(below);
        m_slots.emplace(id, below);
    }
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

QModelIndex NotesTreeModel::MoveNode(int32_t nodeId) {
    const int32_t slot = slotOfNode(nodeId);
    const int32_t toSlot = parentSlotFor(nodeId);
    if (slot <= 0 || toSlot < 0) {
        RemoveNode(nodeId);
        return {};
    }
    const int32_t fromSlot = m_items[static_cast<size_t>(slot)].parent;
    if (fromSlot == toSlot)
        return indexOfSlot(slot);
    Order(fromSlot);
    Order(toSlot);
    const int fromRow = m_items[static_cast<size_t>(slot)].row;
    const int toRow = static_cast<int>(m_items[static_cast<size_t>(toSlot)].children.size());
    // The item keeps its slot, so the view keeps what is open below it.
    if (!beginMoveRows(indexOfSlot(fromSlot), fromRow, fromRow, indexOfSlot(toSlot), toRow))
        return {};
    std::vector<int32_t>& siblings = m_items[static_cast<size_t>(fromSlot)].children;
    siblings.erase(siblings.begin() + fromRow);
    for (size_t after = static_cast<size_t>(fromRow); after < siblings.size(); ++after)
        m_items[static_cast<size_t>(siblings[after])].row = static_cast<int32_t>(after);
    m_items[static_cast<size_t>(toSlot)].children.push_back(slot);
    m_items[static_cast<size_t>(slot)].parent = toSlot;
    m_items[static_cast<size_t>(slot)].row = toRow;
    endMoveRows();
    return createIndex(toRow, 0, static_cast<quintptr>(slot));
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
    const Item& item = m_items[static_cast<size_t>(slotOf(index))];
    if (!item.isFolder)
        flags |= Qt::ItemNeverHasChildren;
    else
        flags |= Qt::ItemIsDropEnabled;
    if (item.nodeId != 0)
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QStringList NotesTreeModel::mimeTypes() const {
    return {kNodeMimeType};
}

QMimeData* NotesTreeModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(kNodeMimeType, dragSource(this) + QByteArray::number(nodeIdAt(indexes.front())));
    return data;
}

int32_t NotesTreeModel::draggedNodeId(const QMimeData* data) const {
    if (!data)
        return -1;
    const QByteArray carried = data->data(kNodeMimeType);
    const QByteArray source = dragSource(this);
    if (!carried.startsWith(source))
        return -1;
    bool ok = false;
    const int id = carried.mid(source.size()).toInt(&ok);
    return ok ? id : -1;
}

bool NotesTreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                     const QModelIndex& parent) const {
    if (action != Qt::MoveAction && action != Qt::CopyAction)
        return false;
    return CanDropInto(m_notes, draggedNodeId(data), nodeIdAt(parent), action == Qt::MoveAction);
}

Qt::DropActions NotesTreeModel::supportedDragActions() const {
    return Qt::MoveAction | Qt::CopyAction;
}

Qt::DropActions NotesTreeModel::supportedDropActions() const {
    return Qt::MoveAction | Qt::CopyAction;
}
