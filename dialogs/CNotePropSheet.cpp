#include "dialogs/CNotePropSheet.h"

#include "core/Edition.h"
#include "core/NoteRecord.h"
#include "dialogs/CNotePropData.h"
#include "dialogs/CNotePropFile.h"
#include "dialogs/CNotePropIcon.h"
#include "dialogs/CNotePropNotes.h"
#include "dialogs/CNotePropReminder.h"
#include "dialogs/PropSheetTexts.h"
#include "gui/DialogMenuBar.h"
#include "gui/IconLists.h"

#include <QDialogButtonBox>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kTabIconSize = 16;

// The tab icons come from the desktop's icon theme; where the theme lacks one
// the widget style's own picture of the same kind stands in, so every tab
// always has its image.
QList<QIcon> LoadTabImages(const QStyle* style) {
    struct Source {
        const char* themeName;
        QStyle::StandardPixmap fallback;
    };
    static const Source sources[] = {
        {"document-edit", QStyle::SP_FileDialogContentsView},
        {"view-form", QStyle::SP_FileDialogDetailedView},
        {"preferences-desktop-icons", QStyle::SP_DesktopIcon},
        {"dialog-information", QStyle::SP_MessageBoxInformation},
        {"mail-attachment", QStyle::SP_FileIcon},
        {"appointment-new", QStyle::SP_BrowserReload},
    };
    QList<QIcon> images;
    for (const Source& source : sources) {
        QIcon icon = QIcon::fromTheme(QString::fromLatin1(source.themeName));
        if (icon.isNull())
            icon = style->standardIcon(source.fallback);
        if (icon.isNull())
            icon = QIcon(IconLists::Placeholder(QStringLiteral("tab"), int(images.size()), kTabIconSize));
        images << icon;
    }
    return images;
}

} // namespace

CNotePropSheet::CNotePropSheet(NotesMgr& notes, NoteRecord& record, bool isFolder, const QString& caption,
                               QWidget* parent, int startPage)
    : QDialog(parent), m_startPage(startPage) {
    setWindowTitle(caption.isEmpty() ? QString::fromUtf8(PropSheetTexts::caption) : caption);
    m_tabImages = LoadTabImages(style());

    m_tabs = new QTabBar(this);
    m_tabs->setIconSize(QSize(kTabIconSize, kTabIconSize));
    m_tabs->setExpanding(false);
    m_stack = new QStackedWidget(this);

    // Every page is built with the sheet; its windows come at its first show.
    m_notesPage = new CNotePropNotes(record, isFolder);
    AddPage(m_notesPage, PropSheetTexts::notesTab, kNotesImage);
    if (!isFolder) {
        m_dataPage = new CNotePropData(notes, record);
        AddPage(m_dataPage, PropSheetTexts::dataTab, kDataImage);
        m_filePage = new CNotePropFile(record);
        AddPage(m_filePage, PropSheetTexts::fileTab, kFileImage);
    }
    m_iconPage = new CNotePropIcon(record, isFolder);
    AddPage(m_iconPage, PropSheetTexts::iconsTab, kIconsImage);
    if (!isFolder) {
        m_reminderPage = new CNotePropReminder(record);
        AddPage(m_reminderPage, PropSheetTexts::reminderTab, kReminderImage);
    }
    m_startPage = std::clamp(startPage, 0, pageCount() - 1);
    m_tabs->setCurrentIndex(m_startPage);
    m_stack->setCurrentIndex(m_startPage);

    // Desktop: OK and Cancel buttons (no Apply). Handheld: the same two
    // commands on the soft-key bar, which takes the buttons' place.
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kHandheld ? 0 : 6, kHandheld ? 0 : 6, kHandheld ? 0 : 6, kHandheld ? 0 : 6);
    layout->setSpacing(kHandheld ? 0 : 6);
    layout->addWidget(m_tabs);
    layout->addWidget(m_stack, 1);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CNotePropSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CNotePropSheet::reject);
    CreateDialogMenuBar(this, m_buttons);

    connect(m_tabs, &QTabBar::currentChanged, this, &CNotePropSheet::OnTabChanged);
    // Ctrl+Tab and Ctrl+PgDn go to the next page, Ctrl+Shift+Tab and Ctrl+PgUp
    // to the previous one, round the ends.
    const std::pair<QKeyCombination, int> pageKeys[] = {{Qt::CTRL | Qt::Key_Tab, 1},
                                                        {Qt::CTRL | Qt::Key_PageDown, 1},
                                                        {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
                                                        {Qt::CTRL | Qt::Key_PageUp, -1}};
    for (const auto& [key, step] : pageKeys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] { StepPage(step); });
    }
    // The handheld sheet takes the whole window, as a phone's dialogs do (the window
    // fitter brings it within the main window).
    resize(kHandheld ? QSize(360, 640) : QSize(420, 440));
}

void CNotePropSheet::AddPage(CNotePropPage* page, const char* caption, TabImage image) {
    m_pages.push_back(page);
    m_tabImageIndex.push_back(image);
    m_stack->addWidget(page);
    m_tabs->addTab(m_tabImages[image], QString::fromUtf8(caption));
}

int CNotePropSheet::activePage() const {
    return m_stack->currentIndex();
}

bool CNotePropSheet::SetActivePage(int index) {
    m_tabs->setCurrentIndex(index);
    return activePage() == index;
}

void CNotePropSheet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        page(m_startPage)->Activate();
        page(m_startPage)->FocusFirstField();
    }
}

void CNotePropSheet::StepPage(int step) {
    const int count = pageCount();
    if (SetActivePage((activePage() + step + count) % count))
        page(activePage())->FocusFirstField();
}

void CNotePropSheet::OnTabChanged(int index) {
    if (m_restoringTab || index < 0 || index == activePage())
        return;
    if (!page(activePage())->Leave()) {
        // The page refused: its tab stays selected.
        m_restoringTab = true;
        m_tabs->setCurrentIndex(activePage());
        m_restoringTab = false;
        return;
    }
    m_stack->setCurrentIndex(index);
    page(index)->Activate();
}

void CNotePropSheet::accept() {
    // A page not shown yet has nothing to write.
    CNotePropPage* active = page(activePage());
    if (active->WasShown() && !active->Leave())
        return;
    QDialog::accept();
}
