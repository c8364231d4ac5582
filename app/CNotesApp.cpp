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
#include <QIcon>

namespace {
using AppTexts::text;
} // namespace

CNotesApp::CNotesApp(const QStringList& arguments, SettingsStore& settings, QObject* parent)
    : QObject(parent), m_arguments(arguments), m_settings(settings) {}

CNotesApp::~CNotesApp() = default;

bool CNotesApp::InitInstance() {
    RegisterFileType(QCoreApplication::applicationFilePath());
    m_doc = std::make_unique<CNotesDoc>(&m_settings);
    // The window stays hidden until its layout is restored.
    m_frame = std::make_unique<CMainFrame>(*this, *m_doc);
    const bool openFile = !m_arguments.isEmpty();
    if (openFile && !m_doc->OnOpenDocument(m_arguments.front()))
        return false;
    IconLists::instance();
    m_frame->RestoreLayout();
    m_frame->show();
    if (!openFile)
        RunStartUpDialog();
    return true;
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
    m_doc->notes().AddDefaultFolders();
    m_doc->updateAllViews();
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
    if (kHandheld && !instance.claim())
        return 0;

    QStringList arguments;
    if (!options.database.isEmpty())
        arguments << options.database;
    CNotesApp app(arguments, ProgramSettings());
    QApplication::setWindowIcon(QIcon(IconLists::instance().programIcon(true)));
    if (!app.InitInstance())
        return 1;
    QObject::connect(&instance, &SingleInstance::raiseRequested, &app, [&app] {
        CMainFrame& frame = app.mainFrame();
        frame.showNormal();
        frame.raise();
        frame.activateWindow();
    });
    return qapp.exec();
}
