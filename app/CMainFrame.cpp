#include "app/CMainFrame.h"

#include "app/AppTexts.h"
#include "app/CNotesApp.h"
#include "app/CNotesDoc.h"
#include "app/CNotesView.h"
#include "app/CPreviewDlg.h"
#include "app/CPreviewPane.h"
#include "app/DownloadedCopy.h"
#include "app/HelpFiles.h"
#include "app/WindowPlacement.h"
#include "core/Edition.h"
#include "dialogs/DialogTexts.h"
#include "ftp/CFTPManagerDlg.h"
#include "ftp/CFTPSettingsDlg.h"
#include "gui/DialogMenuBar.h"
#include "gui/DialogRunner.h"
#include "gui/MessageBox.h"
#include "gui/SettingsTable.h"
#include "gui/ShellOpen.h"
#include "gui/WindowFitter.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {

using AppTexts::text;

constexpr int kDeskToolBarIcon = 24;
constexpr int kPadToolBarIcon = 16;

} // namespace

CMainFrame::CMainFrame(CNotesApp& app, CNotesDoc& doc) : m_app(app), m_doc(doc) {
    setObjectName(QStringLiteral("MainFrame"));
    m_doc.setDialogParent(this);
    m_view = new CNotesView(m_doc, this);
    CreateActions();
    CreatePreview();
    if constexpr (kHandheld) {
        CreateSoftKeys();
        WindowFitter::Install(this);
    } else {
        CreateMenus();
        CreateToolBar();
        setAcceptDrops(true);
    }
    connect(m_view, &CNotesView::commandStateChanged, this, &CMainFrame::UpdateCommandStates);
    connect(m_view, &CNotesView::contextMenuRequested, this, &CMainFrame::ShowContextMenu);
    connect(m_view, &CNotesView::fileDropped, this, &CMainFrame::OpenDroppedFile);
    connect(&m_doc, &CNotesDoc::modifiedChanged, this, &CMainFrame::UpdateTitle);
    connect(&m_doc, &CNotesDoc::pathChanged, this, &CMainFrame::UpdateTitle);
    connect(&m_doc.undoStack(), &QUndoStack::indexChanged, this, &CMainFrame::UpdateCommandStates);
    UpdateTitle();
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() {
    // The children are hidden as the window goes; their signals must not
    // reach the half-destroyed window.
    for (QObject* sender :
         {static_cast<QObject*>(m_dock), static_cast<QObject*>(m_pane), static_cast<QObject*>(m_view),
          static_cast<QObject*>(&m_doc), static_cast<QObject*>(&m_doc.undoStack())})
        if (sender)
            sender->disconnect(this);
    m_doc.setDialogParent(nullptr);
}

QAction* CMainFrame::action(Command command) const {
    const auto found = m_actions.find(command);
    return found == m_actions.end() ? nullptr : found->second;
}

void CMainFrame::CreateActions() {
    // Toolbar pictures come from the desktop's icon theme, else from the one
    // the program is built with.
    const QString builtWith = QStringLiteral("breeze");
    QIcon::setFallbackThemeName(builtWith);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QStringLiteral("hicolor"))
        QIcon::setThemeName(builtWith);
    const QString systemIcons = QStringLiteral("/usr/share/icons");
    if (!QIcon::themeSearchPaths().contains(systemIcons))
        QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << systemIcons);
    if constexpr (!kHandheld) {
        // The X server makes a menu request only of the menu key; Shift+F10
        // asks the same of the window, which hands it to the focused control
        // (the tree when nothing else has the focus).
        auto* menuKey = new QAction(this);
        menuKey->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
        menuKey->setShortcutContext(Qt::WindowShortcut);
        addAction(menuKey);
        connect(menuKey, &QAction::triggered, this, [this] {
            if (!focusWidget())
                m_view->setFocus();
            QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
            if (QWindow* window = windowHandle())
                QCoreApplication::sendEvent(window, &request);
        });
    }
    for (const CommandDef& def : Commands()) {
        if ((kHandheld ? def.padId : def.deskId) == 0)
            continue;
        auto* act = new QAction(text(kHandheld ? def.plain : def.text), this);
        act->setIconText(text(def.plain));
        act->setToolTip(text(def.plain));
        if (def.icon)
            act->setIcon(QIcon::fromTheme(text(def.icon)));
        act->setCheckable(def.checkable);
        if (!kHandheld && def.shortcuts) {
            QList<QKeySequence> keys;
            for (const QString& key : text(def.shortcuts).split(QLatin1Char(';')))
                keys.append(QKeySequence(key));
            act->setShortcuts(keys);
            act->setShortcutContext(Qt::WindowShortcut);
            addAction(act); // the keys work while the menu bar is hidden too
        }
        const Command command = def.command;
        connect(act, &QAction::triggered, this, [this, command] { Execute(command); });
        m_actions[command] = act;
    }
}

void CMainFrame::FillMenu(QMenu* menu, std::span<const MenuEntry> entries) {
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case MenuEntry::Separator:
            menu->addSeparator();
            break;
        case MenuEntry::SubMenu:
            FillMenu(menu->addMenu(text(entry.text)), entry.items);
            break;
        case MenuEntry::Item:
            if (QAction* act = action(entry.command))
                menu->addAction(act);
            break;
        }
    }
}

void CMainFrame::CreateMenus() {
    for (const MenuEntry& entry : MainMenu(false))
        FillMenu(menuBar()->addMenu(text(entry.text)), entry.items);
}

void CMainFrame::CreateToolBar() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu); // no toolbar/dock visibility menu
    const int size = kHandheld ? kPadToolBarIcon : kDeskToolBarIcon;
    m_toolBar->setIconSize(QSize(size, size));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const MenuEntry& entry : ToolBar(kHandheld)) {
        if (entry.kind == MenuEntry::Separator)
            m_toolBar->addSeparator();
        else if (QAction* act = action(entry.command))
            m_toolBar->addAction(act);
    }
    addToolBar(kHandheld ? Qt::BottomToolBarArea : Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::CreateSoftKeys() {
    // The handheld command bar along the bottom: the left soft key (New), the
    // small toolbar buttons, and the right soft key opening the main menu.
    CreateToolBar();
    m_leftKey = new QToolButton(m_toolBar);
    m_leftKey->setDefaultAction(action(Command::New));
    m_leftKey->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_toolBar->insertWidget(m_toolBar->actions().value(0), m_leftKey);
    auto* spacer = new QWidget(m_toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolBar->addWidget(spacer);
    m_softMenu = new QMenu(this);
    FillMenu(m_softMenu, MainMenu(true));
    m_rightKey = new QToolButton(m_toolBar);
    m_rightKey->setText(text(DialogTexts::menu));
    m_rightKey->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // The menu opens above the bar, inside the window, as a soft key's does.
    connect(m_rightKey, &QToolButton::clicked, this,
            [this] { DialogMenuBar::PopupAbove(m_softMenu, m_rightKey); });
    m_toolBar->addWidget(m_rightKey);
}

void CMainFrame::CreatePreview() {
    if constexpr (kHandheld) {
        auto* client = new QWidget(this);
        auto* layout = new QVBoxLayout(client);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        m_pane = new CPreviewPane(client);
        layout->addWidget(m_pane);
        layout->addWidget(m_view, 1);
        setCentralWidget(client);
        m_view->setPreviewTarget(m_pane);
        connect(m_pane, &CPreviewPane::visibilityChanged, this, &CMainFrame::UpdateCommandStates);
    } else {
        setCentralWidget(m_view);
        m_dock = new CPreviewDlg(this);
        addDockWidget(Qt::RightDockWidgetArea, m_dock);
        m_view->setPreviewTarget(m_dock);
        connect(m_dock, &QDockWidget::visibilityChanged, this, &CMainFrame::UpdateCommandStates);
    }
}

bool CMainFrame::isPreviewShown() const {
    if (m_dock)
        return !m_dock->isHidden();
    return m_pane && !m_pane->isHidden();
}

void CMainFrame::SetPreviewShown(bool shown) {
    if (m_dock)
        m_dock->setVisible(shown);
    if (m_pane)
        m_pane->setVisible(shown);
    UpdateCommandStates();
}

void CMainFrame::TogglePreview() {
    SetPreviewShown(!isPreviewShown());
}

bool CMainFrame::IsEnabled(EnableRule rule) const {
    switch (rule) {
    case EnableRule::Always:
        return true;
    case EnableRule::ItemSelected:
        return m_view->canOpen();
    case EnableRule::NotDatabaseItem:
        return m_view->canDelete();
    case EnableRule::NoteSelected:
        return m_view->canCopyOrCut();
    case EnableRule::CanPaste:
        return m_view->canPaste();
    case EnableRule::CanUndo:
        return m_doc.undoStack().canUndo();
    case EnableRule::CanRedo:
        return m_doc.undoStack().canRedo();
    case EnableRule::NotYetBuilt:
        return false;
    }
    return false;
}

void CMainFrame::UpdateCommandStates() {
    for (const auto& [command, act] : m_actions) {
        const CommandDef& def = CommandDefinition(command);
        act->setEnabled(IsEnabled(def.rule));
        if (def.checkable)
            act->setChecked(isPreviewShown());
    }
}

QMenu* CMainFrame::BuildContextMenu(int menuId, QWidget* parent) {
    UpdateCommandStates();
    auto* menu = new QMenu(parent);
    for (const MenuEntry& entry : ContextMenu(menuId, kHandheld)) {
        if (entry.kind == MenuEntry::Separator) {
            menu->addSeparator();
            continue;
        }
        const QAction* source = action(entry.command);
        if (!source)
            continue;
        // The context menus carry texts of their own; the command and its
        // state are the main action's.
        QAction* act = menu->addAction(entry.text ? text(entry.text) : source->text());
        act->setEnabled(source->isEnabled());
        const Command command = entry.command;
        connect(act, &QAction::triggered, this, [this, command] { Execute(command); });
    }
    return menu;
}

void CMainFrame::ShowContextMenu(int menuId, const QPoint& globalPos) {
    QMenu* menu = BuildContextMenu(menuId, this);
    menu->exec(globalPos);
    menu->deleteLater();
}

void CMainFrame::Execute(Command command) {
    if (!IsEnabled(CommandDefinition(command).rule))
        return;
    switch (command) {
    case Command::New:
        m_app.OnFileNew();
        break;
    case Command::Open:
        m_app.OnFileOpen();
        break;
    case Command::Save:
        m_doc.OnSave();
        break;
    case Command::SaveAs:
        m_doc.OnSaveAs();
        break;
    case Command::MergeWith:
        m_doc.OnMergeWith();
        break;
    case Command::Exit:
        close();
        break;
    case Command::Undo:
        m_doc.undoStack().undo();
        break;
    case Command::Redo:
        m_doc.undoStack().redo();
        break;
    case Command::Cut:
        m_view->OnCut();
        break;
    case Command::Copy:
        m_view->OnCopy();
        break;
    case Command::Paste:
        m_view->OnPaste();
        break;
    case Command::Find:
        m_view->OnFind();
        break;
    case Command::FindNext:
        m_view->OnFindNext();
        break;
    case Command::OpenNode:
        m_view->OnOpen();
        break;
    case Command::NewFolder:
        m_view->OnNewFolder();
        break;
    case Command::NewNote:
        m_view->OnNewNote();
        break;
    case Command::Delete:
        m_view->OnDelete();
        break;
    case Command::EditTemplates:
        m_doc.OnEditTemplates();
        break;
    case Command::DatabaseProperties:
        m_doc.OnDatabaseProperties();
        break;
    case Command::FtpManager:
        OnFtpManager();
        break;
    case Command::FtpSettings:
        OnFtpSettings();
        break;
    case Command::PreviewPane:
        TogglePreview();
        break;
    case Command::Overview:
        OpenHelpFile(AppTexts::overviewFile);
        break;
    case Command::Manual:
        OpenHelpFile(AppTexts::manualFile);
        break;
    case Command::WebSite:
        ShellOpen(text(AppTexts::homePage));
        break;
    case Command::About:
        m_app.OnAppAbout();
        break;
    }
    UpdateCommandStates();
}

void CMainFrame::OnFtpManager() {
    if (m_doc.isModified()) {
        ShowMessageBox(this, text(AppTexts::saveFirst), MessageIcon::Stop);
        return;
    }
    if (ReadStringSetting(m_app.settings(), Setting::FtpHost).isEmpty()) {
        ShowMessageBox(this, text(AppTexts::checkFtpSettings), MessageIcon::Stop);
        return;
    }
    CFTPManagerDlg manager(m_app.settings(), this);
    manager.setOpenDatabase(m_doc.pathName());
    connect(&manager, &CFTPManagerDlg::downloaded, this, &CMainFrame::OnDatabaseDownloaded);
    RunDialog(manager);
}

void CMainFrame::OnDatabaseDownloaded(const QString& localPath) {
    if (!ReplacesOpenDatabase(localPath, m_doc.pathName()))
        return;
    switch (AskAboutDownloadedCopy(this, localPath)) {
    case DownloadedCopyChoice::OpenNow:
        m_app.OpenDocumentFile(localPath);
        break;
    case DownloadedCopyChoice::KeepOpenDatabase:
        break;
    }
}

void CMainFrame::OnFtpSettings() {
    CFTPSettingsDlg settings(m_app.settings(), this);
    RunDialog(settings);
}

void CMainFrame::OpenHelpFile(const char* fileName) {
    const QString failure = HelpFiles::Open(QCoreApplication::applicationDirPath(), text(fileName));
    if (!failure.isEmpty())
        ShowMessageBox(this, failure, MessageIcon::Exclamation);
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(QStringLiteral("%1[*] - %2").arg(m_doc.title(), text(AppTexts::appTitle)));
    setWindowModified(m_doc.isModified());
}

void CMainFrame::RestoreLayout() {
    if constexpr (!kHandheld) {
        // A window closed maximised or minimised comes back normal at its
        // saved normal rectangle.
        const auto placement = WindowPlacement::decode(ReadLayoutSetting(Setting::LayoutMain));
        setGeometry(placement ? placement->normal : kDefaultWindowRect);
        // The pane comes back on the edge and at the width it had.
        if (const auto dock = DecodePreviewDock(ReadLayoutSetting(Setting::LayoutPreviewDock))) {
            addDockWidget(dock->left ? Qt::LeftDockWidgetArea : Qt::RightDockWidgetArea, m_dock);
            resizeDocks({m_dock}, {dock->width}, Qt::Horizontal);
        }
    } else {
        resize(kHandheldWindowSize);
    }
    const std::optional<bool> preview = DecodePreviewShown(ReadLayoutSetting(Setting::LayoutPreview));
    if (preview)
        SetPreviewShown(*preview);
    else if (kHandheld)
        SetPreviewShown(false);
}

void CMainFrame::SaveLayout() {
    if constexpr (!kHandheld) {
        WindowPlacement placement;
        placement.showState = isMaximized()   ? WindowPlacement::Maximised
                              : isMinimized() ? WindowPlacement::Minimised
                                              : WindowPlacement::Normal;
        placement.normal = normalGeometry().isValid() ? normalGeometry() : geometry();
        WriteLayoutSetting(Setting::LayoutMain, placement.encode());
        // A floating or hidden pane keeps the place it was docked at before.
        if (!m_dock->isFloating() && !m_dock->isHidden()) {
            const PreviewDockPlace dock{dockWidgetArea(m_dock) == Qt::LeftDockWidgetArea, m_dock->width()};
            WriteLayoutSetting(Setting::LayoutPreviewDock, EncodePreviewDock(dock));
        }
    }
    WriteLayoutSetting(Setting::LayoutPreview, EncodePreviewShown(isPreviewShown()));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    SaveLayout();
    if (!m_doc.SaveModified()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The handheld program closes when it is minimised (asking to save first);
    // when the close is refused the window comes back.
    if (kHandheld && event->type() == QEvent::WindowStateChange && isMinimized()) {
        QTimer::singleShot(0, this, [this] {
            if (!close())
                showNormal();
        });
    }
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!CNotesView::DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString path = CNotesView::DroppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    OpenDroppedFile(path);
}

void CMainFrame::OpenDroppedFile(const QString& path) {
    // A dropped file opens as a file chosen in the Open dialog; the drop
    // itself ends first, so the questions are not asked inside it.
    QTimer::singleShot(0, this, [this, path] { m_app.OpenDocumentFile(path); });
}
