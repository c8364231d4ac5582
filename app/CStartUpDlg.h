#pragma once
// The start-up dialog: shown after a start without a database on the command
// line, it lists the database files of one folder (remembered as
// "StartUpPath") and opens one of them, one chosen with the open-file dialog
// or a recently used one through the application's normal open; or it ends
// with the Create New result, after which the caller offers the default
// folders. Enter ends it with OK and Escape with Cancel, opening nothing.
//
// The desktop layout has the folder browser and the three buttons; the
// handheld layout has a bold prompt line and carries Create new and Browse
// on its soft keys.

#include "app/CNotesDoc.h"
#include "core/Edition.h"

#include <QDialog>
#include <functional>

class NotesMgr;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class SettingsStore;

class CStartUpDlg : public QDialog {
    Q_OBJECT

public:
    // The result of Create New (the caller then asks about the default folders).
    static constexpr int kCreateNewResult = kHandheld ? 1003 : 1015;

    // Opens a database as the current one, running the save prompt and the
    // password prompt; Cancelled when the user gave up in one of them.
    using OpenFunction = std::function<CNotesDoc::OpenOutcome(const QString& path)>;

    // `notes` holds the recent-file list (an entry that fails to open is
    // removed from it); `settings` the remembered folder.
    CStartUpDlg(NotesMgr& notes, SettingsStore& settings, OpenFunction open, QWidget* parent = nullptr);

    // The commands of the buttons and soft keys.
    void OnCreateNew();
    void OnBrowse();
    void OnBrowseFolder();
    void OnRecentFiles();
    // Double click on the list: opens the first selected file.
    void OnOpenSelected();

    QLineEdit* pathEdit() const { return m_path; }
    QTreeWidget* fileList() const { return m_list; }
    QPushButton* recentButton() const { return m_recent; }
    // Desktop only (null on the handheld).
    QPushButton* folderButton() const { return m_folder; }
    QPushButton* createNewButton() const { return m_createNew; }
    QPushButton* browseButton() const { return m_browse; }
    // Handheld only (null on the desktop).
    QLabel* promptLabel() const { return m_prompt; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildDesktop();
    void BuildHandheld();
    QTreeWidget* MakeList();
    void OnPathChanged(const QString& text);
    void FillList();
    void FitDesktopWidth();
    // Opens `path`; on failure shows the message and keeps the dialog open.
    void OpenDatabase(const QString& path, bool fromRecentList);
    void UpdateRecentButton();

    NotesMgr& m_notes;
    SettingsStore& m_settings;
    OpenFunction m_open;

    QLineEdit* m_path = nullptr;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_recent = nullptr;
    QPushButton* m_folder = nullptr;
    QPushButton* m_createNew = nullptr;
    QPushButton* m_browse = nullptr;
    QLabel* m_prompt = nullptr;
    QAction* m_createNewAction = nullptr;
    QAction* m_browseAction = nullptr;
};
