#include "editor/RichTextMapping.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace RichTextMapping {

namespace {

QColor toQColor(rtf::Colour colour) {
    return QColor(rtf::red(colour), rtf::green(colour), rtf::blue(colour));
}

rtf::Colour fromBrush(const QBrush& brush) {
    if (brush.style() == Qt::NoBrush)
        return rtf::kAutoColour;
    const QColor c = brush.color();
    return rtf::makeColour(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                           static_cast<uint8_t>(c.blue()));
}

int toTwips(qreal units) {
    return static_cast<int>(std::lround(units * kTwipsPerUnit));
}

Qt::Alignment toQtAlignment(rtf::Alignment alignment) {
    switch (alignment) {
    case rtf::Alignment::Center:
        return Qt::AlignHCenter;
    case rtf::Alignment::Right:
        return Qt::AlignRight;
    case rtf::Alignment::Justify:
        return Qt::AlignJustify;
    case rtf::Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

rtf::Alignment fromQtAlignment(Qt::Alignment alignment) {
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter)
        return rtf::Alignment::Center;
    if (horizontal & (Qt::AlignRight | Qt::AlignTrailing))
        return rtf::Alignment::Right;
    if (horizontal & Qt::AlignJustify)
        return rtf::Alignment::Justify;
    return rtf::Alignment::Left; // left, or no alignment at all
}

QTextBlockFormat toBlockFormat(const rtf::Paragraph& paragraph) {
    QTextBlockFormat format;
    format.setAlignment(toQtAlignment(paragraph.alignment));
    format.setLeftMargin(paragraph.leftIndentTwips / kTwipsPerUnit);
    format.setRightMargin(paragraph.rightIndentTwips / kTwipsPerUnit);
    format.setTextIndent(paragraph.firstIndentTwips / kTwipsPerUnit);
    return format;
}

// Resource names must be unique across documents, since a fragment copied
// from one editor into another refers to its picture by name.
QUrl nextPictureUrl() {
    static std::atomic<unsigned> counter{0};
    return QUrl(QStringLiteral("sealbook-picture:%1").arg(++counter));
}

QTextImageFormat toImageFormat(QTextDocument* document, const rtf::Run& run) {
    QTextImageFormat format;
    format.merge(toCharFormat(run.format));
    const QUrl url = nextPictureUrl();
    const QByteArray bytes(reinterpret_cast<const char*>(run.picture.data.data()),
                           static_cast<qsizetype>(run.picture.data.size()));
    QImage image;
    image.loadFromData(bytes);
    document->addResource(QTextDocument::ImageResource, url, image);
    format.setName(url.toString());
    format.setProperty(kPictureData, bytes);
    format.setProperty(kPictureKind, static_cast<int>(run.picture.kind));
    if (run.picture.widthTwips > 0)
        format.setWidth(run.picture.widthTwips / kTwipsPerUnit);
    if (run.picture.heightTwips > 0)
        format.setHeight(run.picture.heightTwips / kTwipsPerUnit);
    return format;
}

rtf::Picture fromImageFormat(const QTextDocument& document, const QTextImageFormat& format) {
    rtf::Picture picture;
    QByteArray bytes = format.property(kPictureData).toByteArray();
    if (!bytes.isEmpty()) {
        picture.kind = static_cast<rtf::Picture::Kind>(format.intProperty(kPictureKind));
    } else {
        // A picture that came in some other way (pasted): keep it as PNG.
        const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(format.name()));
        QImage image = resource.value<QImage>();
        if (image.isNull() && resource.canConvert<QPixmap>())
            image = resource.value<QPixmap>().toImage();
        if (image.isNull() && resource.userType() == QMetaType::QByteArray)
            image.loadFromData(resource.toByteArray());
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.isNull())
            image.save(&buffer, "PNG");
        picture.kind = rtf::Picture::Kind::Png;
    }
    picture.data.assign(bytes.begin(), bytes.end());
    if (format.hasProperty(QTextFormat::ImageWidth))
        picture.widthTwips = toTwips(format.width());
    if (format.hasProperty(QTextFormat::ImageHeight))
        picture.heightTwips = toTwips(format.height());
    return picture;
}

QString toQtText(const std::u16string& text) {
    QString result = QString::fromStdU16String(text);
    result.replace(QChar(u'\v'), QChar::LineSeparator);
    // A paragraph never holds a paragraph break of its own; keep such characters as line breaks.
    result.replace(QChar(u'\r'), QChar::LineSeparator);
    result.replace(QChar(u'\n'), QChar::LineSeparator);
    result.replace(QChar::ParagraphSeparator, QChar::LineSeparator);
    return result;
}

void appendRun(rtf::Paragraph& paragraph, rtf::Run&& run) {
    if (!run.isPicture && !paragraph.runs.empty()) {
        rtf::Run& last = paragraph.runs.back();
        if (!last.isPicture && last.format == run.format) {
            last.text += run.text;
            return;
        }
    }
    paragraph.runs.push_back(std::move(run));
}

rtf::CharFormat documentDefaults(const QTextDocument& document) {
    rtf::CharFormat defaults;
    const QFont font = document.defaultFont();
    defaults.face = font.family().toStdU16String();
    if (font.pointSizeF() > 0)
        defaults.sizeTwips = static_cast<int>(std::lround(font.pointSizeF() * 20));
    return defaults;
}

} // namespace

QTextListFormat::Style toListStyle(rtf::Numbering numbering) {
    switch (numbering) {
    case rtf::Numbering::Bullet:
        return QTextListFormat::ListDisc;
    case rtf::Numbering::Arabic:
        return QTextListFormat::ListDecimal;
    case rtf::Numbering::LowerLetter:
        return QTextListFormat::ListLowerAlpha;
    case rtf::Numbering::UpperLetter:
        return QTextListFormat::ListUpperAlpha;
    case rtf::Numbering::LowerRoman:
        return QTextListFormat::ListLowerRoman;
    case rtf::Numbering::UpperRoman:
        return QTextListFormat::ListUpperRoman;
    case rtf::Numbering::None:
        break;
    }
    return QTextListFormat::ListStyleUndefined;
}

rtf::Numbering fromListStyle(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return rtf::Numbering::Bullet;
    case QTextListFormat::ListDecimal:
        return rtf::Numbering::Arabic;
    case QTextListFormat::ListLowerAlpha:
        return rtf::Numbering::LowerLetter;
    case QTextListFormat::ListUpperAlpha:
        return rtf::Numbering::UpperLetter;
    case QTextListFormat::ListLowerRoman:
        return rtf::Numbering::LowerRoman;
    case QTextListFormat::ListUpperRoman:
        return rtf::Numbering::UpperRoman;
    default:
        return rtf::Numbering::None;
    }
}

int listStart(const QTextListFormat& format) {
    return format.hasProperty(kListStart) ? format.intProperty(kListStart) : 1;
}

void setListStart(QTextListFormat& format, int start) {
    format.setProperty(kListStart, start);
}

QTextCharFormat toCharFormat(const rtf::CharFormat& format) {
    QTextCharFormat result;
    result.setFontFamilies(QStringList{QString::fromStdU16String(format.face)});
    result.setFontPointSize(format.sizeTwips / 20.0);
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    result.setFontStrikeOut(format.strikeout);
    if (format.textColour != rtf::kAutoColour)
        result.setForeground(toQColor(format.textColour));
    if (format.backColour != rtf::kAutoColour)
        result.setBackground(toQColor(format.backColour));
    return result;
}

rtf::CharFormat fromCharFormat(const QTextCharFormat& format, const rtf::CharFormat& defaults) {
    rtf::CharFormat result = defaults;
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.front().isEmpty())
        result.face = families.front().toStdU16String();
    else if (!format.property(QTextFormat::FontFamily).toString().isEmpty())
        result.face = format.property(QTextFormat::FontFamily).toString().toStdU16String();
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        result.sizeTwips = static_cast<int>(std::lround(format.fontPointSize() * 20));
    result.bold = format.fontWeight() >= QFont::DemiBold;
    result.italic = format.fontItalic();
    result.underline = format.fontUnderline();
    result.strikeout = format.fontStrikeOut();
    result.textColour = fromBrush(format.foreground());
    result.backColour = fromBrush(format.background());
    return result;
}

void insertDocument(QTextCursor& cursor, const rtf::Document& document, bool formatFirstBlock) {
    InsertPosition position;
    insertPart(cursor, document, formatFirstBlock, position, SIZE_MAX);
}

namespace {

// Starts a paragraph: its block (the first one continues the cursor's) and its place in a list.
void startParagraph(QTextCursor& cursor, const rtf::Paragraph& paragraph, bool first, bool formatFirstBlock,
                    InsertPosition& position) {
    const QTextBlockFormat blockFormat = toBlockFormat(paragraph);
    const QTextCharFormat markFormat =
        toCharFormat(paragraph.runs.empty() ? rtf::CharFormat{} : paragraph.runs.front().format);
    if (!first) {
        cursor.insertBlock(blockFormat, markFormat);
    } else if (formatFirstBlock) {
        cursor.setBlockFormat(blockFormat);
        cursor.setBlockCharFormat(markFormat);
    }
    if (paragraph.numbering != rtf::Numbering::None && (!first || formatFirstBlock)) {
        // Consecutive paragraphs of one kind and start form one list, so the numbers run on.
        if (position.list && position.listKind == paragraph.numbering &&
            position.listStart == paragraph.numberingStart) {
            position.list->add(cursor.block());
        } else {
            QTextListFormat listFormat;
            listFormat.setStyle(toListStyle(paragraph.numbering));
            setListStart(listFormat, paragraph.numberingStart);
            listFormat.setIndent(1);
            position.list = cursor.createList(listFormat);
            position.listKind = paragraph.numbering;
            position.listStart = paragraph.numberingStart;
        }
    } else {
        position.list = nullptr;
    }
}

// Where a run's text may be cut after `wanted` characters from `from`: never
// inside a surrogate pair.
size_t cutLength(const std::u16string& text, size_t from, size_t wanted) {
    size_t length = std::min(wanted, text.size() - from);
    if (length > 0 && from + length < text.size() && QChar::isHighSurrogate(text[from + length - 1]))
        ++length;
    return length;
}

} // namespace

bool insertPart(QTextCursor& cursor, const rtf::Document& document, bool formatFirstBlock,
                InsertPosition& position, size_t budget) {
    QTextDocument* target = cursor.document();
    size_t used = 0;
    while (position.paragraph < document.paragraphs.size()) {
        const rtf::Paragraph& paragraph = document.paragraphs[position.paragraph];
        if (!position.paragraphStarted) {
            if (used >= budget)
                return false;
            startParagraph(cursor, paragraph, position.paragraph == 0, formatFirstBlock, position);
            position.paragraphStarted = true;
            ++used;
        }
        while (position.run < paragraph.runs.size()) {
            if (used >= budget)
                return false;
            const rtf::Run& run = paragraph.runs[position.run];
            if (run.isPicture) {
                cursor.insertImage(toImageFormat(target, run));
                used += run.picture.data.size();
            } else {
                const size_t length = cutLength(run.text, position.offset, budget - used);
                if (length > 0) {
                    const std::u16string_view piece =
                        std::u16string_view(run.text).substr(position.offset, length);
                    cursor.insertText(toQtText(std::u16string(piece)), toCharFormat(run.format));
                }
                position.offset += length;
                used += length;
                if (position.offset < run.text.size())
                    continue;
            }
            position.offset = 0;
            ++position.run;
        }
        position.run = 0;
        position.paragraphStarted = false;
        ++position.paragraph;
    }
    return true;
}

rtf::Document readDocument(const QTextDocument& document) {
    const rtf::CharFormat defaults = documentDefaults(document);
    rtf::Document result;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        rtf::Paragraph paragraph;
        const QTextBlockFormat blockFormat = block.blockFormat();
        paragraph.alignment = fromQtAlignment(blockFormat.alignment());
        paragraph.leftIndentTwips = toTwips(blockFormat.leftMargin());
        paragraph.rightIndentTwips = toTwips(blockFormat.rightMargin());
        paragraph.firstIndentTwips = toTwips(blockFormat.textIndent());
        if (const QTextList* list = block.textList()) {
            const QTextListFormat listFormat = list->format();
            paragraph.numbering = fromListStyle(listFormat.style());
            paragraph.numberingStart = listStart(listFormat);
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QString text = fragment.text();
            if (format.isImageFormat()) {
                // Equal pictures next to each other may share one fragment.
                for (qsizetype i = 0; i < text.size(); ++i) {
                    rtf::Run run;
                    run.isPicture = true;
                    run.format = fromCharFormat(format, defaults);
                    run.picture = fromImageFormat(document, format.toImageFormat());
                    if (run.picture.data.empty())
                        continue; // a picture whose image never arrived (pasted from elsewhere): nothing to
                                  // keep
                    paragraph.runs.push_back(std::move(run));
                }
                continue;
            }
            rtf::Run run;
            run.format = fromCharFormat(format, defaults);
            run.text = text.toStdU16String();
            for (char16_t& ch : run.text) {
                if (ch == QChar::LineSeparator)
                    ch = u'\v';
            }
            appendRun(paragraph, std::move(run));
        }
        result.paragraphs.push_back(std::move(paragraph));
    }
    return result;
}

} // namespace RichTextMapping
