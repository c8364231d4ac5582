#include "app/CPreviewDlg.h"

#include "app/AppTexts.h"
#include "editor/CNoteEditor.h"
#include "editor/PreviewComposer.h"

CPreviewDlg::CPreviewDlg(QWidget* parent)
    : QDockWidget(QString::fromUtf8(AppTexts::previewPane), parent), m_editor(new CNoteEditor(this, true)),
      m_composer(new PreviewComposer(*m_editor, this)) {
    setObjectName(QString::fromLatin1(kObjectName));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    UseButtonFace(*m_editor);
    // The pane decides how narrow it may get, not the editor's scroll bars.
    m_editor->setMinimumSize(1, 1);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setWidget(m_editor);
}

CPreviewDlg::~CPreviewDlg() = default;

void CPreviewDlg::ShowNode(const NotesMgr* notes, const NoteRecord* node) {
    m_composer->Show(notes, node);
}
