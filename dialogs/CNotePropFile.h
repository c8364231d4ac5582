#pragma once
// The File page: the note's attached file. Attach reads a file into the
// working record, Export writes the attached bytes to a file and Clear drops
// the attachment. Attach and Clear change the record at once; leaving the page
// writes nothing.

#include "dialogs/CNotePropPage.h"

class QLabel;
class QLineEdit;
class QPushButton;

class CNotePropFile : public CNotePropPage {
    Q_OBJECT
public:
    CNotePropFile(NoteRecord& record, QWidget* parent = nullptr);

    QLineEdit* nameBox() const { return m_name; }
    QLineEdit* sizeBox() const { return m_size; }
    QLineEdit* timeBox() const { return m_time; }
    QPushButton* attachButton() const { return m_attach; }
    QPushButton* exportButton() const { return m_export; }
    QPushButton* clearButton() const { return m_clear; }

    void OnAttach();
    void OnExport();
    void OnClear();

    // Reads the file at `path` into the record's attachment: name without
    // folder, size, the last-write time as the file system keeps it (not
    // turned into local time) and every byte. The previous attachment is
    // replaced only when the whole file was read; false leaves the record as
    // it was (the file cannot be opened or read in full, or is too large for
    // the stored 32-bit size).
    static bool ReadAttachment(const QString& path, NoteRecord& record);
    // Writes the attached bytes to `path`, replacing the file only once all
    // bytes are written.
    static bool WriteAttachment(const QString& path, const NoteRecord& record);
    // Drops the attachment: no bytes, empty name, size 0, time all zero.
    static void DiscardAttachment(NoteRecord& record);
    // A record has an attachment when it holds bytes or names a file (an
    // attached empty file has a name but no bytes).
    static bool HasAttachment(const NoteRecord& record);

protected:
    void OnSetActive() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Refresh();

    QLabel* m_details = nullptr;
    QLabel* m_nameLabel = nullptr;
    QLabel* m_sizeLabel = nullptr;
    QLabel* m_timeLabel = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_size = nullptr;
    QLineEdit* m_time = nullptr;
    QPushButton* m_attach = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_clear = nullptr;
};
