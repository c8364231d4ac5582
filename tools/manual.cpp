// Turns the user manual from Markdown into the two help files that the
// programs open from their own folder: an HTML page and a printed PDF.
//
//     sealbook_manual MANUAL.md OUT.html OUT.pdf
//
// The build runs it offscreen, so it needs no display.
#include <QColor>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cstdio>

namespace {

constexpr const char* kCreator = "Marrowick Sealbook";
// Page margins of the printed manual, in millimetres.
constexpr double kMargin = 18.0;
constexpr int kPointSize = 10;

bool fail(const char* what, const QString& path) {
    std::fprintf(stderr, "sealbook_manual: %s %s\n", what, qPrintable(path));
    return false;
}

// The text of the first top-level heading: the document's title.
QString titleOf(const QString& markdown) {
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^#\\s+(.+)$"), QRegularExpression::MultilineOption)
            .match(markdown);
    return match.hasMatch() ? match.captured(1).trimmed() : QString::fromUtf8(kCreator);
}

// Tables read from Markdown get single ruled lines and some air in their cells.
void styleTables(QTextDocument& document) {
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            QTextTableFormat format = table->format();
            format.setBorderCollapse(true);
            format.setBorder(1);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setBorderBrush(QColor(0x99, 0x99, 0x99));
            format.setCellSpacing(0);
            format.setCellPadding(3);
            table->setFormat(format);
        }
    }
}

bool writeHtml(const QTextDocument& document, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail("cannot write", path);
    QString html = document.toHtml();
    // The page names the font by its family only; a browser without it should
    // still take a sans-serif face rather than its serif default.
    const QString family = QStringLiteral("font-family:'%1';").arg(document.defaultFont().family());
    const qsizetype at = html.indexOf(family);
    if (at >= 0)
        html.insert(at + family.size() - 1, QStringLiteral(", sans-serif"));
    file.write(html.toUtf8());
    return file.commit() || fail("cannot write", path);
}

bool writePdf(const QTextDocument& document, const QString& path, const QString& title) {
    {
        QPdfWriter writer(path);
        writer.setTitle(title);
        writer.setCreator(QString::fromUtf8(kCreator));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kMargin, kMargin, kMargin, kMargin),
                                         QPageLayout::Millimeter));
        // print() lays out a copy of the document on the writer's pages and
        // numbers them at the bottom.
        document.print(&writer);
    }
    // The writer reports no errors: a PDF that did not reach the disk shows here.
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly) || !written.read(5).startsWith("%PDF-"))
        return fail("cannot write", path);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s MANUAL.md OUT.html OUT.pdf\n", argv[0]);
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString htmlPath = QString::fromLocal8Bit(argv[2]);
    const QString pdfPath = QString::fromLocal8Bit(argv[3]);

    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        fail("cannot read", source);
        return 1;
    }
    const QString markdown = QString::fromUtf8(input.readAll());

    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSize(kPointSize);
    document.setDefaultFont(font);
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    styleTables(document);
    const QString title = titleOf(markdown);
    document.setMetaInformation(QTextDocument::DocumentTitle, title);

    const bool written = writeHtml(document, htmlPath) && writePdf(document, pdfPath, title);
    return written ? 0 : 1;
}
