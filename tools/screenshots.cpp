// Writes a PNG picture of every dialog of this edition into the folder named
// on the command line, rendered offscreen, so the look of both editions can be
// checked without a display.
#include "core/Edition.h"
#include "core/NotesMgr.h"
#include "core/TreeOps.h"
#include "dialogs/CCustomizeTemplateDlg.h"
#include "dialogs/CDatabaseProperties.h"
#include "dialogs/CNotePropSheet.h"
#include "dialogs/CPasswordDlg.h"
#include "dialogs/CTemplateDlg.h"
#include "dialogs/CTextDlg.h"
#include "dialogs/PasswordKeyboard.h"
#include "gui/CColourPopup.h"
#include "gui/CIconsList.h"
#include "gui/CStaticEx.h"
#include "gui/IconLists.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
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
        }
    }
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
    return shooter.failures() == 0 ? 0 : 1;
}
