#include "dialogs/CMergeReportDlg.h"

#include "core/Edition.h"
#include "dialogs/DialogTexts.h"
#include "gui/DialogMenuBar.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString fromUtf16(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

} // namespace

CMergeReportDlg::CMergeReportDlg(const MergeReport& report, QWidget* parent)
    : QDialog(parent), m_summary(new QLabel(this)), m_list(new QListWidget(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(QString::fromUtf8(DialogTexts::mergeReportTitle));
    m_buttons->button(QDialogButtonBox::Save)->setText(QString::fromUtf8(DialogTexts::save));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(DialogTexts::cancel));
    m_buttons->button(QDialogButtonBox::Save)->setDefault(true);

    const std::vector<std::u16string> lines = report.lines();
    m_summary->setText(fromUtf16(lines.front()));
    m_summary->setWordWrap(true);
    m_list->setWordWrap(true);
    // A word wider than the list (a long title without spaces) is shortened
    // in its middle rather than cut off at the edge.
    m_list->setTextElideMode(Qt::ElideMiddle);
    // A little room between the entries tells where one ends.
    m_list->setSpacing(2);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    const MergeEntry* previous = nullptr;
    for (const MergeEntry& entry : report.entries) {
        if (!previous || previous->event != entry.event) {
            auto* heading = new QListWidgetItem(fromUtf16(MergeReport::heading(entry.event)), m_list);
            QFont bold = heading->font();
            bold.setBold(true);
            heading->setFont(bold);
        }
        new QListWidgetItem(fromUtf16(MergeReport::describe(entry)), m_list);
        previous = &entry;
    }
    m_list->setVisible(m_list->count() > 0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CMergeReportDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CMergeReportDlg::reject);
    CreateDialogMenuBar(this, m_buttons);
    // The handheld gives the report its whole screen (the fitter keeps it inside).
    resize(kHandheld ? QSize(360, 640) : QSize(640, 420));
}
