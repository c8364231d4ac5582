// Writes a PNG picture of every dialog of this edition into the folder named
// on the command line, rendered offscreen, so the look of both editions can be
// checked without a display.
#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/CNotesApp.h"
#include "app/CNotesView.h"
#include "app/CStartUpDlg.h"
#include "core/Edition.h"
#include "core/MemorySettingsStore.h"
#include "core/NotesMgr.h"
#include "core/TreeOps.h"
#include "dialogs/CCustomizeTemplateDlg.h"
#include "dialogs/CDatabaseProperties.h"
#include "dialogs/CFindDlg.h"
#include "dialogs/CNotePropData.h"
#include "dialogs/CNotePropSheet.h"
#include "dialogs/COptionsDlg.h"
#include "dialogs/CPasswordDlg.h"
#include "dialogs/CReminderAlerts.h"
#include "dialogs/CTemplateDlg.h"
#include "dialogs/CTextDlg.h"
#include "dialogs/FindTarget.h"
#include "dialogs/PasswordKeyboard.h"
#include "editor/CNoteEditor.h"
#include "ftp/CFTPManagerDlg.h"
#include "ftp/CFTPSettingsDlg.h"
#include "ftp/FtpSettingsStore.h"
#include "ftp/PasswordVault.h"
#include "ftp/client/FtpTexts.h"
#include "gui/CColourPopup.h"
#include "gui/CIconsList.h"
#include "gui/CStaticEx.h"
#include "gui/FileAssociation.h"
#include "gui/GuiHelpers.h"
#include "gui/IconLists.h"
#include "gui/QtSettingsStore.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <cstdio>
#include <functional>

namespace {

// A handheld dialog fills a phone screen; a desktop dialog keeps its own size.
const QSize kPhoneSize(360, 600);

class Shooter {
public:
    explicit Shooter(const QString& folder) : m_folder(folder) {}

    // Shows the widget, lets it lay itself out and paints it into "<edition>_<name>.png".
    bool shoot(QWidget& widget, const QString& name, bool phoneSized = false) {
        if (kHandheld && phoneSized)
            widget.resize(kPhoneSize);
        widget.show();
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
        const QString path =
            QDir(m_folder).filePath(QStringLiteral("%1_%2.png").arg(kHandheld ? "pad" : "desk", name));
        const bool saved = widget.grab().save(path);
        std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
        widget.hide();
        m_failures += saved ? 0 : 1;
        return saved;
    }

    int failures() const { return m_failures; }

private:
    QString m_folder;
    int m_failures = 0;
};

int keyShowing(const CPasswordDlg& dlg, const QString& caption) {
    for (int i = 0; i < PasswordKeyboard::kKeyCount; ++i)
        if (dlg.keyboard().caption(i) == caption)
            return i;
    return -1;
}

void shootPasswordDialogs(Shooter& shooter) {
    CPasswordDlg::SetKeyboardShown(false);
    {
        CPasswordDlg dlg;
        shooter.shoot(dlg, QStringLiteral("password_keyboard_hidden"));
    }
    CPasswordDlg::SetKeyboardShown(true);
    {
        CPasswordDlg dlg;
        dlg.OnKey(keyShowing(dlg, QStringLiteral("a")));
        dlg.OnKey(keyShowing(dlg, QStringLiteral("b")));
        shooter.shoot(dlg, QStringLiteral("password_keyboard_shown"));
        dlg.OnKey(keyShowing(dlg, QStringLiteral("Shift")));
        shooter.shoot(dlg, QStringLiteral("password_keyboard_shifted"));
    }
    CPasswordDlg::SetKeyboardShown(false);
}

void shootTemplateDialogs(Shooter& shooter, NotesMgr& mgr) {
    CCustomizeTemplateDlg list(mgr);
    shooter.shoot(list, QStringLiteral("template_list"), true);

    CTemplateDlg form;
    form.setValues(mgr.FindTemplate(1));
    shooter.shoot(form, QStringLiteral("template_form"), true);
}

void shootDatabaseProperties(Shooter& shooter) {
    CDatabaseProperties dlg;
    dlg.setTitle(QStringLiteral("Household"));
    dlg.setDescription(QStringLiteral("Cards, accounts and the car."));
    dlg.setPassword(QStringLiteral("secret"));
    dlg.setRepeat(QStringLiteral("secret"));
    shooter.shoot(dlg, QStringLiteral("database_properties"), true);
}

void shootSmallControls(Shooter& shooter) {
    CTextDlg text;
    text.setText(QStringLiteral("household.nte"));
    shooter.shoot(text, QStringLiteral("text_dialog"), true);

    CColourPopup popup(QPoint(0, 0), CColourPopup::TableColour(13), nullptr);
    shooter.shoot(popup, QStringLiteral("colour_popup"));

    QWidget host;
    auto* layout = new QHBoxLayout(&host);
    auto* icon = new CStaticEx(&host);
    icon->SetIcon(IconLists::instance().noteIcons(true).image(3));
    auto* grid = new CIconsList(&host);
    grid->SetImageList(&IconLists::instance().noteIcons(true));
    grid->SetSelection(5);
    grid->setMinimumSize(300, 200);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addWidget(grid, 1);
    shooter.shoot(host, QStringLiteral("icon_grid_and_icon_label"));
}

void shootPropertySheets(Shooter& shooter, NotesMgr& mgr) {
    const int32_t folderId = mgr.AddNode(0, 2, 1, u"Credit cards", {}, {}, NoteTimestamp::now());
    const int32_t noteId = mgr.AddNode(folderId, 4, 0, u"Travel card", {}, {}, NoteTimestamp::now());
    NoteRecord& stored = *mgr.FindNode(noteId);
    stored.templateId = 1;
    stored.fieldValues[0] = u"A. Holder";
    stored.fieldValues[1] = u"4000 0000 0000 0002";
    stored.fieldValues[2] = u"12/29";
    stored.fieldValues[3] = u"321"; // the CVC shows as dots
    stored.reminderOn = 1;
    stored.repeatKind = RepeatWeekly;
    stored.repeatDays = kMonday | kThursday;

    for (const auto& [id, kind] : {std::pair{folderId, "folder"}, std::pair{noteId, "note"}}) {
        NoteRecord copy = *mgr.FindNode(id);
        const bool isFolder = copy.isFolder != 0;
        CNotePropSheet probe(mgr, copy, isFolder);
        const int pages = probe.pageCount();
        for (int page = 0; page < pages; ++page) {
            NoteRecord working = *mgr.FindNode(id);
            CNotePropSheet sheet(mgr, working, isFolder, QString(), nullptr, page);
            const QString tab = sheet.tabBar()->tabText(page).toLower();
            shooter.shoot(sheet, QStringLiteral("property_sheet_%1_%2").arg(kind, tab), true);
            if (sheet.dataPage() && sheet.activePage() == page && page == 1) {
                // The same with the CVC revealed by its eye button.
                sheet.show();
                sheet.dataPage()->revealButton(3)->click();
                shooter.shoot(sheet, QStringLiteral("property_sheet_%1_%2_revealed").arg(kind, tab), true);
                sheet.hide();
            }
        }
    }
}

// The find dialog needs a tree to search; this one has nothing selected.
class NoTree : public FindTarget {
public:
    explicit NoTree(const NotesMgr& mgr) : m_mgr(mgr) {}
    TreeListing FindWalkOrder() const override { return ListTree(m_mgr); }
    int32_t FindSelection() const override { return -1; }
    void SelectDatabaseItem() override {}
    void SelectFoundNode(int32_t) override {}

private:
    const NotesMgr& m_mgr;
};

void shootFindAndReminders(Shooter& shooter, NotesMgr& mgr) {
    NoTree tree(mgr);
    CFindDlg find(tree);
    find.findWhatEdit()->setText(QStringLiteral("card"));
    shooter.shoot(find, QStringLiteral("find"), true);

    std::vector<int32_t> due;
    for (const char16_t* title : {u"Renew the passport", u"Pay the rent", u"Dentist"})
        due.push_back(mgr.AddNode(0, 5, 0, title, {}, {}, NoteTimestamp::now()));
    CReminderAlerts alerts(mgr, due);
    alerts.list()->setCurrentRow(1);
    shooter.shoot(alerts, QStringLiteral("reminder_window"), true);
}

void shootFtpDialogs(Shooter& shooter) {
    MemorySettingsStore store;
    FtpSettings settings;
    settings.host = "ftp.example.org";
    settings.login = "backup";
    settings.password = "secret";
    settings.directory = "/sealbook";
    WriteFtpSettings(store, NoPasswordVault(), settings);
    CFTPSettingsDlg settingsDlg(store, NoPasswordVault());
    shooter.shoot(settingsDlg, QStringLiteral("ftp_settings"), true);

    CFTPManagerDlg manager(store, NoPasswordVault());
    manager.setListOnOpen(false);
    const std::time_t now = std::time(nullptr);
    manager.showListing({{"household.nte", 48'213, now - 3600},
                         {"household_old.nte", 47'990, now - 86'400 * 3},
                         {"travel.nte", 1'023, now - 86'400 * 40}});
    manager.showStatus(QString::fromUtf8(FtpTexts::done));
    shooter.shoot(manager, QStringLiteral("ftp_manager"), true);
}

// A folder of a few databases (and a folder named like one, which is not
// listed), with fixed times so that every run draws the same picture.
void shootStartUpDialog(Shooter& shooter) {
    QTemporaryDir folder;
    const QDir dir(folder.path());
    const struct {
        const char* name;
        int notes;
        int hour;
    } databases[] = {{"Household.nte", 40, 9}, {"Travel.nte", 3, 14}, {"work accounts.nte", 300, 18}};
    for (const auto& database : databases) {
        NotesMgr mgr;
        NewDatabase(mgr);
        for (int i = 0; i < database.notes; ++i)
            mgr.AddNode(0, 4, 0, u"Note", std::u16string(200, u'x'), {}, NoteTimestamp::now());
        const QString path = dir.filePath(QString::fromUtf8(database.name));
        mgr.Save(QFile::encodeName(path).toStdString());
        QFile file(path);
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(database.hour, 20)),
                             QFileDevice::FileModificationTime);
    }
    dir.mkdir(QStringLiteral("Archive.nte"));

    MemorySettingsStore settings;
    settings.writeString("Settings", "StartUpPath", folder.path().toStdU16String());
    NotesMgr recent;
    recent.recentFiles = {dir.filePath(QStringLiteral("Household.nte")).toStdU16String()};
    CStartUpDlg dlg(recent, settings, [](const QString&) {
        return CNotesDoc::OpenOutcome{CNotesDoc::OpenResult::Cancelled, {}};
    });
    dlg.fileList()->topLevelItem(0)->setSelected(true);
    shooter.shoot(dlg, QStringLiteral("startup_dialog"), true);
}

void shootOptions(Shooter& shooter) {
    MemorySettingsStore store;
    COptionsDlg options(store);
    shooter.shoot(options, QStringLiteral("options_security"));
}

void shootAboutBox(Shooter& shooter) {
    CAboutDlg dlg;
    shooter.shoot(dlg, QStringLiteral("about_box"));
}

// The main window with an example database open, a note with template fields
// selected and the preview shown, then each tree context menu over it. The
// program's settings and desktop registration go to a temporary folder.
void shootMainWindow(Shooter& shooter) {
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    FileAssociation::SetToolRunner([](const QString&, const QStringList&) {});
    SetBinarySettingFiles(home.filePath(QStringLiteral("system.conf")),
                          home.filePath(QStringLiteral("user.conf")));
    QtSettingsStore settings(home.filePath(QStringLiteral("user.conf")));

    NotesMgr mgr;
    NewDatabase(mgr);
    mgr.dbTitle = u"Household";
    mgr.AddDefaultFolders();
    const TemplateRecord* card = nullptr;
    for (const TemplateRecord& t : mgr.templates)
        if (t.name.starts_with(u"Credit") && !card)
            card = &t;
    int32_t cards = 0;
    for (const auto& [id, node] : mgr.nodes)
        if (node.title == u"Credit cards")
            cards = id;
    const char16_t* holders[] = {u"Everyday card", u"Travel card", u"Fuel card"};
    int32_t shown = -1;
    for (const char16_t* title : holders) {
        const int32_t id =
            mgr.AddNode(cards, 12, 0, title, CNoteEditor::LoadStarterText(), {}, NoteTimestamp::now());
        NoteRecord& note = *mgr.FindNode(id);
        if (card)
            note.templateId = card->templateId;
        note.fieldValues = {u"J. Smith", u"4929 1234 5678 9012", u"09/28", u"123",
                            u"",         u"Northfield Bank",     u"Debit"};
        if (shown < 0)
            shown = id;
    }
    // Shown bold in the tree; set years ahead, so that no Reminder window
    // comes up over the picture.
    NoteRecord& reminded = *mgr.FindNode(shown);
    reminded.reminderOn = 1;
    reminded.repeatKind = RepeatOnce;
    reminded.reminderTime.year = 2099;
    const QString file = home.filePath(QStringLiteral("Household.nte"));
    mgr.Save(QFile::encodeName(file).toStdString());

    CNotesApp app({file}, settings);
    if (!app.InitInstance()) {
        std::printf("FAILED to open the example database\n");
        return;
    }
    CMainFrame& frame = app.mainFrame();
    frame.resize(kHandheld ? QSize(360, 600) : QSize(760, 480));
    CNotesView* view = frame.view();
    view->Fill();
    const QModelIndex database = view->model()->index(0, 0);
    for (int row = 0; row < view->model()->rowCount(database); ++row) {
        const QModelIndex folder = view->model()->index(row, 0, database);
        if (folder.data().toString() == QStringLiteral("Credit cards")) {
            view->expand(folder);
            view->setCurrentIndex(view->model()->index(0, 0, folder));
        }
    }
    if (kHandheld)
        frame.Execute(Command::PreviewPane);
    shooter.shoot(frame, QStringLiteral("main_window"));

    frame.show();
    for (const int menuId : {kNoteContextMenu, kFolderContextMenu, kDatabaseContextMenu}) {
        std::unique_ptr<QMenu> menu(frame.BuildContextMenu(menuId, &frame));
        shooter.shoot(*menu, QStringLiteral("context_menu_%1").arg(menuId));
    }
    // Locked: only the file name, the password box, Unlock and Close.
    app.document().notes().password = u"example";
    frame.Lock();
    shooter.shoot(frame, QStringLiteral("main_window_locked"));
    frame.hide();
    FileAssociation::SetToolRunner({});
    SetBinarySettingFiles(QString(), QString());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder for the PNG files>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    NotesMgr mgr;
    NewDatabase(mgr);
    Shooter shooter(folder);
    shootPasswordDialogs(shooter);
    shootTemplateDialogs(shooter, mgr);
    shootDatabaseProperties(shooter);
    shootSmallControls(shooter);
    shootPropertySheets(shooter, mgr);
    shootFindAndReminders(shooter, mgr);
    shootFtpDialogs(shooter);
    shootStartUpDialog(shooter);
    shootAboutBox(shooter);
    shootOptions(shooter);
    shootMainWindow(shooter);
    return shooter.failures() == 0 ? 0 : 1;
}
