#pragma once
// Moves the rich-text model in and out of a QTextDocument: paragraph
// alignment, indents and numbering, character formats and pictures. Reading a
// document back gives the model it was filled from, so a body loaded and
// stored without an edit keeps its text and its formatting.

#include "editor/rtf/RichText.h"

#include <QTextFormat>
#include <cstddef>

class QTextList;

class QTextCursor;
class QTextDocument;

namespace RichTextMapping {

// Extra format properties a picture carries, so the stored bytes are the loaded ones.
inline constexpr int kPictureData = QTextFormat::UserProperty + 1; // QByteArray
inline constexpr int kPictureKind = QTextFormat::UserProperty + 2; // int, rtf::Picture::Kind
// A list's first number (the toolkit here draws every list from 1, so it is carried alongside).
inline constexpr int kListStart = QTextFormat::UserProperty + 3; // int

int listStart(const QTextListFormat& format);
void setListStart(QTextListFormat& format, int start);

// Twips per document unit (the document lays out at 96 units per inch).
inline constexpr double kTwipsPerUnit = 15.0;

// List styles for the numbering kinds and back (None has no list).
QTextListFormat::Style toListStyle(rtf::Numbering numbering);
rtf::Numbering fromListStyle(QTextListFormat::Style style);

QTextCharFormat toCharFormat(const rtf::CharFormat& format);
// `defaults` supplies what the format leaves unset (face and size of the document's default font).
rtf::CharFormat fromCharFormat(const QTextCharFormat& format, const rtf::CharFormat& defaults);

// Inserts the paragraphs at the cursor. The first paragraph continues the
// cursor's block; its paragraph format is applied only when `formatFirstBlock`.
void insertDocument(QTextCursor& cursor, const rtf::Document& document, bool formatFirstBlock);

// How far an insertion made a part at a time has got: the next paragraph, run
// and character, and the list the last paragraph joined, so that the numbers
// of a list run on from one part to the next.
struct InsertPosition {
    size_t paragraph = 0;
    size_t run = 0;
    size_t offset = 0;             // characters of the run's text already in
    bool paragraphStarted = false; // its block and list are made
    QTextList* list = nullptr;
    rtf::Numbering listKind = rtf::Numbering::None;
    int listStart = 0;
};

// Goes on inserting from `position` until about `budget` characters are in (a
// picture counts its stored bytes) or the document is. True when it is all in.
// The parts together give what insertDocument gives in one go.
bool insertPart(QTextCursor& cursor, const rtf::Document& document, bool formatFirstBlock,
                InsertPosition& position, size_t budget);

// The whole document as the model. Adjacent runs of one format are merged.
rtf::Document readDocument(const QTextDocument& document);

} // namespace RichTextMapping
