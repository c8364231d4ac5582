#include "dialogs/CNotePropFile.h"

#include "core/NoteRecord.h"
#include "dialogs/PropSheetTexts.h"
#include "gui/FileDialogs.h"
#include "gui/GuiHelpers.h"
#include "gui/MessageBox.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr int kMargin = 5;
constexpr int kGap = 4;

NoteTimestamp timestampFrom(const QDateTime& when) {
    const QDate d = when.date();
    const QTime t = when.time();
    NoteTimestamp stamp;
    stamp.year = static_cast<uint16_t>(d.year());
    stamp.month = static_cast<uint16_t>(d.month());
    stamp.dayOfWeek = static_cast<uint16_t>(d.dayOfWeek() % 7); // Sunday is 0
    stamp.day = static_cast<uint16_t>(d.day());
    stamp.hour = static_cast<uint16_t>(t.hour());
    stamp.minute = static_cast<uint16_t>(t.minute());
    stamp.second = static_cast<uint16_t>(t.second());
    stamp.millisecond = static_cast<uint16_t>(t.msec());
    return stamp;
}

} // namespace

CNotePropFile::CNotePropFile(NoteRecord& record, QWidget* parent) : CNotePropPage(record, false, parent) {
    m_details = new QLabel(QString::fromUtf8(PropSheetTexts::fileDetails), this);
    MakeLabelBold(m_details);
    m_nameLabel = new QLabel(QString::fromUtf8(PropSheetTexts::nameLabel), this);
    m_sizeLabel = new QLabel(QString::fromUtf8(PropSheetTexts::sizeLabel), this);
    m_timeLabel = new QLabel(QString::fromUtf8(PropSheetTexts::modifiedLabel), this);
    m_name = new QLineEdit(this);
    m_size = new QLineEdit(this);
    m_time = new QLineEdit(this);
    for (QLineEdit* box : {m_name, m_size, m_time})
        box->setReadOnly(true);
    m_attach = new QPushButton(QString::fromUtf8(PropSheetTexts::attachButton), this);
    m_export = new QPushButton(QString::fromUtf8(PropSheetTexts::exportButton), this);
    m_clear = new QPushButton(QString::fromUtf8(PropSheetTexts::clearButton), this);
    for (QPushButton* button : {m_attach, m_export, m_clear})
        button->setAutoDefault(false);

    const int labelWidth = std::max(
        {m_nameLabel->sizeHint().width(), m_sizeLabel->sizeHint().width(), m_timeLabel->sizeHint().width()});
    const int boxHeight = m_name->sizeHint().height();
    m_details->setGeometry(kMargin, kMargin, m_details->sizeHint().width(), m_details->sizeHint().height());
    int y = kMargin + m_details->sizeHint().height() + kGap;
    for (auto [label, box] : {std::pair{m_nameLabel, m_name}, {m_sizeLabel, m_size}, {m_timeLabel, m_time}}) {
        label->setGeometry(kMargin, y, labelWidth, boxHeight);
        box->setGeometry(kMargin + labelWidth + kMargin, y, box->sizeHint().width(), boxHeight);
        y += boxHeight + kGap;
    }
    int x = kMargin;
    y += kGap;
    for (QPushButton* button : {m_attach, m_export, m_clear}) {
        const QSize size = button->sizeHint();
        button->setGeometry(x, y, size.width(), size.height());
        x += size.width() + kGap;
    }

    connect(m_attach, &QPushButton::clicked, this, &CNotePropFile::OnAttach);
    connect(m_export, &QPushButton::clicked, this, &CNotePropFile::OnExport);
    connect(m_clear, &QPushButton::clicked, this, &CNotePropFile::OnClear);
}

bool CNotePropFile::HasAttachment(const NoteRecord& record) {
    return !record.attachmentData.empty() || !record.attachmentName.empty();
}

void CNotePropFile::DiscardAttachment(NoteRecord& record) {
    record.clearAttachment();
    record.attachmentName.clear();
    record.attachmentTime = NoteTimestamp{};
}

bool CNotePropFile::ReadAttachment(const QString& path, NoteRecord& record) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    if (size < 0 || size > std::numeric_limits<int32_t>::max())
        return false;
    std::vector<uint8_t> data(static_cast<size_t>(size));
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(reinterpret_cast<char*>(data.data()) + done, size - done);
        if (got <= 0)
            return false;
        done += got;
    }
    const QDateTime written = file.fileTime(QFileDevice::FileModificationTime).toUTC();
    file.close();

    DiscardAttachment(record);
    record.attachmentName = QFileInfo(path).fileName().toStdU16String();
    record.setAttachment(std::move(data));
    record.attachmentTime = timestampFrom(written);
    return true;
}

bool CNotePropFile::WriteAttachment(const QString& path, const NoteRecord& record) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const qint64 size =
        std::min<qint64>(record.attachmentSize, static_cast<qint64>(record.attachmentData.size()));
    if (size > 0 && file.write(reinterpret_cast<const char*>(record.attachmentData.data()), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void CNotePropFile::OnSetActive() {
    Refresh();
}

void CNotePropFile::Refresh() {
    m_name->clear();
    m_size->clear();
    m_time->clear();
    if (!HasAttachment(m_record))
        return;
    m_name->setText(QString::fromStdU16String(m_record.attachmentName));
    m_size->setText(QString::asprintf(PropSheetTexts::sizeFormat, static_cast<int>(m_record.attachmentSize)));
    m_time->setText(FormatTime(m_record.attachmentTime));
}

void CNotePropFile::OnAttach() {
    const QString path =
        FileDialogs::GetOpenFileName(this, QString::fromUtf8(PropSheetTexts::allFilesFilter));
    if (path.isEmpty())
        return;
    if (ReadAttachment(path, m_record))
        Refresh();
}

void CNotePropFile::OnExport() {
    if (!HasAttachment(m_record))
        return;
    const QString path = FileDialogs::GetSaveFileName(this, QString::fromUtf8(PropSheetTexts::allFilesFilter),
                                                      QString::fromStdU16String(m_record.attachmentName));
    if (path.isEmpty())
        return;
    if (!WriteAttachment(path, m_record))
        ShowMessageBox(this, QString::fromUtf8(PropSheetTexts::exportFailed).arg(QFileInfo(path).fileName()),
                       MessageIcon::Exclamation);
}

void CNotePropFile::OnClear() {
    DiscardAttachment(m_record);
    Refresh();
}

void CNotePropFile::resizeEvent(QResizeEvent* event) {
    CNotePropPage::resizeEvent(event);
    const int right = width() - kMargin;
    for (QLineEdit* box : {m_name, m_size, m_time})
        box->resize(std::max(0, right - box->x()), box->height());
}
