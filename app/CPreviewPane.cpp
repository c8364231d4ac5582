#include "app/CPreviewPane.h"

#include "editor/CNoteEditor.h"
#include "editor/PreviewComposer.h"

CPreviewPane::CPreviewPane(QWidget* parent)
    : QWidget(parent), m_editor(new CNoteEditor(this, true)),
      m_composer(new PreviewComposer(*m_editor, this)) {
    UseButtonFace(*m_editor);
    setFixedHeight(kHeight);
    PlaceEditor();
}

CPreviewPane::~CPreviewPane() = default;

void CPreviewPane::ShowNode(const NotesMgr* notes, const NoteRecord* node) {
    m_composer->Show(notes, node);
}

void CPreviewPane::PlaceEditor() {
    m_editor->setGeometry(rect().adjusted(kInset, kInset, -kInset, -kInset));
    m_editor->restartRepaintTimer();
}

void CPreviewPane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceEditor();
}

void CPreviewPane::setVisible(bool visible) {
    const bool wasHidden = isHidden();
    QWidget::setVisible(visible);
    if (wasHidden == visible) {
        // Shown again: the editor takes the pane's present size and paints what it holds.
        if (visible)
            PlaceEditor();
        emit visibilityChanged(visible);
    }
}
