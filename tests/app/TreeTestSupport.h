#pragma once
// Helpers for the tree tests: building a database node by node, and reading
// what a tree model shows.

#include "app/NotesTreeModel.h"
#include "core/NotesMgr.h"
#include "core/TreeOps.h"

#include <QStringList>
#include <ostream>
#include <string>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}

namespace treetest {

inline int32_t AddFolder(NotesMgr& notes, int32_t parent, const std::u16string& title, int32_t icon = 0) {
    return notes.AddNode(parent, icon, 1, title, u"", u"", NoteTimestamp{});
}

inline int32_t AddNote(NotesMgr& notes, int32_t parent, const std::u16string& title, int32_t icon = 0) {
    return notes.AddNode(parent, icon, 0, title, u"", u"", NoteTimestamp{});
}

// The labels of an item's children, in the order shown.
inline QStringList ChildLabels(const QAbstractItemModel& model, const QModelIndex& parent) {
    QStringList labels;
    for (int row = 0; row < model.rowCount(parent); ++row)
        labels << model.index(row, 0, parent).data().toString();
    return labels;
}

} // namespace treetest
