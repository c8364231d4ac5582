#include "dialogs/CPasswordDlg.h"

#include "core/Edition.h"
#include "dialogs/DialogTexts.h"
#include "gui/DialogMenuBar.h"
#include "gui/GuiHelpers.h"
#include "gui/OffUiThread.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

namespace {

bool g_keyboardShown = false;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Key geometry in dialog units: size, pitch and row distance per edition.
struct KeyMetrics {
    int width, height, pitch, rowPitch;
};
constexpr KeyMetrics kKeyMetrics = kHandheld ? KeyMetrics{10, 12, 11, 14} : KeyMetrics{13, 14, 14, 16};
constexpr int kMargin = 7;           // dialog units
constexpr int kButtonWidth = 50;     // dialog units
constexpr int kBottomGap = 10;       // pixels below the lowest control
constexpr int kKeyboardColumns = 14; // keys in the longest row

// Dialog units from the font, as a dialog template would scale them.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics fm(font);
        m_x = std::max(
            1, fm.horizontalAdvance(QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ")) /
                   52);
        m_y = std::max(1, fm.height());
    }
    int x(int units) const { return (units * m_x + 2) / 4; }
    // Half dialog units, for keys placed on half a pitch.
    int xHalf(int halfUnits) const { return (halfUnits * m_x + 4) / 8; }
    int y(int units) const { return (units * m_y + 4) / 8; }

private:
    int m_x, m_y;
};

} // namespace

bool CPasswordDlg::IsKeyboardShown() {
    return g_keyboardShown;
}

void CPasswordDlg::SetKeyboardShown(bool shown) {
    g_keyboardShown = shown;
}

CPasswordDlg::CPasswordDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(text(kHandheld ? DialogTexts::passwordTitlePad : DialogTexts::passwordTitleDesk));

    m_client = new QWidget(this);
    m_prompt = new QLabel(text(kHandheld ? DialogTexts::passwordLabelPad : DialogTexts::passwordLabelDesk),
                          m_client);
    m_box = new QLineEdit(m_client);
    m_box->setEchoMode(QLineEdit::Password);
    m_box->setMaxLength(std::numeric_limits<int>::max());
    m_prompt->setBuddy(m_box);

    m_toggle = new QLabel(m_client);
    m_toggle->setCursor(Qt::PointingHandCursor);
    m_toggle->installEventFilter(this);
    // In the toggle's place while the work of OK runs: a bar without an end.
    m_busy = new QProgressBar(m_client);
    m_busy->setRange(0, 0);
    m_busy->setTextVisible(false);
    m_busy->hide();

    for (int i = 0; i < PasswordKeyboard::kKeyCount; ++i) {
        auto* key = new QPushButton(m_client);
        // The keys never take the focus or the Enter key: the focus stays
        // with the password box, and Enter means OK, not "type this key again".
        key->setFocusPolicy(Qt::NoFocus);
        key->setAutoDefault(false);
        key->setStyleSheet(QStringLiteral("padding: 0px;"));
        connect(key, &QPushButton::clicked, this, [this, i] { OnKey(i); });
        m_keys[static_cast<size_t>(i)] = key;
    }

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, m_client);
    m_buttons->button(QDialogButtonBox::Ok)->setText(text(DialogTexts::ok));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(text(DialogTexts::cancel));
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CPasswordDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CPasswordDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_client);
    CreateDialogMenuBar(this, m_buttons);

    LayOut();
    MakeLabelBold(m_toggle);
    ApplyKeyboardState();
    SetKeyCaptions();
}

void CPasswordDlg::LayOut() {
    const DialogUnits du(font());
    const KeyMetrics& k = kKeyMetrics;
    const int margin = du.x(kMargin);
    const int keyboardWidth = du.x(kKeyboardColumns * k.pitch - (k.pitch - k.width));
    const int width = 2 * margin + keyboardWidth;

    const int labelHeight = du.y(8);
    const int boxHeight = du.y(12);
    const int buttonColumn = kHandheld ? 0 : du.x(kButtonWidth) + margin;
    int y = du.y(kMargin);

    m_prompt->setGeometry(margin, y, width - 2 * margin - buttonColumn, labelHeight);
    y += labelHeight + du.y(2);
    m_box->setGeometry(margin, y, width - 2 * margin - buttonColumn, boxHeight);
    if (!kHandheld) {
        m_buttons->setGeometry(width - margin - du.x(kButtonWidth), du.y(kMargin), du.x(kButtonWidth),
                               du.y(2 * 14 + 4));
    }
    y = std::max(y + boxHeight, kHandheld ? 0 : m_buttons->geometry().bottom() + 1) + du.y(6);

    m_toggle->setGeometry(margin, y, width - 2 * margin, labelHeight + du.y(2));
    m_busy->setGeometry(m_toggle->geometry());
    y += m_toggle->height() + du.y(4);

    for (int i = 0; i < PasswordKeyboard::kKeyCount; ++i) {
        const PasswordKeyboard::KeyPlace place = PasswordKeyboard::place(i);
        // Half pitches to pixels; a key spanning n half pitches is as wide as
        // those pitches less the gap between two keys.
        const int left = margin + du.xHalf(place.halfColumn * k.pitch);
        const int right =
            margin + du.xHalf((place.halfColumn + place.halfWidth) * k.pitch - 2 * (k.pitch - k.width));
        m_keys[static_cast<size_t>(i)]->setGeometry(left, y + du.y(place.row * k.rowPitch), right - left,
                                                    du.y(k.height));
    }
    m_client->setFixedWidth(width);
}

void CPasswordDlg::ApplyKeyboardState() {
    m_boxText.clear();
    m_keyboard.clearBuffer();
    m_box->clear();

    m_box->setEnabled(!g_keyboardShown);
    m_box->setFocus();
    m_toggle->setText(text(g_keyboardShown ? DialogTexts::hideKeyboard : DialogTexts::showKeyboard));
    for (QPushButton* key : m_keys)
        key->setVisible(g_keyboardShown);

    // The handheld dialog keeps its size, room for the keys included; the
    // desktop dialog ends 10 pixels below its lowest visible control.
    const QWidget* lowest =
        (kHandheld || g_keyboardShown) ? static_cast<const QWidget*>(m_keys.back()) : m_toggle;
    m_client->setFixedHeight(lowest->geometry().bottom() + 1 + kBottomGap);
    // Resize the dialog now rather than when the layout next runs.
    layout()->activate();
}

void CPasswordDlg::SetKeyCaptions() {
    for (int i = 0; i < PasswordKeyboard::kKeyCount; ++i)
        m_keys[static_cast<size_t>(i)]->setText(m_keyboard.caption(i));
}

void CPasswordDlg::OnToggle() {
    g_keyboardShown = !g_keyboardShown;
    ApplyKeyboardState();
}

void CPasswordDlg::OnKey(int index) {
    const PasswordKeyboard::PressResult pressed = m_keyboard.press(index);
    if (pressed.cleared) {
        m_boxText.clear();
        m_box->clear();
    }
    if (pressed.typed && g_keyboardShown) {
        m_boxText += QLatin1Char('*');
        m_box->setText(m_boxText);
    }
    if (pressed.captionsChanged)
        SetKeyCaptions();
    m_box->setFocus();
}

void CPasswordDlg::accept() {
    if (m_working)
        return;
    m_boxText = m_box->text();
    m_result = g_keyboardShown ? m_keyboard.buffer() : m_boxText;
    if (m_work && !m_working) {
        m_working = true;
        m_toggle->hide();
        m_busy->show();
        for (QWidget* w : {static_cast<QWidget*>(m_box), static_cast<QWidget*>(m_buttons)})
            w->setEnabled(false);
        for (QPushButton* key : m_keys)
            key->setEnabled(false);
        RunOffUiThread([this] { m_work(m_result); });
        m_working = false;
    }
    QDialog::accept();
}

void CPasswordDlg::reject() {
    // The work cannot be stopped half-way: the dialog waits for it.
    if (!m_working)
        QDialog::reject();
}

bool CPasswordDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_toggle && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        OnToggle();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
