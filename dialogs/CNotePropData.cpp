#include "dialogs/CNotePropData.h"

#include "core/ConcealedValues.h"
#include "core/Edition.h"
#include "core/NoteRecord.h"
#include "core/NotesMgr.h"
#include "core/TemplateRecord.h"
#include "core/Texts.h"
#include "dialogs/CCustomizeTemplateDlg.h"
#include "dialogs/PropSheetTexts.h"
#include "gui/DialogRunner.h"
#include "gui/GuiHelpers.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

namespace {

constexpr int kMargin = 5;
constexpr int kRowGap = 4;
// The caption column is at least this wide; it widens for a longer caption,
// up to half the page.
constexpr int kCaptionWidth = kHandheld ? 90 : 120;

CNotePropData::TemplateEditorRunner& editorRunner() {
    static CNotePropData::TemplateEditorRunner runner;
    return runner;
}

} // namespace

CNotePropData::CNotePropData(NotesMgr& notes, NoteRecord& record, QWidget* parent)
    : CNotePropPage(record, false, parent), m_notes(notes) {
    m_typeLabel = new QLabel(QString::fromUtf8(PropSheetTexts::accountType), this);
    m_templates = new QComboBox(this);
    MakeLabelBold(m_typeLabel);
    MakeLabelBold(m_templates);
    const QIcon eye = QIcon::fromTheme(QStringLiteral("view-visible"));
    for (int i = 0; i < kRowCount; ++i) {
        m_captions[i] = new QLabel(this);
        m_values[i] = new QLineEdit(this);
        m_reveal[i] = new QToolButton(this);
        m_reveal[i]->setCheckable(true);
        m_reveal[i]->setFocusPolicy(Qt::NoFocus);
        m_reveal[i]->setToolTip(QString::fromUtf8(PropSheetTexts::revealValue));
        if (eye.isNull())
            m_reveal[i]->setText(QString::fromUtf8(PropSheetTexts::revealValueShort));
        else
            m_reveal[i]->setIcon(eye);
        m_captions[i]->hide();
        m_values[i]->hide();
        m_reveal[i]->hide();
        connect(m_reveal[i], &QToolButton::toggled, this, [this, i] { SetRowValue(i, rowValue(i)); });
    }
    m_scroll = new QScrollBar(Qt::Vertical, this);
    m_scroll->setSingleStep(kLineStep);
    m_scroll->hide();

    // Fixed places for every control at scroll position 0; rows keep their
    // places whether shown or not.
    const int labelWidth = std::max(kCaptionWidth, m_typeLabel->sizeHint().width());
    const int boxX = kMargin + labelWidth + kMargin;
    const int comboHeight = m_templates->sizeHint().height();
    m_typeLabel->setGeometry(kMargin, kMargin, labelWidth, comboHeight);
    m_templates->setGeometry(boxX, kMargin, m_templates->sizeHint().width(), comboHeight);
    const int boxHeight = m_values[0]->sizeHint().height();
    int y = kMargin + comboHeight + 2 * kRowGap;
    for (int i = 0; i < kRowCount; ++i) {
        m_captions[i]->setGeometry(kMargin, y, labelWidth, boxHeight);
        m_values[i]->setGeometry(boxX, y, m_values[i]->sizeHint().width(), boxHeight);
        // Square with the eye; as wide as "Show" where the theme has no eye.
        m_reveal[i]->setGeometry(0, y, std::max(boxHeight, m_reveal[i]->sizeHint().width()), boxHeight);
        y += boxHeight + kRowGap;
    }

    connect(m_templates, &QComboBox::currentIndexChanged, this, [this] { HandleSelection(); });
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) { ScrollTo(value); });
}

CNotePropData::TemplateEditorRunner CNotePropData::SetTemplateEditorRunner(TemplateEditorRunner runner) {
    TemplateEditorRunner previous = std::move(editorRunner());
    editorRunner() = std::move(runner);
    return previous;
}

void CNotePropData::OnFirstShow() {
    ApplyDefaultIcon();
    FillTemplateList();
    HandleSelection();
}

void CNotePropData::OnSetActive() {
    // Only template entries can be the note's template: a stored id that
    // happens to equal the separator's or the editor entry's data selects nothing.
    const int entry = m_record.templateId >= 0 ? FindEntry(m_record.templateId) : -1;
    {
        const QSignalBlocker block(m_templates);
        m_templates->setCurrentIndex(entry);
    }
    HandleSelection();
    for (int i = 0; i < kRowCount; ++i)
        SetRowValue(i, QString::fromStdU16String(m_record.fieldValues[i]));
}

bool CNotePropData::OnKillActive() {
    if (m_record.title.empty()) {
        ShowEmptyTitleMessage(this);
        return false;
    }
    // With nothing selected (the note's template no longer exists) the note
    // keeps its template id.
    if (m_templates->currentIndex() >= 0)
        m_record.templateId = SelectedData();
    for (int i = 0; i < kRowCount; ++i)
        m_record.fieldValues[i] = rowValue(i).toStdU16String();
    return true;
}

QString CNotePropData::rowValue(int row) const {
    return m_showsDots[row] ? m_hiddenValues[row] : m_values[row]->text();
}

void CNotePropData::SetRowValue(int row, const QString& value) {
    QLineEdit* box = m_values[row];
    const bool revealed = m_reveal[row]->isChecked();
    // An empty secret has nothing to hide: it is typed with the box's own dots.
    m_showsDots[row] = m_concealed[row] && !revealed && !value.isEmpty();
    m_hiddenValues[row] = m_showsDots[row] ? value : QString();
    box->setText(m_showsDots[row] ? QString::fromStdU16String(Texts::concealedValue) : value);
    box->setReadOnly(m_showsDots[row]);
    box->setEchoMode(m_concealed[row] && !revealed && value.isEmpty() ? QLineEdit::Password
                                                                      : QLineEdit::Normal);
}

void CNotePropData::ConcealAll() {
    for (int i = 0; i < kRowCount; ++i) {
        if (m_reveal[i]->isChecked()) {
            const QString value = rowValue(i);
            const QSignalBlocker block(m_reveal[i]);
            m_reveal[i]->setChecked(false);
            SetRowValue(i, value);
        }
    }
}

void CNotePropData::hideEvent(QHideEvent* event) {
    CNotePropPage::hideEvent(event);
    ConcealAll();
}

void CNotePropData::FillTemplateList() {
    const QSignalBlocker block(m_templates);
    m_templates->clear();
    m_templates->addItem(QString::fromUtf16(Texts::noneTemplate), kNoneEntry);
    // The same order as the template editor's list: by name, ignoring case.
    CCustomizeTemplateDlg::SortTemplates(m_notes);
    for (const TemplateRecord& t : m_notes.templates)
        m_templates->addItem(QString::fromStdU16String(t.name), t.templateId);
    m_templates->addItem(QString::fromUtf8(PropSheetTexts::separatorEntry), kSeparatorEntry);
    m_templates->addItem(QString::fromUtf8(PropSheetTexts::editTemplatesEntry), kEditTemplatesEntry);
    m_templates->setCurrentIndex(0);
}

int CNotePropData::SelectedData() const {
    return m_templates->currentData().toInt();
}

int CNotePropData::FindEntry(int data) const {
    return m_templates->findData(data);
}

void CNotePropData::HandleSelection() {
    const int index = m_templates->currentIndex();
    if (index < 0)
        return;
    const int data = SelectedData();
    if (data == kSeparatorEntry) {
        const QSignalBlocker block(m_templates);
        m_templates->setCurrentIndex(m_lastIndex);
        return;
    }
    if (data == kEditTemplatesEntry) {
        RunTemplateEditor();
        return;
    }
    if (index != m_lastIndex)
        LayoutRows(data, true);
    m_lastIndex = index;
    m_lastTemplateId = data;
}

void CNotePropData::RunTemplateEditor() {
    if (editorRunner()) {
        editorRunner()(m_notes, this);
    } else {
        CCustomizeTemplateDlg dialog(m_notes, this);
        ExecDialog(dialog);
    }
    FillTemplateList();
    const int entry = FindEntry(m_lastTemplateId);
    if (entry >= 0) {
        {
            const QSignalBlocker block(m_templates);
            m_templates->setCurrentIndex(entry);
        }
        // The entry may have moved (templates are sorted by name again) and its
        // captions may have been edited: remember where it is now and relabel
        // the rows, keeping every value typed so far.
        m_lastIndex = entry;
        LayoutRows(m_lastTemplateId, false);
        return;
    }
    {
        const QSignalBlocker block(m_templates);
        m_templates->setCurrentIndex(0);
    }
    m_lastIndex = 0;
    m_lastTemplateId = 0;
    LayoutRows(kNoneEntry, true);
}

void CNotePropData::LayoutRows(int templateId, bool clearValues) {
    const TemplateRecord* layout = templateId == kNoneEntry ? nullptr : &m_notes.FindTemplate(templateId);
    QLineEdit* lastShown = nullptr;
    for (int i = 0; i < kRowCount; ++i) {
        const QString value = clearValues ? QString() : rowValue(i);
        const std::u16string caption = layout ? layout->caption(i) : std::u16string();
        m_concealed[i] = IsConcealedCaption(caption);
        {
            const QSignalBlocker block(m_reveal[i]);
            m_reveal[i]->setChecked(false);
        }
        SetRowValue(i, value);
        m_reveal[i]->setVisible(!caption.empty() && m_concealed[i]);
        if (!caption.empty()) {
            m_captions[i]->setText(QString::fromStdU16String(caption));
            m_captions[i]->show();
            m_values[i]->show();
            lastShown = m_values[i];
        } else {
            m_captions[i]->hide();
            m_values[i]->hide();
        }
    }
    if (lastShown) {
        // Places are kept unscrolled: the children currently sit m_scrollPos higher.
        m_contentHeight = lastShown->y() + m_scrollPos + lastShown->height() + kMargin;
        m_scrollStep = lastShown->height();
    } else {
        m_contentHeight = 0;
        m_scrollStep = 0;
    }
    FitCaptionColumn();
    m_lastClientHeight = -1;
    ScrollLayout();
}

void CNotePropData::FitCaptionColumn() {
    int labelWidth = std::max(kCaptionWidth, m_typeLabel->sizeHint().width());
    for (const QLabel* caption : m_captions)
        if (!caption->isHidden())
            labelWidth = std::max(labelWidth, caption->sizeHint().width());
    if (width() / 2 > kCaptionWidth)
        labelWidth = std::min(labelWidth, width() / 2);
    const int boxX = kMargin + labelWidth + kMargin;
    m_typeLabel->resize(labelWidth, m_typeLabel->height());
    m_templates->move(boxX, m_templates->y());
    for (int i = 0; i < kRowCount; ++i) {
        m_captions[i]->resize(labelWidth, m_captions[i]->height());
        m_values[i]->move(boxX, m_values[i]->y());
    }
}

void CNotePropData::ScrollLayout() {
    const int usable = height() - 2 * kMargin;
    if (usable != m_lastClientHeight) {
        m_lastClientHeight = usable;
        MoveChildren(m_scrollPos);
        m_scrollPos = 0;
        const QSignalBlocker block(m_scroll);
        if (m_contentHeight > usable) {
            m_scrollRange = m_contentHeight - usable + kMargin;
            m_scroll->setRange(0, m_scrollRange);
            m_scroll->setPageStep(m_scrollStep);
            m_scroll->setValue(0);
            m_scroll->show();
        } else {
            m_scrollRange = 0;
            m_scroll->hide();
        }
    }
    // A change of width alone still has to stretch the boxes.
    StretchToRightMargin();
}

void CNotePropData::StretchToRightMargin() {
    int clientWidth = width();
    if (!m_scroll->isHidden()) {
        const int barWidth = m_scroll->sizeHint().width();
        clientWidth -= barWidth;
        m_scroll->setGeometry(clientWidth, 0, barWidth, height());
    }
    const int right = clientWidth - kMargin;
    auto stretch = [](QWidget* w, int to) { w->resize(std::max(0, to - w->x()), w->height()); };
    stretch(m_templates, right);
    // A secret's box leaves room for its eye button at the right margin.
    for (int i = 0; i < kRowCount; ++i) {
        QToolButton* eye = m_reveal[i];
        stretch(m_values[i], m_concealed[i] ? right - eye->width() - kRowGap : right);
        eye->move(right - eye->width(), m_values[i]->y());
    }
}

void CNotePropData::ScrollTo(int position) {
    position = std::clamp(position, 0, m_scrollRange);
    if (position == m_scrollPos)
        return;
    const int old = m_scrollPos;
    m_scrollPos = position;
    {
        const QSignalBlocker block(m_scroll);
        m_scroll->setValue(position);
    }
    MoveChildren(old - position);
}

void CNotePropData::MoveChildren(int dy) {
    if (dy == 0)
        return;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != m_scroll)
            child->move(child->x(), child->y() + dy);
    }
}

void CNotePropData::resizeEvent(QResizeEvent* event) {
    CNotePropPage::resizeEvent(event);
    FitCaptionColumn();
    ScrollLayout();
}

void CNotePropData::wheelEvent(QWheelEvent* event) {
    if (m_scroll->isHidden()) {
        event->ignore();
        return;
    }
    const int lines = event->angleDelta().y() / 40;
    ScrollTo(m_scrollPos - lines * kLineStep);
    event->accept();
}
