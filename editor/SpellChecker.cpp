#include "editor/SpellChecker.h"

#include "core/SettingsStore.h"
#include "editor/CNoteEditor.h"
#include "editor/EditorTexts.h"
#include "editor/SpellEngine.h"
#include "gui/MessageBox.h"

#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Settings value names are the words folded to lower case, so that a word
// added in one case is found in any other.
std::string userWordName(const QString& word) {
    return word.toLower().toStdString();
}

QString editorText(const CNoteEditor& editor) {
    return editor.document()->toRawText();
}

void selectRange(CNoteEditor& editor, qsizetype start, qsizetype end) {
    QTextCursor cursor(editor.document());
    cursor.setPosition(static_cast<int>(start));
    cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
}

// Replaces the selected word, keeping the format of its first character.
void replaceSelection(CNoteEditor& editor, qsizetype start, const QString& replacement) {
    QTextCursor cursor = editor.textCursor();
    QTextCursor first(editor.document());
    first.setPosition(static_cast<int>(start) + 1);
    cursor.insertText(replacement, first.charFormat());
    editor.setTextCursor(cursor);
}

} // namespace

bool SpellChecker::IsDelimiter(QChar ch) {
    // As the wide-character classes space, punct and cntrl see it: punct takes in the symbols too.
    return ch.isSpace() || ch.isPunct() || ch.isSymbol() || ch.category() == QChar::Other_Control ||
           ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator;
}

bool SpellChecker::FindNextWord(QStringView text, qsizetype pos, qsizetype& start, qsizetype& end) {
    const qsizetype n = text.size();
    while (pos < n && IsDelimiter(text[pos]))
        ++pos;
    if (pos >= n)
        return false;
    start = pos;
    while (pos < n && !IsDelimiter(text[pos]))
        ++pos;
    end = pos;
    return start < end;
}

bool SpellChecker::IsUserWord(const SettingsStore& settings, const QString& word) {
    return settings.getInt(EditorTexts::dictionarySection, userWordName(word), 0) != 0;
}

void SpellChecker::AddUserWord(SettingsStore& settings, const QString& word) {
    settings.writeInt(EditorTexts::dictionarySection, userWordName(word), 1);
}

void SpellChecker::ResetUserWords(SettingsStore& settings) {
    settings.removeSection(EditorTexts::dictionarySection);
}

bool SpellChecker::CheckDocument(CNoteEditor& editor) {
    SpellEngine::LoadDictionary(QString::fromLatin1(EditorTexts::dictionaryLanguage));
    QString text = editorText(editor);
    qsizetype position = 0;
    qsizetype start = 0;
    qsizetype end = 0;
    bool misspelled = false;
    bool endedEarly = false;
    while (position < text.size() && FindNextWord(text, position, start, end)) {
        const QString word = text.mid(start, end - start);
        if (SpellEngine::CheckWord(word) || IsUserWord(editor.settingsStore(), word)) {
            position = end + 1;
            continue;
        }
        misspelled = true;
        const Outcome outcome = SuggestionMenu(editor, start, end, word);
        if (outcome == Outcome::End) {
            endedEarly = true;
            break;
        }
        if (outcome == Outcome::Changed) {
            // The replacement is looked up again.
            text = editorText(editor);
            position = start;
        } else {
            position = end + 1;
        }
    }
    SpellEngine::UnloadDictionary();
    // A check the user broke off (Escape at the menu, the end of Reset
    // Dictionary) is not complete and says nothing.
    if (!endedEarly) {
        ShowMessageBox(
            &editor,
            QString::fromUtf8(misspelled ? EditorTexts::spellingComplete : EditorTexts::noMisspellings),
            MessageIcon::Information);
    }
    return misspelled;
}

SpellChecker::Outcome SpellChecker::SuggestionMenu(CNoteEditor& editor, qsizetype start, qsizetype end,
                                                   const QString& word) {
    QTextCursor atEnd(editor.document());
    atEnd.setPosition(static_cast<int>(end));
    const QPoint point =
        editor.viewport()->mapToGlobal(editor.cursorRect(atEnd).topLeft()) + QPoint(kMenuOffset, kMenuOffset);
    selectRange(editor, start, end);

    QMenu menu(&editor);
    const QStringList suggestions = SpellEngine::Suggest(word);
    const qsizetype shown = std::min<qsizetype>(suggestions.size(), kMaxSuggestions);
    for (qsizetype i = 0; i < shown; ++i)
        menu.addAction(suggestions[i])->setData(SuggestionFirst + static_cast<int>(i));
    if (shown == 0)
        menu.addAction(QString::fromUtf8(EditorTexts::noSuggestions))->setEnabled(false);
    menu.addSeparator();
    menu.addAction(QString::fromUtf8(EditorTexts::ignore))->setData(Ignore);
    menu.addAction(QString::fromUtf8(EditorTexts::deleteWord))->setData(Delete);
    menu.addSeparator();
    menu.addAction(QString::fromUtf8(EditorTexts::addToDictionary))->setData(AddToDictionary);
    menu.addAction(QString::fromUtf8(EditorTexts::resetDictionary))->setData(ResetDictionary);

    QAction* chosen = editor.trackMenu(menu, point);
    if (!chosen || !chosen->data().isValid())
        return Outcome::End;
    const int command = chosen->data().toInt();
    if (command >= SuggestionFirst && command < SuggestionFirst + shown) {
        replaceSelection(editor, start, suggestions[command - SuggestionFirst]);
        return Outcome::Changed;
    }
    switch (command) {
    case Ignore:
        return Outcome::GoOn;
    case Delete:
        replaceSelection(editor, start, QString());
        return Outcome::Changed;
    case AddToDictionary:
        AddUserWord(editor.settingsStore(), word);
        return Outcome::GoOn;
    case ResetDictionary:
        if (ShowMessageBox(&editor, QString::fromUtf8(EditorTexts::confirmResetDictionary),
                           MessageIcon::Question, MessageButtons::OkCancel) == MessageAnswer::Ok)
            ResetUserWords(editor.settingsStore());
        return Outcome::End;
    default:
        return Outcome::End;
    }
}
