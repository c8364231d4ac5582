#pragma once
// "Edit Templates": the list of the database's templates with Add, Edit and
// Delete. Changes go straight into the database and mark it modified; closing
// the dialog undoes nothing.

#include <QDialog>

class NotesMgr;
class QListWidget;

class CCustomizeTemplateDlg : public QDialog {
    Q_OBJECT
public:
    CCustomizeTemplateDlg(NotesMgr& notes, QWidget* parent = nullptr);

    QListWidget* listBox() const { return m_list; }

    void OnAdd();
    void OnEdit();
    void OnDelete();

private:
    // Sorts the database's templates by name and shows them, selecting the first line.
    void FillList();

    NotesMgr& m_notes;
    QListWidget* m_list = nullptr;
};
