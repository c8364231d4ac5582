#include "editor/CNoteEditor.h"

#include "core/CodePage.h"
#include "core/Edition.h"
#include "editor/EditorContextMenu.h"
#include "editor/EditorPrompts.h"
#include "editor/EditorTexts.h"
#include "editor/RichTextMapping.h"
#include "editor/rtf/PlainText.h"
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"
#include "gui/QtSettingsStore.h"
#include "gui/ShellOpen.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <algorithm>

CNoteEditor::CNoteEditor(QWidget* parent, bool readOnly) : QTextEdit(parent), m_readOnlyEditor(readOnly) {
    setObjectName(QString::number(kControlId));
    setFrameShape(QFrame::StyledPanel);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setAcceptRichText(true);
    setTabChangesFocus(false);
    QFont font(QString::fromLatin1(EditorTexts::faceTahoma));
    font.setPointSize(10);
    font.setBold(false);
    // The widget's font too: the editor hands its font to its document when the font changes.
    setFont(font);
    document()->setDefaultFont(font);
    if (readOnly) {
        setReadOnly(true);
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    viewport()->setMouseTracking(true);

    m_repaintTimer.setSingleShot(true);
    m_repaintTimer.setInterval(kRepaintDelayMs);
    connect(&m_repaintTimer, &QTimer::timeout, this, [this] {
        if (m_linksStale)
            refreshLinks();
        else
            showVisibleLinks();
        viewport()->update();
    });
    // textChanged follows the editor across the documents that loads put in.
    connect(this, &QTextEdit::textChanged, this, [this] {
        m_linksStale = true;
        m_repaintTimer.start();
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { showVisibleLinks(); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { showVisibleLinks(); });

    m_holdTimer.setSingleShot(true);
    m_holdTimer.setInterval(kHoldDelayMs);
    connect(&m_holdTimer, &QTimer::timeout, this, [this] { onHold(); });
}

bool CNoteEditor::IsRtfBody(const std::u16string& body) {
    return rtf::IsRtfBody(body);
}

void CNoteEditor::LoadBody(const std::u16string& body, bool atSelection) {
    QTextDocument* doc = document();
    const bool rtfBody = IsRtfBody(body);
    // Parse before touching the content, so that a failing conversion leaves it as it was.
    rtf::Document model;
    if (rtfBody)
        model = rtf::ReadRtf(rtf::BodyToRtfBytes(body));

    if (!atSelection) {
        // The body is built in a new document that then replaces the shown
        // one: the editor lays a new document out step by step as it is
        // needed, where a change of the shown one would be laid out at once.
        // A new body also starts a new history.
        auto* fresh = new QTextDocument(this);
        fresh->setDefaultFont(doc->defaultFont());
        fresh->setUndoRedoEnabled(false);
        QTextCursor cursor(fresh);
        cursor.beginEditBlock();
        if (rtfBody)
            RichTextMapping::insertDocument(cursor, model, true);
        else
            cursor.insertText(PlainBodyText(body));
        cursor.endEditBlock();
        fresh->setUndoRedoEnabled(true);
        fresh->setModified(false);
        ShowNewDocument(fresh);
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    if (rtfBody)
        RichTextMapping::insertDocument(cursor, model, cursor.atBlockStart());
    else
        cursor.insertText(PlainBodyText(body));
    cursor.endEditBlock();
    setTextCursor(cursor);
    refreshLinks();
    restartRepaintTimer();
}

void CNoteEditor::ShowNewDocument(QTextDocument* fresh) {
    QTextDocument* old = document();
    fresh->setParent(this);
    setExtraSelections({});
    // The first document belongs to the control, which deletes it itself;
    // the editor deletes the ones it made for earlier loads.
    const bool ownOld = old->parent() == this && old != fresh;
    setDocument(fresh);
    if (ownOld)
        old->deleteLater(); // a long body takes a while to free: not while a key waits
    QTextCursor cursor(fresh);
    cursor.setPosition(0);
    setTextCursor(cursor);
    refreshLinks();
    restartRepaintTimer();
}

QString CNoteEditor::PlainBodyText(const std::u16string& body) {
    // Windows line ends and lone carriage returns become one paragraph break each.
    QString text = QString::fromStdU16String(body);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    return text;
}

std::u16string CNoteEditor::StoreBody() const {
    // The writer's bytes are in the ANSI code page; each byte becomes one character.
    return CodePage::toUtf16(rtf::WriteRtf(RichTextMapping::readDocument(*document())), CodePage::kAnsi);
}

std::u16string CNoteEditor::BodyToPlainText(const std::u16string& body) {
    if (!IsRtfBody(body))
        return body;
    return rtf::BodyToPlainText(body);
}

std::u16string CNoteEditor::LoadStarterText() {
    return CodePage::toUtf16(EditorTexts::starterText, CodePage::kAnsi);
}

SettingsStore& CNoteEditor::settingsStore() const {
    if (m_settings)
        return *m_settings;
    static QtSettingsStore programSettings;
    return programSettings;
}

void CNoteEditor::refreshLinks() {
    m_links = LinkFinder::find(document()->toRawText());
    m_linksStale = false;
    showVisibleLinks();
}

void CNoteEditor::showVisibleLinks() {
    // Links are shown through extra selections, which are drawn but never
    // stored: a detected link is not part of the body's formatting. Only the
    // links in view get one, so a long body with many links stays quick.
    // Asking for a block's rectangle lays the text out up to it, which the
    // step-by-step layout of a new document may not have reached yet.
    // The hit test is only a first guess there, so the first block in view is
    // found from the block rectangles themselves.
    const qreal top = verticalScrollBar()->value();
    const qreal bottom = top + viewport()->height();
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    QTextBlock firstBlock = document()->findBlock(cursorForPosition(QPoint(0, 0)).position());
    while (firstBlock.previous().isValid() && layout->blockBoundingRect(firstBlock.previous()).bottom() > top)
        firstBlock = firstBlock.previous();
    while (firstBlock.next().isValid() && layout->blockBoundingRect(firstBlock).bottom() < top)
        firstBlock = firstBlock.next();
    const int first = firstBlock.position();
    int last = first;
    for (QTextBlock block = firstBlock; block.isValid(); block = block.next()) {
        if (layout->blockBoundingRect(block).top() > bottom)
            break;
        last = block.position() + block.length();
    }
    const auto begin =
        std::lower_bound(m_links.begin(), m_links.end(), first,
                         [](const LinkRange& link, int pos) { return link.start + link.length < pos; });
    QTextCharFormat linkFormat;
    linkFormat.setForeground(QColor(0, 0, 255));
    linkFormat.setFontUnderline(true);
    QList<QTextEdit::ExtraSelection> selections;
    for (auto it = begin; it != m_links.end() && it->start <= last; ++it) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(document());
        selection.cursor.setPosition(static_cast<int>(it->start));
        selection.cursor.setPosition(static_cast<int>(it->start + it->length), QTextCursor::KeepAnchor);
        selection.format = linkFormat;
        selections.push_back(selection);
    }
    setExtraSelections(selections);
}

std::optional<LinkRange> CNoteEditor::linkAt(const QPoint& viewportPos) const {
    if (m_links.empty())
        return std::nullopt;
    const QPoint documentPos =
        viewportPos + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int hit = document()->documentLayout()->hitTest(documentPos, Qt::ExactHit);
    if (hit < 0)
        return std::nullopt;
    // The hit is the nearest gap between characters; the character under the
    // point is the one after it, or before it when the point lies left of the gap.
    QTextCursor cursor(document());
    cursor.setPosition(hit);
    const qsizetype index = viewportPos.x() < cursorRect(cursor).x() ? hit - 1 : hit;
    for (const LinkRange& link : m_links) {
        if (index >= link.start && index < link.start + link.length)
            return link;
    }
    return std::nullopt;
}

QString CNoteEditor::linkText(const LinkRange& link) const {
    return document()->toRawText().mid(link.start, link.length);
}

void CNoteEditor::openLink(const LinkRange& link) {
    // What the desktop cannot open is ignored; ShellOpen reports nothing.
    ShellOpen(linkText(link));
}

QAction* CNoteEditor::trackMenu(QMenu& menu, const QPoint& globalPos) {
    const QCursor previous = viewport()->cursor();
    viewport()->setCursor(Qt::ArrowCursor);
    const bool wasOpen = m_menuOpen;
    m_menuOpen = true;
    QAction* chosen = RunPopupMenu(menu, globalPos);
    m_menuOpen = wasOpen;
    viewport()->setCursor(previous);
    return chosen;
}

void CNoteEditor::ShowContextMenu(const QPoint& globalPos) {
    EditorContextMenu::run(*this, globalPos);
}

void CNoteEditor::contextMenuEvent(QContextMenuEvent* event) {
    ShowContextMenu(event->globalPos());
    event->accept();
}

void CNoteEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTextEdit::mousePressEvent(event);
        return;
    }
    const std::optional<LinkRange> link = linkAt(event->position().toPoint());
    if constexpr (kHandheld) {
        // A held press opens the context menu; a short tap on a link opens the link.
        m_holdPos = event->position().toPoint();
        m_pressedLink = link;
        m_holdTimer.start();
        if (link) {
            event->accept();
            return;
        }
    } else if (link) {
        openLink(*link);
        event->accept();
        return;
    }
    QTextEdit::mousePressEvent(event);
}

void CNoteEditor::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (m_holdTimer.isActive() &&
        (pos - m_holdPos).manhattanLength() > QGuiApplication::styleHints()->startDragDistance()) {
        m_holdTimer.stop();
        m_pressedLink.reset();
    }
    if (event->buttons() == Qt::NoButton)
        viewport()->setCursor(linkAt(pos) ? Qt::PointingHandCursor
                                          : (m_readOnlyEditor ? Qt::ArrowCursor : Qt::IBeamCursor));
    QTextEdit::mouseMoveEvent(event);
}

void CNoteEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (m_holdTimer.isActive()) {
        m_holdTimer.stop();
        if (m_pressedLink) {
            const LinkRange link = *m_pressedLink;
            m_pressedLink.reset();
            openLink(link);
            event->accept();
            return;
        }
    }
    m_pressedLink.reset();
    QTextEdit::mouseReleaseEvent(event);
}

void CNoteEditor::onHold() {
    m_pressedLink.reset();
    ShowContextMenu(viewport()->mapToGlobal(m_holdPos));
}

void CNoteEditor::focusInEvent(QFocusEvent* event) {
    QTextEdit::focusInEvent(event);
    if (kHandheld && !m_readOnlyEditor)
        QGuiApplication::inputMethod()->show();
}

void CNoteEditor::focusOutEvent(QFocusEvent* event) {
    QTextEdit::focusOutEvent(event);
    if (kHandheld && !m_readOnlyEditor)
        QGuiApplication::inputMethod()->hide();
}

void CNoteEditor::resizeEvent(QResizeEvent* event) {
    QTextEdit::resizeEvent(event);
    restartRepaintTimer();
}

QMimeData* CNoteEditor::createMimeDataFromSelection() const {
    QMimeData* data = QTextEdit::createMimeDataFromSelection();
    const QTextCursor selection = textCursor();
    if (!data || !selection.hasSelection())
        return data;
    QTextDocument copy;
    copy.setDefaultFont(document()->defaultFont());
    QTextCursor(&copy).insertFragment(selection.selection());
    data->setData(QString::fromLatin1(kRtfMimeType),
                  QByteArray::fromStdString(rtf::WriteRtf(RichTextMapping::readDocument(copy))));
    if (m_copyFilter)
        m_copyFilter(*data);
    return data;
}

bool CNoteEditor::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasFormat(QString::fromLatin1(kRtfMimeType)) || QTextEdit::canInsertFromMimeData(source);
}

void CNoteEditor::insertFromMimeData(const QMimeData* source) {
    const QString rtfType = QString::fromLatin1(kRtfMimeType);
    if (!isReadOnly() && source->hasFormat(rtfType)) {
        const QByteArray bytes = source->data(rtfType);
        const std::u16string body = CodePage::toUtf16(
            std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), CodePage::kAnsi);
        if (IsRtfBody(body)) {
            LoadBody(body, true);
            return;
        }
    }
    QTextEdit::insertFromMimeData(source);
}
