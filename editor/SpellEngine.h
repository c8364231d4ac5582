#pragma once
// The spelling library behind one global slot: at most one dictionary is
// loaded per process. Words go in and suggestions come out as Qt strings; the
// conversion to the dictionary's own character set happens here, and nothing
// of the library (types or exceptions) leaves this wrapper.

#include <QString>
#include <QStringList>

class SpellEngine {
public:
    // The library takes words of at most this many bytes; longer ones are misspelled.
    static constexpr int kMaxWordBytes = 99;

    // Loads "<lang>.aff" and "<lang>.dic" from the folder "dic" beside the
    // program, or from the system's dictionary folder when that lacks them.
    // Nothing happens when a dictionary is loaded already. Missing files leave
    // an empty dictionary: every word is then misspelled.
    static void LoadDictionary(const QString& language);
    static void UnloadDictionary();
    static bool IsLoaded();

    // True when the dictionary knows the word; false when none is loaded.
    static bool CheckWord(const QString& word);
    // The library's suggestions in its order; none when no dictionary is loaded.
    static QStringList Suggest(const QString& word);
    // The character set the loaded dictionary declares; empty when none is loaded.
    static QString DictionaryEncoding();

    // The folder a dictionary would be loaded from (tests point it elsewhere; empty restores).
    static QString DictionaryFolder(const QString& language);
    static void SetDictionaryFolder(const QString& folder);

    // The search order: "dic" in `programDir` when it holds both files of the
    // language (a build folder, a program folder copied as a whole), else
    // `systemFolder` (an installed program uses the packaged dictionary).
    static constexpr const char* kSystemFolder = "/usr/share/hunspell";
    static QString FindDictionaryFolder(const QString& language, const QString& programDir,
                                        const QString& systemFolder = QString::fromLatin1(kSystemFolder));
};
