// A later start of the handheld program hands its database to the running
// one, also while the start-up dialog runs; a download that replaced the open
// database's file offers to open the downloaded copy.
#include "AppFixture.h"

#include "app/CommandTable.h"
#include "app/DownloadedCopy.h"
#include "app/SingleInstance.h"
#include "dialogs/CPasswordDlg.h"
#include "ftp/CFTPManagerDlg.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

class SecondStart : public AppFixture {
protected:
    // A program path of this test's own, so that no other test's instance answers.
    QString program =
        QStringLiteral("/tmp/sealbook-test/%1/second-start/Wrenpad").arg(QCoreApplication::applicationPid());
};

TEST_F(SecondStart, HandsItsFileToTheRunningProgram) {
    const QString first = makeDatabase("first.nte", u"one", u"First");
    const QString second = makeDatabase("second.nte", u"two", u"Second");
    struct Case {
        bool duringStartUp;
        bool modified; // the save prompt comes first, answered No
    };
    for (const Case c : {Case{true, false}, Case{false, true}}) {
        SingleInstance running(program);
        ASSERT_TRUE(running.claim());
        app = std::make_unique<CNotesApp>(QStringList{}, *settings);
        app->ListenTo(running);
        QSignalSpy handed(&running, &SingleInstance::openRequested);
        const auto laterStart = [&](const QString& file) {
            SingleInstance later(program);
            EXPECT_FALSE(later.claim(file));
            EXPECT_TRUE(QTest::qWaitFor([&] { return !handed.isEmpty(); }, 5000));
        };
        if (c.duringStartUp) {
            answer([&](QDialog& startUp) {
                laterStart(first);
                QTest::qWait(300);
                EXPECT_TRUE(doc().pathName().isEmpty()) << "nothing opens under the start-up dialog";
                return reject(startUp);
            });
            answer(typePassword("one"));
            ASSERT_TRUE(app->InitInstance());
        } else {
            answer(&AppFixture::reject);
            ASSERT_TRUE(app->InitInstance());
            doc().setModified();
            messageAnswers = {MessageAnswer::No};
            answer(typePassword("two"));
            laterStart(second);
        }
        const QString expected = c.duringStartUp ? first : second;
        EXPECT_TRUE(QTest::qWaitFor([&] { return doc().pathName() == expected; }, 5000))
            << doc().pathName().toStdString();
        EXPECT_EQ(messages.size(), c.modified ? 1 : 0);
        EXPECT_EQ(dialogs.last(), "CPasswordDlg");
        app.reset();
        messages.clear();
        dialogs.clear();
    }
}

// The manager reports the download; the open database's own file brings the question.
TEST_F(SecondStart, ADownloadOverTheOpenFileOffersToOpenIt) {
    const QString open = makeDatabase("open.nte", u"pw", u"Before");
    answer(typePassword("pw"));
    ASSERT_TRUE(start({open}));
    settings->writeString("Settings", "FTPHost", u"127.0.0.1");
    struct Case {
        QString downloaded;
        MessageAnswer answer;
        bool asked;
        std::u16string title;
    };
    const QString elsewhere = makeDatabase("elsewhere.nte", u"pw", u"Elsewhere");
    const Case cases[] = {
        {elsewhere, MessageAnswer::Open, false, u"Before"},
        {open, MessageAnswer::Keep, true, u"Before"},
        {path("./open.nte"), MessageAnswer::Open, true, u"After"},
    };
    for (const Case& c : cases) {
        if (c.asked)
            makeDatabase("open.nte", u"pw", u"After");
        messages.clear();
        messageAnswers = {c.answer};
        answer([&](QDialog& manager) {
            emit dynamic_cast<CFTPManagerDlg&>(manager).downloaded(c.downloaded);
            return reject(manager);
        });
        answer(typePassword("pw"));
        frame().action(Command::FtpManager)->trigger();
        EXPECT_EQ(messages.size(), c.asked ? 1 : 0) << c.downloaded.toStdString();
        EXPECT_EQ(notes().dbTitle, c.title) << c.downloaded.toStdString();
        answers.clear();
    }
    EXPECT_FALSE(ReplacesOpenDatabase(open, QString()));
    EXPECT_FALSE(ReplacesOpenDatabase(path("missing.nte"), path("missing.nte")));
}

} // namespace
