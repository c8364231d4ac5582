#pragma once
// The document: the one open database (a NotesMgr), its file, and the slot of
// the Copy/Cut clipboard. It carries out New, Open, Save and Save As with the
// password prompt, the first-save properties and the save prompt, and turns
// the file layer's errors into messages. Views listen to `updated` (the whole
// database changed: rebuild) and `modifiedChanged`.

#include "core/FileIdentity.h"
#include "core/TreeOps.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class NotesMgr;
class SettingsStore;
class QWidget;

class CNotesDoc : public QObject {
    Q_OBJECT
public:
    // `settings` holds the recent files (may be null in tests: nothing stored).
    explicit CNotesDoc(SettingsStore* settings, QObject* parent = nullptr);
    // The database object writes the recent files as it goes.
    ~CNotesDoc() override;

    NotesMgr& notes() { return *m_notes; }
    const NotesMgr& notes() const { return *m_notes; }
    NoteClipboard& clipboardNote() { return m_clipboard; }

    // The window the document's dialogs and messages belong to.
    void setDialogParent(QWidget* parent) { m_dialogParent = parent; }
    QWidget* dialogParent() const { return m_dialogParent; }

    // The file's full path; empty for a database never saved.
    QString pathName() const { return m_path; }
    // The file name shown in the title bar and the save prompt ("Untitled" when new).
    QString title() const;

    // Locked: the main window shows nothing of the database until the password is typed again.
    bool isLocked() const { return m_locked; }
    void setLocked(bool locked) { m_locked = locked; }

    bool isModified() const;
    void setModified(bool on = true);
    // Tells every view that the whole database changed.
    void updateAllViews();

    // New: a new empty database (the save prompt is the caller's, see SaveModified).
    void OnNewDocument();

    // Open: loads `path`, asking for the password again while it is wrong.
    // Nothing of the open database changes unless the result is Opened.
    enum class OpenResult { Opened, Cancelled, Failed };
    struct OpenOutcome {
        OpenResult result = OpenResult::Failed;
        QString message; // for Failed: the message to show
    };
    OpenOutcome OpenDocument(const QString& path);
    // The same, showing the failure message; true when opened.
    bool OnOpenDocument(const QString& path);

    // Save and Save As; false when cancelled or failed (the message shown).
    bool OnSave();
    bool OnSaveAs();
    // Saves to `path`; for a database never saved, the properties come first.
    bool DoSave(const QString& path);

    // The save prompt: true when the caller may go on (saved, or not wanted);
    // false on Cancel or a failed save.
    bool SaveModified();

    // "Database Properties" and "Edit Templates".
    void OnDatabaseProperties();
    void OnEditTemplates();

signals:
    void updated();
    void modifiedChanged(bool modified);
    void pathChanged();
    // Templates were edited: what shows template captions shows them again.
    void templatesChanged();

private:
    bool AskFirstSaveProperties(const QString& path);
    bool CheckUnchangedOnDisk(QString& path);
    void RememberIdentity(const QString& path);
    QString AskSaveFileName(const QString& suggested);

    std::unique_ptr<NotesMgr> m_notes;
    NoteClipboard m_clipboard;
    QString m_path;
    std::optional<FileIdentity> m_identity;
    QWidget* m_dialogParent = nullptr;
    SettingsStore* m_settings = nullptr;
    bool m_locked = false;
};
