#include "app/ProgramOptions.h"

#include "app/AppTexts.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

#ifndef SEALBOOK_VERSION
#error "SEALBOOK_VERSION (the project version) is defined by the build"
#endif

namespace {

QString fromUtf8(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The options QGuiApplication, QApplication and the X11 platform take out of
// the command line themselves; they are read here only to be let through.
constexpr const char* kQtOptionsWithValue[] = {"platform",
                                               "platformpluginpath",
                                               "platformtheme",
                                               "plugin",
                                               "qwindowgeometry",
                                               "geometry",
                                               "qwindowtitle",
                                               "title",
                                               "qwindowicon",
                                               "icon",
                                               "session",
                                               "display",
                                               "name",
                                               "visual",
                                               "ncols",
                                               "style",
                                               "stylesheet",
                                               "qmljsdebugger"};
constexpr const char* kQtFlags[] = {"reverse", "testability", "widgetcount", "nograb",
                                    "dograb",  "sync",        "cmap"};

void addHidden(QCommandLineParser& parser, const char* name, bool takesValue) {
    QCommandLineOption option(fromUtf8(name));
    if (takesValue)
        option.setValueName(QStringLiteral("value"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
}

} // namespace

ProgramOptions ProgramOptions::Parse(const QStringList& arguments) {
    const QString program = arguments.isEmpty() ? QString() : QFileInfo(arguments.front()).fileName();
    QCommandLineParser parser;
    // Qt's options are single words after one dash (-platform, -style).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(fromUtf8(AppTexts::commandLineAbout));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                                  fromUtf8(AppTexts::helpOptionHelp));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     fromUtf8(AppTexts::versionOptionHelp));
    parser.addOption(help);
    parser.addOption(version);
    for (const char* name : kQtOptionsWithValue)
        addHidden(parser, name, true);
    for (const char* name : kQtFlags)
        addHidden(parser, name, false);
    parser.addPositionalArgument(fromUtf8(AppTexts::databaseArgument),
                                 fromUtf8(AppTexts::databaseArgumentHelp),
                                 fromUtf8(AppTexts::databaseArgumentSyntax));

    ProgramOptions result;
    const auto refuse = [&](const QString& message) {
        result.action = Action::Refuse;
        result.text = fromUtf8(AppTexts::refusedLine).arg(program, message);
        return result;
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (parser.isSet(help)) {
        result.action = Action::Help;
        // Qt's usage line names the program by its whole path, or by a
        // placeholder before the application object exists: ours replaces it.
        const QString qtHelp = parser.helpText();
        result.text = fromUtf8(AppTexts::usageLine).arg(program, fromUtf8(AppTexts::databaseArgumentSyntax)) +
                      qtHelp.mid(qtHelp.indexOf(u'\n'));
        return result;
    }
    if (parser.isSet(version)) {
        result.action = Action::Version;
        result.text = fromUtf8(AppTexts::versionLine).arg(program, QStringLiteral(SEALBOOK_VERSION)) + u'\n';
        return result;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return refuse(fromUtf8(AppTexts::oneDatabaseOnly).arg(positional.at(1)));
    if (!positional.isEmpty())
        result.database = positional.front();
    return result;
}

int ProgramOptions::Report() const {
    const QByteArray bytes = text.toLocal8Bit();
    if (action == Action::Refuse) {
        std::fprintf(stderr, "%s\n", bytes.constData());
        return kRefusedStatus;
    }
    std::fputs(bytes.constData(), stdout);
    return 0;
}
