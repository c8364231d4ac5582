#pragma once
// The rich-text note editor: shows and edits a note body everywhere, editable
// on the notes page and read-only in the previews. It moves a body in and out
// (RTF, or plain text when the body is not RTF), shows links found in the text
// and opens them on a click, and offers the formatting and editing commands in
// its context menu, including the spelling check.

#include "editor/LinkFinder.h"

#include <QPoint>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QMimeData;
class SettingsStore;

class CNoteEditor : public QTextEdit {
public:
    // The child id every host gives the control; kept as its object name.
    static constexpr int kControlId = 1093;
    // After a load or a change the links are found again and the text repainted once this long after.
    static constexpr int kRepaintDelayMs = 50;
    // Handheld: how long a press is held before it opens the context menu.
    static constexpr int kHoldDelayMs = 600;
    // The clipboard format of RTF.
    static constexpr const char* kRtfMimeType = "text/rtf";

    CNoteEditor(QWidget* parent, bool readOnly);

    bool isReadOnlyEditor() const { return m_readOnlyEditor; }

    // A body is RTF when its first ten characters hold "{\rtf", "{\urtf" or "{\pwd" in any case.
    static bool IsRtfBody(const std::u16string& body);
    // Puts a body in: the whole content, or in place of the selection.
    void LoadBody(const std::u16string& body, bool atSelection = false);
    // Shows a document built elsewhere and takes it over: the one shown before
    // goes if the editor made it, the caret goes to the start and the links
    // are found again. A document not shown yet is laid out step by step.
    void ShowNewDocument(QTextDocument* fresh);
    // The text of a body that is not RTF: each line end becomes one paragraph break.
    static QString PlainBodyText(const std::u16string& body);
    // The whole content, always as RTF.
    std::u16string StoreBody() const;
    // The text of a body without its formatting.
    static std::u16string BodyToPlainText(const std::u16string& body);
    // The body every new note starts with.
    static std::u16string LoadStarterText();

    // Builds the context menu for the current selection, tracks it at the
    // screen point and carries out the chosen command.
    void ShowContextMenu(const QPoint& globalPos);
    bool isMenuOpen() const { return m_menuOpen; }
    // Tracks a popup menu of this editor (context or spelling) with the arrow cursor shown.
    QAction* trackMenu(QMenu& menu, const QPoint& globalPos);

    // The links shown, in document positions, and the one under a viewport point.
    const std::vector<LinkRange>& links() const { return m_links; }
    std::optional<LinkRange> linkAt(const QPoint& viewportPos) const;
    QString linkText(const LinkRange& link) const;

    // Where the spell checker keeps the user's words; the program's settings unless set.
    void setSettingsStore(SettingsStore* store) { m_settings = store; }
    SettingsStore& settingsStore() const;

    // The host's own entries, added to the end of the context menu.
    using MenuExtender = std::function<void(QMenu&)>;
    void setMenuExtender(MenuExtender extender) { m_menuExtender = std::move(extender); }
    const MenuExtender& menuExtender() const { return m_menuExtender; }
    // Sees the clipboard data of every copy (and drag) of the selection.
    using CopyFilter = std::function<void(QMimeData&)>;
    void setCopyFilter(CopyFilter filter) { m_copyFilter = std::move(filter); }

    // Finds the links again at once (a load does this itself).
    void refreshLinks();
    void restartRepaintTimer() { m_repaintTimer.start(); }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The clipboard carries the selection as RTF too, so formatting and
    // pictures survive a copy from one note to another.
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Gives the links in view their link look.
    void showVisibleLinks();
    void openLink(const LinkRange& link);
    void onHold();

    bool m_readOnlyEditor;
    bool m_menuOpen = false;
    QTimer m_repaintTimer;
    std::vector<LinkRange> m_links;
    bool m_linksStale = false; // the text changed since the links were found
    SettingsStore* m_settings = nullptr;
    MenuExtender m_menuExtender;
    CopyFilter m_copyFilter;
    // Handheld press-and-hold state.
    QTimer m_holdTimer;
    QPoint m_holdPos;
    std::optional<LinkRange> m_pressedLink;
};
