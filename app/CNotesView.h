#pragma once
// The main window's view: the tree of the open database under its database
// item, and the place where the node commands run (Open, New Folder, New
// Note, Delete, Cut, Copy, Paste, and on the desktop dragging a node onto a
// folder). Every command goes onto the document's undo stack as one step; the
// tree is patched in place from the document's node signals, whether a step is
// done, undone or redone, and the node the step touched is selected. The whole
// tree is filled again 300 ms after the document reports an update. The
// selected node is shown in the preview. The view owns the find dialog and
// the reminder alarm, whose pass also runs after each of those fills. The main window builds its menus and
// enables its commands from the state queries and the two signals.

#include <QPoint>
#include <QString>
#include <QTimer>
#include <QTreeView>
#include <cstdint>
#include <memory>
#include <vector>

class CFindDlg;
class QMimeData;
class CNotesDoc;
class NotesTreeModel;
class PreviewTarget;
class ReminderAlarm;
class TreeFindTarget;

class CNotesView : public QTreeView {
    Q_OBJECT
public:
    // The context menus: for a note, a folder and the database item.
    // The rebuild waits this long after the view is first shown and after each update.
    static constexpr int kRebuildDelayMs = 300;
    // Row height of the desktop tree.
    static constexpr int kDeskRowHeight = 18;
    // Hovering a drag over a closed folder opens it after this long (desktop).
    static constexpr int kDropExpandDelayMs = 750;

    CNotesView(CNotesDoc& doc, QWidget* parent = nullptr);
    ~CNotesView() override;

    NotesTreeModel& notesModel() const { return *m_model; }

    // The first local file a drag carries (a database from the file manager); empty when none.
    static QString DroppedFile(const QMimeData* data);

    // The preview the selection is shown in (the main window's pane; may stay unset).
    void setPreviewTarget(PreviewTarget* target);
    PreviewTarget* previewTarget() const { return m_preview; }

    // Fills the tree now: only the database item is expanded, nothing is selected.
    void Fill();
    bool isRebuildPending() const { return m_rebuildTimer.isActive(); }

    // The selected node's id; -1 when nothing is selected.
    int32_t selectedNodeId() const;
    // States of the commands for the command table.
    bool canOpen() const;
    bool canDelete() const;
    bool canCopyOrCut() const;
    bool canPaste() const;

    // The find dialog; null until the first Find.
    CFindDlg* findDialog() const { return m_findDlg; }
    // What makes the reminders fire.
    ReminderAlarm& reminderAlarm() const { return *m_alarm; }

public slots:
    void OnOpen();
    void OnNewFolder();
    void OnNewNote();
    void OnDelete();
    void OnCut();
    void OnCopy();
    void OnPaste();
    // Find: the dialog (made on first use) is shown with the database item selected.
    void OnFind();
    // Find Next: one more step from the selection; before any Find, Find.
    void OnFindNext();
    // A node was written from outside the view's commands: its item and the
    // preview show it again.
    void RefreshNode(int32_t nodeId);

signals:
    // The selection or the clipboard slot changed: the command states may differ.
    void commandStateChanged();
    // A context menu is asked for on an item, which is selected by now.
    void contextMenuRequested(int menuId, const QPoint& globalPos);
    // A file was dropped on the tree: the window opens it.
    void fileDropped(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Dotted lines join every item to its parent and its siblings, whatever
    // the style draws; the expand buttons are the style's.
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    void CreateNode(bool folder);
    // Shows a newly stored node's item: its folder expanded, the item selected.
    void SelectNewItem(const QModelIndex& index);
    void UpdatePreview();
    void OnSelectionChanged();
    // The question Delete asks about the node.
    QString DeleteQuestion(int32_t nodeId) const;
    // The document's node signals: the tree follows the database.
    void OnNodesInserted(int32_t nodeId, const std::vector<int32_t>& ids);
    void OnNodeRemoved(int32_t nodeId);
    void OnNodeMoved(int32_t nodeId);
    void OnNodeChanged(int32_t nodeId);
    void RequestContextMenu(const QModelIndex& index, const QPoint& globalPos);

    CNotesDoc& m_doc;
    NotesTreeModel* m_model = nullptr;
    PreviewTarget* m_preview = nullptr;
    QTimer m_rebuildTimer;
    bool m_shownOnce = false;
    // Handheld press-and-hold.
    QTimer m_holdTimer;
    QPoint m_holdPos;
    std::unique_ptr<TreeFindTarget> m_findTarget;
    CFindDlg* m_findDlg = nullptr;
    ReminderAlarm* m_alarm = nullptr;
};
