#include "dialogs/CDatabaseProperties.h"

#include "core/Edition.h"
#include "core/Texts.h"
#include "dialogs/DialogTexts.h"
#include "gui/DialogMenuBar.h"
#include "gui/IconLists.h"
#include "gui/MessageBox.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

constexpr int kMargin = 5;     // pixels around the controls
constexpr int kGap = 6;        // pixels between rows
constexpr int kAboveBoxes = 3; // handheld: description ends this far above the password box
constexpr int kIconSize = IconLists::kLargeSize;

QLineEdit* makeMaskedBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setEchoMode(QLineEdit::Password);
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

void centreOn(QLabel* label, const QRect& box) {
    const int height = label->sizeHint().height();
    label->move(label->x(), box.top() + (box.height() - height) / 2);
    label->resize(label->width(), height);
}

} // namespace

CDatabaseProperties::CDatabaseProperties(QWidget* parent) : QDialog(parent) {
    setWindowTitle(text(DialogTexts::databasePropertiesTitle));

    m_client = new QWidget(this);
    m_icon = new QLabel(m_client);
    m_icon->setPixmap(IconLists::instance().databaseIcon(true));
    m_titleLabel = new QLabel(text(DialogTexts::databaseTitle), m_client);
    m_titleBox = new QLineEdit(m_client);
    m_titleBox->setMaxLength(std::numeric_limits<int>::max());
    m_titleLabel->setBuddy(m_titleBox);
    m_descriptionBox = new QPlainTextEdit(m_client);
    m_descriptionBox->setTabChangesFocus(true);
    m_passwordLabel = new QLabel(text(DialogTexts::password), m_client);
    m_passwordBox = makeMaskedBox(m_client);
    m_passwordLabel->setBuddy(m_passwordBox);
    m_repeatLabel = new QLabel(text(DialogTexts::repeat), m_client);
    m_repeatBox = makeMaskedBox(m_client);
    m_repeatLabel->setBuddy(m_repeatBox);
    m_protectionLabel = new QLabel(text(DialogTexts::protection), m_client);
    m_compatible = new QRadioButton(text(DialogTexts::protectionCompatible), m_client);
    m_compatibleNote = new QLabel(text(DialogTexts::protectionCompatibleNote), m_client);
    m_strong = new QRadioButton(text(DialogTexts::protectionStrong), m_client);
    m_strongNote = new QLabel(text(DialogTexts::protectionStrongNote), m_client);
    for (QLabel* note : {m_compatibleNote, m_strongNote})
        note->setWordWrap(true);
    m_compatible->setChecked(true);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(text(DialogTexts::ok));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(text(DialogTexts::cancel));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CDatabaseProperties::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CDatabaseProperties::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_client, 1);
    if (!kHandheld) {
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        layout->addWidget(line);
        auto* bottom = new QVBoxLayout;
        bottom->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
        bottom->addWidget(m_buttons);
        layout->addLayout(bottom);
    } else {
        layout->addWidget(m_buttons);
    }
    CreateDialogMenuBar(this, m_buttons);

    LayOutDesktop();
    if (kHandheld)
        m_client->installEventFilter(this);
    else
        layout->setSizeConstraint(QLayout::SetFixedSize);
    m_titleBox->setFocus();
}

void CDatabaseProperties::LayOutDesktop() {
    const QFontMetrics fm(font());
    const int lineHeight = m_titleBox->sizeHint().height();
    const int labelWidth =
        std::max(fm.horizontalAdvance(m_passwordLabel->text()), fm.horizontalAdvance(m_repeatLabel->text())) +
        6;
    const int passwordWidth = fm.averageCharWidth() * 16;
    const int width = 2 * kMargin + 2 * (labelWidth + passwordWidth) + kGap;

    m_icon->setGeometry(kMargin, kMargin, kIconSize, kIconSize);
    const int textLeft = kMargin + kIconSize + kGap;
    m_titleLabel->setGeometry(textLeft, kMargin, width - kMargin - textLeft,
                              m_titleLabel->sizeHint().height());
    m_titleBox->setGeometry(textLeft, m_titleLabel->geometry().bottom() + 2, width - kMargin - textLeft,
                            lineHeight);
    const int descriptionTop =
        std::max(m_titleBox->geometry().bottom(), m_icon->geometry().bottom()) + 1 + kGap;
    m_descriptionBox->setGeometry(kMargin, descriptionTop, width - 2 * kMargin, fm.height() * 6);

    const int boxTop = m_descriptionBox->geometry().bottom() + 1 + kAboveBoxes;
    m_passwordLabel->setGeometry(kMargin, boxTop, labelWidth, lineHeight);
    m_passwordBox->setGeometry(kMargin + labelWidth, boxTop, passwordWidth, lineHeight);
    const int repeatLeft = m_passwordBox->geometry().right() + 1 + kGap;
    m_repeatLabel->setGeometry(repeatLeft, boxTop, labelWidth, lineHeight);
    m_repeatBox->setGeometry(repeatLeft + labelWidth, boxTop, passwordWidth, lineHeight);
    centreOn(m_passwordLabel, m_passwordBox->geometry());
    centreOn(m_repeatLabel, m_repeatBox->geometry());

    const int bottom = LayOutProtection(m_repeatBox->geometry().bottom() + 1 + kGap, width);
    const QSize size(width, bottom + 1 + kMargin);
    if (kHandheld)
        m_client->setMinimumSize(size);
    else
        m_client->setFixedSize(size);
}

int CDatabaseProperties::LayOutProtection(int top, int width) {
    const int inner = width - 2 * kMargin;
    const int indent = m_compatible->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) + 4;
    int y = top;
    const auto place = [&](QWidget* w, int left) {
        const int height = w->hasHeightForWidth() ? w->heightForWidth(inner - left) : w->sizeHint().height();
        w->setGeometry(kMargin + left, y, inner - left, height);
        y += height;
    };
    place(m_protectionLabel, 0);
    y += 2;
    place(m_compatible, 0);
    place(m_compatibleNote, indent);
    y += kGap / 2;
    place(m_strong, 0);
    place(m_strongNote, indent);
    return y - 1;
}

void CDatabaseProperties::LayOutHandheld() {
    const int right = m_client->width() - kMargin;
    // The protection choice sits on the bottom margin, the password boxes above it.
    const int protectionHeight = LayOutProtection(0, m_client->width()) + 1;
    const int protectionTop = m_client->height() - kMargin - protectionHeight;
    LayOutProtection(protectionTop, m_client->width());
    const int bottom = protectionTop - kGap;

    QRect title = m_titleBox->geometry();
    title.setRight(right - 1);
    m_titleBox->setGeometry(title);

    // The password boxes keep their widths and horizontal places and sit on
    // the bottom margin; their labels follow them.
    for (QLineEdit* box : {m_passwordBox, m_repeatBox}) {
        QRect r = box->geometry();
        r.moveBottom(bottom - 1);
        box->setGeometry(r);
    }
    centreOn(m_passwordLabel, m_passwordBox->geometry());
    centreOn(m_repeatLabel, m_repeatBox->geometry());

    QRect description = m_descriptionBox->geometry();
    description.setRight(right - 1);
    description.setBottom(m_passwordBox->geometry().top() - kAboveBoxes - 1);
    m_descriptionBox->setGeometry(description);
}

bool CDatabaseProperties::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client && event->type() == QEvent::Resize)
        LayOutHandheld();
    return QDialog::eventFilter(watched, event);
}

void CDatabaseProperties::setTitle(const QString& title) {
    m_title = title;
    m_titleBox->setText(title);
}

void CDatabaseProperties::setDescription(const QString& description) {
    m_description = description;
    m_descriptionBox->setPlainText(description);
}

void CDatabaseProperties::setPassword(const QString& password) {
    m_password = password;
    m_passwordBox->setText(password);
}

void CDatabaseProperties::setRepeat(const QString& repeat) {
    m_repeat = repeat;
    m_repeatBox->setText(repeat);
}

void CDatabaseProperties::setProtection(Protection protection) {
    m_protection = protection;
    (protection == Protection::Strong ? m_strong : m_compatible)->setChecked(true);
}

void CDatabaseProperties::accept() {
    m_title = m_titleBox->text();
    m_description = m_descriptionBox->toPlainText();
    m_password = m_passwordBox->text();
    m_repeat = m_repeatBox->text();
    m_protection = m_strong->isChecked() ? Protection::Strong : Protection::Compatible;

    if (m_title.isEmpty()) {
        const QString message =
            kHandheld ? text(DialogTexts::emptyTitlePad) : QString::fromStdU16String(Texts::emptyTitle);
        ShowMessageBox(this, message, MessageIcon::Stop);
        m_titleBox->setFocus();
        return;
    }
    // Exact comparison: a password differing only in case is a different password.
    if (m_password != m_repeat) {
        ShowMessageBox(this, text(DialogTexts::passwordMismatch), MessageIcon::Stop);
        m_passwordBox->setFocus();
        return;
    }
    if (m_protection == Protection::Strong && m_password.isEmpty()) {
        ShowMessageBox(this, text(DialogTexts::strongNeedsPassword), MessageIcon::Stop);
        m_passwordBox->setFocus();
        return;
    }
    QDialog::accept();
}
