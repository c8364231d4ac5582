#pragma once
// The spelling check of an editor's text: walks it word by word, stops at each
// word that neither the dictionary nor the user's own word list knows, and
// offers the suggestions and actions of a small menu there. The user's words
// live in the settings section "Dictionary", one value per word.

#include <QString>
#include <QStringView>

class CNoteEditor;
class SettingsStore;

class SpellChecker {
public:
    static constexpr int kMaxSuggestions = 10;
    // The suggestion menu opens this far right of and below the word's end.
    static constexpr int kMenuOffset = 15;

    // Commands of the suggestion menu (QAction::data); suggestions are kSuggestionFirst + index.
    enum Command : int { Ignore = 1, Delete, AddToDictionary, ResetDictionary, SuggestionFirst = 1000 };

    // White space, punctuation, symbols and control characters end a word;
    // an apostrophe or a hyphen therefore splits one.
    static bool IsDelimiter(QChar ch);
    // The next word at or after `pos`: [start, end). False when there is none.
    static bool FindNextWord(QStringView text, qsizetype pos, qsizetype& start, qsizetype& end);

    // The user's word list. Words compare without regard to letter case.
    static bool IsUserWord(const SettingsStore& settings, const QString& word);
    static void AddUserWord(SettingsStore& settings, const QString& word);
    static void ResetUserWords(SettingsStore& settings);

    // Checks the whole text of the editor and ends with one of the two closing
    // messages; a check broken off before the end shows neither. Returns true
    // when a misspelled word was met.
    static bool CheckDocument(CNoteEditor& editor);

private:
    enum class Outcome { GoOn, Changed, End };
    static Outcome SuggestionMenu(CNoteEditor& editor, qsizetype start, qsizetype end, const QString& word);
};
