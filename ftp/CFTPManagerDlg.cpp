#include "ftp/CFTPManagerDlg.h"

#include "core/DatabaseFile.h"
#include "core/Edition.h"
#include "dialogs/CTextDlg.h"
#include "dialogs/DialogTexts.h"
#include "ftp/FtpSettingsStore.h"
#include "ftp/PasswordVault.h"
#include "ftp/client/FtpSession.h"
#include "ftp/client/FtpTexts.h"
#include "ftp/client/RemotePaths.h"
#include "gui/ControlTexts.h"
#include "gui/DialogMenuBar.h"
#include "gui/DialogRunner.h"
#include "gui/FileDialogs.h"
#include "gui/GuiHelpers.h"
#include "gui/IconLists.h"
#include "gui/MessageBox.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString text(const char* t) {
    return QString::fromUtf8(t);
}

enum Column { NameColumn, SizeColumn, ModifiedColumn };
// The commands in their order.
enum { kUpload, kDownload, kDelete, kRename, kRefresh };
constexpr int kColumnWidths[] = {180, 80, 120};

} // namespace

CFTPManagerDlg::CFTPManagerDlg(SettingsStore& store, QWidget* parent)
    : CFTPManagerDlg(store, ProgramPasswordVault(), parent) {}

CFTPManagerDlg::CFTPManagerDlg(SettingsStore& store, PasswordVault& vault, QWidget* parent)
    : QDialog(parent), m_store(store), m_vault(vault), m_list(new QTableWidget(0, 3, this)),
      m_status(new QLineEdit(this)), m_progress(new QProgressBar(this)),
      m_worker(this, {[this](const QString& t) { showStatus(t); }, [this] { m_list->setRowCount(0); },
                      [this](const std::vector<FtpFileInfo>& files) { showListing(files); },
                      [this](uint64_t done, uint64_t total) { onProgress(done, total); },
                      [this](const QString& message) { ShowMessageBox(this, message, MessageIcon::Stop); },
                      [this](const QString& path) { emit downloaded(path); },
                      [this] {
                          m_progress->hide();
                          setTransferring(false);
                          updateCommandStates();
                      }}) {
    setWindowTitle(text(FtpTexts::managerTitle));

    m_list->setHorizontalHeaderLabels(
        {text(FtpTexts::nameColumn), text(FtpTexts::sizeColumn), text(FtpTexts::modifiedColumn)});
    m_list->horizontalHeaderItem(NameColumn)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column : {SizeColumn, ModifiedColumn})
        m_list->horizontalHeaderItem(column)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int column = 0; column < 3; ++column)
        m_list->setColumnWidth(column, kColumnWidths[column]);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->verticalHeader()->hide();
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->setIconSize(QSize(16, 16));
    m_list->verticalHeader()->setDefaultSectionSize(20);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &CFTPManagerDlg::updateCommandStates);

    m_status->setReadOnly(true);
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(true);
    m_progress->hide();
    auto* statusLabel = new QLabel(text(FtpTexts::statusLabel), this);
    statusLabel->setBuddy(m_status);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(statusLabel);
    statusRow->addWidget(m_status, 1);
    statusRow->addWidget(m_progress);

    const std::pair<const char*, void (CFTPManagerDlg::*)()> commands[] = {
        {FtpTexts::upload, &CFTPManagerDlg::OnUpload},   {FtpTexts::download, &CFTPManagerDlg::OnDownload},
        {FtpTexts::remove, &CFTPManagerDlg::OnDelete},   {FtpTexts::rename, &CFTPManagerDlg::OnRename},
        {FtpTexts::refresh, &CFTPManagerDlg::OnRefresh},
    };
    for (const auto& [label, slot] : commands) {
        auto* action = new QAction(text(label), this);
        connect(action, &QAction::triggered, this, slot);
        m_commands << action;
    }

    auto* layout = new QVBoxLayout(this);
    if (kHandheld) {
        // The columns share the phone's width: no sideways scrolling.
        QHeaderView* header = m_list->horizontalHeader();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
        for (int column : {SizeColumn, ModifiedColumn})
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        layout->addWidget(m_list, 1);
        layout->addLayout(statusRow);
        auto* menu = new QMenu(this);
        menu->addActions(m_commands);
        auto* menuKey = new QAction(text(DialogTexts::menu), this);
        menuKey->setMenu(menu);
        m_closeKey = new QAction(text(DialogTexts::close), this);
        connect(m_closeKey, &QAction::triggered, this, &CFTPManagerDlg::onCancelKey);
        CreateDialogMenuBar(this, menuKey, m_closeKey);
    } else {
        auto* top = new QHBoxLayout;
        top->addWidget(m_list, 1);
        auto* column = new QVBoxLayout;
        for (QAction* action : m_commands) {
            auto* button = new QPushButton(action->text(), this);
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, action, &QAction::trigger);
            connect(action, &QAction::changed, button,
                    [button, action] { button->setEnabled(action->isEnabled()); });
            column->addWidget(button);
            m_buttons << button;
        }
        column->addStretch(1);
        top->addLayout(column);
        layout->addLayout(top, 1);
        layout->addLayout(statusRow);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setText(text(ControlTexts::ok));
        m_cancelButton = buttons->button(QDialogButtonBox::Cancel);
        m_cancelButton->setText(text(ControlTexts::cancel));
        connect(buttons, &QDialogButtonBox::accepted, this, &CFTPManagerDlg::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &CFTPManagerDlg::onCancelKey);
        layout->addWidget(buttons);
        resize(560, 320);
    }
    updateCommandStates();
}

CFTPManagerDlg::~CFTPManagerDlg() = default;

QPushButton* CFTPManagerDlg::commandButton(int index) const {
    return index >= 0 && index < m_buttons.size() ? m_buttons[index] : nullptr;
}

void CFTPManagerDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_opened) {
        m_opened = true;
        // Not from here: reading the settings may wait for the secret service
        // in an event loop of its own, and a loop run while the window is being
        // shown takes in the window system's report of the size the window was
        // created with (100 x 30, before the layout) and keeps it.
        if (m_listOnOpen)
            QMetaObject::invokeMethod(this, &CFTPManagerDlg::OnRefresh, Qt::QueuedConnection);
    }
}

void CFTPManagerDlg::done(int result) {
    if (m_worker.running())
        return;
    QDialog::done(result);
}

void CFTPManagerDlg::closeEvent(QCloseEvent* event) {
    if (m_worker.running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CFTPManagerDlg::updateCommandStates() {
    const bool idle = !m_worker.running();
    const bool selected = !selectedName().isEmpty();
    for (int command = 0; command < m_commands.size(); ++command) {
        const bool needsSelection = command == kDownload || command == kDelete || command == kRename;
        m_commands[command]->setEnabled(idle && (selected || !needsSelection));
    }
}

QString CFTPManagerDlg::cancelKeyText() const {
    return m_cancelButton ? m_cancelButton->text() : m_closeKey->text();
}

void CFTPManagerDlg::setTransferring(bool transferring) {
    m_transferring = transferring;
    const QString label = transferring ? text(FtpTexts::stop)
                                       : text(m_cancelButton ? ControlTexts::cancel : DialogTexts::close);
    if (m_cancelButton)
        m_cancelButton->setText(label);
    else
        m_closeKey->setText(label);
}

void CFTPManagerDlg::onCancelKey() {
    if (m_transferring) {
        m_worker.stop();
        return;
    }
    if (m_cancelButton)
        reject();
    else
        accept();
}

void CFTPManagerDlg::showStatus(const QString& t) {
    m_status->setText(t);
    emit statusShown(t);
}

void CFTPManagerDlg::showListing(const std::vector<FtpFileInfo>& files) {
    m_list->setRowCount(0);
    const QIcon icon(LoadAppIcon(IconLists::kProgramIconId, false));
    for (const FtpFileInfo& file : files) {
        const int row = m_list->rowCount();
        m_list->insertRow(row);
        auto* name = new QTableWidgetItem(icon, QString::fromStdString(file.name));
        auto* size = new QTableWidgetItem(QString::fromStdString(SizeText(file.size)));
        auto* time = new QTableWidgetItem(QString::fromLocal8Bit(TimeText(file.modified)));
        size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        time->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_list->setItem(row, NameColumn, name);
        m_list->setItem(row, SizeColumn, size);
        m_list->setItem(row, ModifiedColumn, time);
    }
}

void CFTPManagerDlg::onProgress(uint64_t done, uint64_t total) {
    m_progress->show();
    m_progress->setValue(total ? static_cast<int>(done * 100 / total) : 0);
}

QString CFTPManagerDlg::selectedName() const {
    const QList<QTableWidgetItem*> items = m_list->selectedItems();
    for (QTableWidgetItem* item : items) {
        if (item->column() == NameColumn)
            return item->text();
    }
    return {};
}

void CFTPManagerDlg::start(FtpRequest request) {
    if (m_worker.running())
        return;
    request.settings = ReadFtpSettings(m_store, m_vault);
    m_progress->setValue(0);
    const bool transfer =
        request.code == FtpOperationCode::Upload || request.code == FtpOperationCode::Download;
    m_worker.start(std::move(request));
    setTransferring(transfer);
    updateCommandStates();
}

// The open database first, so that the usual case is one step.
QString CFTPManagerDlg::chooseUploadFile() {
    if (!m_openDatabase.isEmpty()) {
        const QString question = text(FtpTexts::uploadOpenDatabase).arg(QFileInfo(m_openDatabase).fileName());
        switch (ShowMessageBox(this, question, MessageIcon::Question, MessageButtons::YesChooseFileCancel)) {
        case MessageAnswer::Yes:
            return m_openDatabase;
        case MessageAnswer::ChooseFile:
            break;
        default:
            return {};
        }
    }
    return FileDialogs::GetOpenFileName(this, text(FtpTexts::fileFilter));
}

void CFTPManagerDlg::OnUpload() {
    const QString path = chooseUploadFile();
    if (path.isEmpty())
        return;
    const std::string local = path.toStdString();
    if (ContainsSpace(FileNameOf(local))) {
        ShowMessageBox(this, text(FtpTexts::nameHasSpaces), MessageIcon::Stop);
        return;
    }
    // Said here rather than after connecting.
    if (!IsDatabaseName(FileNameOf(local)) || !IsDatabaseFile(local)) {
        ShowMessageBox(this, QString::fromStdString(WithName(FtpTexts::notADatabase, FileNameOf(local))),
                       MessageIcon::Stop);
        return;
    }
    FtpRequest request;
    request.code = FtpOperationCode::Upload;
    request.localPath = local;
    start(std::move(request));
}

void CFTPManagerDlg::OnDownload() {
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    QString path = FileDialogs::GetSaveFileName(this, text(FtpTexts::fileFilter), name);
    if (path.isEmpty())
        return;
    // The default extension, for a name typed without one.
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + text(FtpTexts::defaultSuffix);
    const std::string local = path.toStdString();
    // Said aloud rather than silently not starting.
    if (ContainsSpace(FileNameOf(local))) {
        ShowMessageBox(this, text(FtpTexts::nameHasSpaces), MessageIcon::Stop);
        return;
    }
    FtpRequest request;
    request.code = FtpOperationCode::Download;
    request.name = name.toStdString();
    request.localPath = local;
    start(std::move(request));
}

void CFTPManagerDlg::OnDelete() {
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    if (ShowMessageBox(this, text(FtpTexts::confirmDelete), MessageIcon::Question,
                       MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    FtpRequest request;
    request.code = FtpOperationCode::Delete;
    request.name = name.toStdString();
    start(std::move(request));
}

void CFTPManagerDlg::OnRename() {
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    CTextDlg entry(this);
    entry.setText(name);
    if (RunDialog(entry) != QDialog::Accepted)
        return;
    if (!IsPlainName(entry.text().toStdString())) {
        ShowMessageBox(this, text(FtpTexts::nameNotPlain), MessageIcon::Stop);
        return;
    }
    FtpRequest request;
    request.code = FtpOperationCode::Rename;
    request.name = name.toStdString();
    request.newName = entry.text().toStdString();
    start(std::move(request));
}

void CFTPManagerDlg::OnRefresh() {
    FtpRequest request;
    request.code = FtpOperationCode::List;
    start(std::move(request));
}
