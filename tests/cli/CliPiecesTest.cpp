// The small pieces of the companion: UTF conversions, base64, the command
// line, the password sources and safe attachment file names.

#include "cli/AttachmentFolder.h"
#include "cli/BackgroundWriter.h"
#include "cli/Base64.h"
#include "cli/CliError.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/PasswordSource.h"
#include "cli/TerminalText.h"
#include "cli/Utf.h"
#include "core/FileError.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace {

TEST(CliUtf, ConvertsEveryPlaneBothWays) {
    const std::u16string text = u"A\u00e9\u20ac\U0001F600z";
    const std::string utf8 = ToUtf8(text);
    EXPECT_EQ(utf8, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
    ASSERT_TRUE(FromUtf8(utf8));
    EXPECT_EQ(*FromUtf8(utf8), text);
    EXPECT_TRUE(IsWellFormedUtf16(text));
}

TEST(CliUtf, LoneSurrogatesAreFoundAndShownAsReplacement) {
    EXPECT_FALSE(IsWellFormedUtf16(std::u16string(1, char16_t(0xD800))));
    EXPECT_FALSE(IsWellFormedUtf16(std::u16string{u'a', char16_t(0xDC00)}));
    EXPECT_FALSE(IsWellFormedUtf16(std::u16string{char16_t(0xD800), u'a'}));
    // Pair reversed: two lone surrogates.
    EXPECT_FALSE(IsWellFormedUtf16(std::u16string{char16_t(0xDC00), char16_t(0xD800)}));
    EXPECT_EQ(ToUtf8(std::u16string{u'x', char16_t(0xD800)}), "x\xEF\xBF\xBD");
}

TEST(CliUtf, RefusesMalformedUtf8) {
    EXPECT_FALSE(FromUtf8("\xC3"));             // cut off
    EXPECT_FALSE(FromUtf8("\xE2\x82"));         // cut off
    EXPECT_FALSE(FromUtf8("\xC0\xAF"));         // overlong '/'
    EXPECT_FALSE(FromUtf8("\xED\xA0\x80"));     // encoded surrogate
    EXPECT_FALSE(FromUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(FromUtf8("\x80"));             // stray continuation
    EXPECT_FALSE(FromUtf8("a\xFF"));
    EXPECT_TRUE(FromUtf8(std::string("a\0b", 3)));
    EXPECT_EQ(FromUtf8(std::string("a\0b", 3))->size(), 3u);
}

TEST(CliBody, PlainTextEndsLinesForTheTerminal) {
    EXPECT_EQ(BodyAsPlainText(u"one\r\ntwo\rthree\n"), u"one\ntwo\rthree\n");
    EXPECT_EQ(BodyAsPlainText(u""), u"");
    EXPECT_EQ(BodyAsPlainText(u"plain\vkept"), u"plain\vkept"); // a plain body as stored
#if SEALBOOK_CLI_HAVE_RTF
    EXPECT_EQ(BodyAsPlainText(u"{\\rtf1\\ansi caf\\'e9\\par next\\par}"), u"caf\u00e9\nnext");
    // A soft line break is a line end on the terminal too.
    EXPECT_EQ(BodyAsPlainText(u"{\\rtf1 one\\line two\\par three}"), u"one\ntwo\nthree");
#endif
}

TEST(CliBody, LineEndsComeOutTheSameWhereverTheTextIsCut) {
    for (const bool fromRtf : {false, true}) {
        const std::u16string text = u"a\r\nb\rc\r\n\vd\r\r\ne\r";
        const auto made = [fromRtf](const std::vector<std::u16string_view>& pieces) {
            std::u16string out;
            TerminalText terminal(fromRtf, [&out](std::u16string_view piece) { out += piece; });
            for (auto piece : pieces)
                terminal.add(piece);
            terminal.finish();
            EXPECT_EQ(terminal.last(), out.empty() ? u'\0' : out.back());
            return out;
        };
        const std::u16string whole = made({text});
        EXPECT_EQ(whole, fromRtf ? u"a\nb\rc\n\nd\r\ne\r" : u"a\nb\rc\n\vd\r\ne\r");
        const std::u16string_view view(text);
        for (size_t cut = 0; cut <= text.size(); ++cut)
            EXPECT_EQ(made({view.substr(0, cut), view.substr(cut)}), whole) << cut;
    }
}

TEST(CliBody, BackgroundWriterKeepsEveryPieceInOrder) {
    // Far more pieces than the writer lets wait, of every size, some empty.
    std::u16string whole;
    std::ostringstream out;
    {
        BackgroundWriter writer(out);
        for (int i = 0; i < 2000; ++i) {
            const std::u16string piece =
                std::u16string(static_cast<size_t>(i % 37), u'a' + i % 26) + u"\u00e9\u20ac\n";
            writer.add(i % 5 == 0 ? std::u16string_view() : piece);
            whole += i % 5 == 0 ? u"" : piece;
        }
        writer.finish();
        EXPECT_EQ(out.str(), ToUtf8(whole));
        writer.add(u"late"); // after finish nothing more reaches the stream
    }
    EXPECT_EQ(out.str(), ToUtf8(whole));
}

TEST(CliBase64, RoundTripsEveryLengthAndByte) {
    std::vector<uint8_t> data;
    for (int i = 0; i < 300; ++i) {
        const auto text = EncodeBase64(data);
        EXPECT_EQ(text.size(), (data.size() + 2) / 3 * 4);
        const auto back = DecodeBase64(text);
        ASSERT_TRUE(back) << i;
        EXPECT_EQ(*back, data);
        data.push_back(static_cast<uint8_t>(255 - i));
    }
    EXPECT_EQ(EncodeBase64({'f', 'o', 'o', 'b'}), "Zm9vYg==");
    EXPECT_EQ(EncodeBase64({'f', 'o', 'o', 'b', 'a'}), "Zm9vYmE=");
}

TEST(CliBase64, RefusesMalformedText) {
    for (const char* bad : {"Zm9", "Zm9vY", "Zm=v", "Zm9v\nYg==", "Zm9vYg=A",
                            "Zm9vY===", "Zh==", "Zm9vYmF=", "Zg==Zg==", "Zm9v!g=="})
        EXPECT_FALSE(DecodeBase64(bad)) << bad;
    EXPECT_TRUE(DecodeBase64(""));
}

TEST(CliCommandLine, ParsesCommandsOperandsAndOptionsAnywhere) {
    auto line = ParseCommandLine({"--password-file", "pw", "show", "db.nte", "12", "--body"});
    EXPECT_EQ(line.command, CommandLine::Command::Show);
    EXPECT_EQ(line.operands, (std::vector<std::string>{"db.nte", "12"}));
    EXPECT_EQ(line.passwordFile, "pw");
    EXPECT_TRUE(line.bodyOnly);

    line = ParseCommandLine({"export", "--attachments=out dir", "db.nte"});
    EXPECT_EQ(line.attachmentsDir, "out dir");

    // After "--" a name starting with '-' is an operand; a lone "-" always is.
    line = ParseCommandLine({"import", "--", "-", "--odd.nte"});
    EXPECT_EQ(line.operands, (std::vector<std::string>{"-", "--odd.nte"}));
    line = ParseCommandLine({"import", "-", "out.nte"});
    EXPECT_EQ(line.operands.front(), "-");

    EXPECT_EQ(ParseCommandLine({}).command, CommandLine::Command::Help);
    EXPECT_EQ(ParseCommandLine({"ls", "--help"}).command, CommandLine::Command::Help);
    EXPECT_EQ(ParseCommandLine({"-h"}).command, CommandLine::Command::Help);
}

TEST(CliCommandLine, RefusesBadCommandLinesWithOneLine) {
    const std::vector<std::vector<std::string>> bad = {
        {"frobnicate", "x"},
        {"ls"},
        {"ls", "a", "b"},
        {"show", "db.nte"},
        {"ls", "db", "--password-file"},
        {"ls", "db", "--verbose"},
        {"ls", "db", "--body"},
        {"show", "db", "1", "--attachments", "d"},
        {"export", "db", "--new-password-file", "f"},
        {"show", "db", "1", "--body", "--rtf"},
        {"ls", "db", "--body=yes"},
    };
    for (const auto& args : bad) {
        try {
            ParseCommandLine(args);
            ADD_FAILURE() << "accepted: " << args.front();
        } catch (const CliError& e) {
            EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos);
        }
    }
}

TEST(CliCommandLine, FormatTextFillsNumberedPlaces) {
    EXPECT_EQ(FormatText("%2 then %1, 100%", {"a", "b"}), "b then a, 100%");
    EXPECT_EQ(FormatText("%3 stays", {"a"}), "%3 stays");
}

// A scripted environment and terminal.
struct FakeConsole {
    std::map<std::string, std::string> env;
    bool terminal = false;
    std::vector<std::string> answers;
    std::vector<std::string> prompts;

    PasswordSource source() {
        PasswordSource s;
        s.getEnv = [this](const char* name) -> std::optional<std::string> {
            const auto it = env.find(name);
            if (it == env.end())
                return std::nullopt;
            return it->second;
        };
        s.stdinIsTerminal = [this] { return terminal; };
        s.readHidden = [this](const char* prompt) -> std::optional<std::string> {
            prompts.emplace_back(prompt);
            if (answers.empty())
                return std::nullopt;
            std::string a = answers.front();
            answers.erase(answers.begin());
            return a;
        };
        return s;
    }
};

TEST(CliPasswords, FileBeatsEnvironmentBeatsPrompt) {
    TempDir dir;
    const auto file = dir.path() / "pw";
    std::ofstream(file) << "s\xC3\xA9same\r\nsecond line\n";

    FakeConsole console;
    console.env["SEALBOOK_PASSWORD"] = "fromenv";
    console.terminal = true;
    console.answers = {"typed"};
    const auto source = console.source();
    EXPECT_EQ(source.Password(file.string(), false), u"s\u00e9same");
    EXPECT_EQ(source.Password(std::nullopt, false), u"fromenv");
    console.env.clear();
    EXPECT_EQ(source.Password(std::nullopt, false), u"typed");
    // No terminal and no other source: the database has no password.
    console.terminal = false;
    EXPECT_EQ(source.Password(std::nullopt, false), u"");
    EXPECT_EQ(console.prompts.size(), 1u);
}

TEST(CliPasswords, PasswordFileEdgeCases) {
    TempDir dir;
    std::ofstream(dir.path() / "empty");
    std::ofstream(dir.path() / "nonl") << "abc";
    std::ofstream(dir.path() / "spaces") << " a b \n";
    std::ofstream(dir.path() / "latin1") << "caf\xE9\n";
    const auto source = FakeConsole{}.source();
    EXPECT_EQ(source.Password((dir.path() / "empty").string(), false), u"");
    EXPECT_EQ(source.Password((dir.path() / "nonl").string(), false), u"abc");
    EXPECT_EQ(source.Password((dir.path() / "spaces").string(), false), u" a b ");
    EXPECT_THROW(source.Password((dir.path() / "latin1").string(), false), CliError);
    try {
        source.Password((dir.path() / "missing").string(), false);
        ADD_FAILURE();
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::FileNotFound);
    }
}

TEST(CliPasswords, NewPasswordIsAskedTwiceAndMustMatch) {
    FakeConsole console;
    console.terminal = true;
    console.answers = {"one", "one"};
    EXPECT_EQ(console.source().NewPassword(std::nullopt), u"one");
    EXPECT_EQ(console.prompts.size(), 2u);

    console.answers = {"one", "two"};
    EXPECT_THROW(console.source().NewPassword(std::nullopt), CliError);

    // A new file's password from the prompt is confirmed as well.
    console.answers = {"abc", "abd"};
    EXPECT_THROW(console.source().Password(std::nullopt, true), CliError);

    // The environment may remove a password on purpose with an empty value...
    console.env["SEALBOOK_NEW_PASSWORD"] = "";
    EXPECT_EQ(console.source().NewPassword(std::nullopt), u"");
    // ...but without any source and no terminal, passwd refuses rather than
    // silently dropping the password.
    console.env.clear();
    console.terminal = false;
    EXPECT_THROW(console.source().NewPassword(std::nullopt), CliError);
}

TEST(CliAttachments, SafeNamesNeverLeaveTheFolder) {
    EXPECT_EQ(AttachmentFolder::SafeFileName(u"report.pdf"), "report.pdf");
    EXPECT_EQ(AttachmentFolder::SafeFileName(u"../x"), "x");
    EXPECT_EQ(AttachmentFolder::SafeFileName(u"/etc/passwd"), "passwd");
    EXPECT_EQ(AttachmentFolder::SafeFileName(u"C:\\Users\\me\\card.jpg"), "card.jpg");
    EXPECT_EQ(AttachmentFolder::SafeFileName(u".."), "attachment");
    EXPECT_EQ(AttachmentFolder::SafeFileName(u"dir/.."), "attachment");
    EXPECT_EQ(AttachmentFolder::SafeFileName(u"a/"), "attachment");
    EXPECT_EQ(AttachmentFolder::SafeFileName(u""), "attachment");
    EXPECT_EQ(AttachmentFolder::SafeFileName(u"a\nb\tc"), "a_b_c");
    EXPECT_EQ(AttachmentFolder::SafeFileName(std::u16string{u'x', char16_t(0xD800)}), "x\xEF\xBF\xBD");
    const std::string longName = AttachmentFolder::SafeFileName(std::u16string(300, u'\u00e9'));
    EXPECT_LE(longName.size(), 200u);
    EXPECT_TRUE(FromUtf8(longName)); // not cut inside a character
}

TEST(CliAttachments, ClashesGetNumbersAndNothingIsOverwritten) {
    TempDir dir;
    std::ofstream(dir.path() / "a.txt") << "keep";
    AttachmentFolder folder(dir.path() / "sub", true);
    std::filesystem::create_symlink(dir.path() / "a.txt", dir.path() / "sub" / "b.txt");

    EXPECT_EQ(folder.Write(u"x/a.txt", {'1'}), "a.txt");
    EXPECT_EQ(folder.Write(u"y/a.txt", {'2'}), "a (2).txt");
    // A link planted under the wanted name is neither followed nor replaced.
    EXPECT_EQ(folder.Write(u"b.txt", {'3'}), "b (2).txt");
    EXPECT_EQ(folder.Write(u".hidden", {'4'}), ".hidden");
    EXPECT_EQ(folder.Write(u".hidden", {'5'}), ".hidden (2)");

    EXPECT_EQ(folder.Read("a (2).txt", "w"), std::vector<uint8_t>{'2'});
    EXPECT_EQ(folder.Read(".hidden (2)", "w"), std::vector<uint8_t>{'5'});
    std::ifstream kept(dir.path() / "a.txt");
    std::string content;
    kept >> content;
    EXPECT_EQ(content, "keep");
    for (const char* bad : {"../a.txt", "", ".", "..", "sub/a.txt"})
        EXPECT_THROW(folder.Read(bad, "w"), CliError) << bad;
    EXPECT_THROW(folder.Read("missing", "w"), FileError);
}

} // namespace
