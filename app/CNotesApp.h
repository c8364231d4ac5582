#pragma once
// The application: brings the program from its start to the first shown
// database and carries out the commands that belong to it (New, Open, About).
// It owns the document and the main window. main() makes the QApplication and
// calls Main(); tests make a CNotesApp of their own and call InitInstance().

#include "app/CNotesDoc.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class CMainFrame;
class SettingsStore;
class SingleInstance;
class QTimer;

class CNotesApp : public QObject {
    Q_OBJECT
public:
    // `arguments` without the program name; at most one database path.
    explicit CNotesApp(const QStringList& arguments, SettingsStore& settings, QObject* parent = nullptr);
    ~CNotesApp() override;

    // The start-up sequence: file type, document, window, the database of the
    // command line or a new one with the start-up dialog, layout, show. False
    // when the program must end (the database of the command line did not open).
    bool InitInstance();

    CNotesDoc& document() { return *m_doc; }
    SettingsStore& settings() { return m_settings; }
    CMainFrame& mainFrame() { return *m_frame; }

    // New: the save prompt, then a new empty database.
    void OnFileNew();
    // Open: the open-file dialog, then OpenDocumentFile.
    void OnFileOpen();
    void OnAppAbout();
    // The save prompt, then the open with its password prompt; a failure is
    // shown. True when the file was opened.
    bool OpenDocumentFile(const QString& path);
    // The same without showing a failure: the caller shows it.
    CNotesDoc::OpenOutcome OpenDocumentQuietly(const QString& path);

    // The whole program: QApplication, single instance (handheld), start-up,
    // event loop.
    static int Main(int argc, char** argv);

    // Later starts of the program come to this one: the window (or the dialog
    // it shows) comes to the front, and a database handed over opens as Open
    // does, once no dialog runs (the start-up dialog, a password prompt).
    // Connected before InitInstance, so that it holds during the start-up too.
    void ListenTo(SingleInstance& instance);

private:
    void RunStartUpDialog();
    void RaiseWindow();
    void OpenHandedOver();

    QStringList m_arguments;
    SettingsStore& m_settings;
    std::unique_ptr<CNotesDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    QString m_handedOver;              // a database a later start handed over, not yet opened
    QTimer* m_handOverTimer = nullptr; // retries while a dialog runs
};
