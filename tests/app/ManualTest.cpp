// The manual describes the programs as they are: every command of the menus
// is named in it.
#include "app/CommandTable.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(ManualTest, NamesEveryMenuCommand) {
    QFile file(QStringLiteral(SEALBOOK_MANUAL));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << SEALBOOK_MANUAL;
    const QString manual = QString::fromUtf8(file.readAll());
    for (const CommandDef& def : Commands()) {
        QString name = QString::fromUtf8(def.plain);
        // "Find..." is written "Find" in running text.
        if (name.endsWith(QStringLiteral("...")))
            name.chop(3);
        EXPECT_TRUE(manual.contains(name))
            << "docs/manual.md does not name the command \"" << name.toStdString() << '"';
    }
}
