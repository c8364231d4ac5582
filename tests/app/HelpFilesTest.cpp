// The help commands' file: found beside the program, opened through the
// shell, and a message naming it when it cannot be shown.
#include "app/HelpFiles.h"
#include "gui/ShellOpen.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(HelpFilesTest, OpenSaysWhyAHelpFileCannotBeShown) {
    QTemporaryDir program;
    ASSERT_TRUE(program.isValid());
    const QString present = program.filePath(QStringLiteral("notes.pdf"));
    QFile file(present);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString missing = program.filePath(QStringLiteral("notes.html"));
    struct Case {
        const char* name;
        QString file;
        bool viewer;
        QString message;
        QStringList opened;
    };
    const Case cases[] = {
        {"present, with a viewer", present, true, QString(), {present}},
        {"present, no viewer",
         present,
         false,
         QStringLiteral("No program could be started to show the help file %1.").arg(present),
         {present}},
        {"missing", missing, true, QStringLiteral("The help file %1 was not found.").arg(missing), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList opened;
        const ShellOpenHandler previous = SetShellOpenHandler([&](const QString& target) {
            opened << target;
            return c.viewer;
        });
        const QString name = c.file.mid(c.file.lastIndexOf(QLatin1Char('/')) + 1);
        EXPECT_EQ(HelpFiles::Open(program.path(), name), c.message);
        EXPECT_EQ(opened, c.opened);
        SetShellOpenHandler(previous);
    }
}
