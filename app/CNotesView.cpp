#include "app/CNotesView.h"

#include "app/CommandTable.h"

#include "app/AppTexts.h"
#include "app/CNotesDoc.h"
#include "app/NotesTreeModel.h"
#include "app/PreviewTarget.h"
#include "app/ReminderAlarm.h"
#include "app/TreeFindTarget.h"
#include "core/Edition.h"
#include "core/NotesMgr.h"
#include "core/Texts.h"
#include "core/TreeOps.h"
#include "dialogs/CFindDlg.h"
#include "dialogs/CNotePropSheet.h"
#include "editor/CNoteEditor.h"
#include "gui/DialogRunner.h"
#include "gui/MessageBox.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
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
    // Titles change only through the property sheet; notes move only by Cut and Paste.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setDragEnabled(false);
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

void CNotesView::ReportModified(bool before) {
    // The tree operations and the sheet's template editor set the database's
    // flag themselves; the document is told the change from the state before,
    // so that its modifiedChanged signal fires.
    NotesMgr& notes = m_doc.notes();
    const bool now = notes.IsModified();
    if (now == before)
        return;
    notes.SetModified(before);
    m_doc.setModified(now);
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
    NoteRecord copy = *node;
    const bool before = m_doc.isModified();
    CNotePropSheet sheet(notes, copy, node->isFolder != 0, QString::fromUtf8(AppTexts::noteCaption), this);
    if (RunDialog(sheet) == QDialog::Accepted && ApplyEditedNode(notes, copy))
        m_model->RefreshNode(id);
    ReportModified(before);
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
    const bool before = m_doc.isModified();
    CNotePropSheet sheet(notes, record, folder, QString::fromUtf8(AppTexts::noteCaption), this);
    const bool accepted = RunDialog(sheet) == QDialog::Accepted;
    // The place is taken after the sheet: the node goes beside a selected note, into a selected folder.
    const int32_t id = accepted ? CreateNodeFromRecord(notes, selectedNodeId(), record) : -1;
    if (id >= 0)
        SelectNewItem(m_model->AppendNode(id));
    else if (notes.IsModified() != before)
        UpdatePreview(); // templates edited from the sheet
    ReportModified(before);
}

void CNotesView::SelectNewItem(const QModelIndex& index) {
    if (!index.isValid())
        return;
    expand(index.parent());
    setCurrentIndex(index);
    scrollTo(index);
}

void CNotesView::OnDelete() {
    NotesMgr& notes = m_doc.notes();
    const int32_t id = selectedNodeId();
    if (!CanDelete(notes, id))
        return;
    const QString question = QString::fromStdU16String(
        notes.FindNode(id)->isFolder ? Texts::confirmDeleteFolder : Texts::confirmDeleteNote);
    if (ShowMessageBox(this, question, MessageIcon::Question, MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    const bool before = m_doc.isModified();
    DeleteSubtree(notes, id);
    m_model->RemoveNode(id);
    ReportModified(before);
}

void CNotesView::OnCut() {
    NotesMgr& notes = m_doc.notes();
    const bool before = m_doc.isModified();
    const int32_t id = selectedNodeId();
    if (!CutNote(notes, id, m_doc.clipboardNote()))
        return;
    m_model->RemoveNode(id);
    // The selection has moved on to a neighbour by now; the preview shows
    // what is selected, never the note that is gone.
    UpdatePreview();
    ReportModified(before);
    emit commandStateChanged();
}

void CNotesView::OnCopy() {
    if (CopyNote(m_doc.notes(), selectedNodeId(), m_doc.clipboardNote()))
        emit commandStateChanged();
}

void CNotesView::OnPaste() {
    NotesMgr& notes = m_doc.notes();
    const bool before = m_doc.isModified();
    const int32_t id = PasteNote(notes, selectedNodeId(), m_doc.clipboardNote());
    if (id < 0)
        return;
    SelectNewItem(m_model->AppendNode(id));
    ReportModified(before);
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
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        OnOpen();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void CNotesView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        // The menu key has no point to aim at: the menu is for the selected
        // item, or for the database item while nothing is chosen yet (as
        // after every fill).
        QModelIndex item = currentIndex();
        if (!item.isValid())
            item = m_model->index(0, 0);
        if (!item.isValid())
            return;
        scrollTo(item);
        RequestContextMenu(item, viewport()->mapToGlobal(visualRect(item).center()));
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
