#pragma once
// The Notes page: the node's icon, its title, the time it was last edited and
// the note editor with the body. Leaving the page stores the title, the body
// (as RTF) and a fresh modification time; an empty title keeps the page.

#include "dialogs/CNotePropPage.h"

class CStaticEx;
class QLabel;
class QLineEdit;
class CNoteEditor;

class CNotePropNotes : public CNotePropPage {
    Q_OBJECT
public:
    CNotePropNotes(NoteRecord& record, bool isFolder, QWidget* parent = nullptr);
    // Unloads the spelling dictionary a check may have left loaded.
    ~CNotePropNotes() override;

    QLineEdit* titleBox() const { return m_title; }
    QLabel* timeLabel() const { return m_time; }
    CStaticEx* iconBox() const { return m_icon; }
    // The note editor; null until the page is first shown.
    CNoteEditor* editor() const { return m_editor; }

protected:
    void OnFirstShow() override;
    void OnSetActive() override;
    bool OnKillActive() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutControls();

    CStaticEx* m_icon = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLabel* m_time = nullptr;
    QLineEdit* m_title = nullptr;
    CNoteEditor* m_editor = nullptr;
};
