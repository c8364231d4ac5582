// The programs' command line, read as the program receives it.
#include "app/ProgramOptions.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using Action = ProgramOptions::Action;

ProgramOptions parse(std::initializer_list<const char*> arguments) {
    QStringList list{QStringLiteral("/opt/sealbook/bin/Wrendesk")};
    for (const char* argument : arguments)
        list << QString::fromUtf8(argument);
    return ProgramOptions::Parse(list);
}

} // namespace

TEST(ProgramOptions, DatabasePathsAndQtsOwnOptionsRun) {
    struct Case {
        std::initializer_list<const char*> arguments;
        const char* database;
    };
    const Case cases[] = {
        {{}, ""},
        {{"notes.nte"}, "notes.nte"},
        {{"/home/u/My Notes/\u00E9t\u00E9.nte"}, "/home/u/My Notes/\u00E9t\u00E9.nte"},
        // Qt takes these itself, with or without a value, one dash or two.
        {{"-platform", "offscreen", "-style=fusion", "-reverse", "notes.nte"}, "notes.nte"},
        {{"--session", "1234abc", "-qwindowgeometry", "640x480+0+0"}, ""},
        // After "--" a name that starts with a dash is a file.
        {{"--", "-odd.nte"}, "-odd.nte"},
    };
    for (const Case& c : cases) {
        const ProgramOptions options = parse(c.arguments);
        EXPECT_EQ(options.action, Action::Run) << qPrintable(options.text);
        EXPECT_EQ(options.database, QString::fromUtf8(c.database));
    }
}

TEST(ProgramOptions, HelpAndVersionNameTheProgram) {
    for (const char* help : {"--help", "-h", "-?"}) {
        const ProgramOptions options = parse({"notes.nte", help});
        EXPECT_EQ(options.action, Action::Help) << help;
        EXPECT_TRUE(options.text.startsWith(QStringLiteral("Usage: Wrendesk [options] [database.nte]\n")))
            << qPrintable(options.text);
        EXPECT_TRUE(options.text.contains(QStringLiteral("--version")));
        // Qt's own options are let through, not advertised.
        EXPECT_FALSE(options.text.contains(QStringLiteral("platform")));
    }
    for (const char* version : {"--version", "-v"}) {
        const ProgramOptions options = parse({version});
        EXPECT_EQ(options.action, Action::Version) << version;
        EXPECT_TRUE(options.text.contains(
            QRegularExpression(QStringLiteral("^Wrendesk \\(Marrowick Sealbook\\) [0-9]+(\\.[0-9]+)+\n$"))))
            << qPrintable(options.text);
    }
}

TEST(ProgramOptions, UnknownOptionsAndSecondDatabasesAreRefused) {
    struct Case {
        std::initializer_list<const char*> arguments;
        const char* named; // what the message must name
    };
    const Case cases[] = {
        {{"--frobnicate"}, "frobnicate"},
        {{"-x", "notes.nte"}, "'x'"},
        {{"notes.nte", "--open=other.nte"}, "open"},
        {{"-platform"}, "platform"}, // a Qt option without its value
        {{"a.nte", "b.nte"}, "b.nte"},
    };
    for (const Case& c : cases) {
        const ProgramOptions options = parse(c.arguments);
        EXPECT_EQ(options.action, Action::Refuse) << c.named;
        EXPECT_TRUE(options.database.isEmpty());
        EXPECT_TRUE(options.text.startsWith(QStringLiteral("Wrendesk: "))) << qPrintable(options.text);
        EXPECT_TRUE(options.text.contains(QString::fromUtf8(c.named))) << qPrintable(options.text);
        EXPECT_TRUE(options.text.contains(QStringLiteral("Wrendesk --help"))) << qPrintable(options.text);
    }
}
