#include "app/CNotesApp.h"

#include "app/AppTexts.h"
#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/CStartUpDlg.h"
#include "app/ProgramOptions.h"
#include "app/SingleInstance.h"
#include "core/Edition.h"
#include "core/NotesMgr.h"
#include "core/SecretWipe.h"
#include "gui/ControlTexts.h"
#include "gui/DialogRunner.h"
#include "gui/FileAssociation.h"
#include "gui/FileDialogs.h"
#include "gui/IconLists.h"
#include "gui/MessageBox.h"
#include "gui/SettingsTable.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>

namespace {
using AppTexts::text;
} // namespace

CNotesApp::CNotesApp(const QStringList& arguments, SettingsStore& settings, QObject* parent)
    : QObject(parent), m_arguments(arguments), m_settings(settings) {}

CNotesApp::~CNotesApp() {
    FileDialogs::SetWorkingFolder({}, {});
}

bool CNotesApp::InitInstance() {
    RegisterFileType(QCoreApplication::applicationFilePath());
    m_doc = std::make_unique<CNotesDoc>(&m_settings);
    // File dialogs start in the open database's folder; for a database not
    // yet saved, in the folder last used in a file dialog.
    FileDialogs::SetWorkingFolder(
        [this] {
            const QString database = m_doc->pathName();
            return database.isEmpty() ? ReadStringSetting(m_settings, Setting::LastFileDialogFolder)
                                      : QFileInfo(database).absolutePath();
        },
        [this](const QString& folder) {
            WriteStringSetting(m_settings, Setting::LastFileDialogFolder, folder);
        });
    // The window stays hidden until its layout is restored.
    m_frame = std::make_unique<CMainFrame>(*this, *m_doc);
    IconLists::instance();
    m_frame->RestoreLayout();
    // Shown first, so that a password prompt for the file comes up over it.
    m_frame->show();
    const bool openFile = !m_arguments.isEmpty();
    if (openFile && !m_doc->OnOpenDocument(m_arguments.front()))
        return false;
    if (!openFile)
        RunStartUpDialog();
    return true;
}

void CNotesApp::ListenTo(SingleInstance& instance) {
    constexpr int kRetryMs = 200;
    m_handOverTimer = new QTimer(this);
    m_handOverTimer->setInterval(kRetryMs);
    connect(m_handOverTimer, &QTimer::timeout, this, &CNotesApp::OpenHandedOver);
    connect(&instance, &SingleInstance::raiseRequested, this, &CNotesApp::RaiseWindow);
    connect(&instance, &SingleInstance::openRequested, this, [this](const QString& path) {
        m_handedOver = path;
        OpenHandedOver();
    });
}

void CNotesApp::RaiseWindow() {
    // The window is shown only once its layout is restored; until then the
    // dialog of the start-up comes forward alone.
    if (m_frame && m_frame->isVisible()) {
        m_frame->showNormal();
        m_frame->raise();
        m_frame->activateWindow();
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void CNotesApp::OpenHandedOver() {
    if (m_handedOver.isEmpty()) {
        m_handOverTimer->stop();
        return;
    }
    // Not inside the start-up dialog or a password prompt: the file opens when they are done.
    if (!m_frame || !m_frame->isVisible() || RunningDialogCount() > 0 || QApplication::activeModalWidget()) {
        m_handOverTimer->start();
        return;
    }
    m_handOverTimer->stop();
    const QString path = std::exchange(m_handedOver, QString());
    OpenDocumentFile(path);
}

void CNotesApp::RunStartUpDialog() {
    CStartUpDlg startUp(
        m_doc->notes(), m_settings, [this](const QString& path) { return OpenDocumentQuietly(path); },
        m_frame.get());
    if (RunDialog(startUp) != CStartUpDlg::kCreateNewResult)
        return;
    if (ShowMessageBox(m_frame.get(), QString::fromStdU16String(Texts::askDefaultFolders),
                       MessageIcon::Question, MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    m_doc->AddDefaultFolders();
}

void CNotesApp::OnFileNew() {
    if (!m_doc->SaveModified())
        return;
    m_doc->OnNewDocument();
}

void CNotesApp::OnFileOpen() {
    const QString path = FileDialogs::GetOpenFileName(m_frame.get(), text(AppTexts::fileFilter));
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

bool CNotesApp::OpenDocumentFile(const QString& path) {
    if (!m_doc->SaveModified())
        return false;
    return m_doc->OnOpenDocument(path);
}

CNotesDoc::OpenOutcome CNotesApp::OpenDocumentQuietly(const QString& path) {
    if (!m_doc->SaveModified())
        return {CNotesDoc::OpenResult::Cancelled, {}};
    return m_doc->OpenDocument(path);
}

void CNotesApp::OnAppAbout() {
    CAboutDlg about(m_frame.get());
    RunDialog(about);
}

int CNotesApp::Main(int argc, char** argv) {
    ForbidCoreDumps();
    // The command line is read before QApplication, which needs a display.
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    const ProgramOptions options = ProgramOptions::Parse(rawArguments);
    if (options.action != ProgramOptions::Action::Run)
        return options.Report();

    QApplication qapp(argc, argv);
    QCoreApplication::setOrganizationName(text(ControlTexts::organisation));
    QCoreApplication::setApplicationName(text(AppTexts::appTitle));
    QGuiApplication::setApplicationDisplayName(text(AppTexts::appTitle));

    SingleInstance instance(QCoreApplication::applicationFilePath());
    if (kHandheld && !instance.claim(options.database))
        return 0;

    QStringList arguments;
    if (!options.database.isEmpty())
        arguments << options.database;
    CNotesApp app(arguments, ProgramSettings());
    QApplication::setWindowIcon(QIcon(IconLists::instance().programIcon(true)));
    app.ListenTo(instance);
    if (!app.InitInstance())
        return 1;
    return qapp.exec();
}
