#include "app/CNotesView.h"

#include "app/CommandTable.h"

#include "app/AppTexts.h"
#include "app/CNotesDoc.h"
#include "app/CopyNodeCommand.h"
#include "app/CreateNodeCommand.h"
#include "app/CutNoteCommand.h"
#include "app/DeleteNodeCommand.h"
#include "app/EditNodeCommand.h"
#include "app/MoveNodeCommand.h"
#include "app/NotesTreeModel.h"
#include "app/PasteNoteCommand.h"
#include "app/PreviewTarget.h"
#include "app/ReminderAlarm.h"
#include "app/TemplatesCommand.h"
#include "app/TreeFindTarget.h"
#include "core/Edition.h"
#include "core/NotesMgr.h"
#include "core/SubtreeRecords.h"
#include "core/Texts.h"
#include "core/TreeOps.h"
#include "dialogs/CFindDlg.h"
#include "dialogs/CNotePropSheet.h"
#include "editor/CNoteEditor.h"
#include "gui/DialogRunner.h"
#include "gui/MessageBox.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>
#include <QStyledItemDelegate>

namespace {

// Gives every row of the desktop tree the same fixed height.
class FixedRowDelegate : public QStyledItemDelegate {
public:
    FixedRowDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), m_height(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_height);
        return size;
    }

private:
    int m_height;
};

} // namespace

CNotesView::CNotesView(CNotesDoc& doc, QWidget* parent)
    : QTreeView(parent), m_doc(doc), m_model(new NotesTreeModel(doc.notes(), this)) {
    setModel(m_model);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // Titles change only through the property sheet. On the desktop a node is
    // dragged onto a folder (the drop lands on the item, never between items);
    // the handheld moves notes by Cut and Paste.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(kHandheld ? QAbstractItemView::NoDragDrop : QAbstractItemView::DragDrop);
    setDragEnabled(!kHandheld);
    setAcceptDrops(!kHandheld);
    setDropIndicatorShown(true);
    setDragDropOverwriteMode(true);
    setDefaultDropAction(Qt::MoveAction);
    setAutoExpandDelay(kHandheld ? -1 : kDropExpandDelayMs);
    // The handheld's double tap also opens or closes a folder; the desktop's only opens the properties.
    setExpandsOnDoubleClick(kHandheld);
    if constexpr (!kHandheld)
        setItemDelegate(new FixedRowDelegate(kDeskRowHeight, this));

    m_rebuildTimer.setSingleShot(true);
    m_rebuildTimer.setInterval(kRebuildDelayMs);
    connect(&m_rebuildTimer, &QTimer::timeout, this, [this] {
        Fill();
        // A database just opened may hold reminders that are due; the pass
        // runs once the fill is done and its own call has returned.
        QTimer::singleShot(0, m_alarm, &ReminderAlarm::RunPass);
    });
    connect(&m_doc, &CNotesDoc::updated, this, [this] { m_rebuildTimer.start(); });
    // Edited templates change the captions the preview shows.
    connect(&m_doc, &CNotesDoc::templatesChanged, this, &CNotesView::UpdatePreview);
    connect(&m_doc, &CNotesDoc::nodesInserted, this, &CNotesView::OnNodesInserted);
    connect(&m_doc, &CNotesDoc::nodeRemoved, this, &CNotesView::OnNodeRemoved);
    connect(&m_doc, &CNotesDoc::nodeMoved, this, &CNotesView::OnNodeMoved);
    connect(&m_doc, &CNotesDoc::nodeChanged, this, &CNotesView::OnNodeChanged);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &CNotesView::OnSelectionChanged);
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { OnOpen(); });

    m_alarm = new ReminderAlarm(m_doc, *this);

    m_holdTimer.setSingleShot(true);
    m_holdTimer.setInterval(CNoteEditor::kHoldDelayMs);
    connect(&m_holdTimer, &QTimer::timeout, this,
            [this] { RequestContextMenu(indexAt(m_holdPos), viewport()->mapToGlobal(m_holdPos)); });
}

CNotesView::~CNotesView() = default;

void CNotesView::setPreviewTarget(PreviewTarget* target) {
    m_preview = target;
    UpdatePreview();
}

void CNotesView::Fill() {
    m_rebuildTimer.stop();
    m_model->Fill();
    expand(m_model->index(0, 0));
    // A fill keeps no selection, so the preview shows nothing until one is made.
    UpdatePreview();
    emit commandStateChanged();
}

int32_t CNotesView::selectedNodeId() const {
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : m_model->nodeIdAt(selected.front());
}

bool CNotesView::canOpen() const {
    return m_doc.notes().FindNode(selectedNodeId()) != nullptr;
}

bool CNotesView::canDelete() const {
    return CanDelete(m_doc.notes(), selectedNodeId());
}

bool CNotesView::canCopyOrCut() const {
    return CanCopyOrCut(m_doc.notes(), selectedNodeId());
}

bool CNotesView::canPaste() const {
    return CanPaste(m_doc.notes(), selectedNodeId(), m_doc.clipboardNote());
}

void CNotesView::OnOpen() {
    NotesMgr& notes = m_doc.notes();
    const int32_t id = selectedNodeId();
    const NoteRecord* node = notes.FindNode(id);
    if (!node)
        return;
    if (id == 0) {
        m_doc.OnDatabaseProperties();
        return;
    }
    NoteRecord before = *node;
    NoteRecord copy = before;
    const TemplateState templatesBefore = TemplateState::Of(notes);
    CNotePropSheet sheet(notes, copy, node->isFolder != 0, QString::fromUtf8(AppTexts::noteCaption), this);
    QUndoCommand* step = nullptr;
    if (RunDialog(sheet) == QDialog::Accepted && ApplyEditedNode(notes, copy))
        step = new EditNodeCommand(m_doc, NoteEdit(std::move(before), *notes.FindNode(id)));
    m_doc.PushChange(m_doc.WithTemplateChange(step, templatesBefore));
    UpdatePreview();
}

void CNotesView::OnNewFolder() {
    CreateNode(true);
}

void CNotesView::OnNewNote() {
    CreateNode(false);
}

void CNotesView::CreateNode(bool folder) {
    NotesMgr& notes = m_doc.notes();
    NoteRecord record = MakeNewNodeRecord(folder, folder ? std::u16string() : CNoteEditor::LoadStarterText());
    const TemplateState templatesBefore = TemplateState::Of(notes);
    CNotePropSheet sheet(notes, record, folder, QString::fromUtf8(AppTexts::noteCaption), this);
    const bool accepted = RunDialog(sheet) == QDialog::Accepted;
    // The place is taken after the sheet: the node goes beside a selected note, into a selected folder.
    QUndoCommand* step =
        accepted ? new CreateNodeCommand(m_doc, selectedNodeId(), std::move(record)) : nullptr;
    m_doc.PushChange(m_doc.WithTemplateChange(step, templatesBefore));
    UpdatePreview(); // templates edited from the sheet change what the preview shows
}

void CNotesView::SelectNewItem(const QModelIndex& index) {
    if (!index.isValid())
        return;
    expand(index.parent());
    setCurrentIndex(index);
    scrollTo(index);
}

QString CNotesView::DeleteQuestion(int32_t nodeId) const {
    const NoteRecord& node = *m_doc.notes().FindNode(nodeId);
    if (!node.isFolder)
        return QString::fromStdU16String(Texts::confirmDeleteNote);
    const QString title = QString::fromStdU16String(node.title);
    const SubtreeCounts below = CountBelow(m_doc.notes(), nodeId);
    const auto counted = [](int count, const char* one, const char* many) {
        return count == 1 ? AppTexts::text(one) : AppTexts::text(many).arg(count);
    };
    QStringList parts;
    if (below.notes > 0)
        parts << counted(below.notes, AppTexts::oneNote, AppTexts::manyNotes);
    if (below.folders > 0)
        parts << counted(below.folders, AppTexts::oneFolder, AppTexts::manyFolders);
    if (parts.isEmpty())
        return AppTexts::text(AppTexts::deleteEmptyFolder).arg(title);
    return AppTexts::text(AppTexts::deleteFolderWith)
        .arg(title, parts.join(AppTexts::text(AppTexts::countsJoin)));
}

void CNotesView::OnDelete() {
    const int32_t id = selectedNodeId();
    if (!CanDelete(m_doc.notes(), id))
        return;
    if (ShowMessageBox(this, DeleteQuestion(id), MessageIcon::Question, MessageButtons::OkCancel) !=
        MessageAnswer::Ok)
        return;
    m_doc.PushChange(new DeleteNodeCommand(m_doc, id));
}

void CNotesView::OnCut() {
    const int32_t id = selectedNodeId();
    if (!CanCopyOrCut(m_doc.notes(), id))
        return;
    m_doc.PushChange(new CutNoteCommand(m_doc, id));
    emit commandStateChanged();
}

void CNotesView::OnCopy() {
    if (CopyNote(m_doc.notes(), selectedNodeId(), m_doc.clipboardNote()))
        emit commandStateChanged();
}

void CNotesView::OnPaste() {
    const int32_t id = selectedNodeId();
    if (CanPaste(m_doc.notes(), id, m_doc.clipboardNote()))
        m_doc.PushChange(new PasteNoteCommand(m_doc, id));
}

void CNotesView::OnNodesInserted(int32_t nodeId, const std::vector<int32_t>& ids) {
    SelectNewItem(m_model->InsertSubtree(nodeId, ids));
    UpdatePreview();
}

void CNotesView::OnNodeRemoved(int32_t nodeId) {
    m_model->RemoveNode(nodeId);
    // The selection has moved on to a neighbour by now; the preview shows
    // what is selected, never the node that is gone.
    UpdatePreview();
    emit commandStateChanged();
}

void CNotesView::OnNodeMoved(int32_t nodeId) {
    SelectNewItem(m_model->MoveNode(nodeId));
    UpdatePreview();
}

void CNotesView::OnNodeChanged(int32_t nodeId) {
    m_model->RefreshNode(nodeId);
    // An edit that is undone or redone shows the node it changed.
    if (nodeId != selectedNodeId())
        SelectNewItem(m_model->indexOf(nodeId));
    UpdatePreview();
}

void CNotesView::OnFind() {
    if (!m_findDlg) {
        m_findTarget = std::make_unique<TreeFindTarget>(*this, m_doc.notes());
        m_findDlg = new CFindDlg(*m_findTarget, this);
    }
    m_findDlg->Show();
}

void CNotesView::OnFindNext() {
    if (!m_findDlg) {
        OnFind();
        return;
    }
    m_findDlg->FindNext();
}

void CNotesView::RefreshNode(int32_t nodeId) {
    m_model->RefreshNode(nodeId);
    UpdatePreview();
}

void CNotesView::OnSelectionChanged() {
    UpdatePreview();
    emit commandStateChanged();
}

void CNotesView::UpdatePreview() {
    if (!m_preview)
        return;
    const NotesMgr& notes = m_doc.notes();
    m_preview->ShowNode(&notes, nullptr);
    const int32_t id = selectedNodeId();
    if (id <= 0)
        return; // nothing selected, or the database item: the preview stays empty
    if (const NoteRecord* node = notes.FindNode(id))
        m_preview->ShowNode(&notes, node);
}

void CNotesView::RequestContextMenu(const QModelIndex& index, const QPoint& globalPos) {
    const NoteRecord* node = m_doc.notes().FindNode(m_model->nodeIdAt(index));
    if (!node)
        return;
    setCurrentIndex(index);
    const int menu =
        node->nodeId == 0 ? kDatabaseContextMenu : (node->isFolder ? kFolderContextMenu : kNoteContextMenu);
    emit contextMenuRequested(menu, globalPos);
}

void CNotesView::showEvent(QShowEvent* event) {
    QTreeView::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        m_rebuildTimer.start();
    }
}

void CNotesView::keyPressEvent(QKeyEvent* event) {
    if (!kHandheld && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        OnOpen();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        OnDelete();
        emit commandStateChanged();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

QString CNotesView::DroppedFile(const QMimeData* data) {
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

void CNotesView::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        QTreeView::dragEnterEvent(event);
}

void CNotesView::dragMoveEvent(QDragMoveEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        QTreeView::dragMoveEvent(event);
}

void CNotesView::dropEvent(QDropEvent* event) {
    if (const QString file = DroppedFile(event->mimeData()); !file.isEmpty()) {
        event->acceptProposedAction();
        emit fileDropped(file);
        return;
    }
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    const int32_t nodeId = m_model->draggedNodeId(event->mimeData());
    const int32_t folderId = m_model->nodeIdAt(indexAt(event->position().toPoint()));
    const bool copy = event->dropAction() == Qt::CopyAction;
    if (!CanDropInto(m_doc.notes(), nodeId, folderId, !copy)) {
        event->ignore();
        return;
    }
    // The step moves the node itself; the drag is told "copied" so that
    // nothing is removed at its source afterwards.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (copy)
        m_doc.PushChange(new CopyNodeCommand(m_doc, nodeId, folderId));
    else
        m_doc.PushChange(new MoveNodeCommand(m_doc, nodeId, folderId));
    emit commandStateChanged();
}

void CNotesView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        // The menu key has no point to aim at: the menu is for the selected item.
        const QModelIndex current = currentIndex();
        if (current.isValid())
            RequestContextMenu(current, viewport()->mapToGlobal(visualRect(current).center()));
        return;
    }
    RequestContextMenu(indexAt(event->pos()), event->globalPos());
}

void CNotesView::mousePressEvent(QMouseEvent* event) {
    QTreeView::mousePressEvent(event);
    if (kHandheld && event->button() == Qt::LeftButton) {
        m_holdPos = event->position().toPoint();
        m_holdTimer.start();
    }
}

void CNotesView::mouseMoveEvent(QMouseEvent* event) {
    if (m_holdTimer.isActive() && (event->position().toPoint() - m_holdPos).manhattanLength() >
                                      QGuiApplication::styleHints()->startDragDistance())
        m_holdTimer.stop();
    QTreeView::mouseMoveEvent(event);
}

void CNotesView::mouseReleaseEvent(QMouseEvent* event) {
    m_holdTimer.stop();
    QTreeView::mouseReleaseEvent(event);
}

void CNotesView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
    const int indent = indentation();
    const int midY = rect.top() + rect.height() / 2;
    painter->save();
    painter->setPen(QPen(palette().color(QPalette::Dark), 1, Qt::DotLine));
    // The item's own column is the rightmost; each ancestor's is one indent further left.
    int x = rect.right() + 1 - indent / 2 - 1;
    bool own = true;
    for (QModelIndex at = index; at.isValid() && x >= rect.left(); at = at.parent(), x -= indent) {
        const bool moreBelow = at.row() < model()->rowCount(at.parent()) - 1;
        if (own) {
            // The item's own elbow: up to its parent or elder sibling, across to its picture.
            const bool first = !at.parent().isValid() && at.row() == 0;
            painter->drawLine(x, first ? midY : rect.top(), x, moreBelow ? rect.bottom() : midY);
            painter->drawLine(x, midY, rect.right(), midY);
            own = false;
        } else if (moreBelow) {
            // An ancestor with younger siblings: its line runs on past this row.
            painter->drawLine(x, rect.top(), x, rect.bottom());
        }
    }
    painter->restore();
    QTreeView::drawBranches(painter, rect, index);
}
