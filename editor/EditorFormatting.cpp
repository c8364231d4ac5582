#include "editor/EditorFormatting.h"

#include "editor/RichTextMapping.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <cmath>
#include <functional>
#include <vector>

namespace EditorFormatting {

namespace {

struct Range {
    int start;
    int end;
    QTextCharFormat format;
};

// The selected stretches of one format each, clipped to the selection.
std::vector<Range> selectedRanges(const QTextEdit& editor) {
    std::vector<Range> ranges;
    const QTextCursor cursor = editor.textCursor();
    if (!cursor.hasSelection())
        return ranges;
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    for (QTextBlock block = editor.document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int from = std::max(start, fragment.position());
            const int to = std::min(end, fragment.position() + fragment.length());
            if (from < to)
                ranges.push_back({from, to, fragment.charFormat()});
        }
    }
    return ranges;
}

// The formats that the menu marks are read from: the selected characters, or
// the format for typing when nothing (or only paragraph ends) is selected.
std::vector<QTextCharFormat> selectedFormats(const QTextEdit& editor) {
    std::vector<QTextCharFormat> formats;
    for (const Range& range : selectedRanges(editor))
        formats.push_back(range.format);
    if (formats.empty())
        formats.push_back(editor.textCursor().charFormat());
    return formats;
}

rtf::CharFormat modelFormat(const QTextEdit& editor, const QTextCharFormat& format) {
    rtf::CharFormat defaults;
    const QFont font = editor.document()->defaultFont();
    defaults.face = font.family().toStdU16String();
    if (font.pointSizeF() > 0)
        defaults.sizeTwips = static_cast<int>(std::lround(font.pointSizeF() * 20));
    return RichTextMapping::fromCharFormat(format, defaults);
}

bool hasEffect(const rtf::CharFormat& format, Effect effect) {
    switch (effect) {
    case Effect::Bold:
        return format.bold;
    case Effect::Italic:
        return format.italic;
    case Effect::Strikeout:
        return format.strikeout;
    case Effect::Underline:
        return format.underline;
    }
    return false;
}

// Changes one attribute of every selected stretch, keeping the rest of its format.
void changeSelection(QTextEdit& editor, const std::function<void(QTextCharFormat&)>& change) {
    const std::vector<Range> ranges = selectedRanges(editor);
    if (ranges.empty()) {
        QTextCharFormat format = editor.textCursor().charFormat();
        change(format);
        editor.setCurrentCharFormat(format);
        return;
    }
    QTextCursor cursor(editor.document());
    cursor.beginEditBlock();
    for (Range range : ranges) {
        change(range.format);
        cursor.setPosition(range.start);
        cursor.setPosition(range.end, QTextCursor::KeepAnchor);
        cursor.setCharFormat(range.format);
    }
    cursor.endEditBlock();
}

uint32_t fromBrush(const QBrush& brush) {
    if (brush.style() == Qt::NoBrush)
        return kAutomaticColour;
    return brush.color().rgb() & 0x00FFFFFFu;
}

QColor toColor(uint32_t colour) {
    return QColor::fromRgb(static_cast<QRgb>(colour | 0xFF000000u));
}

std::vector<QTextBlock> selectedBlocks(const QTextEdit& editor) {
    const QTextCursor cursor = editor.textCursor();
    const QTextDocument* document = editor.document();
    const QTextBlock first = document->findBlock(cursor.selectionStart());
    QTextBlock last = document->findBlock(cursor.selectionEnd());
    // A selection that ends just after a paragraph break holds no character of the next paragraph.
    if (cursor.hasSelection() && last != first && cursor.selectionEnd() == last.position())
        last = last.previous();
    std::vector<QTextBlock> blocks;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        blocks.push_back(block);
        if (block == last)
            break;
    }
    return blocks;
}

rtf::Numbering kindOf(const QTextBlock& block) {
    const QTextList* list = block.textList();
    return list ? RichTextMapping::fromListStyle(list->format().style()) : rtf::Numbering::None;
}

bool continuesWith(const QTextBlock& block, rtf::Numbering kind) {
    return block.isValid() && block.textList() && kindOf(block) == kind &&
           RichTextMapping::listStart(block.textList()->format()) == 1;
}

// Gives the selected paragraphs the numbering kinds that `kindFor` names, all
// starting at 1. Neighbouring paragraphs of the same kind that start at 1 are
// joined into one list, as a stored and reloaded body would show them.
void renumber(QTextEdit& editor, const std::function<rtf::Numbering(const QTextBlock&)>& kindFor) {
    const std::vector<QTextBlock> blocks = selectedBlocks(editor);
    std::vector<rtf::Numbering> kinds;
    for (const QTextBlock& block : blocks)
        kinds.push_back(kindFor(block));

    QTextCursor cursor(editor.document());
    cursor.beginEditBlock();
    for (const QTextBlock& block : blocks) {
        if (QTextList* list = block.textList())
            list->remove(block);
        QTextCursor at(block);
        QTextBlockFormat format = block.blockFormat();
        format.setIndent(0); // the list's own indent moves onto the paragraph when it leaves the list
        at.setBlockFormat(format);
    }
    QTextList* current = nullptr;
    rtf::Numbering currentKind = rtf::Numbering::None;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const rtf::Numbering kind = kinds[i];
        const QTextBlock& block = blocks[i];
        if (kind == rtf::Numbering::None) {
            current = nullptr;
            currentKind = kind;
            continue;
        }
        if (current && currentKind == kind) {
            current->add(block);
            continue;
        }
        if (i == 0 && continuesWith(block.previous(), kind)) {
            current = block.previous().textList();
            current->add(block);
        } else {
            QTextListFormat listFormat;
            listFormat.setStyle(RichTextMapping::toListStyle(kind));
            RichTextMapping::setListStart(listFormat, 1);
            listFormat.setIndent(1);
            QTextCursor at(block);
            current = at.createList(listFormat);
        }
        currentKind = kind;
    }
    const QTextBlock next = blocks.back().next();
    if (current && continuesWith(next, currentKind) && next.textList() != current) {
        QTextList* after = next.textList();
        std::vector<QTextBlock> moving;
        for (int i = 0; i < after->count(); ++i)
            moving.push_back(after->item(i));
        for (const QTextBlock& block : moving)
            current->add(block);
    }
    cursor.endEditBlock();
}

} // namespace

std::optional<QString> selectionFace(const QTextEdit& editor) {
    std::optional<QString> face;
    for (const QTextCharFormat& format : selectedFormats(editor)) {
        const QString current = QString::fromStdU16String(modelFormat(editor, format).face);
        if (face && face->compare(current, Qt::CaseInsensitive) != 0)
            return std::nullopt;
        face = current;
    }
    return face;
}

int selectionHeightTwips(const QTextEdit& editor) {
    int height = -1;
    for (const QTextCharFormat& format : selectedFormats(editor)) {
        const int current = modelFormat(editor, format).sizeTwips;
        if (height >= 0 && height != current)
            return 0;
        height = current;
    }
    return std::max(height, 0);
}

bool selectionHas(const QTextEdit& editor, Effect effect) {
    for (const QTextCharFormat& format : selectedFormats(editor)) {
        if (!hasEffect(modelFormat(editor, format), effect))
            return false;
    }
    return true;
}

uint32_t selectionTextColour(const QTextEdit& editor) {
    return fromBrush(selectedFormats(editor).front().foreground());
}

uint32_t selectionBackColour(const QTextEdit& editor) {
    return fromBrush(selectedFormats(editor).front().background());
}

void setFace(QTextEdit& editor, const QString& face) {
    changeSelection(editor, [&](QTextCharFormat& format) {
        format.clearProperty(QTextFormat::FontFamily);
        format.setFontFamilies(QStringList{face});
    });
}

void setHeightTwips(QTextEdit& editor, int twips) {
    changeSelection(editor, [&](QTextCharFormat& format) { format.setFontPointSize(twips / 20.0); });
}

void toggleEffect(QTextEdit& editor, Effect effect) {
    const bool on = !selectionHas(editor, effect);
    changeSelection(editor, [&](QTextCharFormat& format) {
        switch (effect) {
        case Effect::Bold:
            format.setFontWeight(on ? QFont::Bold : QFont::Normal);
            break;
        case Effect::Italic:
            format.setFontItalic(on);
            break;
        case Effect::Strikeout:
            format.setFontStrikeOut(on);
            break;
        case Effect::Underline:
            format.setFontUnderline(on);
            break;
        }
    });
}

void setTextColour(QTextEdit& editor, uint32_t colour) {
    changeSelection(editor, [&](QTextCharFormat& format) {
        if (colour == kAutomaticColour)
            format.clearForeground();
        else
            format.setForeground(toColor(colour));
    });
}

void setBackColour(QTextEdit& editor, uint32_t colour) {
    changeSelection(editor, [&](QTextCharFormat& format) {
        if (colour == kAutomaticColour)
            format.clearBackground();
        else
            format.setBackground(toColor(colour));
    });
}

int alignmentValue(const QTextEdit& editor) {
    const QTextBlockFormat format =
        editor.document()->findBlock(editor.textCursor().selectionStart()).blockFormat();
    if (!format.hasProperty(QTextFormat::BlockAlignment))
        return kAlignLeft; // a new paragraph is left-aligned
    // alignment() reports a stored 0 as left; the property itself tells them apart.
    const Qt::Alignment horizontal =
        Qt::Alignment(format.intProperty(QTextFormat::BlockAlignment)) & Qt::AlignHorizontal_Mask;
    if (horizontal == Qt::Alignment())
        return kAlignNone;
    if (horizontal & Qt::AlignHCenter)
        return kAlignCenter;
    if (horizontal & (Qt::AlignRight | Qt::AlignTrailing))
        return kAlignRight;
    if (horizontal & Qt::AlignJustify)
        return kAlignJustify;
    return kAlignLeft;
}

rtf::Numbering numberingKind(const QTextEdit& editor) {
    return kindOf(editor.document()->findBlock(editor.textCursor().selectionStart()));
}

void setAlignment(QTextEdit& editor, int value) {
    Qt::Alignment alignment;
    switch (value) {
    case kAlignLeft:
        alignment = Qt::AlignLeft;
        break;
    case kAlignRight:
        alignment = Qt::AlignRight;
        break;
    case kAlignCenter:
        alignment = Qt::AlignHCenter;
        break;
    case kAlignJustify:
        alignment = Qt::AlignJustify;
        break;
    default:
        break; // no alignment at all; shown as left
    }
    QTextCursor cursor = editor.textCursor();
    cursor.beginEditBlock();
    for (const QTextBlock& block : selectedBlocks(editor)) {
        QTextBlockFormat format = block.blockFormat();
        format.setAlignment(alignment);
        QTextCursor(block).setBlockFormat(format);
    }
    // The change carries numbering start 1: numbered paragraphs that started elsewhere restart.
    bool restart = false;
    for (const QTextBlock& block : selectedBlocks(editor))
        restart =
            restart || (block.textList() && RichTextMapping::listStart(block.textList()->format()) != 1);
    if (restart)
        renumber(editor, kindOf);
    cursor.endEditBlock();
}

void setNumbering(QTextEdit& editor, rtf::Numbering kind) {
    renumber(editor, [kind](const QTextBlock&) { return kind; });
}

} // namespace EditorFormatting
