// Real-world RTF files through the editor: what the reader makes of a file is
// what the editor shows, and a stored body loads back to the same document.
#include "core/CodePage.h"
#include "editor/CNoteEditor.h"
#include "editor/RichTextMapping.h"
#include "editor/rtf/RtfReader.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

// Adjacent text runs of one format are one run, however the reader split them.
rtf::Document merged(const rtf::Document& document) {
    rtf::Document out;
    for (const rtf::Paragraph& paragraph : document.paragraphs) {
        rtf::Paragraph p = paragraph;
        p.runs.clear();
        for (const rtf::Run& run : paragraph.runs) {
            if (!run.isPicture && run.text.empty())
                continue;
            if (!run.isPicture && !p.runs.empty() && !p.runs.back().isPicture &&
                p.runs.back().format == run.format)
                p.runs.back().text += run.text;
            else
                p.runs.push_back(run);
        }
        out.paragraphs.push_back(std::move(p));
    }
    return out;
}

QStringList corpusFiles() {
    const QDir dir(QStringLiteral(SEALBOOK_CORPUS_DIR "/rtf"));
    QStringList files;
    for (const QString& name : dir.entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name))
        files.push_back(dir.filePath(name));
    return files;
}

TEST(CorpusRoundTrip, EditorShowsWhatTheReaderReadsAndStoresItBack) {
    const QStringList files = corpusFiles();
    ASSERT_GE(files.size(), 20) << "corpus missing at " SEALBOOK_CORPUS_DIR;
    int tested = 0;
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
        // A body holds the file's bytes as ANSI characters, as a pasted RTF note would.
        const std::u16string body = CodePage::toUtf16(view, CodePage::kAnsi);
        if (!CNoteEditor::IsRtfBody(body))
            continue; // a marker after the tenth character: a plain-text body, not this test's matter

        ++tested;
        CNoteEditor first(nullptr, false);
        first.LoadBody(body);
        const rtf::Document shown = RichTextMapping::readDocument(*first.document());
        EXPECT_EQ(shown, merged(rtf::ReadRtf(view)));

        CNoteEditor second(nullptr, false);
        second.LoadBody(first.StoreBody());
        EXPECT_EQ(second.toPlainText(), first.toPlainText());
        EXPECT_EQ(RichTextMapping::readDocument(*second.document()), shown);
    }
    EXPECT_GE(tested, 20);
}

} // namespace
