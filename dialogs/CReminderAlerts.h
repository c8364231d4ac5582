#pragma once
// The "Reminder" window: the titles of the notes whose reminders have just
// fired, each row carrying its note. Open shows the property sheet on a copy
// of the selected row's note and, on OK, writes the copy back (a changed
// reminder time clears the acknowledgement, so the new time can fire).

#include <QDialog>
#include <vector>

class NotesMgr;
class QListWidget;
class QPushButton;

class CReminderAlerts : public QDialog {
    Q_OBJECT
public:
    CReminderAlerts(NotesMgr& notes, const std::vector<int32_t>& dueIds, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    QPushButton* openButton() const { return m_open; }
    QPushButton* closeButton() const { return m_close; }
    // The note a row carries.
    int32_t rowNote(int row) const;

    // Open on the selected row; nothing without a selection.
    void OnOpen();

signals:
    // The note was written back from the property sheet.
    void noteWritten(int32_t nodeId);

private:
    NotesMgr& m_notes;
    QListWidget* m_list = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_close = nullptr;
};
