// The spelling check against the real en_US dictionary, on a real editor,
// with the suggestion menu and the message boxes answered by the test.
#include "EditorTestSupport.h"

#include "core/MemorySettingsStore.h"
#include "editor/CNoteEditor.h"
#include "editor/EditorTexts.h"
#include "editor/SpellChecker.h"
#include "editor/SpellEngine.h"
#include "gui/QtSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <gtest/gtest.h>

using namespace editortest;

namespace {

const QString kComplete = QString::fromUtf8(EditorTexts::spellingComplete);
const QString kClean = QString::fromUtf8(EditorTexts::noMisspellings);

// The suggestions of a shown suggestion menu: the items above the first separator.
QStringList suggestionsShown(const std::vector<ShownItem>& menu) {
    QStringList out;
    for (const ShownItem& item : menu) {
        if (item.separator)
            break;
        out.push_back(item.path);
    }
    return out;
}

// The word the menu stands at: the editor's selection when the menu opened.
class SpellCheck : public ::testing::Test {
protected:
    SpellCheck() : editor(nullptr, false) { editor.setSettingsStore(&settings); }

    // Runs a check; `choose` picks from the suggestion menu (path or null to dismiss).
    void check(const std::u16string& body,
               std::function<QString(int menuIndex, const QString& word)> choose) {
        editor.LoadBody(body);
        stops.clear();
        MenuScript menu([&](QMenu& m, int index) -> QAction* {
            stops.push_back(editor.textCursor().selectedText());
            EXPECT_TRUE(SpellEngine::IsLoaded());
            const QString path = choose(index, stops.back());
            return path.isEmpty() ? nullptr : findAction(m, path);
        });
        misspelled = SpellChecker::CheckDocument(editor);
        menus = menu.menus;
        points = menu.points;
        EXPECT_FALSE(SpellEngine::IsLoaded()); // unloaded at the end of every check
    }
    void checkIgnoringAll(const std::u16string& body) {
        check(body, [](int, const QString&) { return QString::fromUtf8(EditorTexts::ignore); });
    }

    MemorySettingsStore settings;
    CNoteEditor editor;
    MessageScript messages;
    QStringList stops;
    std::vector<std::vector<ShownItem>> menus;
    std::vector<QPoint> points;
    bool misspelled = false;
};

TEST_F(SpellCheck, CleanTextEndsWithNoMisspellings) {
    checkIgnoringAll(u"The quick brown fox jumps over the lazy dog.\r\nIt's a well-known sentence.");
    EXPECT_TRUE(stops.isEmpty());
    EXPECT_FALSE(misspelled);
    EXPECT_EQ(messages.texts, QStringList{kClean});
    EXPECT_EQ(messages.icons, std::vector<MessageIcon>{MessageIcon::Information});

    checkIgnoringAll(u" ... !? -- '' ");
    EXPECT_TRUE(stops.isEmpty());
    EXPECT_EQ(messages.texts.back(), kClean);
}

TEST_F(SpellCheck, IgnoreStopsAtEveryMisspellingAgain) {
    checkIgnoringAll(u"Thiss is a tset, a tset of {\\rtf words}.");
    EXPECT_EQ(stops, (QStringList{"Thiss", "tset", "tset", "rtf"}));
    EXPECT_TRUE(misspelled);
    EXPECT_EQ(messages.texts, QStringList{kComplete});
    // The menu opens right of and below the word's end.
    QTextCursor end(editor.document());
    end.setPosition(5);
    const QPoint expected = editor.viewport()->mapToGlobal(editor.cursorRect(end).topLeft()) +
                            QPoint(SpellChecker::kMenuOffset, SpellChecker::kMenuOffset);
    EXPECT_EQ(points[0], expected);
}

TEST_F(SpellCheck, DismissingTheMenuEndsTheCheckWithoutSayingItIsComplete) {
    check(u"Frist and secnod.", [](int, const QString&) { return QString(); });
    EXPECT_EQ(stops, QStringList{"Frist"});
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("Frist and secnod."));

    // Escape pressed on the real menu at the second stop.
    stops.clear();
    editor.LoadBody(u"Frist and secnod.");
    MenuScript menu([&](QMenu& m, int index) -> QAction* {
        stops.push_back(editor.textCursor().selectedText());
        if (index == 0)
            return findAction(m, QString::fromUtf8(EditorTexts::ignore));
        QTimer::singleShot(0, &m, [&m] { QTest::keyClick(&m, Qt::Key_Escape); });
        return m.exec(m.pos());
    });
    SpellChecker::CheckDocument(editor);
    EXPECT_EQ(stops, (QStringList{"Frist", "secnod"}));
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(SpellCheck, SuggestionReplacesTheWordAndIsCheckedAgain) {
    check(u"Helo world", [](int index, const QString&) {
        return index == 0 ? QStringLiteral("Hello") : QString::fromUtf8(EditorTexts::ignore);
    });
    ASSERT_FALSE(menus.empty());
    EXPECT_TRUE(suggestionsShown(menus[0]).contains(QStringLiteral("Hello")));
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("Hello world"));
    EXPECT_EQ(stops, QStringList{"Helo"});
    EXPECT_EQ(messages.texts, QStringList{kComplete});
}

TEST_F(SpellCheck, ReplacementTheDictionaryDoesNotKnowStopsAgain) {
    // "isnt" is put right as "isn't"; the apostrophe splits it, and "isn" is no word.
    check(u"It isnt here",
          [](int index, const QString&) { return index == 0 ? QStringLiteral("isn't") : QString(); });
    ASSERT_EQ(stops.size(), 2);
    EXPECT_EQ(stops[0], QStringLiteral("isnt"));
    EXPECT_EQ(stops[1], QStringLiteral("isn"));
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("It isn't here"));
}

TEST_F(SpellCheck, DeleteRemovesTheWord) {
    check(u"one twwo three", [](int, const QString&) { return QString::fromUtf8(EditorTexts::deleteWord); });
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("one  three"));
    EXPECT_EQ(stops, QStringList{"twwo"});
    EXPECT_EQ(messages.texts.back(), kComplete);
}

TEST_F(SpellCheck, AddedWordsPassInAnyCaseUntilReset) {
    check(u"Zorblax met zorblax and ZORBLAX",
          [](int, const QString&) { return QString::fromUtf8(EditorTexts::addToDictionary); });
    EXPECT_EQ(stops, QStringList{"Zorblax"}); // later occurrences pass in the same check
    EXPECT_TRUE(SpellChecker::IsUserWord(settings, QStringLiteral("zORBLAx")));

    // Another note, another check.
    checkIgnoringAll(u"zorblax");
    EXPECT_TRUE(stops.isEmpty());
    EXPECT_EQ(messages.texts.back(), kClean);

    // Reset asks first; Cancel keeps the words, and either answer ends the check.
    {
        MessageScript cancel(MessageAnswer::Cancel);
        check(u"Qwxz zorblax Qwxz",
              [](int, const QString&) { return QString::fromUtf8(EditorTexts::resetDictionary); });
        EXPECT_EQ(stops.size(), 1);
        // The question only: a check ended early is not complete.
        ASSERT_EQ(cancel.texts.size(), 1);
        EXPECT_EQ(cancel.texts[0], QString::fromUtf8(EditorTexts::confirmResetDictionary));
        EXPECT_EQ(cancel.icons[0], MessageIcon::Question);
        EXPECT_EQ(cancel.buttons[0], MessageButtons::OkCancel);
    }
    EXPECT_TRUE(SpellChecker::IsUserWord(settings, QStringLiteral("Zorblax")));
    check(u"Qwxz zorblax Qwxz",
          [](int, const QString&) { return QString::fromUtf8(EditorTexts::resetDictionary); });
    EXPECT_EQ(stops.size(), 1);
    EXPECT_FALSE(settings.hasSection(EditorTexts::dictionarySection));
    checkIgnoringAll(u"zorblax");
    EXPECT_EQ(stops, QStringList{"zorblax"});
}

TEST_F(SpellCheck, AtMostTenSuggestionsAreShown) {
    const QString word = QStringLiteral("ther");
    SpellEngine::LoadDictionary(QStringLiteral("en_US"));
    const QStringList all = SpellEngine::Suggest(word);
    SpellEngine::UnloadDictionary();
    ASSERT_GT(all.size(), SpellChecker::kMaxSuggestions) << "the dictionary should offer more than ten";
    check(word.toStdU16String(), [](int, const QString&) { return QString(); });
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(suggestionsShown(menus[0]), all.mid(0, SpellChecker::kMaxSuggestions));
    // Below them: the fixed items in their order.
    QStringList rest;
    for (size_t i = SpellChecker::kMaxSuggestions; i < menus[0].size(); ++i)
        rest.push_back(menus[0][i].separator ? QStringLiteral("|") : menus[0][i].path);
    EXPECT_EQ(rest, (QStringList{"|", "Ignore", "Delete", "|", "Add to Dictionary", "Reset Dictionary"}));
}

TEST_F(SpellCheck, OverlongWordIsMisspelledWithoutSuggestions) {
    const QString longWord(SpellEngine::kMaxWordBytes + 1, QLatin1Char('a'));
    check(longWord.toStdU16String(), [](int, const QString&) { return QString(); });
    ASSERT_EQ(menus.size(), 1u);
    ASSERT_FALSE(menus[0].empty());
    EXPECT_EQ(menus[0][0].path, QString::fromUtf8(EditorTexts::noSuggestions));
    EXPECT_FALSE(menus[0][0].enabled);
    EXPECT_EQ(suggestionsShown(menus[0]).size(), 1);
}

// A one-language dictionary of two words in a temporary folder, in the given character set.
void writeDictionary(const QString& folder, const char* encoding, const QByteArray& words) {
    QFile aff(folder + QStringLiteral("/en_US.aff"));
    ASSERT_TRUE(aff.open(QIODevice::WriteOnly));
    aff.write(QByteArray("SET ") + encoding + "\nTRY ");
    aff.write(words.left(words.indexOf('\n')));
    aff.write("\n");
    aff.close();
    QFile dic(folder + QStringLiteral("/en_US.dic"));
    ASSERT_TRUE(dic.open(QIODevice::WriteOnly));
    dic.write(QByteArray::number(words.count('\n')) + '\n' + words);
}

TEST(SpellEngine, WordsReachTheDictionaryInItsCharacterSet) {
    const QString cafe = QStringLiteral("caf\u00E9");
    const QString naive = QStringLiteral("na\u00EFve");
    for (const char* encoding : {"UTF-8", "ISO8859-1"}) {
        QTemporaryDir folder;
        const QByteArray words = std::string_view(encoding) == "UTF-8"
                                     ? (cafe + u'\n' + naive + u'\n').toUtf8()
                                     : (cafe + u'\n' + naive + u'\n').toLatin1();
        writeDictionary(folder.path(), encoding, words);
        SpellEngine::SetDictionaryFolder(folder.path());
        SpellEngine::LoadDictionary(QStringLiteral("en_US"));
        EXPECT_TRUE(SpellEngine::CheckWord(cafe)) << encoding;
        EXPECT_TRUE(SpellEngine::CheckWord(naive)) << encoding;
        EXPECT_FALSE(SpellEngine::CheckWord(QStringLiteral("caf\u0416"))) << encoding;
        EXPECT_TRUE(SpellEngine::Suggest(QStringLiteral("cafe")).contains(cafe)) << encoding;
        SpellEngine::UnloadDictionary();
    }
    {
        // In ISO8859-15 the byte A4 is the euro sign (in ISO8859-1 it is the currency sign).
        QTemporaryDir folder;
        writeDictionary(folder.path(), "ISO8859-15", QByteArray("\xA4uro\n"));
        SpellEngine::SetDictionaryFolder(folder.path());
        SpellEngine::LoadDictionary(QStringLiteral("en_US"));
        EXPECT_TRUE(SpellEngine::CheckWord(QStringLiteral("\u20ACuro")));
        EXPECT_FALSE(SpellEngine::CheckWord(QStringLiteral("\u00A4uro")));
        EXPECT_EQ(SpellEngine::Suggest(QStringLiteral("\u20ACuroo")),
                  QStringList{QStringLiteral("\u20ACuro")});
        SpellEngine::UnloadDictionary();
    }
    SpellEngine::SetDictionaryFolder(QString());
}

TEST(UserWordList, LivesInTheProgramsSettingsFile) {
    QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("settings.ini"));
    {
        QtSettingsStore store(ini);
        SpellChecker::AddUserWord(store, QStringLiteral("Sealbook"));
        SpellChecker::AddUserWord(store, QStringLiteral("\u0416\u0443\u043A"));
        store.sync();
    }
    QtSettingsStore reopened(ini);
    EXPECT_TRUE(SpellChecker::IsUserWord(reopened, QStringLiteral("SEALBOOK")));
    EXPECT_TRUE(SpellChecker::IsUserWord(reopened, QStringLiteral("\u0436\u0443\u043A")));
    EXPECT_FALSE(SpellChecker::IsUserWord(reopened, QStringLiteral("Sealboo")));
    SpellChecker::ResetUserWords(reopened);
    EXPECT_FALSE(SpellChecker::IsUserWord(reopened, QStringLiteral("Sealbook")));
}

TEST(SpellEngine, MissingDictionaryKnowsNoWord) {
    QTemporaryDir empty;
    SpellEngine::SetDictionaryFolder(empty.path());
    SpellEngine::LoadDictionary(QStringLiteral("en_US"));
    EXPECT_FALSE(SpellEngine::CheckWord(QStringLiteral("hello")));
    EXPECT_TRUE(SpellEngine::Suggest(QStringLiteral("helo")).isEmpty());
    SpellEngine::UnloadDictionary();
    SpellEngine::SetDictionaryFolder(QString());
    // With nothing loaded, nothing is correct.
    EXPECT_FALSE(SpellEngine::IsLoaded());
    EXPECT_FALSE(SpellEngine::CheckWord(QStringLiteral("hello")));
    SpellEngine::LoadDictionary(QStringLiteral("en_US"));
    EXPECT_TRUE(SpellEngine::CheckWord(QStringLiteral("hello")));
    EXPECT_EQ(SpellEngine::DictionaryEncoding(), QStringLiteral("UTF-8"));
    SpellEngine::UnloadDictionary();
}

} // namespace

TEST(SpellEngine, DictionaryBesideTheProgramComesBeforeTheSystems) {
    struct Case {
        const char* what;
        QStringList besideFiles; // in "dic" beside the program
        bool besideExpected;
    };
    const Case cases[] = {
        {"both files beside", {QStringLiteral("en_US.aff"), QStringLiteral("en_US.dic")}, true},
        {"only the affix file beside", {QStringLiteral("en_US.aff")}, false},
        {"another language beside", {QStringLiteral("de_DE.aff"), QStringLiteral("de_DE.dic")}, false},
        {"nothing beside", {}, false},
    };
    for (const Case& c : cases) {
        QTemporaryDir program;
        QTemporaryDir system;
        QDir(program.path()).mkdir(QStringLiteral("dic"));
        for (const QString& name : c.besideFiles) {
            QFile file(program.filePath(QStringLiteral("dic/") + name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(SpellEngine::FindDictionaryFolder(QStringLiteral("en_US"), program.path(), system.path()),
                  c.besideExpected ? program.filePath(QStringLiteral("dic")) : system.path())
            << c.what;
    }
    // The system folder the installed programs fall back to holds the packaged dictionary.
    QTemporaryDir bare;
    const QString fallback = SpellEngine::FindDictionaryFolder(QStringLiteral("en_US"), bare.path());
    EXPECT_TRUE(QFile::exists(fallback + QStringLiteral("/en_US.dic"))) << qPrintable(fallback);
}
