#pragma once
// The note property sheet: the one dialog in which a folder or a note is
// edited. It works on a working copy of a NoteRecord that the caller owns and
// copies back only when the sheet ends with OK; the sheet never writes the
// database (only the template editor opened from the Data page changes the
// templates). A note shows the pages Notes, Data, File, Icons and Reminder,
// a folder Notes and Icons. Each page writes its fields when it is left; OK leaves the
// active page first and closes only when that succeeds.

#include <QDialog>
#include <QIcon>
#include <QList>
#include <vector>

class NotesMgr;
struct NoteRecord;
class CNotePropPage;
class CNotePropNotes;
class CNotePropData;
class CNotePropFile;
class CNotePropIcon;
class CNotePropReminder;
class QDialogButtonBox;
class QStackedWidget;
class QTabBar;

class CNotePropSheet : public QDialog {
    Q_OBJECT
public:
    // Order of the icons in the tab image list; kUnusedImage belongs to no tab.
    enum TabImage {
        kNotesImage = 0,
        kDataImage = 1,
        kIconsImage = 2,
        kUnusedImage = 3,
        kFileImage = 4,
        kReminderImage = 5
    };

    // `caption` is "Note" when empty; the sheet opens on `startPage`.
    CNotePropSheet(NotesMgr& notes, NoteRecord& record, bool isFolder, const QString& caption = QString(),
                   QWidget* parent = nullptr, int startPage = 0);

    QTabBar* tabBar() const { return m_tabs; }
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    CNotePropPage* page(int index) const { return m_pages[static_cast<size_t>(index)]; }
    int activePage() const;
    // Chooses a tab as a click on it would; false when the active page refused to be left.
    bool SetActivePage(int index);

    // The 16 x 16 tab icons and the image each tab shows.
    const QList<QIcon>& tabImages() const { return m_tabImages; }
    int tabImageIndex(int tab) const { return m_tabImageIndex[static_cast<size_t>(tab)]; }

    CNotePropNotes* notesPage() const { return m_notesPage; }
    // Null for a folder.
    CNotePropData* dataPage() const { return m_dataPage; }
    CNotePropFile* filePage() const { return m_filePage; }
    CNotePropIcon* iconPage() const { return m_iconPage; }
    // Null for a folder.
    CNotePropReminder* reminderPage() const { return m_reminderPage; }
    QDialogButtonBox* buttonBox() const { return m_buttons; }

    // OK: the active page's leave step runs and the sheet closes only if it succeeds.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void AddPage(CNotePropPage* page, const char* caption, TabImage image);
    void OnTabChanged(int index);
    // Goes `step` pages on (back when negative), as the page keys do.
    void StepPage(int step);

    std::vector<CNotePropPage*> m_pages;
    std::vector<int> m_tabImageIndex;
    QList<QIcon> m_tabImages;
    CNotePropNotes* m_notesPage = nullptr;
    CNotePropData* m_dataPage = nullptr;
    CNotePropFile* m_filePage = nullptr;
    CNotePropIcon* m_iconPage = nullptr;
    CNotePropReminder* m_reminderPage = nullptr;
    QTabBar* m_tabs = nullptr;
    QStackedWidget* m_stack = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    int m_startPage = 0;
    bool m_started = false;
    // Set while a refused tab change is put back, so that it is not handled again.
    bool m_restoringTab = false;
};
