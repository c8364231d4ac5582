// The File page: Attach and Export round-tripping a file's bytes, Clear, what
// the three boxes show, and that a failed Attach or Export loses nothing.

#include "NotePropFixture.h"

#include "dialogs/CNotePropFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <random>

namespace {

constexpr int kFileTab = 2;

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray RandomBytes(qsizetype size) {
    std::mt19937 gen(1234);
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(gen() & 0xff);
    return bytes;
}

std::vector<uint8_t> AsVector(const QByteArray& bytes) {
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

} // namespace

class NotePropFileTest : public NotePropFixture {
protected:
    CNotePropFile* OpenFilePage(NoteRecord& note) {
        Open(note, false);
        EXPECT_TRUE(ClickTab(kFileTab));
        return sheet->filePage();
    }
    QTemporaryDir dir;
};

TEST_F(NotePropFileTest, AttachAndExportRoundTripTheBytes) {
    ASSERT_TRUE(dir.isValid());
    // A small text file and a large binary one (every byte value, several megabytes).
    const QByteArray small = QByteArrayLiteral("line one\r\nline two\0with a zero");
    const QByteArray large = RandomBytes(6 * 1024 * 1024 + 7);
    for (const QByteArray& content : {small, large}) {
        const QString source = dir.filePath(QStringLiteral("données %1.bin").arg(content.size()));
        WriteAll(source, content);
        const QDateTime written = QFileInfo(source).lastModified().toUTC();

        NoteRecord note = MakeRecord(false);
        CNotePropFile* page = OpenFilePage(note);
        EXPECT_TRUE(page->nameBox()->text().isEmpty());
        FileDialogs::QueueAnswers({source});
        QTest::mouseClick(page->attachButton(), Qt::LeftButton);

        EXPECT_EQ(note.attachmentName, QFileInfo(source).fileName().toStdU16String());
        EXPECT_EQ(note.attachmentSize, content.size());
        EXPECT_EQ(note.attachmentData, AsVector(content));
        // The file system's time, not turned into local time.
        EXPECT_EQ(note.attachmentTime.year, written.date().year());
        EXPECT_EQ(note.attachmentTime.day, written.date().day());
        EXPECT_EQ(note.attachmentTime.hour, written.time().hour());
        EXPECT_EQ(note.attachmentTime.minute, written.time().minute());
        EXPECT_EQ(note.attachmentTime.dayOfWeek, written.date().dayOfWeek() % 7);
        EXPECT_EQ(page->nameBox()->text(), QFileInfo(source).fileName());
        EXPECT_EQ(page->sizeBox()->text(), QStringLiteral("%1 bytes").arg(content.size()));
        EXPECT_EQ(page->timeBox()->text(), CNotePropPage::FormatTime(note.attachmentTime));

        const QString target = dir.filePath(QStringLiteral("out-%1.bin").arg(content.size()));
        FileDialogs::QueueAnswers({target});
        QTest::mouseClick(page->exportButton(), Qt::LeftButton);
        EXPECT_EQ(FileDialogs::SuggestedNames().last(), QFileInfo(source).fileName());
        EXPECT_EQ(ReadAll(target), content);
        EXPECT_TRUE(messages.isEmpty());
    }
}

TEST_F(NotePropFileTest, ExportReplacesAnExistingFile) {
    ASSERT_TRUE(dir.isValid());
    NoteRecord note = MakeRecord(false);
    note.attachmentName = u"a.txt";
    note.setAttachment({'n', 'e', 'w'});
    const QString target = dir.filePath(QStringLiteral("a.txt"));
    WriteAll(target, QByteArrayLiteral("a much longer old content"));
    CNotePropFile* page = OpenFilePage(note);
    FileDialogs::QueueAnswers({target});
    page->OnExport();
    EXPECT_EQ(ReadAll(target), QByteArrayLiteral("new"));
}

TEST_F(NotePropFileTest, ClearThenCancelLeavesTheStoredNoteUntouched) {
    const int32_t id = notes.AddNode(rootId, 3, 0, u"Scan", u"", u"", NoteTimestamp::now());
    NoteRecord& stored = *notes.FindNode(id);
    stored.attachmentName = u"scan.pdf";
    stored.setAttachment({1, 2, 3, 4, 5});
    stored.attachmentTime = NoteTimestamp{2020, 1, 3, 2, 10, 30, 0, 0};

    NoteRecord copy = stored;
    CNotePropFile* page = OpenFilePage(copy);
    EXPECT_EQ(page->nameBox()->text(), QStringLiteral("scan.pdf"));
    EXPECT_EQ(page->sizeBox()->text(), QStringLiteral("5 bytes"));
    QTest::mouseClick(page->clearButton(), Qt::LeftButton);
    EXPECT_TRUE(page->nameBox()->text().isEmpty());
    EXPECT_TRUE(page->sizeBox()->text().isEmpty());
    EXPECT_TRUE(page->timeBox()->text().isEmpty());
    EXPECT_EQ(copy.attachmentSize, 0);
    EXPECT_TRUE(copy.attachmentData.empty());
    EXPECT_TRUE(copy.attachmentName.empty());
    EXPECT_TRUE(copy.attachmentTime.isZero());
    // Export has nothing to write now and asks for no file.
    page->OnExport();
    EXPECT_TRUE(FileDialogs::SuggestedNames().isEmpty());

    sheet->reject();
    const NoteRecord& after = *notes.FindNode(id);
    EXPECT_EQ(after.attachmentName, u"scan.pdf");
    EXPECT_EQ(after.attachmentData, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(after.attachmentSize, 5);
}

TEST_F(NotePropFileTest, FailedAttachKeepsThePreviousAttachment) {
    ASSERT_TRUE(dir.isValid());
    NoteRecord note = MakeRecord(false);
    note.attachmentName = u"keep.txt";
    note.setAttachment({'k'});
    CNotePropFile* page = OpenFilePage(note);
    const NoteRecord before = note;

    // A file that does not exist, a folder, and a cancelled dialog.
    FileDialogs::QueueAnswers({dir.filePath(QStringLiteral("missing.bin")), dir.path(), QString()});
    for (int i = 0; i < 3; ++i) {
        page->OnAttach();
        EXPECT_EQ(note, before) << i;
        EXPECT_EQ(page->nameBox()->text(), QStringLiteral("keep.txt"));
    }
    EXPECT_TRUE(messages.isEmpty());

    // A file too large for the stored 32-bit size is refused before anything is read.
    const QString huge = dir.filePath(QStringLiteral("huge.img"));
    QFile sparse(huge);
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    if (!sparse.resize(qint64(1) << 31))
        GTEST_SKIP() << "no room for a sparse 2 GiB file";
    sparse.close();
    EXPECT_FALSE(CNotePropFile::ReadAttachment(huge, note));
    EXPECT_EQ(note, before);
}

TEST_F(NotePropFileTest, EmptyFileIsAttachedByName) {
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("empty.log"));
    WriteAll(source, QByteArray());
    NoteRecord note = MakeRecord(false);
    note.setAttachment({9, 9});
    CNotePropFile* page = OpenFilePage(note);
    FileDialogs::QueueAnswers({source});
    page->OnAttach();
    EXPECT_EQ(note.attachmentName, u"empty.log");
    EXPECT_EQ(note.attachmentSize, 0);
    EXPECT_TRUE(note.attachmentData.empty());
    EXPECT_EQ(page->sizeBox()->text(), QStringLiteral("0 bytes"));

    const QString target = dir.filePath(QStringLiteral("empty-out.log"));
    FileDialogs::QueueAnswers({target});
    page->OnExport();
    EXPECT_TRUE(QFileInfo::exists(target));
    EXPECT_EQ(QFileInfo(target).size(), 0);
}

TEST_F(NotePropFileTest, FailedExportIsReportedAndLeavesNoFile) {
    ASSERT_TRUE(dir.isValid());
    NoteRecord note = MakeRecord(false);
    note.attachmentName = u"x.bin";
    note.setAttachment({1, 2});
    CNotePropFile* page = OpenFilePage(note);
    const QString target = dir.filePath(QStringLiteral("no-such-folder/x.bin"));
    FileDialogs::QueueAnswers({target});
    page->OnExport();
    EXPECT_FALSE(QFileInfo::exists(target));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("x.bin")));
    EXPECT_EQ(icons[0], MessageIcon::Exclamation);
}

TEST_F(NotePropFileTest, BoxesStretchToTheRightMargin) {
    NoteRecord note = MakeRecord(false);
    CNotePropFile* page = OpenFilePage(note);
    sheet->resize(600, 400);
    QCoreApplication::processEvents();
    for (QLineEdit* box : {page->nameBox(), page->sizeBox(), page->timeBox()}) {
        EXPECT_EQ(box->geometry().right() + 1, page->width() - 5);
        EXPECT_TRUE(box->isReadOnly());
    }
}

TEST(NotePropFileDialogs, AllFilesFilterOffersEveryFile) {
    EXPECT_EQ(FileDialogs::ToolkitFilter(QStringLiteral("All Files (*.*)|*.*||")),
              QStringLiteral("All Files (*)"));
    EXPECT_EQ(FileDialogs::ToolkitFilter(QStringLiteral("Text (*.txt)|*.txt|All Files (*.*)|*.*||")),
              QStringLiteral("Text (*.txt);;All Files (*)"));
}
