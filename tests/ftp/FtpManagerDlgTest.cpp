// "FTP Manager" through its buttons (desktop) and soft-key menu (handheld),
// against a real server on 127.0.0.1.

#include "FtpDialogSupport.h"
#include "core/MemorySettingsStore.h"
#include "dialogs/CTextDlg.h"
#include "ftp/CFTPManagerDlg.h"
#include "ftp/client/FtpTexts.h"
#include "ftp/client/RemotePaths.h"
#include "tests/support/FtpTestServer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

enum Command { Upload, Download, Delete, Rename, Refresh };

class FtpManager : public ::testing::Test {
protected:
    explicit FtpManager(FtpServerOptions options = {}) : server(options) {}

    FtpTestServer server;
    ScratchDir local;
    MemorySettingsStore store;
    MemoryVault vault{false};
    MessageRecorder messages;
    QStringList statuses;

    void SetUp() override {
        store.writeString("Settings", "FTPHost", u"127.0.0.1");
        store.writeInt("Settings", "FTPPort", server.port());
        store.writeString("Settings", "FTPLogin", u"backup");
        store.writeString("Settings", "FTPPassword", u"s3cret word");
    }

    std::unique_ptr<CFTPManagerDlg> open() {
        auto dialog = std::make_unique<CFTPManagerDlg>(store, vault);
        QObject::connect(dialog.get(), &CFTPManagerDlg::statusShown,
                         [this](const QString& t) { statuses << t; });
        dialog->show();
        startListing(*dialog);
        idle(*dialog);
        return dialog;
    }

    // The listing starts right after the dialog is shown.
    static void startListing(CFTPManagerDlg& dialog) {
        QCoreApplication::sendPostedEvents(&dialog, QEvent::MetaCall);
        EXPECT_TRUE(dialog.workerRunning());
    }

    static void idle(CFTPManagerDlg& dialog) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.workerRunning(); }, 60000));
        QCoreApplication::processEvents();
    }

    // The command as the edition offers it: a button, or a soft-key menu item.
    static void press(CFTPManagerDlg& dialog, Command command) {
        if constexpr (kHandheld)
            DialogMenuBar::Find(&dialog)->leftKey()->menu()->actions()[command]->trigger();
        else
            dialog.commandButton(command)->click();
    }

    static QStringList rows(const CFTPManagerDlg& dialog, int column) {
        QStringList out;
        for (int row = 0; row < dialog.fileList()->rowCount(); ++row)
            out << dialog.fileList()->item(row, column)->text();
        return out;
    }

    static void select(CFTPManagerDlg& dialog, const QString& name) {
        const auto found = dialog.fileList()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        dialog.fileList()->selectRow(found.first()->row());
    }
};

TEST_F(FtpManager, OpeningListsTheFolder) {
    WriteFileBytes(server.root() / "b.nte", std::string(1024, 'b'));
    WriteFileBytes(server.root() / "A.nte", std::string(1023, 'a'));
    WriteFileBytes(server.root() / "c.nte", std::string(2047, 'c'));
    auto dialog = open();
    EXPECT_EQ(statuses, (QStringList{FtpTexts::connecting, FtpTexts::gettingList, FtpTexts::done}));
    EXPECT_EQ(rows(*dialog, 0), (QStringList{"A.nte", "b.nte", "c.nte"}));
    EXPECT_EQ(rows(*dialog, 1), (QStringList{"1023 B", "1 Kb", "1 Kb"}));
    EXPECT_FALSE(rows(*dialog, 2).first().isEmpty());
    EXPECT_EQ(dialog->statusLine()->text(), FtpTexts::done);
    EXPECT_TRUE(messages.texts.isEmpty());
}

// An empty folder is listed as empty; a missing folder and a refused log-in
// are failures, the cause on the message's second line.
TEST_F(FtpManager, EmptyFolderIsDoneOtherFailuresSayWhy) {
    auto dialog = open();
    EXPECT_EQ(statuses, (QStringList{FtpTexts::connecting, FtpTexts::gettingList, FtpTexts::done}));
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(", ").toStdString();
    EXPECT_EQ(dialog->fileList()->rowCount(), 0);

    struct Case {
        const char* key;
        QString value;
        const char* message;
        const char* cause;
    };
    const Case cases[] = {
        {"FTPDirectory", "/missing", FtpTexts::listFailed, "550"},
        {"FTPPassword", "wrong", FtpTexts::connectFailed, "Access denied"},
    };
    for (const Case& c : cases) {
        store.writeString("Settings", c.key, c.value.toStdU16String());
        statuses.clear();
        messages.texts.clear();
        press(*dialog, Refresh);
        idle(*dialog);
        EXPECT_EQ(statuses.last(), FtpTexts::error);
        ASSERT_EQ(messages.texts.size(), 1);
        const QStringList lines = messages.texts.first().split('\n');
        ASSERT_EQ(lines.size(), 2) << messages.texts.first().toStdString();
        EXPECT_EQ(lines[0], c.message);
        EXPECT_TRUE(lines[1].contains(c.cause)) << lines[1].toStdString();
        EXPECT_EQ(messages.icons.last(), MessageIcon::Stop);
    }
}

// Commands are disabled and closing is refused while a worker runs.
TEST_F(FtpManager, ClosingWhileConnectingDoesNothing) {
    WriteFileBytes(server.root() / "a.nte", "a");
    CFTPManagerDlg dialog(store, vault);
    dialog.show();
    startListing(dialog);
    ASSERT_TRUE(dialog.workerRunning());
    EXPECT_FALSE(dialog.commands()[Upload]->isEnabled());
    if constexpr (!kHandheld) {
        EXPECT_FALSE(dialog.commandButton(Refresh)->isEnabled());
    }
    dialog.reject();
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    idle(dialog);
    EXPECT_TRUE(dialog.commands()[Upload]->isEnabled());
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(FtpManager, UploadKeepsTheServersCopyAndRelists) {
    WriteFileBytes(server.root() / "notes.nte", "earlier");
    WriteFileBytes(server.root() / "notes_old.nte", "oldest");
    WriteFileBytes(local.path() / "notes.nte", DatabaseBytes(3'000'000, 4));
    WriteFileBytes(local.path() / "my notes.nte", "x");
    auto dialog = open();
    statuses.clear();

    FileDialogs::QueueAnswers({QString::fromStdString((local.path() / "my notes.nte").string())});
    press(*dialog, Upload);
    EXPECT_FALSE(dialog->workerRunning());
    EXPECT_EQ(messages.texts, QStringList{FtpTexts::nameHasSpaces});

    FileDialogs::QueueAnswers({QString::fromStdString((local.path() / "notes.nte").string())});
    press(*dialog, Upload);
    idle(*dialog);
    EXPECT_EQ(statuses, (QStringList{FtpTexts::connecting, FtpTexts::uploading, FtpTexts::gettingList,
                                     FtpTexts::done, FtpTexts::done}));
    EXPECT_EQ(ReadFileBytes(server.root() / "notes.nte"), DatabaseBytes(3'000'000, 4));
    EXPECT_EQ(ReadFileBytes(server.root() / "notes_old.nte"), "earlier");
    EXPECT_EQ(rows(*dialog, 0), (QStringList{"notes.nte", "notes_old.nte"}));
    EXPECT_EQ(dialog->progressBar()->value(), 100);
}

TEST_F(FtpManager, DownloadRenameAndDelete) {
    WriteFileBytes(server.root() / "notes.nte", "from server");
    WriteFileBytes(server.root() / "other.nte", "other");
    WriteFileBytes(local.path() / "notes.nte", "local");
    auto dialog = open();

    // Download over a local notes.nte keeps it as notes_old.nte; the list is not reread.
    select(*dialog, "notes.nte");
    FileDialogs::QueueAnswers({QString::fromStdString((local.path() / "my copy.nte").string())});
    press(*dialog, Download);
    EXPECT_EQ(messages.texts, QStringList{FtpTexts::nameHasSpaces});
    statuses.clear();
    // The window learns which file the download wrote (it may be the open database's).
    QSignalSpy downloaded(dialog.get(), &CFTPManagerDlg::downloaded);
    FileDialogs::QueueAnswers({QString::fromStdString((local.path() / "notes").string())});
    press(*dialog, Download);
    idle(*dialog);
    ASSERT_EQ(downloaded.size(), 1);
    EXPECT_EQ(downloaded.front().front().toString(),
              QString::fromStdString((local.path() / "notes.nte").string()));
    EXPECT_EQ(FileDialogs::SuggestedNames().last(), "notes.nte");
    EXPECT_EQ(statuses, (QStringList{FtpTexts::connecting, FtpTexts::downloading, FtpTexts::done}));
    EXPECT_EQ(ReadFileBytes(local.path() / "notes.nte"), "from server");
    EXPECT_EQ(ReadFileBytes(local.path() / "notes_old.nte"), "local");

    // Rename through the name entry.
    const auto previous = SetDialogRunner([](QDialog& d) {
        auto* entry = qobject_cast<CTextDlg*>(&d);
        EXPECT_NE(entry, nullptr);
        EXPECT_EQ(entry->text(), "other.nte");
        entry->edit()->setText("my notes");
        entry->accept();
        return int(QDialog::Accepted);
    });
    select(*dialog, "other.nte");
    press(*dialog, Rename);
    idle(*dialog);
    SetDialogRunner(previous);
    EXPECT_EQ(rows(*dialog, 0), (QStringList{"my_notes.nte", "notes.nte"}));

    // Delete asks first; Cancel keeps the file.
    select(*dialog, "my_notes.nte");
    {
        MessageRecorder cancel(MessageAnswer::Cancel);
        press(*dialog, Delete);
        EXPECT_EQ(cancel.texts, QStringList{FtpTexts::confirmDelete});
        EXPECT_EQ(cancel.icons, QList<MessageIcon>{MessageIcon::Question});
    }
    EXPECT_FALSE(dialog->workerRunning());
    press(*dialog, Delete);
    idle(*dialog);
    EXPECT_EQ(rows(*dialog, 0), QStringList{"notes.nte"});
    EXPECT_FALSE(fs::exists(server.root() / "my_notes.nte"));
}

// The interface thread keeps running its event loop while 200 MB go up.
TEST_F(FtpManager, StaysResponsiveDuringALargeUpload) {
    WriteFileBytes(server.root() / "a.nte", "a");
    WriteFileBytes(local.path() / "big.nte", DatabaseBytes(200u * 1024 * 1024, 9));
    auto dialog = open();
    QElapsedTimer clock;
    qint64 last = 0, longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    FileDialogs::QueueAnswers({QString::fromStdString((local.path() / "big.nte").string())});
    clock.start();
    ticker.start(5);
    press(*dialog, Upload);
    idle(*dialog);
    ticker.stop();
    // Had the interface thread waited for the network, one gap would span the
    // whole transfer; a busy machine may delay a tick, never most of it.
    const qint64 total = clock.elapsed();
    EXPECT_LT(longestGap, std::max<qint64>(250, total / 3)) << "transfer took " << total << " ms";
    EXPECT_EQ(fs::file_size(server.root() / "big.nte"), 200u * 1024 * 1024);
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(", ").toStdString();
}

// Download, Delete and Rename need a selected file; a rename to a path or to
// a name that is taken changes nothing.
TEST_F(FtpManager, CommandsFollowTheSelectionAndRenamesAreChecked) {
    WriteFileBytes(server.root() / "a.nte", "a");
    WriteFileBytes(server.root() / "b.nte", "b");
    auto dialog = open();
    const auto enabled = [&] {
        QList<bool> states;
        for (QAction* action : dialog->commands())
            states << action->isEnabled();
        return states;
    };
    EXPECT_EQ(enabled(), (QList<bool>{true, false, false, false, true}));
    select(*dialog, "a.nte");
    EXPECT_EQ(enabled(), (QList<bool>{true, true, true, true, true}));
    if constexpr (!kHandheld) {
        EXPECT_TRUE(dialog->commandButton(Rename)->isEnabled());
    }

    struct Case {
        QString entered;
        QString message;
    };
    const Case cases[] = {
        {"../escaped", FtpTexts::nameNotPlain},
        {"sub/escaped", FtpTexts::nameNotPlain},
        {".a", FtpTexts::nameNotPlain},
        {"b", QString::fromStdString(WithName(FtpTexts::nameTaken, "b.nte"))},
    };
    for (const Case& c : cases) {
        const auto previous = SetDialogRunner([&](QDialog& d) {
            qobject_cast<CTextDlg*>(&d)->edit()->setText(c.entered);
            d.accept();
            return int(QDialog::Accepted);
        });
        messages.texts.clear();
        select(*dialog, "a.nte");
        press(*dialog, Rename);
        idle(*dialog);
        SetDialogRunner(previous);
        ASSERT_FALSE(messages.texts.isEmpty()) << c.entered.toStdString();
        EXPECT_EQ(messages.texts.first().section('\n', 0, 0), c.message);
    }
    EXPECT_EQ(ReadFileBytes(server.root() / "a.nte"), "a");
    EXPECT_EQ(ReadFileBytes(server.root() / "b.nte"), "b");
    dialog->fileList()->clearSelection();
    EXPECT_EQ(enabled(), (QList<bool>{true, false, false, false, true}));
}

// Upload offers the open database first; a file that is no database is refused.
TEST_F(FtpManager, UploadOffersTheOpenDatabaseAndSendsOnlyDatabases) {
    WriteFileBytes(local.path() / "open.nte", DatabaseBytes(1000, 1));
    WriteFileBytes(local.path() / "other.nte", DatabaseBytes(1000, 2));
    WriteFileBytes(local.path() / "export.nte", "{\"dbTitle\": \"Cards\"}");
    auto dialog = open();
    dialog->setOpenDatabase(QString::fromStdString((local.path() / "open.nte").string()));
    struct Case {
        MessageAnswer answer;
        const char* chosen; // the file dialog's answer, when asked
        const char* sent;
    };
    const Case cases[] = {
        {MessageAnswer::Cancel, nullptr, nullptr},
        {MessageAnswer::Yes, nullptr, "open.nte"},
        {MessageAnswer::ChooseFile, "other.nte", "other.nte"},
        {MessageAnswer::ChooseFile, "export.nte", nullptr},
    };
    for (const Case& c : cases) {
        MessageRecorder answer(c.answer);
        if (c.chosen)
            FileDialogs::QueueAnswers({QString::fromStdString((local.path() / c.chosen).string())});
        press(*dialog, Upload);
        idle(*dialog);
        ASSERT_FALSE(answer.texts.isEmpty());
        EXPECT_EQ(answer.texts.first(), "Upload open.nte?");
        if (c.sent) {
            EXPECT_EQ(ReadFileBytes(server.root() / c.sent), ReadFileBytes(local.path() / c.sent));
        }
        if (c.chosen && !c.sent) {
            EXPECT_EQ(answer.texts.last(),
                      QString::fromStdString(WithName(FtpTexts::notADatabase, c.chosen)));
        }
    }
    EXPECT_EQ(rows(*dialog, 0), (QStringList{"open.nte", "other.nte"}));
}

// During a transfer the Cancel or Close key reads "Stop" and ends it: the
// temporary file is removed, both copies stay, the status says "Stopped".
// A vault that waits in an event loop of its own, as the secret service's does.
class WaitingVault : public MemoryVault {
public:
    WaitingVault() : MemoryVault(true) {}
    std::optional<QString> read() override {
        shownBeforeRead = window && window->windowHandle() && window->windowHandle()->isVisible();
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
        return MemoryVault::read();
    }
    QWidget* window = nullptr;
    bool shownBeforeRead = false;
};

// The first manager after a start opens at its size: the settings are read
// only once its window is on the screen, never while it is being shown.
TEST_F(FtpManager, FirstShownOpensAtItsSize) {
    WriteFileBytes(server.root() / "a.nte", "a");
    QWidget mainWindow;
    mainWindow.resize(kHandheld ? QSize(360, 640) : QSize(800, 600));
    mainWindow.show();
    WaitingVault waiting;
    CFTPManagerDlg dialog(store, waiting, &mainWindow);
    waiting.window = &dialog;
    dialog.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.workerRunning(); }, 5000));
    idle(dialog);
    EXPECT_TRUE(waiting.shownBeforeRead);
    EXPECT_EQ(dialog.fileList()->rowCount(), 1);
    const QSize wanted = dialog.minimumSizeHint();
    EXPECT_GE(dialog.width(), std::max(wanted.width(), 200));
    EXPECT_GE(dialog.height(), std::max(wanted.height(), 150));
    dialog.reject();
}

class SlowFtpManager : public FtpManager {
protected:
    SlowFtpManager() : FtpManager(FtpServerOptions{.throttle = 256 * 1024}) {}
};

TEST_F(SlowFtpManager, StopEndsATransfer) {
    WriteFileBytes(server.root() / "notes.nte", DatabaseBytes(3'000'000, 1));
    WriteFileBytes(local.path() / "notes.nte", DatabaseBytes(3'000'000, 2));
    auto dialog = open();
    const auto serverBefore = ReadFileBytes(server.root() / "notes.nte");
    const auto localBefore = ReadFileBytes(local.path() / "notes.nte");
    const QString idleKey = kHandheld ? "Close" : "Cancel";
    EXPECT_EQ(dialog->cancelKeyText(), idleKey);
    for (const Command command : {Upload, Download}) {
        statuses.clear();
        select(*dialog, "notes.nte");
        FileDialogs::QueueAnswers({QString::fromStdString((local.path() / "notes.nte").string())});
        press(*dialog, command);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->progressBar()->isVisible(); }, 20000));
        EXPECT_TRUE(dialog->transferRunning());
        EXPECT_EQ(dialog->cancelKeyText(), FtpTexts::stop);
        if constexpr (kHandheld)
            DialogMenuBar::Find(dialog.get())->rightKey()->trigger();
        else
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        idle(*dialog);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(statuses.last(), FtpTexts::stopped);
        EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(", ").toStdString();
        EXPECT_EQ(dialog->cancelKeyText(), idleKey);
        EXPECT_TRUE(ReadFileBytes(server.root() / "notes.nte") == serverBefore);
        EXPECT_TRUE(ReadFileBytes(local.path() / "notes.nte") == localBefore);
        EXPECT_EQ(std::distance(fs::directory_iterator(server.root()), {}), 1);
        EXPECT_EQ(std::distance(fs::directory_iterator(local.path()), {}), 1);
    }
}

} // namespace
