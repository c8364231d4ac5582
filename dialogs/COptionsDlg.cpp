#include "dialogs/COptionsDlg.h"

#include "dialogs/DialogTexts.h"
#include "gui/ControlTexts.h"
#include "gui/DialogMenuBar.h"
#include "gui/SettingsTable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <span>

namespace {

QString text(const char* t) {
    return QString::fromUtf8(t);
}

QString choiceText(int seconds, bool inMinutes) {
    if (seconds == 0)
        return text(DialogTexts::never);
    if (inMinutes && seconds % 60 == 0)
        return seconds == 60 ? text(DialogTexts::oneMinute) : text(DialogTexts::minutes).arg(seconds / 60);
    return text(DialogTexts::seconds).arg(seconds);
}

// The offered times, and the stored one where it is none of them (set by
// hand in the settings file), selected.
void fillChoices(QComboBox& box, std::span<const int> choices, int stored, bool inMinutes) {
    for (const int seconds : choices)
        box.addItem(choiceText(seconds, inMinutes), seconds);
    if (box.findData(stored) < 0 && stored > 0)
        box.addItem(choiceText(stored, inMinutes), stored);
    box.setCurrentIndex(std::max(0, box.findData(stored)));
}

} // namespace

COptionsDlg::COptionsDlg(SettingsStore& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_pages(new QTabWidget(this)), m_idle(new QComboBox),
      m_clipboard(new QComboBox) {
    setWindowTitle(text(DialogTexts::optionsTitle));
    auto* security = new QWidget;
    security->setObjectName(QStringLiteral("SecurityPage"));
    auto* form = new QFormLayout(security);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (QComboBox* box : {m_idle, m_clipboard})
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    form->addRow(text(DialogTexts::lockAfterIdle), m_idle);
    form->addRow(text(DialogTexts::clearClipboardAfter), m_clipboard);
    m_pages->addTab(security, text(DialogTexts::securityPage));
    fillChoices(*m_idle, kIdleChoices, ReadNumberSetting(m_settings, Setting::LockAfterIdleSeconds), true);
    fillChoices(*m_clipboard, kClipboardChoices,
                ReadNumberSetting(m_settings, Setting::ClipboardClearSeconds), false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(text(ControlTexts::ok));
    buttons->button(QDialogButtonBox::Cancel)->setText(text(ControlTexts::cancel));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addStretch(1);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDlg::reject);
    CreateDialogMenuBar(this, buttons);
}

void COptionsDlg::accept() {
    WriteNumberSetting(m_settings, Setting::LockAfterIdleSeconds, m_idle->currentData().toInt());
    WriteNumberSetting(m_settings, Setting::ClipboardClearSeconds, m_clipboard->currentData().toInt());
    QDialog::accept();
}
