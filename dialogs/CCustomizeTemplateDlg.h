#pragma once
// "Edit Templates": the list of the database's templates with Add, Edit and
// Delete. Changes go straight into the database and mark it modified; closing
// the dialog undoes nothing.

#include <QDialog>
#include <cstdint>
#include <functional>

class NotesMgr;
class QListWidget;
class QPushButton;

class CCustomizeTemplateDlg : public QDialog {
    Q_OBJECT
public:
    CCustomizeTemplateDlg(NotesMgr& notes, QWidget* parent = nullptr);

    QListWidget* listBox() const { return m_list; }
    // Desktop buttons (hidden on the handheld, whose soft-key menu carries the commands).
    QPushButton* addButton() const { return m_add; }
    QPushButton* editButton() const { return m_edit; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* closeButton() const { return m_close; }

    void OnAdd();
    void OnEdit();
    void OnDelete();

    // Sorts the database's templates by name, case-insensitively, and orders
    // them like that in place (equal names keep their order).
    static void SortTemplates(NotesMgr& notes);

private:
    // Sorts the templates and shows them, selecting the first line.
    void FillList();
    // What the template form refuses: a name of a template other than `templateId`.
    std::function<bool(const QString&)> NameTakenBesides(int32_t templateId) const;

    NotesMgr& m_notes;
    QListWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_close = nullptr;
};
