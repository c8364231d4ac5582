#pragma once
// The main window: the note tree in the middle, the preview pane (a dock on
// the desktop, a bar along the top on the handheld), the toolbar and the menu
// (the soft keys on the handheld). Every command comes from the command table
// and is routed here to the view, the document, the application or the
// window itself. It also keeps the window layout and asks the save question
// before it closes.

#include "app/CommandTable.h"

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <vector>

class CLockPanel;
class CNoteEditor;
class CNotesApp;
class CNotesDoc;
class CNotesView;
class CPreviewDlg;
class CPreviewPane;
class PreviewComposer;
class SessionLock;
class ValueClipboard;
class QAction;
class QMenu;
class QMimeData;
class QToolBar;
class QToolButton;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CNotesApp& app, CNotesDoc& doc);
    ~CMainFrame() override;

    CNotesView* view() const { return m_view; }
    QAction* action(Command command) const;
    QToolBar* toolBar() const { return m_toolBar; }
    // Desktop: the dock; null on the handheld.
    CPreviewDlg* previewDock() const { return m_dock; }
    // Handheld: the bar along the top; null on the desktop.
    CPreviewPane* previewPane() const { return m_pane; }
    // The preview is shown (the check mark of Preview Pane follows this).
    bool isPreviewShown() const;
    // Handheld: the soft keys and the "Menu" key's menu.
    QToolButton* leftSoftKey() const { return m_leftKey; }
    QToolButton* rightSoftKey() const { return m_rightKey; }
    QMenu* softKeyMenu() const { return m_softMenu; }

    // Builds one of the tree's context menus from the command table (the
    // caller owns it); Paste is grayed while the clipboard slot is empty.
    QMenu* BuildContextMenu(int menuId, QWidget* parent);

    // Layout: read before the window is first shown, written on close.
    void RestoreLayout();
    void SaveLayout();

    // Enables and checks every command by its rule.
    void UpdateCommandStates();

    // Carries the command out, as a click on its menu entry would.
    void Execute(Command command);

    // The file name shown in the title bar changed.
    void UpdateTitle();

    // Locking: every window that shows the database is hidden (not closed)
    // and the window asks for the password. False when the database has no
    // password or is locked already.
    bool Lock();
    // Unlocks when `password` is the database's; otherwise says so and stays locked.
    bool Unlock(const QString& password);
    bool isLocked() const { return m_lockPanel != nullptr; }
    CLockPanel* lockPanel() const { return m_lockPanel; }
    SessionLock& sessionLock() const { return *m_sessionLock; }
    ValueClipboard& valueClipboard() const { return *m_valueClipboard; }

    // Copy Value: the selected note's value at `index` of its copyable values.
    void CopyValue(int index);
    // Fills a menu with one entry per copyable value of the selected note.
    void FillCopyValueMenu(QMenu* menu);

    // The preview shows secret values (cleared on a change of selection and on lock).
    bool isRevealingConcealed() const;
    void SetRevealConcealed(bool reveal);

    // Reads the security times from the settings again.
    void ApplySecuritySettings();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateSoftKeys();
    void CreatePreview();
    void FillMenu(QMenu* menu, std::span<const MenuEntry> entries);
    bool IsEnabled(EnableRule rule) const;
    void TogglePreview();
    void SetPreviewShown(bool shown);
    void OnFtpManager();
    void OnDatabaseDownloaded(const QString& localPath);
    void OnFtpSettings();
    void OpenHelpFile(const char* fileName);
    void ShowContextMenu(int menuId, const QPoint& globalPos);
    void OnOptions();
    void OnUnlockRequested();
    PreviewComposer& composer() const;
    CNoteEditor* previewEditor() const;
    void FilterPreviewCopy(QMimeData& data);
    int ClipboardClearSeconds() const;
    void OpenDroppedFile(const QString& path);

    CNotesApp& m_app;
    CNotesDoc& m_doc;
    CNotesView* m_view = nullptr;
    CPreviewDlg* m_dock = nullptr;
    CPreviewPane* m_pane = nullptr;
    QToolBar* m_toolBar = nullptr;
    QToolButton* m_leftKey = nullptr;
    QToolButton* m_rightKey = nullptr;
    QMenu* m_softMenu = nullptr;
    std::map<Command, QAction*> m_actions;
    bool m_closing = false;

    SessionLock* m_sessionLock = nullptr;
    ValueClipboard* m_valueClipboard = nullptr;
    // While locked: the panel over the window and what to bring back.
    CLockPanel* m_lockPanel = nullptr;
    std::vector<QPointer<QWidget>> m_hiddenWindows;
    QPointer<QWidget> m_focusBeforeLock;
    bool m_previewBeforeLock = false;
};
