// Every window the handheld opens lies within its main window, whatever room
// the screen would give: each is opened the way the user opens it, and its
// frame is compared with the main window's.
#include "AppFixture.h"

#include "app/CNotesView.h"
#include "app/NotesTreeModel.h"
#include "core/Edition.h"
#include "dialogs/CPasswordDlg.h"
#include "ftp/CFTPManagerDlg.h"
#include "gui/DialogMenuBar.h"
#include "gui/SettingsTable.h"
#include "gui/WindowFitter.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

struct Caught {
    QString what;
    QRect frame;
};

} // namespace

class HandheldWindowsTest : public AppFixture {
protected:
    // Notes where the window lies and closes it.
    void take(QWidget& window) {
        caught.push_back({QString::fromLatin1(window.metaObject()->className()), window.frameGeometry()});
        if (auto* dialog = qobject_cast<QDialog*>(&window))
            dialog->reject();
        else
            window.close();
    }

    // A dialog run through the program's dialog runner is shown, noted and closed.
    int showAndTake(QDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        take(dialog);
        return QDialog::Rejected;
    }

    // Runs `open`, catching the modal or pop-up window it brings up on its own.
    void catchWhile(const std::function<void()>& open) {
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* window = QApplication::activePopupWidget();
            if (!window)
                window = QApplication::activeModalWidget();
            if (!window || window == &frame())
                return;
            // Noted once it has settled: a window may size itself again after it is shown.
            poll.stop();
            QTimer::singleShot(150, window, [this, window] { take(*window); });
        });
        poll.start();
        open();
        QTest::qWait(400);
    }

    std::vector<Caught> caught;
};

TEST_F(HandheldWindowsTest, FitterKeepsTheFrameInsideAndShrinksWhatIsTooLarge) {
    const QRect main(100, 50, 360, 640);
    const QMargins decoration(2, 20, 2, 2);
    struct Case {
        const char* what;
        QRect proposed;
        QRect expected;
    };
    const Case cases[] = {
        {"inside stays", QRect(150, 200, 200, 100), QRect(150, 200, 200, 100)},
        {"below the bar moves up", QRect(150, 650, 100, 80), QRect(150, 608, 100, 80)},
        {"left of the window moves right", QRect(0, 200, 100, 80), QRect(102, 200, 100, 80)},
        {"too wide shrinks to the room", QRect(-200, 200, 800, 80), QRect(102, 200, 356, 80)},
        {"too tall shrinks to the room", QRect(120, 10, 100, 900), QRect(120, 70, 100, 618)},
    };
    for (const Case& c : cases) {
        const QRect fitted = WindowFitter::FitInside(main, c.proposed, decoration);
        EXPECT_EQ(fitted, c.expected) << c.what;
        EXPECT_TRUE(main.contains(fitted.marginsAdded(decoration))) << c.what;
    }
}

TEST_F(HandheldWindowsTest, EveryWindowLiesWithinTheMainWindow) {
    if (!kHandheld)
        GTEST_SKIP() << "desktop windows go where the window manager puts them";
    // The password of a file given on the command line is asked over the window.
    const QString file = makeDatabase(QStringLiteral("locked.nte"), u"secret");
    answer([this](QDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        caught.push_back({QStringLiteral("CPasswordDlg"), dialog.frameGeometry()});
        static_cast<CPasswordDlg&>(dialog).passwordBox()->setText(QStringLiteral("secret"));
        dialog.accept();
        return dialog.result();
    });
    ASSERT_TRUE(start({file}));
    ASSERT_EQ(caught.size(), 1u);
    CNotesView& view = *frame().view();
    view.Fill();
    const QModelIndex folder = view.model()->index(0, 0, view.model()->index(0, 0));
    view.setCurrentIndex(view.model()->index(0, 0, folder));
    ASSERT_EQ(view.selectedNodeId(), 2);
    settings->writeString("Settings", "FTPHost", u"127.0.0.1");

    const QString longName =
        path(QStringLiteral("a folder with a rather long name/and another one inside it/missing.nte"));
    struct Case {
        const char* what;
        std::function<void()> open;
    };
    const Case cases[] = {
        {"CNotePropSheet",
         [&] {
             answer([this](QDialog& d) { return showAndTake(d); });
             frame().Execute(Command::OpenNode);
         }},
        {"CFTPManagerDlg",
         [&] {
             answer([this](QDialog& d) {
                 // The columns share the width: nothing to scroll sideways.
                 auto& manager = static_cast<CFTPManagerDlg&>(d);
                 manager.show();
                 QApplication::processEvents();
                 EXPECT_LE(manager.fileList()->horizontalHeader()->length(),
                           manager.fileList()->viewport()->width());
                 return showAndTake(d);
             });
             frame().Execute(Command::FtpManager);
         }},
        {"CMergeReportDlg",
         [&] {
             FileDialogs::QueueAnswers({makeDatabase(QStringLiteral("other.nte"), u"secret", u"Other")});
             answer([this](QDialog& d) { return showAndTake(d); });
             frame().Execute(Command::MergeWith);
         }},
        {"QMessageBox",
         [&] {
             const MessageBoxHandler recording = SetMessageBoxHandler({});
             catchWhile([&] { app->OpenDocumentFile(longName); });
             SetMessageBoxHandler(recording);
         }},
        {"QFileDialog", [&] { catchWhile([&] { frame().Execute(Command::Open); }); }},
        {"QMenu", [&] { catchWhile([&] { frame().rightSoftKey()->click(); }); }},
        {"CStartUpDlg",
         [&] {
             answer([this](QDialog& d) {
                 // Its two commands are the soft keys, on the bar inside it.
                 const DialogMenuBar* bar = DialogMenuBar::Find(&d);
                 EXPECT_TRUE(bar && bar->leftButton()->text() == "Create new" &&
                             bar->rightButton()->text() == "Browse");
                 return showAndTake(d);
             });
             app.reset();
             ASSERT_TRUE(start());
         }},
    };
    for (const Case& c : cases) {
        const size_t before = caught.size();
        c.open();
        ASSERT_EQ(caught.size(), before + 1) << c.what;
        EXPECT_EQ(caught.back().what, c.what);
    }
    for (const Caught& window : caught) {
        SCOPED_TRACE(window.what.toStdString());
        EXPECT_TRUE(frame().frameGeometry().contains(window.frame))
            << "window " << window.frame.x() << "," << window.frame.y() << " " << window.frame.width() << "x"
            << window.frame.height();
    }
}
