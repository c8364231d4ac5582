#pragma once
// "FTP Manager": the database files of one server folder, with Upload,
// Download, Delete, Rename and Refresh. Every server operation runs on a
// worker thread with its own connection, made from the stored FTP settings
// read afresh each time; the status line and a progress bar show how it goes.
// The dialog refuses to close while an operation runs; during an upload or a
// download its Cancel (desktop) or "Close" soft key (handheld) reads "Stop"
// and ends the transfer, both copies staying as they were. Download, Delete
// and Rename need a selected file. On the handheld the commands sit in the
// soft-key menu.
//
//     CFTPManagerDlg dialog(ProgramSettings(), mainWindow);
//     RunDialog(dialog);

#include "ftp/FtpOperation.h"
#include "ftp/FtpWorker.h"

#include <QDialog>
#include <memory>

class PasswordVault;
class QAction;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class SettingsStore;

class CFTPManagerDlg : public QDialog {
    Q_OBJECT

public:
    // The password comes from the program's vault (the secret service) or the store.
    explicit CFTPManagerDlg(SettingsStore& store, QWidget* parent = nullptr);
    CFTPManagerDlg(SettingsStore& store, PasswordVault& vault, QWidget* parent = nullptr);
    ~CFTPManagerDlg() override;

    // The commands, run as their buttons and menu items run them.
    void OnUpload();
    void OnDownload();
    void OnDelete();
    void OnRename();
    void OnRefresh();

    // Closing is refused while an operation runs.
    void done(int result) override;
    bool workerRunning() const { return m_worker.running(); }
    // An upload or a download runs: the dialog's Cancel or Close key stops it.
    bool transferRunning() const { return m_transferring; }

    // The open database's file, which Upload offers first; empty offers none.
    void setOpenDatabase(const QString& path) { m_openDatabase = path; }

    // The listing is read when the dialog is first shown, unless turned off
    // (the screenshot program shows a listing of its own).
    void setListOnOpen(bool list) { m_listOnOpen = list; }
    void showListing(const std::vector<FtpFileInfo>& files);
    void showStatus(const QString& text);

    QTableWidget* fileList() const { return m_list; }
    QLineEdit* statusLine() const { return m_status; }
    QProgressBar* progressBar() const { return m_progress; }
    // Upload, Download, Delete, Rename, Refresh: buttons on the desktop,
    // soft-key menu items on the handheld.
    const QList<QAction*>& commands() const { return m_commands; }
    QPushButton* commandButton(int index) const;
    // Cancel on the desktop, the right soft key on the handheld; "Stop" during a transfer.
    QString cancelKeyText() const;

signals:
    // Every text the status line is given, repeats included ("Done" twice
    // after an upload: the listing's, then the upload's).
    void statusShown(const QString& text);
    // A download has put the server's file in place at this local path.
    void downloaded(const QString& localPath);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void start(FtpRequest request);
    void updateCommandStates();
    void onCancelKey();
    void setTransferring(bool transferring);
    QString chooseUploadFile();
    QString selectedName() const;
    void onProgress(uint64_t done, uint64_t total);

    SettingsStore& m_store;
    PasswordVault& m_vault;
    QTableWidget* m_list;
    QLineEdit* m_status;
    QProgressBar* m_progress;
    QList<QAction*> m_commands;
    QList<QPushButton*> m_buttons;
    QPushButton* m_cancelButton = nullptr; // desktop
    QAction* m_closeKey = nullptr;         // handheld
    QString m_openDatabase;
    bool m_transferring = false;
    FtpWorker m_worker;
    bool m_listOnOpen = true;
    bool m_opened = false;
};
