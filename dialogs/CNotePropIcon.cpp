#include "dialogs/CNotePropIcon.h"

#include "core/NoteRecord.h"
#include "gui/CIconsList.h"
#include "gui/IconLists.h"

#include <algorithm>

namespace {
constexpr int kMargin = 5;
}

CNotePropIcon::CNotePropIcon(NoteRecord& record, bool isFolder, QWidget* parent)
    : CNotePropPage(record, isFolder, parent) {
    m_record.isFolder = isFolder ? 1 : 0;
}

void CNotePropIcon::OnFirstShow() {
    m_grid = new CIconsList(this);
    LayoutGrid();
    m_grid->show();
    const IconLists& icons = IconLists::instance();
    m_grid->SetImageList(m_isFolder ? &icons.folderIcons(true) : &icons.noteIcons(true));
}

void CNotePropIcon::OnSetActive() {
    m_grid->SetSelection(m_record.iconIndex);
    m_grid->viewport()->update();
}

bool CNotePropIcon::OnKillActive() {
    m_record.iconIndex = m_grid->GetSelection();
    return true;
}

void CNotePropIcon::resizeEvent(QResizeEvent* event) {
    CNotePropPage::resizeEvent(event);
    LayoutGrid();
}

void CNotePropIcon::LayoutGrid() {
    if (m_grid)
        m_grid->setGeometry(kMargin, kMargin, std::max(0, width() - 2 * kMargin),
                            std::max(0, height() - 2 * kMargin));
}
