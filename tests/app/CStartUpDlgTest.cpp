// The start-up dialog of both editions, driven through its edit, list,
// buttons and soft keys, with the settings in a temporary file and the
// documents folder in a temporary folder; and the listing and wording rules
// without a window.
#include "app/CStartUpDlg.h"
#include "app/CNotesDoc.h"
#include "app/StartUpFiles.h"
#include "core/Edition.h"
#include "core/NotesMgr.h"
#include "core/TreeOps.h"
#include "gui/DialogMenuBar.h"
#include "gui/FileDialogs.h"
#include "gui/MessageBox.h"
#include "gui/QtSettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

using OpenResult = CNotesDoc::OpenResult;

// The settings file, remembering every string written to it in order.
class RecordingStore : public QtSettingsStore {
public:
    using QtSettingsStore::QtSettingsStore;
    void writeString(const std::string& section, const std::string& name,
                     const std::u16string& value) override {
        writes.push_back(QString::fromStdString(section + "/" + name) + QLatin1Char('=') +
                         QString::fromStdU16String(value));
        QtSettingsStore::writeString(section, name, value);
    }
    QStringList writes;
};

void writeFile(const QString& path, qsizetype size) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    file.write(QByteArray(size, 'x'));
}

QStringList listedNames(const CStartUpDlg& dlg) {
    QStringList names;
    for (int row = 0; row < dlg.fileList()->topLevelItemCount(); ++row)
        names << dlg.fileList()->topLevelItem(row)->text(0);
    return names;
}

QRect globalRect(const QWidget* widget) {
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

class StartUpDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_temp.isValid());
        root = QDir(m_temp.path());
        ASSERT_TRUE(root.mkpath(QStringLiteral("config")) && root.mkpath(QStringLiteral("Documents")));
        documents = root.filePath(QStringLiteral("Documents"));
        // The documents folder comes from the XDG user folders of this config home.
        QFile dirs(root.filePath(QStringLiteral("config/user-dirs.dirs")));
        ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DOCUMENTS_DIR=\"" + QFile::encodeName(documents) + "\"\n");
        dirs.close();
        m_oldConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath(QStringLiteral("config"))));

        settings.emplace(root.filePath(QStringLiteral("settings.ini")));
        m_previousHandler =
            SetMessageBoxHandler([this](QWidget*, const QString& text, MessageIcon icon, MessageButtons) {
                messages << text;
                icons.push_back(icon);
                return MessageAnswer::Ok;
            });
        FileDialogs::ClearQueue();
    }

    void TearDown() override {
        SetMessageBoxHandler(std::move(m_previousHandler));
        FileDialogs::ClearQueue();
        qputenv("XDG_CONFIG_HOME", m_oldConfigHome);
    }

    // A dialog whose open records the path and answers with `outcome`.
    std::unique_ptr<CStartUpDlg> makeDialog() {
        auto dlg = std::make_unique<CStartUpDlg>(notes, *settings, [this](const QString& path) {
            opened << path;
            return outcome;
        });
        dlg->show();
        return dlg;
    }

    QString storedPath() const {
        return QString::fromStdU16String(settings->getString("Settings", "StartUpPath", u"<missing>"));
    }

    QDir root;
    QString documents;
    std::optional<RecordingStore> settings;
    NotesMgr notes;
    CNotesDoc::OpenOutcome outcome{OpenResult::Opened, {}};
    QStringList opened;
    QStringList messages;
    std::vector<MessageIcon> icons;

private:
    QTemporaryDir m_temp;
    QByteArray m_oldConfigHome;
    MessageBoxHandler m_previousHandler;
};

} // namespace

TEST(StartUpFiles, SizeTexts) {
    const struct {
        qint64 size;
        const char* text;
    } cases[] = {
        {0, "0 B"},
        {1023, "1023 B"},
        {1024, "1 Kb"},
        {2047, "1 Kb"},
        {2048, "2 Kb"},
        // Past 4 GB the whole size counts, not its low 32 bits (which would say 1023 B).
        {(qint64(1) << 32) + 1023, "4194304 Kb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StartUpFiles::SizeText(c.size), QString::fromUtf8(c.text)) << c.size;
}

TEST(StartUpFiles, TimeTextsUseTheTwelveHourClockInLocalTime) {
    const struct {
        int hour, minute;
        const char* prefix;
    } cases[] = {{0, 30, "12:30 AM, "}, {9, 5, "09:05 AM, "}, {12, 0, "12:00 PM, "}, {23, 59, "11:59 PM, "}};
    for (const auto& c : cases) {
        std::tm local{};
        local.tm_year = 2024 - 1900;
        local.tm_mon = 1;
        local.tm_mday = 29;
        local.tm_hour = c.hour;
        local.tm_min = c.minute;
        local.tm_isdst = -1;
        const QString text = StartUpFiles::TimeText(std::mktime(&local));
        EXPECT_TRUE(text.startsWith(QString::fromUtf8(c.prefix))) << qPrintable(text);
        EXPECT_TRUE(text.contains(QStringLiteral("29"))) << qPrintable(text); // the date follows
    }
}

TEST(StartUpFiles, RecentMenuHoldsSevenNumberedEntriesAndSkipsEmptyOnes) {
    std::vector<std::u16string> recent;
    for (char16_t c = u'a'; c <= u'i'; ++c)
        recent.push_back(u"/data/" + std::u16string(1, c) + u".nte");
    recent[2].clear();
    const auto entries = StartUpFiles::RecentMenuEntries(recent);
    QStringList texts;
    for (const auto& entry : entries)
        texts << entry.text;
    EXPECT_EQ(texts, (QStringList{"1. /data/a.nte", "2. /data/b.nte", "4. /data/d.nte", "5. /data/e.nte",
                                  "6. /data/f.nte", "7. /data/g.nte"}));
    EXPECT_EQ(entries[2].path, QStringLiteral("/data/d.nte"));
}

TEST_F(StartUpDlgTest, LayoutOfTheEdition) {
    auto dlg = makeDialog();
    const QStringList headers{dlg->fileList()->headerItem()->text(0), dlg->fileList()->headerItem()->text(1),
                              dlg->fileList()->headerItem()->text(2)};
    EXPECT_EQ(headers, (QStringList{"Name", "Size", "Modified"}));
    const std::vector<int> widths{dlg->fileList()->columnWidth(0), dlg->fileList()->columnWidth(1),
                                  dlg->fileList()->columnWidth(2)};
    EXPECT_EQ(dlg->recentButton()->text(), QStringLiteral("Recent Files"));
    if (kHandheld) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Marrowick Sealbook"));
        EXPECT_EQ(widths, (std::vector<int>{100, 60, 120}));
        ASSERT_NE(dlg->promptLabel(), nullptr);
        EXPECT_EQ(dlg->promptLabel()->text(), QStringLiteral("Please, choose Sealbook database"));
        EXPECT_EQ(dlg->promptLabel()->font().weight(), QFont::Bold);
        EXPECT_EQ(dlg->fileList()->selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_EQ(dlg->folderButton(), nullptr);
        DialogMenuBar* bar = DialogMenuBar::Find(dlg.get());
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->leftButton()->text(), QStringLiteral("Create new"));
        EXPECT_EQ(bar->rightButton()->text(), QStringLiteral("Browse"));
    } else {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Select Sealbook database "));
        EXPECT_EQ(widths, (std::vector<int>{120, 60, 125}));
        EXPECT_EQ(dlg->fileList()->font().weight(), QFont::Bold);
        EXPECT_EQ(dlg->fileList()->selectionMode(), QAbstractItemView::ExtendedSelection);
        EXPECT_EQ(dlg->folderButton()->text(), QStringLiteral("..."));
        EXPECT_EQ(dlg->createNewButton()->text(), QStringLiteral("Create New"));
        EXPECT_EQ(dlg->browseButton()->text(), QStringLiteral("Browse..."));
        EXPECT_EQ(DialogMenuBar::Find(dlg.get()), nullptr);
    }
}

TEST_F(StartUpDlgTest, FirstStartListsTheDatabasesOfTheDocumentsFolder) {
    const QDir docs(documents);
    writeFile(docs.filePath(QStringLiteral("c.NTE")), 2047);
    writeFile(docs.filePath(QStringLiteral("a.nte")), 1023);
    writeFile(docs.filePath(QStringLiteral("B.nte")), 1024);
    writeFile(docs.filePath(QStringLiteral("notes.txt")), 10);
    ASSERT_TRUE(docs.mkdir(QStringLiteral("folder.nte")));
    // 03:45 UTC is 09:15 in a zone 5:30 hours east: the time shown is local.
    const QByteArray oldZone = qgetenv("TZ");
    qputenv("TZ", "XYZ-5:30");
    tzset();
    {
        QFile file(docs.filePath(QStringLiteral("a.nte")));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2021, 7, 4), QTime(3, 45), Qt::UTC),
                                     QFileDevice::FileModificationTime));
    }

    auto dlg = makeDialog();
    const QString firstModified = dlg->fileList()->topLevelItem(0)->text(2);
    if (oldZone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", oldZone);
    tzset();

    EXPECT_EQ(dlg->pathEdit()->text(), documents);
    EXPECT_EQ(storedPath(), documents);
    EXPECT_FALSE(dlg->recentButton()->isEnabled());
    ASSERT_EQ(listedNames(*dlg), (QStringList{"a.nte", "B.nte", "c.NTE"}));
    const QStringList sizes{dlg->fileList()->topLevelItem(0)->text(1),
                            dlg->fileList()->topLevelItem(1)->text(1),
                            dlg->fileList()->topLevelItem(2)->text(1)};
    EXPECT_EQ(sizes, (QStringList{"1023 B", "1 Kb", "1 Kb"}));
    EXPECT_TRUE(firstModified.startsWith(QStringLiteral("09:15 AM, "))) << qPrintable(firstModified);
    EXPECT_FALSE(dlg->fileList()->topLevelItem(0)->icon(0).isNull());
}

TEST_F(StartUpDlgTest, TypingAPathStoresEveryTextAndListsItsFolder) {
    const QDir base(documents);
    ASSERT_TRUE(base.mkpath(QStringLiteral("a")) && base.mkpath(QStringLiteral("ab")));
    writeFile(base.filePath(QStringLiteral("x.nte")), 1);
    writeFile(base.filePath(QStringLiteral("a/1.nte")), 1);
    writeFile(base.filePath(QStringLiteral("a/2.nte")), 1);
    writeFile(base.filePath(QStringLiteral("ab/3.nte")), 1);
    settings->writeString("Settings", "StartUpPath", documents.toStdU16String());

    auto dlg = makeDialog();
    EXPECT_EQ(listedNames(*dlg), QStringList{"x.nte"});
    settings->writes.clear();
    dlg->pathEdit()->setFocus();
    dlg->pathEdit()->end(false);
    const struct {
        char typed;
        QStringList listed;
    } steps[] = {
        {'/', {"x.nte"}},
        {'a', {"1.nte", "2.nte"}},
        {'b', {"3.nte"}},
        {'c', {}}, // no such folder: an empty list and no message
    };
    QString expected = documents;
    for (const auto& step : steps) {
        QTest::keyClick(dlg->pathEdit(), step.typed);
        expected += QLatin1Char(step.typed);
        EXPECT_EQ(settings->writes.last(), "Settings/StartUpPath=" + expected);
        EXPECT_EQ(listedNames(*dlg), step.listed) << step.typed;
    }
    EXPECT_EQ(settings->writes.size(), 4);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(StartUpDlgTest, DoubleClickOpensTheFileAndEndsUnlessTheOpenFailed) {
    writeFile(QDir(documents).filePath(QStringLiteral("a.nte")), 1);
    writeFile(QDir(documents).filePath(QStringLiteral("b.nte")), 1);
    const struct {
        OpenResult result;
        bool stays;
    } cases[] = {{OpenResult::Opened, false}, {OpenResult::Cancelled, false}, {OpenResult::Failed, true}};
    for (const auto& c : cases) {
        opened.clear();
        messages.clear();
        icons.clear();
        outcome = {c.result,
                   c.result == OpenResult::Failed ? QStringLiteral("Unexpected file format.") : QString()};
        auto dlg = makeDialog();
        QTreeWidget* list = dlg->fileList();
        const QRect item = list->visualItemRect(list->topLevelItem(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
        EXPECT_EQ(opened, QStringList{QDir(documents).filePath(QStringLiteral("b.nte"))});
        EXPECT_EQ(dlg->isVisible(), c.stays);
        if (c.stays) {
            EXPECT_EQ(messages, QStringList{"Unexpected file format."});
            ASSERT_EQ(icons.size(), 1u);
            EXPECT_EQ(icons[0], MessageIcon::Stop);
        } else {
            EXPECT_EQ(dlg->result(), QDialog::Accepted);
            EXPECT_TRUE(messages.isEmpty());
        }
    }
}

TEST_F(StartUpDlgTest, FailingRecentEntryIsRemovedAndAWorkingOneOpens) {
    // The document's own open, so the message is the file layer's.
    CNotesDoc doc(nullptr);
    const QString good = root.filePath(QStringLiteral("good.nte"));
    {
        NotesMgr written;
        NewDatabase(written);
        ASSERT_TRUE(written.Save(QFile::encodeName(good).toStdString()));
    }
    const QString missing = root.filePath(QStringLiteral("gone.nte"));
    doc.notes().recentFiles = {missing.toStdU16String(), good.toStdU16String()};
    CStartUpDlg dlg(doc.notes(), *settings, [&doc](const QString& path) { return doc.OpenDocument(path); });
    dlg.show();
    ASSERT_TRUE(dlg.recentButton()->isEnabled());

    // Picks the menu entry starting with `prefix` once the menu is up.
    QStringList menuTexts;
    QRect menuRect;
    const auto chooseLater = [&](const QString& prefix) {
        QTimer::singleShot(0, &dlg, [&, prefix] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            menuRect = menu->geometry();
            menuTexts.clear();
            for (QAction* action : menu->actions()) {
                menuTexts << action->text();
                if (action->text().startsWith(prefix))
                    menu->setActiveAction(action);
            }
            QTest::keyClick(menu, Qt::Key_Return);
        });
    };

    chooseLater(QStringLiteral("1. "));
    QTest::mouseClick(dlg.recentButton(), Qt::LeftButton);
    EXPECT_EQ(menuTexts, (QStringList{"1. " + missing, "2. " + good}));
    const QRect button = globalRect(dlg.recentButton());
    EXPECT_EQ(menuRect.right(), button.right());
    EXPECT_EQ(menuRect.top(), button.bottom() + 1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("gone.nte"))) << qPrintable(messages[0]);
    EXPECT_TRUE(messages[0].endsWith(QStringLiteral("was not found."))) << qPrintable(messages[0]);
    EXPECT_EQ(icons[0], MessageIcon::Stop);
    EXPECT_EQ(doc.notes().recentFiles, std::vector<std::u16string>{good.toStdU16String()});
    EXPECT_TRUE(dlg.isVisible());

    chooseLater(QStringLiteral("1. "));
    QTest::mouseClick(dlg.recentButton(), Qt::LeftButton);
    EXPECT_EQ(menuTexts, QStringList{"1. " + good});
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(doc.pathName(), good);
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(StartUpDlgTest, CreateNewEndsWithItsResultWithoutOpening) {
    writeFile(QDir(documents).filePath(QStringLiteral("a.nte")), 1);
    auto dlg = makeDialog();
    dlg->fileList()->topLevelItem(0)->setSelected(true);
    if (kHandheld)
        DialogMenuBar::Find(dlg.get())->leftButton()->click();
    else
        dlg->createNewButton()->click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), kHandheld ? 1003 : 1015);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(StartUpDlgTest, BrowseOpensTheFileChosenInTheOpenDialog) {
    const QString chosen = root.filePath(QStringLiteral("elsewhere/x.nte"));
    const struct {
        QString answer; // empty: the user cancelled the open dialog
        bool ends;
    } cases[] = {{QString(), false}, {chosen, true}};
    for (const auto& c : cases) {
        opened.clear();
        auto dlg = makeDialog();
        FileDialogs::QueueAnswers({c.answer});
        if (kHandheld)
            DialogMenuBar::Find(dlg.get())->rightButton()->click();
        else
            dlg->browseButton()->click();
        EXPECT_EQ(opened, c.ends ? QStringList{chosen} : QStringList{});
        EXPECT_EQ(dlg->isVisible(), !c.ends);
        if (c.ends) {
            EXPECT_EQ(dlg->result(), QDialog::Accepted);
        }
    }
}

TEST_F(StartUpDlgTest, FolderButtonListsTheChosenFolder) {
    auto dlg = makeDialog();
    if (kHandheld) {
        EXPECT_EQ(dlg->folderButton(), nullptr); // the folder is typed on the handheld
        return;
    }
    const QString folder = root.filePath(QStringLiteral("chosen"));
    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(QDir(folder).filePath(QStringLiteral("k.nte")), 1);

    FileDialogs::QueueAnswers({QString()}); // cancelled: nothing changes
    dlg->folderButton()->click();
    EXPECT_EQ(dlg->pathEdit()->text(), documents);

    FileDialogs::QueueAnswers({folder});
    dlg->folderButton()->click();
    EXPECT_EQ(dlg->pathEdit()->text(), folder);
    EXPECT_EQ(storedPath(), folder);
    EXPECT_EQ(listedNames(*dlg), QStringList{"k.nte"});
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(StartUpDlgTest, EnterEndsWithOkAndEscapeWithCancelOpeningNothing) {
    writeFile(QDir(documents).filePath(QStringLiteral("a.nte")), 1);
    notes.recentFiles = {u"/somewhere.nte"};
    const struct {
        const char* where;
        Qt::Key key;
        int result;
    } cases[] = {
        {"path", Qt::Key_Return, QDialog::Accepted},
        {"list", Qt::Key_Enter, QDialog::Accepted},
        {"list", Qt::Key_Escape, QDialog::Rejected},
    };
    for (const auto& c : cases) {
        auto dlg = makeDialog();
        EXPECT_TRUE(dlg->recentButton()->isEnabled());
        QWidget* target = dlg->pathEdit();
        if (QByteArray(c.where) == "list") {
            dlg->fileList()->setCurrentItem(dlg->fileList()->topLevelItem(0));
            target = dlg->fileList();
        }
        target->setFocus();
        QTest::keyClick(target, c.key);
        EXPECT_FALSE(dlg->isVisible()) << c.where;
        EXPECT_EQ(dlg->result(), c.result) << c.where;
    }
    EXPECT_TRUE(opened.isEmpty());
}
