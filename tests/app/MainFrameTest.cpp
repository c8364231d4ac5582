// The main window of either edition: first start, layout kept between runs,
// the preview toggle, menus and context menus from the command table, the FTP
// entry checks, a file drop and the handheld's single instance.
#include "AppFixture.h"

#include "app/CNotesView.h"
#include "app/CPreviewDlg.h"
#include "app/CPreviewPane.h"
#include "app/HelpFiles.h"
#include "app/SingleInstance.h"
#include "app/WindowPlacement.h"
#include "core/Edition.h"
#include "gui/SettingsTable.h"

#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

QStringList menuTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* a : menu.actions())
        texts.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

} // namespace

class MainFrameTest : public AppFixture {};

TEST_F(MainFrameTest, FirstStartUsesTheDefaultLayoutAndShowsTheStartUpDialog) {
    ASSERT_TRUE(start());
    EXPECT_EQ(dialogs.value(0), "CStartUpDlg");
    EXPECT_TRUE(frame().isVisible());
    EXPECT_EQ(frame().isPreviewShown(), !kHandheld);
    EXPECT_EQ(frame().action(Command::PreviewPane)->isChecked(), !kHandheld);
    if (!kHandheld) {
        EXPECT_EQ(frame().geometry(), kDefaultWindowRect);
    }
    // A new database shows only the database item.
    EXPECT_EQ(notes().nodes.size(), 1u);
}

TEST_F(MainFrameTest, CreateNewWithDefaultFoldersAnsweredOkOrCancel) {
    for (const MessageAnswer reply : {MessageAnswer::Ok, MessageAnswer::Cancel}) {
        answer([](QDialog& dialog) {
            dialog.done(CStartUpDlg::kCreateNewResult);
            return int(CStartUpDlg::kCreateNewResult);
        });
        messages.clear();
        messageAnswers = {reply};
        ASSERT_TRUE(start());
        EXPECT_EQ(messages,
                  QStringList{"Do you want to use default folder template to create your database?"});
        const bool added = reply == MessageAnswer::Ok;
        EXPECT_EQ(notes().nodes.size(), added ? 11u : 1u);
        // The ten folders are unsaved work: the title says so and New asks first.
        EXPECT_EQ(doc().isModified(), added);
        EXPECT_EQ(frame().isWindowModified(), added);
        messages.clear();
        messageAnswers = {MessageAnswer::Cancel};
        frame().Execute(Command::New);
        EXPECT_EQ(messages.size(), added ? 1 : 0);
        EXPECT_EQ(notes().nodes.size(), added ? 11u : 1u);
        doc().setModified(false);
        app.reset();
    }
}

TEST_F(MainFrameTest, LayoutIsWrittenOnCloseAndRestoredNormalAtTheSavedRectangle) {
    ASSERT_TRUE(start());
    const QRect normal(200, 120, 640, 480);
    frame().setGeometry(normal);
    frame().Execute(Command::PreviewPane); // hide the pane on the desktop, show it on the handheld
    const bool previewAtClose = frame().isPreviewShown();
    if (!kHandheld)
        frame().showMaximized();
    ASSERT_TRUE(frame().close());
    app.reset();

    const QByteArray preview = ReadLayoutSetting(Setting::LayoutPreview);
    EXPECT_EQ(preview, EncodePreviewShown(previewAtClose));
    const auto placement = WindowPlacement::decode(ReadLayoutSetting(Setting::LayoutMain));
    if (kHandheld) {
        EXPECT_FALSE(placement) << "the handheld never writes the placement";
    } else {
        ASSERT_TRUE(placement);
        EXPECT_EQ(placement->normal, normal);
    }

    ASSERT_TRUE(start());
    EXPECT_EQ(frame().isPreviewShown(), previewAtClose);
    EXPECT_FALSE(frame().isMaximized());
    if (!kHandheld) {
        EXPECT_EQ(frame().geometry(), normal);
    }
}

TEST_F(MainFrameTest, PlacementRecordRoundTripsAndRefusesDamagedValues) {
    WindowPlacement p;
    p.showState = WindowPlacement::Maximised;
    p.normal = QRect(-20, 30, 300, 200);
    const QByteArray bytes = p.encode();
    ASSERT_EQ(bytes.size(), 44);
    EXPECT_EQ(bytes.left(4), QByteArray("\x2c\x00\x00\x00", 4));
    const auto back = WindowPlacement::decode(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->normal, p.normal);
    EXPECT_EQ(back->showState, WindowPlacement::Maximised);
    EXPECT_FALSE(WindowPlacement::decode(bytes.left(40)));
    QByteArray empty = bytes;
    empty.replace(36, 4, QByteArray("\xec\xff\xff\xff", 4)); // right edge at -20: no width
    EXPECT_FALSE(WindowPlacement::decode(empty));
    EXPECT_EQ(DecodePreviewShown(QByteArray("\x07\x00\x00\x00", 4)), true);
    EXPECT_EQ(DecodePreviewShown(EncodePreviewShown(false)), false);
    EXPECT_FALSE(DecodePreviewShown(QByteArray("\x01", 1)));
}

TEST_F(MainFrameTest, PreviewCommandTogglesThePaneAndItsCheckMark) {
    ASSERT_TRUE(start());
    QAction* toggle = frame().action(Command::PreviewPane);
    const bool initially = frame().isPreviewShown();
    for (int i = 0; i < 2; ++i) {
        toggle->trigger();
        EXPECT_EQ(frame().isPreviewShown(), i == 0 ? !initially : initially);
        EXPECT_EQ(toggle->isChecked(), frame().isPreviewShown());
    }
    if (!kHandheld) {
        // The pane's own close button hides it, and the check mark follows.
        frame().Execute(Command::PreviewPane);
        if (!frame().isPreviewShown())
            toggle->trigger();
        frame().previewDock()->close();
        EXPECT_FALSE(toggle->isChecked());
        EXPECT_FALSE(frame().isPreviewShown());
    }
}

TEST_F(MainFrameTest, DesktopPaneDocksLeftOrRightOnly) {
    if (kHandheld)
        GTEST_SKIP() << "the handheld preview is a fixed bar";
    ASSERT_TRUE(start());
    CPreviewDlg* dock = frame().previewDock();
    EXPECT_EQ(frame().dockWidgetArea(dock), Qt::RightDockWidgetArea);
    EXPECT_TRUE(dock->isAreaAllowed(Qt::LeftDockWidgetArea));
    EXPECT_FALSE(dock->isAreaAllowed(Qt::TopDockWidgetArea));
    EXPECT_FALSE(dock->isAreaAllowed(Qt::BottomDockWidgetArea));
    EXPECT_GE(dock->minimumWidth(), 33);
}

TEST_F(MainFrameTest, DesktopPaneComesBackOnItsEdgeAtItsWidth) {
    if (kHandheld)
        GTEST_SKIP() << "the handheld preview is a fixed bar";
    struct Case {
        Qt::DockWidgetArea area;
        int width;
    };
    for (const Case c : {Case{Qt::LeftDockWidgetArea, 170}, Case{Qt::RightDockWidgetArea, 260}}) {
        SCOPED_TRACE(c.width);
        ASSERT_TRUE(start());
        frame().addDockWidget(c.area, frame().previewDock());
        frame().resizeDocks({frame().previewDock()}, {c.width}, Qt::Horizontal);
        QTest::qWait(0);
        ASSERT_EQ(frame().previewDock()->width(), c.width);
        ASSERT_TRUE(frame().close());
        app.reset();

        ASSERT_TRUE(start());
        QTest::qWait(0);
        EXPECT_EQ(frame().dockWidgetArea(frame().previewDock()), c.area);
        EXPECT_EQ(frame().previewDock()->width(), c.width);
        ASSERT_TRUE(frame().close());
        app.reset();
    }
    EXPECT_FALSE(DecodePreviewDock(QByteArray("\x03\x00\x00\x00\x10\x00\x00\x00", 8))) << "no such edge";
}

TEST_F(MainFrameTest, MenusAndToolbarComeFromTheCommandTable) {
    ASSERT_TRUE(start());
    if (kHandheld) {
        ASSERT_TRUE(frame().softKeyMenu());
        EXPECT_EQ(frame().leftSoftKey()->text(), "New");
        EXPECT_EQ(frame().rightSoftKey()->text(), "Menu");
        EXPECT_EQ(menuTexts(*frame().softKeyMenu()),
                  (QStringList{"File", "Edit", "Tools", "FTP", "View", "-", "Help"}));
        EXPECT_TRUE(frame().action(Command::Copy)->shortcuts().isEmpty());
        EXPECT_EQ(frame().action(Command::SaveAs), nullptr);
    } else {
        QStringList titles;
        for (const QAction* a : frame().menuBar()->actions())
            titles.append(a->text());
        EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "T&ools", "FTP", "&View", "&Help"}));
        EXPECT_EQ(menuTexts(*frame().menuBar()->actions().at(0)->menu()),
                  (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...",
                               "&Merge With...", "-", "&Lock\tCtrl+L", "-", "E&xit"}));
        EXPECT_EQ(frame().action(Command::Copy)->shortcuts(),
                  (QList<QKeySequence>{QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")}));
        QStringList buttons;
        for (const QAction* a : frame().toolBar()->actions())
            buttons.append(a->isSeparator() ? QStringLiteral("-") : a->iconText());
        EXPECT_EQ(buttons, (QStringList{"New", "Open", "Save", "-", "Cut", "Copy", "Paste", "-", "New Folder",
                                        "New Note", "Delete", "-", "Preview Pane", "-", "Find...", "-",
                                        "About Marrowick Sealbook..."}));
    }
}

TEST_F(MainFrameTest, ContextMenusFollowTheItemKindAndGrayPasteWithoutAClipboardNote) {
    ASSERT_TRUE(start());
    const QString tab = kHandheld ? QString() : QStringLiteral("\tCtrl+V");
    struct Case {
        int menuId;
        QStringList desk;
    };
    const Case cases[] = {
        {kNoteContextMenu,
         {"Open", "-", "Cut\tCtrl+X", "Copy\tCtrl+C", "Copy Value", "-", "Delete", "-",
          "Database Properties"}},
        {kFolderContextMenu,
         {"Open", "-", "Paste\tCtrl+V", "-", "New Folder", "New Note", "Delete", "-", "Find...\t Ctrl+F",
          "Find Next\tF3", "-", "Database Properties"}},
        {kDatabaseContextMenu,
         {"Open", "-", "Paste\tCtrl+V", "-", "New Folder", "New Note", "-", "Find...\t Ctrl+F",
          "Find Next\tF3", "-", "Database Properties"}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QMenu> menu(frame().BuildContextMenu(c.menuId, &frame()));
        if (!kHandheld) {
            EXPECT_EQ(menuTexts(*menu), c.desk) << c.menuId;
        } else {
            EXPECT_FALSE(menuTexts(*menu).join(' ').contains('\t')) << c.menuId;
            EXPECT_FALSE(menuTexts(*menu).contains("Find Next")) << c.menuId;
        }
        for (QAction* a : menu->actions()) {
            if (a->text().startsWith("Paste")) {
                EXPECT_FALSE(a->isEnabled()) << "nothing was copied yet";
            }
        }
    }
}

TEST_F(MainFrameTest, FtpManagerChecksForUnsavedWorkThenForAHost) {
    ASSERT_TRUE(start());
    doc().setModified(true);
    frame().action(Command::FtpManager)->trigger();
    EXPECT_EQ(messages.value(0), "Please save your work and then try again.");
    doc().setModified(false);
    frame().action(Command::FtpManager)->trigger();
    EXPECT_EQ(messages.value(1), "Please check your FTP settings and then try again.");
    settings->writeString("Settings", "FTPHost", u"127.0.0.1");
    frame().action(Command::FtpManager)->trigger();
    frame().action(Command::FtpSettings)->trigger();
    EXPECT_EQ(dialogs.mid(dialogs.size() - 2), (QStringList{"CFTPManagerDlg", "CFTPSettingsDlg"}));
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(MainFrameTest, HelpAndWebCommandsOpenThroughTheShell) {
    ASSERT_TRUE(start());
    frame().Execute(Command::WebSite);
    ASSERT_EQ(shellOpened.size(), 1);
    EXPECT_TRUE(shellOpened[0].startsWith("https://"));
    if (kHandheld) {
        EXPECT_EQ(frame().action(Command::Overview), nullptr);
        return;
    }
    // With no program to show it, each help command says so, naming its file.
    shellOpens = false;
    frame().Execute(Command::Overview);
    frame().Execute(Command::Manual);
    const QString folder = QCoreApplication::applicationDirPath();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].contains(HelpFiles::Locate(folder, "notes.pdf"))) << qPrintable(messages[0]);
    EXPECT_TRUE(messages[1].contains(HelpFiles::Locate(folder, "notes.html"))) << qPrintable(messages[1]);
}

TEST_F(MainFrameTest, ADroppedFileOpensAfterTheSavePrompt) {
    if (kHandheld)
        GTEST_SKIP() << "the handheld takes no drops";
    const QString file = makeDatabase("dropped.nte", u"");
    ASSERT_TRUE(start());
    doc().setModified(true);
    messageAnswers = {MessageAnswer::No};
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame(), &drop);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return doc().pathName() == QFileInfo(file).absoluteFilePath(); }, 5000));
    EXPECT_EQ(messages, QStringList{"Save changes to Untitled?"});
}

TEST_F(MainFrameTest, HandheldClosesWhenMinimisedUnlessTheSavePromptIsCancelled) {
    if (!kHandheld)
        GTEST_SKIP() << "the desktop window minimises";
    ASSERT_TRUE(start());
    doc().setModified(true);
    messageAnswers = {MessageAnswer::Cancel};
    frame().showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return messages.size() == 1; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame().isMinimized(); }, 5000));
    EXPECT_TRUE(frame().isVisible());

    messageAnswers = {MessageAnswer::No};
    frame().showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame().isVisible(); }, 5000));
}

TEST(SingleInstanceTest, ALaterStartRaisesTheFirstAndGivesWay) {
    const QString program =
        QStringLiteral("/tmp/sealbook-test/%1/Wrenpad").arg(QCoreApplication::applicationPid());
    SingleInstance first(program);
    ASSERT_TRUE(first.claim());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    SingleInstance second(program);
    EXPECT_FALSE(second.claim());
    EXPECT_TRUE(raised.wait(2000) || raised.size() == 1);
    SingleInstance elsewhere(program + "2");
    EXPECT_TRUE(elsewhere.claim()) << "another program file runs on its own";
}
