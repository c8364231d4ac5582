#pragma once
// The Data page: the note's template ("Account Type:") and the values of the
// seven data fields that the template labels. The rows are laid out again only
// when the chosen entry changes, so a tab switch keeps what was typed; a
// template change empties every box. The content scrolls when the page is too
// short for it. A secret field (PIN, password ...) shows a row of dots and an
// eye button that reveals it for editing; the dots come back whenever the
// page is hidden (another tab, a locked program).

#include "dialogs/CNotePropPage.h"

#include <QString>
#include <array>
#include <functional>

class NotesMgr;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class QToolButton;

class CNotePropData : public CNotePropPage {
    Q_OBJECT
public:
    // Data of the drop-down entries that are not templates.
    static constexpr int kNoneEntry = 0;
    static constexpr int kSeparatorEntry = -1;
    static constexpr int kEditTemplatesEntry = -2;
    static constexpr int kRowCount = 7;
    // Lines scrolled by one step of the scroll bar arrows.
    static constexpr int kLineStep = 7;

    CNotePropData(NotesMgr& notes, NoteRecord& record, QWidget* parent = nullptr);

    QComboBox* templateList() const { return m_templates; }
    QLabel* captionLabel(int row) const { return m_captions[row]; }
    QLineEdit* valueBox(int row) const { return m_values[row]; }
    QToolButton* revealButton(int row) const { return m_reveal[row]; }
    // The row's value, whether it shows or is concealed.
    QString rowValue(int row) const;
    bool isConcealedRow(int row) const { return m_concealed[row]; }
    QScrollBar* scrollBar() const { return m_scroll; }
    int contentHeight() const { return m_contentHeight; }
    int scrollPosition() const { return m_scrollPos; }

    // Runs the template editor on the database; tests replace it (an empty
    // function restores the real dialog) and get the previous one back.
    using TemplateEditorRunner = std::function<void(NotesMgr&, QWidget*)>;
    static TemplateEditorRunner SetTemplateEditorRunner(TemplateEditorRunner runner);

protected:
    void OnFirstShow() override;
    void OnSetActive() override;
    bool OnKillActive() override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FillTemplateList();
    void HandleSelection();
    void RunTemplateEditor();
    // Shows the rows whose captions the template has; `clearValues` empties every box.
    void LayoutRows(int templateId, bool clearValues);
    void ScrollLayout();
    void StretchToRightMargin();
    // Widens the caption column so that the shown captions are not cut.
    void FitCaptionColumn();
    void ScrollTo(int position);
    void MoveChildren(int dy);
    // Shows `value` in the row as its concealment and reveal state say.
    void SetRowValue(int row, const QString& value);
    void ConcealAll();
    int SelectedData() const;
    int FindEntry(int data) const;

    NotesMgr& m_notes;
    QLabel* m_typeLabel = nullptr;
    QComboBox* m_templates = nullptr;
    std::array<QLabel*, kRowCount> m_captions{};
    std::array<QLineEdit*, kRowCount> m_values{};
    std::array<QToolButton*, kRowCount> m_reveal{};
    std::array<bool, kRowCount> m_concealed{};
    // The value of a row that shows dots instead.
    std::array<QString, kRowCount> m_hiddenValues;
    std::array<bool, kRowCount> m_showsDots{};
    QScrollBar* m_scroll = nullptr;

    int m_lastIndex = -1;
    int m_lastTemplateId = 0;
    int m_scrollPos = 0;
    int m_scrollRange = 0;
    int m_scrollStep = 0;
    int m_contentHeight = 0;
    int m_lastClientHeight = -1;
};
