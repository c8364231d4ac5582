// The two previews: the desktop's docking pane (edges, narrowest width, close
// button), the handheld's bar (height, inset, visibility), and the selected
// node shown in the edition's own preview with its links opening.

#include "TreeTestSupport.h"

#include "app/AppTexts.h"
#include "app/CNotesDoc.h"
#include "app/CNotesView.h"
#include "app/CPreviewDlg.h"
#include "app/CPreviewPane.h"
#include "core/Edition.h"
#include "editor/CNoteEditor.h"
#include "editor/PreviewComposer.h"
#include "gui/ShellOpen.h"

#include <QAbstractButton>
#include <QAction>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

using namespace treetest;

TEST(PreviewDock, DocksLeftOrRightOnlyAndGetsNoNarrowerThan33Pixels) {
    QMainWindow window;
    window.setCentralWidget(new QWidget);
    auto* dock = new CPreviewDlg(&window);
    window.addDockWidget(Qt::RightDockWidgetArea, dock);
    window.resize(600, 400);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(dock->windowTitle(), QString::fromUtf8(AppTexts::previewPane));
    EXPECT_FALSE(dock->objectName().isEmpty());
    EXPECT_TRUE(dock->isAreaAllowed(Qt::LeftDockWidgetArea));
    EXPECT_TRUE(dock->isAreaAllowed(Qt::RightDockWidgetArea));
    EXPECT_FALSE(dock->isAreaAllowed(Qt::TopDockWidgetArea));
    EXPECT_FALSE(dock->isAreaAllowed(Qt::BottomDockWidgetArea));
    EXPECT_EQ(dock->editor()->palette().color(QPalette::Base),
              dock->editor()->palette().color(QPalette::Button));

    // Dragged narrow, the pane stops at 33 pixels, and widens again.
    window.resizeDocks({dock}, {5}, Qt::Horizontal);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dock->width() == CPreviewDlg::kMinimumWidth; }, 2000))
        << dock->width();
    window.resizeDocks({dock}, {220}, Qt::Horizontal);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dock->width() == 220; }, 2000)) << dock->width();
}

TEST(PreviewDock, CloseButtonHidesThePaneAndTheToggleShowsItAgain) {
    QMainWindow window;
    window.setCentralWidget(new QWidget);
    auto* dock = new CPreviewDlg(&window);
    window.addDockWidget(Qt::RightDockWidgetArea, dock);
    window.resize(600, 400);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.resizeDocks({dock}, {180}, Qt::Horizontal);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dock->width() == 180; }, 2000)) << dock->width();
    QAction* toggle = dock->toggleViewAction();
    EXPECT_TRUE(toggle->isChecked());

    QSignalSpy visibility(dock, &QDockWidget::visibilityChanged);
    auto* close = dock->findChild<QAbstractButton*>(QString::fromLatin1(CPreviewDlg::kCloseButtonName));
    ASSERT_NE(close, nullptr);
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_TRUE(dock->isHidden());
    EXPECT_FALSE(toggle->isChecked());
    ASSERT_FALSE(visibility.isEmpty());
    EXPECT_FALSE(visibility.back().front().toBool());

    toggle->trigger();
    EXPECT_FALSE(dock->isHidden());
    EXPECT_TRUE(toggle->isChecked());

    // A double click on the caption floats the pane and docks it again.
    QWidget* caption = dock->titleBarWidget();
    ASSERT_NE(caption, nullptr);
    QTest::mouseDClick(caption, Qt::LeftButton, {}, QPoint(8, caption->height() / 2));
    EXPECT_TRUE(dock->isFloating());
    QTest::mouseDClick(caption, Qt::LeftButton, {}, QPoint(8, caption->height() / 2));
    EXPECT_FALSE(dock->isFloating());
    EXPECT_EQ(window.dockWidgetArea(dock), Qt::RightDockWidgetArea);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dock->width() == 180; }, 2000)) << dock->width();
}

TEST(PreviewPane, BarOf100PixelsWithTheEditorInsetBy2AndItsOwnVisibility) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* pane = new CPreviewPane(&window);
    layout->addWidget(pane);
    layout->addWidget(new QWidget(&window), 1);
    window.resize(240, 320);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(pane->height(), CPreviewPane::kHeight);
    EXPECT_EQ(pane->editor()->geometry(), pane->rect().adjusted(2, 2, -2, -2));
    EXPECT_EQ(pane->editor()->palette().color(QPalette::Base),
              pane->editor()->palette().color(QPalette::Button));

    QSignalSpy visibility(pane, &CPreviewPane::visibilityChanged);
    pane->hide();
    window.resize(300, 320); // while the bar is hidden
    window.hide();
    window.show(); // the window, not the bar: no report
    ASSERT_EQ(visibility.count(), 1);
    EXPECT_FALSE(visibility[0][0].toBool());
    pane->show();
    ASSERT_EQ(visibility.count(), 2);
    EXPECT_TRUE(visibility[1][0].toBool());
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane->width() == 300; }, 2000)) << pane->width();
    EXPECT_EQ(pane->editor()->geometry(), pane->rect().adjusted(2, 2, -2, -2));
}

TEST(PreviewOfTheSelection, ShowsTemplateFieldsAndBodyAndOpensItsLinks) {
    CNotesDoc doc(nullptr);
    NotesMgr& notes = doc.notes();
    const int32_t card = AddNote(notes, 0, u"Visa");
    notes.FindNode(card)->templateId = 1; // credit card
    notes.FindNode(card)->fieldValues = {u"J. Doe", u"4111"};
    notes.FindNode(card)->body = u"Statements at http://bank.example/visa online";

    // The edition's own preview beside the tree.
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    PreviewTarget* preview = nullptr;
    CNoteEditor* editor = nullptr;
    if constexpr (kHandheld) {
        auto* pane = new CPreviewPane(&window);
        layout->addWidget(pane);
        preview = pane;
        editor = pane->editor();
    } else {
        auto* dock = new CPreviewDlg(&window);
        layout->addWidget(dock);
        preview = dock;
        editor = dock->editor();
    }
    auto* view = new CNotesView(doc, &window);
    layout->addWidget(view);
    view->setPreviewTarget(preview);
    window.resize(400, 500);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    view->Fill();

    view->setCurrentIndex(view->notesModel().indexOf(card));
    const QString text = editor->toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Cardholder name: J. Doe\nCard number: 4111\nExpires: \n")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("\n\nStatements at http://bank.example/visa online")));

    QStringList opened;
    const ShellOpenHandler previous = SetShellOpenHandler([&opened](const QString& target) {
        opened << target;
        return true;
    });
    editor->ensureCursorVisible();
    QTextCursor inside(editor->document());
    inside.setPosition(static_cast<int>(text.indexOf(QStringLiteral("bank.example"))));
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {},
                      editor->cursorRect(inside).center() + QPoint(3, 0));
    SetShellOpenHandler(previous);
    EXPECT_EQ(opened, QStringList{"http://bank.example/visa"});

    // The database item is never shown.
    view->setCurrentIndex(view->notesModel().indexOf(0));
    EXPECT_TRUE(editor->toPlainText().isEmpty());
}
