#pragma once
// The document: the one open database (a NotesMgr), its file, and the slot of
// the Copy/Cut clipboard. It carries out New, Open, Save and Save As with the
// password prompt, the first-save properties and the save prompt, and turns
// the file layer's errors into messages. Views listen to `updated` (the whole
// database changed: rebuild), to the node signals the undoable steps send, and
// to `modifiedChanged`.
//
// Every change made in this window goes onto the undo stack as one step
// (PushChange); the database counts as modified while the stack is away from
// the state last saved or while a change outside the stack (a reminder
// stamping its note) has not been saved.

#include "core/FileIdentity.h"
#include "core/FileSnapshot.h"
#include "core/MergeReport.h"
#include "core/TreeOps.h"

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <memory>
#include <optional>
#include <vector>

class NotesMgr;
class SettingsStore;
struct TemplateState;
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
    // true: a change that is not on the undo stack; false: the database as
    // it is now was saved (the stack's present state becomes the clean one).
    void setModified(bool on = true);

    // The undo stack: emptied by New and Open, kept by Save.
    QUndoStack& undoStack() { return m_undo; }
    // Carries the step out and puts it on the undo stack (a step that could
    // not be carried out marks itself obsolete and is dropped).
    void PushChange(QUndoCommand* step);
    // Adds the change of the templates since `before` to `step` (a new step
    // when it is null); returns the step, null when there is nothing to push.
    QUndoCommand* WithTemplateChange(QUndoCommand* step, const TemplateState& before);
    // Tells every view that the whole database changed.
    void updateAllViews();

    // New: a new empty database (the save prompt is the caller's, see SaveModified).
    void OnNewDocument();
    // Adds the default folder set: unsaved work like any other change.
    void AddDefaultFolders();

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

    // File > Merge With...: merges another database file into this one. With
    // no common base known, only nodes equal in id, folder and title count as
    // the same. The report is shown; Save takes the result and saves it.
    bool OnMergeWith();
    // Merges the database in `path` into this one, as OnMergeWith does after
    // the file dialog; false on Cancel or failure.
    bool MergeWithFile(const QString& path);

    // Merges the file of this database, which another program or a download
    // replaced, with the base and this database as Merge in the changed-on-disk
    // question does: the report, then on Save one undo step and the result
    // saved. False on Cancel or failure.
    bool MergeWithFileOnDisk();

    // The stream this window last loaded or saved, which a merge with the
    // file on disk starts from; empty for a database never saved.
    const std::vector<uint8_t>& baseStream() const { return m_base.stream; }

    // "Database Properties" and "Edit Templates".
    void OnDatabaseProperties();
    void OnEditTemplates();

signals:
    void updated();
    // The database's title or password changed: only the database item's
    // label differs, so the tree keeps its expansion, selection and scroll.
    void databaseItemChanged();
    void modifiedChanged(bool modified);
    void pathChanged();
    // Templates were edited: what shows template captions shows them again.
    void templatesChanged();
    // A node came into the database, with the nodes below it (`ids`, the
    // node's own id first).
    void nodesInserted(int32_t nodeId, const std::vector<int32_t>& ids);
    // A node left the database with everything below it.
    void nodeRemoved(int32_t nodeId);
    // A node has a new parent.
    void nodeMoved(int32_t nodeId);
    // A node's fields changed (0: the database's title or password).
    void nodeChanged(int32_t nodeId);

private:
    bool AskFirstSaveProperties(const QString& path);
    enum class DiskCheck { Proceed, Cancelled, Merged };
    DiskCheck CheckUnchangedOnDisk(QString& path);
    // Reads `path` into `loaded`, asking for the password again while it is wrong.
    OpenOutcome LoadFile(NotesMgr& loaded, const QString& path, FileSnapshot* snapshot);
    // LoadFile for a file merged in; a failure is shown. False on Cancel or failure.
    bool ReadOtherFile(NotesMgr& into, const QString& path);
    // Merges the file on disk with the base and this database; true when the result was saved.
    bool MergeWithDisk(const QString& path);
    // Shows the report; on Save takes `merged` as this database, one step on
    // the undo stack (none when the merge changed nothing). False on Cancel.
    bool TakeMergeResult(const MergeReport& report, NotesMgr& merged);
    bool WriteFile(const QString& path);
    void RememberSnapshot(FileSnapshot snapshot);
    bool PrepareStrongKey();
    QString AskSaveFileName(const QString& suggested);
    // A new database in the window: no steps to undo, nothing modified.
    void ResetUndo();
    void SyncModified();

    std::unique_ptr<NotesMgr> m_notes;
    NoteClipboard m_clipboard;
    QString m_path;
    std::optional<FileIdentity> m_identity;
    // What this window last loaded or saved, and the password it had then.
    FileSnapshot m_base;
    std::u16string m_basePassword;
    QWidget* m_dialogParent = nullptr;
    SettingsStore* m_settings = nullptr;
    bool m_locked = false;
    QUndoStack m_undo;
    bool m_changedOutsideStack = false;
    bool m_modifiedShown = false;
};
