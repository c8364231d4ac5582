#pragma once
// The tree's item model over the open database: the database item at the top
// and below it the folders and notes as NotesMgr holds them. It is a picture
// of the database taken at each fill: the children of every node are indexed
// then in one pass, and a node's children are put in order (folders first,
// then titles without regard to case) only when a view first asks for them,
// so that a database of 100,000 nodes fills and expands at once. There is no
// object per item: an index carries the slot of its node in a flat table.
// Between fills the commands patch the model in place: a new node goes last
// under its folder, a deleted one goes with everything below it, an edited
// one shows its new title, picture and reminder mark where it is, a moved
// one goes last under its new folder with everything below it.
//
// On the desktop the items are dragged as node ids; a note or folder may be
// dropped on a folder or the database item, never on itself or anything
// inside it.

#include "gui/IconLists.h"

#include <QAbstractItemModel>
#include <QFont>
#include <cstdint>
#include <unordered_map>
#include <vector>

class NotesMgr;
class QMimeData;

class NotesTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // The node id of an item (the database item: 0).
    static constexpr int NodeIdRole = Qt::UserRole + 1;

    explicit NotesTreeModel(const NotesMgr& notes, QObject* parent = nullptr);

    // Takes a new picture of the whole database. Empty until the first fill.
    void Fill();

    // The item of a node; invalid when the tree does not show the node.
    QModelIndex indexOf(int32_t nodeId) const;
    // The node of an item; -1 for an invalid index.
    int32_t nodeIdAt(const QModelIndex& index) const;

    // A node just stored in the database becomes the last child of its
    // folder's item, where it stays until the next fill. Returns its item
    // (invalid when the folder has no item).
    QModelIndex AppendNode(int32_t nodeId);
    // A node put back into the database with the nodes below it (`ids`, any
    // order) becomes the last child of its folder's item, its own children
    // ordered when they are first shown.
    QModelIndex InsertSubtree(int32_t nodeId, const std::vector<int32_t>& ids);
    // Removes a node's item and every item below it.
    void RemoveNode(int32_t nodeId);
    // A node that has a new parent in the database becomes the last child of
    // that folder's item, with its items below; returns its item.
    QModelIndex MoveNode(int32_t nodeId);

    // The node a drag from this model carries; -1 for any other data.
    int32_t draggedNodeId(const QMimeData* data) const;
    // Shows a node's title, picture and reminder mark again, in the same place.
    void RefreshNode(int32_t nodeId);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;

private:
    // One row of the flat table. Slot 0 is the invisible top; an index's
    // internal id is its slot. Slots of removed items are not used again
    // before the next fill.
    struct Item {
        int32_t nodeId = -1;
        int32_t parent = -1; // slot; -1 for the top and for items no longer shown
        int32_t row = -1;    // known once the parent's children are in order
        bool isFolder = true;
        bool ordered = false;          // children sorted and their rows set
        std::vector<int32_t> children; // slots
    };

    int32_t slotOf(const QModelIndex& index) const;
    int32_t slotOfNode(int32_t nodeId) const;
    QModelIndex indexOfSlot(int32_t slot) const;
    // Puts a folder's children in order the first time they are needed.
    void Order(int32_t slot) const;
    // The slot a node's item goes under, or -1 when its folder has no item.
    int32_t parentSlotFor(int32_t nodeId) const;
    // Appends a new item under `parentSlot` (whose children are in order).
    int32_t AddItem(int32_t parentSlot, int32_t nodeId, bool isFolder);

    const NotesMgr& m_notes;
    mutable std::vector<Item> m_items;
    std::unordered_map<int32_t, int32_t> m_slots; // node id to slot, for the items shown
    ImageList m_images;
    QFont m_boldFont;
};
