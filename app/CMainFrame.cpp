#include "app/CMainFrame.h"

#include "app/AppTexts.h"
#include "app/CLockPanel.h"
#include "app/CNotesApp.h"
#include "app/CNotesDoc.h"
#include "app/CNotesView.h"
#include "app/CPreviewDlg.h"
#include "app/CPreviewPane.h"
#include "app/DownloadedCopy.h"
#include "app/HelpFiles.h"
#include "app/ReminderAlarm.h"
#include "app/SessionLock.h"
#include "app/ValueClipboard.h"
#include "app/WindowPlacement.h"
#include "core/ConcealedValues.h"
#include "core/Edition.h"
#include "core/LockRules.h"
#include "core/NotesMgr.h"
#include "core/SecretWipe.h"
#include "dialogs/COptionsDlg.h"
#include "dialogs/DialogTexts.h"
#include "editor/CNoteEditor.h"
#include "editor/PreviewComposer.h"
#include "ftp/CFTPManagerDlg.h"
#include "ftp/CFTPSettingsDlg.h"
#include "gui/DialogMenuBar.h"
#include "gui/DialogRunner.h"
#include "gui/MessageBox.h"
#include "gui/SettingsTable.h"
#include "gui/ShellOpen.h"
#include "gui/WindowFitter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
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

    m_valueClipboard = new ValueClipboard(this);
    connect(m_valueClipboard, &ValueClipboard::waitingChanged, this, &CMainFrame::UpdateTitle);
    m_sessionLock = new SessionLock(this);
    connect(m_sessionLock, &SessionLock::lockRequested, this, [this] { Lock(); });
    ApplySecuritySettings();
    // Revealed values are hidden again when another node is selected or the database changes.
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { SetRevealConcealed(false); });
    connect(&m_doc, &CNotesDoc::updated, this, [this] {
        SetRevealConcealed(false);
        UpdateCommandStates();
    });
    CNoteEditor* preview = previewEditor();
    preview->setMenuExtender([this](QMenu& menu) {
        menu.addSeparator();
        FillCopyValueMenu(menu.addMenu(text(AppTexts::copyValueMenu)));
        if (QAction* reveal = action(Command::ShowConcealed))
            menu.addAction(reveal);
    });
    preview->setCopyFilter([this](QMimeData& data) { FilterPreviewCopy(data); });

    UpdateTitle();
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() {
    // The children are hidden as the window goes; their signals must not
    // reach the half-destroyed window.
    for (QObject* sender :
         {static_cast<QObject*>(m_dock), static_cast<QObject*>(m_pane), static_cast<QObject*>(m_view),
          static_cast<QObject*>(&m_doc), static_cast<QObject*>(&m_doc.undoStack()),
          static_cast<QObject*>(m_valueClipboard)})
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
            if (kHandheld && entry.command == Command::CopyValue) {
                // The handheld has no copy key: its menu lists the values.
                QMenu* values = menu->addMenu(text(AppTexts::copyValueMenu));
                connect(values, &QMenu::aboutToShow, this, [this, values] { FillCopyValueMenu(values); });
            } else if (QAction* act = action(entry.command)) {
                menu->addAction(act);
            }
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
    case EnableRule::CanLock:
        return !m_doc.notes().password.empty();
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
    // While locked no command runs; the panel's Close and Unlock are all there is.
    const bool locked = isLocked();
    for (const auto& [command, act] : m_actions) {
        const CommandDef& def = CommandDefinition(command);
        act->setEnabled(!locked && IsEnabled(def.rule));
        if (def.checkable)
            act->setChecked(command == Command::ShowConcealed ? isRevealingConcealed() : isPreviewShown());
    }
    if (m_sessionLock)
        m_sessionLock->setArmed(!locked && IsEnabled(EnableRule::CanLock));
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
        if (entry.command == Command::CopyValue) {
            FillCopyValueMenu(menu->addMenu(text(AppTexts::copyValueMenu)));
            continue;
        }
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
    if (isLocked() || !IsEnabled(CommandDefinition(command).rule))
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
    case Command::Lock:
        Lock();
        break;
    case Command::CopyValue:
        if (const NoteRecord* note = m_doc.notes().FindNode(m_view->selectedNodeId()))
            CopyValue(DefaultCopyIndex(CopyableValues(m_doc.notes(), *note)));
        break;
    case Command::ShowConcealed:
        SetRevealConcealed(!isRevealingConcealed());
        break;
    case Command::Options:
        OnOptions();
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
    case DownloadedCopyChoice::Merge:
        m_doc.MergeWithFileOnDisk();
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
    // The countdown of a copied value stands after the file name; the
    // program's name stays last.
    QString name = m_doc.title();
    if (const int left = m_valueClipboard ? m_valueClipboard->secondsLeft() : 0)
        name = text(AppTexts::clipboardClears).arg(name).arg(left);
    setWindowTitle(isLocked() ? text(AppTexts::lockedTitle).arg(name, text(AppTexts::appTitle))
                              : QStringLiteral("%1[*] - %2").arg(name, text(AppTexts::appTitle)));
    // The locked title has no place for the modified mark.
    setWindowModified(!isLocked() && m_doc.isModified());
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
    WriteLayoutSetting(Setting::LayoutPreview,
                       EncodePreviewShown(isLocked() ? m_previewBeforeLock : isPreviewShown()));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (isLocked()) {
        // Nothing is saved or thrown away without the password.
        if (m_doc.isModified()) {
            m_lockPanel->ShowMessage(text(AppTexts::unlockToClose));
            event->ignore();
            return;
        }
        SaveLayout();
        m_valueClipboard->ClearNow();
        ResumeDialogs(false);
        event->accept();
        return;
    }
    SaveLayout();
    if (!m_doc.SaveModified()) {
        event->ignore();
        return;
    }
    m_valueClipboard->ClearNow();
    event->accept();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (m_lockPanel)
        m_lockPanel->setGeometry(rect());
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
    if (isLocked())
        return; // nothing opens over a locked database
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

PreviewComposer& CMainFrame::composer() const {
    return m_dock ? m_dock->composer() : m_pane->composer();
}

CNoteEditor* CMainFrame::previewEditor() const {
    return m_dock ? m_dock->editor() : m_pane->editor();
}

bool CMainFrame::isRevealingConcealed() const {
    return composer().revealConcealed();
}

void CMainFrame::SetRevealConcealed(bool reveal) {
    if (reveal == isRevealingConcealed())
        return;
    composer().setRevealConcealed(reveal);
    m_view->RefreshNode(m_view->selectedNodeId());
    UpdateCommandStates();
}

int CMainFrame::ClipboardClearSeconds() const {
    return ReadNumberSetting(m_app.settings(), Setting::ClipboardClearSeconds);
}

void CMainFrame::ApplySecuritySettings() {
    m_sessionLock->setIdleSeconds(ReadNumberSetting(m_app.settings(), Setting::LockAfterIdleSeconds));
    UpdateCommandStates();
}

void CMainFrame::OnOptions() {
    COptionsDlg options(m_app.settings(), this);
    if (RunDialog(options) == QDialog::Accepted)
        ApplySecuritySettings();
}

void CMainFrame::FillCopyValueMenu(QMenu* menu) {
    menu->clear();
    const NoteRecord* note = m_doc.notes().FindNode(m_view->selectedNodeId());
    const std::vector<CopyableValue> values =
        note && !note->isFolder ? CopyableValues(m_doc.notes(), *note) : std::vector<CopyableValue>();
    for (size_t i = 0; i < values.size(); ++i) {
        // "Card number:" is listed as "Card number".
        QString caption = QString::fromStdU16String(values[i].caption).trimmed();
        if (caption.endsWith(QLatin1Char(':')))
            caption.chop(1);
        const int index = static_cast<int>(i);
        connect(menu->addAction(caption), &QAction::triggered, this, [this, index] { CopyValue(index); });
    }
    menu->setEnabled(!values.empty());
}

void CMainFrame::CopyValue(int index) {
    const NoteRecord* note = m_doc.notes().FindNode(m_view->selectedNodeId());
    if (!note || note->isFolder || index < 0)
        return;
    const std::vector<CopyableValue> values = CopyableValues(m_doc.notes(), *note);
    if (static_cast<size_t>(index) >= values.size())
        return;
    m_valueClipboard->Copy(QString::fromStdU16String(values[static_cast<size_t>(index)].value),
                           ClipboardClearSeconds());
}

void CMainFrame::FilterPreviewCopy(QMimeData& data) {
    // A selection copied from the preview that holds a secret value is a
    // copied value too.
    const NoteRecord* note = m_doc.notes().FindNode(m_view->selectedNodeId());
    if (!note)
        return;
    const std::u16string copied = data.text().toStdU16String();
    for (const CopyableValue& value : CopyableValues(m_doc.notes(), *note)) {
        if (value.concealed && copied.find(value.value) != std::u16string::npos) {
            m_valueClipboard->MarkSecret(data, ClipboardClearSeconds());
            return;
        }
    }
}

bool CMainFrame::Lock() {
    if (isLocked() || !IsEnabled(EnableRule::CanLock))
        return false;
    m_valueClipboard->ClearNow();
    SetRevealConcealed(false);
    // Open menus close; dialogs are hidden and wait; other windows are hidden.
    for (int i = 0; i < 8 && QApplication::activePopupWidget(); ++i)
        QApplication::activePopupWidget()->close();
    m_focusBeforeLock = QApplication::focusWidget();
    SuspendDialogs();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == this || window == m_dock || !window->isVisible() || window->windowType() == Qt::Popup ||
            window->windowType() == Qt::ToolTip)
            continue;
        m_hiddenWindows.emplace_back(window);
        window->hide();
    }
    m_previewBeforeLock = isPreviewShown();
    if (m_dock)
        m_dock->hide();
    centralWidget()->hide();
    if (m_toolBar)
        m_toolBar->hide();
    if constexpr (!kHandheld)
        menuBar()->hide(); // the handheld has none

    m_doc.setLocked(true);
    m_lockPanel = new CLockPanel(m_doc.title(), this);
    m_lockPanel->setGeometry(rect());
    m_lockPanel->show();
    m_lockPanel->raise();
    m_lockPanel->passwordBox()->setFocus();
    connect(m_lockPanel, &CLockPanel::unlockRequested, this, &CMainFrame::OnUnlockRequested);
    connect(m_lockPanel, &CLockPanel::closeRequested, this, &QWidget::close);
    UpdateTitle();
    UpdateCommandStates();
    return true;
}

void CMainFrame::OnUnlockRequested() {
    QString typed = m_lockPanel->TakePassword();
    if (!Unlock(typed))
        m_lockPanel->ShowMessage(text(AppTexts::unlockWrongPassword));
    typed.fill(QChar(0));
}

bool CMainFrame::Unlock(const QString& password) {
    if (!isLocked())
        return false;
    std::u16string typed = password.toStdU16String();
    const bool matches = PasswordMatches(typed, m_doc.notes().password);
    WipeString(typed);
    if (!matches)
        return false;

    m_lockPanel->hide();
    m_lockPanel->deleteLater();
    m_lockPanel = nullptr;
    m_doc.setLocked(false);
    if constexpr (!kHandheld)
        menuBar()->show();
    if (m_toolBar)
        m_toolBar->show();
    centralWidget()->show();
    if (m_dock && m_previewBeforeLock)
        m_dock->show();
    for (const QPointer<QWidget>& window : m_hiddenWindows)
        if (window)
            window->show();
    m_hiddenWindows.clear();
    if (m_focusBeforeLock)
        m_focusBeforeLock->setFocus();
    m_sessionLock->NoteActivity();
    UpdateTitle();
    UpdateCommandStates();
    // The dialogs come back as their loops run again; reminders that came
    // due meanwhile show after that.
    ResumeDialogs(true);
    QTimer::singleShot(0, &m_view->reminderAlarm(), &ReminderAlarm::RunPass);
    return true;
}
