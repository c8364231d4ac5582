#pragma once
// What every page of the note property sheet shares: the working record it
// edits and the page cycle. A page is built with the sheet, creates its
// windows the first time its tab is chosen, is made active on every change to
// its tab and is left when another tab is chosen or OK is pressed; a page
// whose leave step fails keeps its tab.

#include <QString>
#include <QWidget>

struct NoteRecord;
struct NoteTimestamp;

class CNotePropPage : public QWidget {
    Q_OBJECT
public:
    CNotePropPage(NoteRecord& record, bool isFolder, QWidget* parent = nullptr);

    // Runs the first-show step once, then the activation step.
    void Activate();
    // The leave step; false keeps the page (and its tab) selected.
    bool Leave() { return OnKillActive(); }

    bool WasShown() const { return m_shown; }
    // Gives the focus to the page's first control in tab order (the title on the Notes page).
    void FocusFirstField();
    bool IsFolder() const { return m_isFolder; }

    // A time stamp written "%I:%M %p, %x" (hour 01-12, minute, AM/PM, the locale's date).
    static QString FormatTime(const NoteTimestamp& time);
    // The edition's refusal of an empty title, with an exclamation icon.
    static void ShowEmptyTitleMessage(QWidget* parent);

protected:
    virtual void OnFirstShow() {}
    virtual void OnSetActive() {}
    virtual bool OnKillActive() { return true; }

    // A record still carrying the default icon gets the first real one of its kind.
    void ApplyDefaultIcon();

    NoteRecord& m_record;
    const bool m_isFolder;

private:
    bool m_shown = false;
};
