#include "editor/PreviewComposer.h"

#include "core/ConcealedValues.h"
#include "core/NotesMgr.h"
#include "core/Texts.h"
#include "editor/CNoteEditor.h"
#include "editor/rtf/PlainText.h"
#include "editor/rtf/RtfReader.h"

#include <QScrollBar>
#include <QTextDocument>
#include <algorithm>
#include <cstdint>

std::u16string PreviewFieldText(const NotesMgr& notes, const NoteRecord& node, bool revealConcealed) {
    std::u16string text;
    if (node.templateId != 0) {
        const TemplateRecord& fields = notes.FindTemplate(node.templateId);
        for (int i = 0; i < kFieldCount; ++i) {
            const std::u16string& caption = fields.caption(i);
            if (caption.empty())
                continue;
            text += caption;
            text += u' ';
            const std::u16string& value = node.fieldValues[static_cast<size_t>(i)];
            // An empty value has nothing to hide.
            if (!revealConcealed && !value.empty() && IsConcealedCaption(caption))
                text += Texts::concealedValue;
            else
                text += value;
            text += u"\r\n";
        }
    }
    if (!text.empty())
        text += u"\r\n";
    return text;
}

void UseButtonFace(CNoteEditor& editor) {
    QPalette palette = editor.palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    editor.setPalette(palette);
}

namespace {

// Where a plain body may be cut after about `wanted` characters from `from`:
// never between the two halves of a line end or of a surrogate pair.
size_t plainCutLength(const std::u16string& text, size_t from, size_t wanted) {
    size_t length = std::min(wanted, text.size() - from);
    const size_t end = from + length;
    if (length > 0 && end < text.size() &&
        ((text[end - 1] == u'\r' && text[end] == u'\n') || QChar::isHighSurrogate(text[end - 1])))
        ++length;
    return length;
}

} // namespace

PreviewComposer::PreviewComposer(CNoteEditor& editor, QObject* parent) : QObject(parent), m_editor(editor) {
    m_stepTimer.setSingleShot(true);
    m_stepTimer.setInterval(0);
    connect(&m_stepTimer, &QTimer::timeout, this, &PreviewComposer::Step);
}

PreviewComposer::~PreviewComposer() {
    Cancel();
}

QTextDocument* PreviewComposer::NewDocument() const {
    auto* document = new QTextDocument(const_cast<PreviewComposer*>(this));
    document->setDefaultFont(m_editor.document()->defaultFont());
    // Nothing is ever undone in a preview.
    document->setUndoRedoEnabled(false);
    return document;
}

void PreviewComposer::Show(const NotesMgr* notes, const NoteRecord* node) {
    Cancel();
    if (!node) {
        m_editor.ShowNewDocument(NewDocument());
        return;
    }
    m_fields = notes ? PreviewFieldText(*notes, *node, m_reveal) : std::u16string();
    m_rtfBody = CNoteEditor::IsRtfBody(node->body);
    if (m_rtfBody) {
        m_model = rtf::ReadRtf(rtf::BodyToRtfBytes(node->body));
        m_plainBody.clear();
    } else {
        m_model = {};
        m_plainBody = node->body;
    }

    Build first;
    StartBuild(first, m_fields);
    const bool whole = Continue(first, kFirstPartChars);
    m_editor.ShowNewDocument(first.document);
    if (whole) {
        m_model = {};
        m_plainBody.clear();
        return;
    }
    // The rest goes into a second document while the program is idle; the one
    // shown stays as it is, since a change to a shown document is laid out at once.
    m_shown = first.document;
    m_pending = true;
    StartBuild(m_full, m_fields);
    m_stepTimer.start();
}

void PreviewComposer::StartBuild(Build& build, const std::u16string& fields) {
    build.document = NewDocument();
    build.cursor = QTextCursor(build.document);
    build.position = {};
    build.plainOffset = 0;
    // The field lines are plain text in the document's own format; the body
    // follows at the start of the paragraph after the blank line.
    if (!fields.empty())
        build.cursor.insertText(CNoteEditor::PlainBodyText(fields));
}

bool PreviewComposer::Continue(Build& build, size_t budget) {
    if (m_rtfBody)
        return RichTextMapping::insertPart(build.cursor, m_model, true, build.position, budget);
    const size_t length = plainCutLength(m_plainBody, build.plainOffset, budget);
    if (length > 0)
        build.cursor.insertText(CNoteEditor::PlainBodyText(m_plainBody.substr(build.plainOffset, length)));
    build.plainOffset += length;
    return build.plainOffset >= m_plainBody.size();
}

void PreviewComposer::Step() {
    if (!m_pending)
        return;
    if (Continue(m_full, kStepChars))
        Complete();
    else
        m_stepTimer.start();
}

void PreviewComposer::Finish() {
    if (m_pending && Continue(m_full, SIZE_MAX))
        Complete();
}

void PreviewComposer::Complete() {
    if (m_editor.document() != m_shown) {
        // Something else was loaded meanwhile: the work is of no use.
        Cancel();
        return;
    }
    // The reader may have scrolled the first part: the whole body opens at the same place.
    int topPosition = 0;
    if (m_editor.verticalScrollBar()->value() > 0)
        topPosition = m_editor.cursorForPosition(QPoint(0, 0)).position();
    QTextDocument* full = m_full.document;
    m_full = {};
    m_pending = false;
    m_stepTimer.stop();
    m_model = {};
    m_plainBody.clear();
    m_editor.ShowNewDocument(full);
    if (topPosition > 0) {
        QTextCursor at(full);
        at.setPosition(std::min(topPosition, full->characterCount() - 1));
        m_editor.verticalScrollBar()->setValue(m_editor.cursorRect(at).top());
    }
    emit completed();
}

void PreviewComposer::Cancel() {
    m_stepTimer.stop();
    delete m_full.document;
    m_full = {};
    m_pending = false;
    m_shown = nullptr;
}
