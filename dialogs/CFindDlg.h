#pragma once
// The Find dialog (139): modeless, kept hidden between uses by the tree view
// that owns it. Find shows it with the database item selected; each press of
// its Find button, or Find Next while it is hidden, runs one search step from
// the tree's selection and selects the match, or says "The specified text was
// not found." The scope and the two check boxes keep their values between
// uses.

#include "core/NoteFinder.h"

#include <QDialog>

class FindTarget;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CFindDlg : public QDialog {
    Q_OBJECT
public:
    CFindDlg(FindTarget& target, QWidget* parent = nullptr);

    // Find: select the database item, start the walk afresh, show the dialog.
    void Show();
    // The Find button: one search step with the dialog's current settings,
    // shown or not.
    void FindNext();

    QLineEdit* findWhatEdit() const { return m_text; }
    QComboBox* scopeList() const { return m_scope; }
    QCheckBox* matchCaseBox() const { return m_matchCase; }
    QCheckBox* wholeWordBox() const { return m_wholeWord; }
    QPushButton* findButton() const { return m_find; }
    QPushButton* cancelButton() const { return m_cancel; }
    bool passedSelection() const { return m_finder.passedSelection(); }

    // Enter presses Find; the dialog's own OK does nothing.
    void accept() override {}

private:
    FindOptions ReadControls() const;

    FindTarget& m_target;
    NoteFinder m_finder;
    QLineEdit* m_text = nullptr;
    QComboBox* m_scope = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QPushButton* m_find = nullptr;
    QPushButton* m_cancel = nullptr;
};
