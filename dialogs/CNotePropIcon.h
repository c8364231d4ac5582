#pragma once
// The Icons page: the grid of the large folder or note icons from which the
// node's icon is picked. Building the page marks the record as a folder or a
// note, so that a blank record given for a new node leaves the sheet right.

#include "dialogs/CNotePropPage.h"

class CIconsList;

class CNotePropIcon : public CNotePropPage {
    Q_OBJECT
public:
    CNotePropIcon(NoteRecord& record, bool isFolder, QWidget* parent = nullptr);

    // The icon grid; null until the page is first shown.
    CIconsList* grid() const { return m_grid; }

protected:
    void OnFirstShow() override;
    void OnSetActive() override;
    bool OnKillActive() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutGrid();

    CIconsList* m_grid = nullptr;
};
