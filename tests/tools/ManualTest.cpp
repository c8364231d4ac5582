// The help files the build writes beside the programs: both hold the whole
// manual, read as Markdown (headings and tables, not their marks), and the PDF
// is a real document whose text a PDF reader finds.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// The manual's headings without their "#" marks.
QStringList headings() {
    const QString markdown = readText(QStringLiteral(SEALBOOK_SOURCE_DIR "/docs/manual.md"));
    QStringList found;
    const QRegularExpression heading(QStringLiteral("^#+\\s+(.+)$"), QRegularExpression::MultilineOption);
    for (auto it = heading.globalMatch(markdown); it.hasNext();)
        found << it.next().captured(1).trimmed();
    return found;
}

// A piece of the manual that only comes through when its table was read.
const QString kTableCell = QStringLiteral("sealbook verify FILE");

} // namespace

TEST(Manual, HtmlHoldsEveryHeadingAsAHeading) {
    const QStringList titles = headings();
    ASSERT_GE(titles.size(), 10);
    const QString html = readText(QStringLiteral(SEALBOOK_BINARY_DIR "/notes.html"));
    ASSERT_FALSE(html.isEmpty()) << "notes.html missing beside the programs";
    EXPECT_TRUE(html.contains(QStringLiteral("<title>") + titles.first() + QStringLiteral("</title>")));
    for (const QString& title : titles) {
        const QRegularExpression asHeading(QStringLiteral("<h[1-6][^>]*>(<[^>]*>)*") +
                                           QRegularExpression::escape(title.toHtmlEscaped()));
        EXPECT_TRUE(html.contains(asHeading)) << qPrintable(title);
    }
    EXPECT_TRUE(html.contains(QStringLiteral("<table")));
    EXPECT_TRUE(html.contains(kTableCell));
    EXPECT_FALSE(html.contains(QStringLiteral("## "))); // no Markdown left over
}

TEST(Manual, PdfHoldsTheWholeManual) {
    const QString pdf = QStringLiteral(SEALBOOK_BINARY_DIR "/notes.pdf");
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "notes.pdf missing beside the programs";
    EXPECT_TRUE(file.read(5).startsWith("%PDF-"));

    const QString reader = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    ASSERT_FALSE(reader.isEmpty()) << "pdftotext (poppler-utils, installed by scripts/setup) is needed";
    QProcess process;
    process.start(reader, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QString raw = QString::fromUtf8(process.readAllStandardOutput());
    // pdftotext ends every page with a form feed.
    EXPECT_GE(raw.count(QChar(u'\f')), 2);
    // Lines of a paragraph break anywhere: compare with runs of blanks made one.
    const QString text = raw.simplified();
    for (const QString& title : headings())
        EXPECT_TRUE(text.contains(title)) << qPrintable(title);
    EXPECT_TRUE(text.contains(kTableCell));
}
