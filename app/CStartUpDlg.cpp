#include "app/CStartUpDlg.h"

#include "app/AppTexts.h"
#include "app/StartUpFiles.h"
#include "core/NotesMgr.h"
#include "gui/DialogMenuBar.h"
#include "gui/FileDialogs.h"
#include "gui/GuiHelpers.h"
#include "gui/IconLists.h"
#include "gui/MessageBox.h"
#include "gui/SettingsTable.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

using AppTexts::text;

// Column widths in pixels: Name, Size, Modified.
constexpr int kDeskColumns[] = {120, 60, 125};
constexpr int kPadColumns[] = {100, 60, 120};
// The desktop dialog grows by at most this much for long names at first.
constexpr int kMostExtraWidth = 320;

} // namespace

CStartUpDlg::CStartUpDlg(NotesMgr& notes, SettingsStore& settings, OpenFunction open, QWidget* parent)
    : QDialog(parent), m_notes(notes), m_settings(settings), m_open(std::move(open)) {
    m_createNewAction = new QAction(text(kHandheld ? AppTexts::createNewPad : AppTexts::createNewDesk), this);
    m_browseAction = new QAction(text(kHandheld ? AppTexts::browsePad : AppTexts::browseDesk), this);
    connect(m_createNewAction, &QAction::triggered, this, &CStartUpDlg::OnCreateNew);
    connect(m_browseAction, &QAction::triggered, this, &CStartUpDlg::OnBrowse);

    if (kHandheld)
        BuildHandheld();
    else
        BuildDesktop();

    // No button is the dialog's default: Enter means OK (see keyPressEvent).
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CStartUpDlg::OnOpenSelected);
    connect(m_recent, &QPushButton::clicked, this, &CStartUpDlg::OnRecentFiles);

    QString path = ReadStringSetting(m_settings, Setting::StartUpPath);
    if (path.isEmpty())
        path = DocumentsFolder();
    // Putting the path into the edit stores and lists it through the change
    // rule; an unchanged text raises no change, so list it directly then.
    connect(m_path, &QLineEdit::textChanged, this, &CStartUpDlg::OnPathChanged);
    if (path == m_path->text())
        FillList();
    else
        m_path->setText(path);
    UpdateRecentButton();
    if (!kHandheld)
        FitDesktopWidth();
}

void CStartUpDlg::FitDesktopWidth() {
    // Room for the first listing's columns, within reason.
    int wanted = 0;
    int set = 0;
    for (int column = 0; column < 3; ++column) {
        wanted += m_list->columnWidth(column);
        set += kDeskColumns[column];
    }
    const int extra = std::min(wanted - set, kMostExtraWidth);
    if (extra > 0)
        resize(sizeHint().width() + extra, sizeHint().height());
}

QTreeWidget* CStartUpDlg::MakeList() {
    auto* list = new QTreeWidget(this);
    list->setColumnCount(3);
    list->setHeaderLabels(
        {text(AppTexts::columnName), text(AppTexts::columnSize), text(AppTexts::columnModified)});
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setIconSize(QSize(IconLists::kSmallSize, IconLists::kSmallSize));
    list->setSelectionMode(kHandheld ? QAbstractItemView::SingleSelection
                                     : QAbstractItemView::ExtendedSelection);
    return list;
}

void CStartUpDlg::BuildDesktop() {
    setWindowTitle(text(AppTexts::startUpTitleDesk));
    auto* pathLabel = new QLabel(text(AppTexts::pathLabel), this);
    m_path = new QLineEdit(this);
    pathLabel->setBuddy(m_path);
    m_folder = new QPushButton(text(AppTexts::browseFolderButton), this);
    m_folder->setFixedWidth(m_folder->fontMetrics().horizontalAdvance(m_folder->text()) + 16);
    m_list = MakeList();
    MakeLabelBold(m_list);
    m_createNew = new QPushButton(m_createNewAction->text(), this);
    m_browse = new QPushButton(m_browseAction->text(), this);
    m_recent = new QPushButton(text(AppTexts::recentFiles), this);
    connect(m_createNew, &QPushButton::clicked, m_createNewAction, &QAction::trigger);
    connect(m_browse, &QPushButton::clicked, m_browseAction, &QAction::trigger);
    connect(m_folder, &QPushButton::clicked, this, &CStartUpDlg::OnBrowseFolder);

    // The path and the list on the left, the three buttons down the right.
    auto* layout = new QGridLayout(this);
    layout->addWidget(pathLabel, 0, 0);
    layout->addWidget(m_path, 0, 1);
    layout->addWidget(m_folder, 0, 2);
    layout->addWidget(m_list, 1, 0, 1, 3);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_createNew);
    buttons->addWidget(m_browse);
    buttons->addWidget(m_recent);
    buttons->addStretch(1);
    layout->addLayout(buttons, 0, 3, 2, 1);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(1, 1);

    int listWidth = 2 * m_list->frameWidth() + m_list->verticalScrollBar()->sizeHint().width();
    for (int width : kDeskColumns)
        listWidth += width;
    m_list->setMinimumSize(listWidth, 180);
}

void CStartUpDlg::BuildHandheld() {
    setWindowTitle(text(AppTexts::startUpTitlePad));
    m_prompt = new QLabel(text(AppTexts::startUpPrompt), this);
    MakeLabelBold(m_prompt);
    auto* pathLabel = new QLabel(text(AppTexts::pathLabel), this);
    m_path = new QLineEdit(this);
    pathLabel->setBuddy(m_path);
    m_recent = new QPushButton(text(AppTexts::recentFiles), this);
    m_list = MakeList();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(m_path, 1);
    layout->addLayout(pathRow);
    auto* recentRow = new QHBoxLayout;
    recentRow->addStretch(1);
    recentRow->addWidget(m_recent);
    layout->addLayout(recentRow);
    layout->addWidget(m_list, 1);
    CreateDialogMenuBar(this, m_createNewAction, m_browseAction);
}

void CStartUpDlg::OnPathChanged(const QString& path) {
    WriteStringSetting(m_settings, Setting::StartUpPath, path);
    FillList();
}

void CStartUpDlg::FillList() {
    m_list->clear();
    const QIcon icon(LoadAppIcon(IconLists::kProgramIconId, false));
    QList<QTreeWidgetItem*> items;
    for (const StartUpFiles::DatabaseFile& file : StartUpFiles::ListDatabaseFiles(m_path->text())) {
        auto* item = new QTreeWidgetItem(
            {file.name, StartUpFiles::SizeText(file.size), StartUpFiles::TimeText(file.modified)});
        item->setIcon(0, icon);
        items << item;
    }
    m_list->addTopLevelItems(items);
    // The set widths suit a small font: a column grows to show its longest
    // text whole rather than cut names and dates short.
    const int* widths = kHandheld ? kPadColumns : kDeskColumns;
    for (int column = 0; column < 3; ++column) {
        m_list->resizeColumnToContents(column);
        m_list->setColumnWidth(column, std::max(widths[column], m_list->columnWidth(column)));
    }
}

void CStartUpDlg::UpdateRecentButton() {
    m_recent->setEnabled(!StartUpFiles::RecentMenuEntries(m_notes.recentFiles).empty());
}

void CStartUpDlg::OpenDatabase(const QString& path, bool fromRecentList) {
    const CNotesDoc::OpenOutcome outcome =
        m_open ? m_open(path) : CNotesDoc::OpenOutcome{CNotesDoc::OpenResult::Cancelled, {}};
    if (outcome.result != CNotesDoc::OpenResult::Failed) {
        // A cancelled save or password prompt ends the dialog too: the user
        // has made the choice, and the open database stays as it was.
        accept();
        return;
    }
    ShowMessageBox(this, outcome.message, MessageIcon::Stop);
    if (fromRecentList) {
        m_notes.RemoveRecentFile(path.toStdU16String());
        UpdateRecentButton();
    }
}

void CStartUpDlg::OnOpenSelected() {
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = m_list->topLevelItem(row);
        if (item->isSelected()) {
            OpenDatabase(StartUpFiles::DatabasePath(m_path->text(), item->text(0)), false);
            return;
        }
    }
}

void CStartUpDlg::OnCreateNew() {
    done(kCreateNewResult);
}

void CStartUpDlg::OnBrowse() {
    const QString path =
        FileDialogs::GetOpenFileName(this, text(AppTexts::fileFilter), text(AppTexts::openTitle));
    if (!path.isEmpty())
        OpenDatabase(path, false);
}

void CStartUpDlg::OnBrowseFolder() {
    const QString folder = FileDialogs::GetExistingFolder(this, text(AppTexts::chooseFolder), m_path->text());
    if (folder.isEmpty())
        return;
    if (folder == m_path->text())
        OnPathChanged(folder);
    else
        m_path->setText(folder);
}

void CStartUpDlg::OnRecentFiles() {
    const std::vector<StartUpFiles::RecentEntry> entries =
        StartUpFiles::RecentMenuEntries(m_notes.recentFiles);
    if (entries.empty())
        return;
    QMenu menu(this);
    for (const StartUpFiles::RecentEntry& entry : entries) {
        // A "&" in a path is shown as it is, not taken for an access key.
        QString shown = entry.text;
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        menu.addAction(shown)->setData(entry.path);
    }
    // Right edge at the button's right edge, top at its bottom edge.
    const QPoint below = m_recent->mapToGlobal(QPoint(m_recent->width(), m_recent->height()));
    const QAction* chosen = menu.exec(QPoint(below.x() - menu.sizeHint().width(), below.y()));
    if (chosen)
        OpenDatabase(chosen->data().toString(), true);
}

void CStartUpDlg::keyPressEvent(QKeyEvent* event) {
    // Enter presses the button that has the focus; anywhere else it ends the
    // dialog with OK without opening anything.
    const bool plain =
        !event->modifiers() || (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        else
            accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
