// Merging through the real window: another program writes the open file,
// Save offers Merge, the report comes up, and Save in it writes both sides'
// work (Cancel leaves the database as it was); File > Merge With... brings in
// another file.
#include "AppFixture.h"

#include "app/CNotesView.h"
#include "app/EditNodeCommand.h"
#include "app/NotesTreeModel.h"
#include "dialogs/CMergeReportDlg.h"
#include "ftp/CFTPManagerDlg.h"

#include <QFileInfo>
#include <QListWidget>
#include <QTest>

namespace {

class MergeFlowTest : public AppFixture {
protected:
    // A database under the password "pw", of the kind given.
    QString makeShared(const QString& name, Protection protection = Protection::Compatible) {
        const QString file = makeDatabase(name, u"pw");
        editOnDisk(file, [protection](NotesMgr& m) {
            m.protection = protection;
            m.strongCosts = StrongKey::smallestCosts();
        });
        return file;
    }

    std::unique_ptr<NotesMgr> load(const QString& file) {
        auto mgr = std::make_unique<NotesMgr>();
        mgr->password = u"pw";
        mgr->Load(QFile::encodeName(file).toStdString());
        return mgr;
    }

    // What another program does to the file: loads it, edits, saves.
    void editOnDisk(const QString& file, const std::function<void(NotesMgr&)>& edit) {
        const std::unique_ptr<NotesMgr> other = load(file);
        edit(*other);
        other->Save(QFile::encodeName(file).toStdString());
    }

    // Answers the report dialog with `result`, keeping its lines.
    DialogAnswer report(bool save) {
        return [this, save](QDialog& dialog) {
            auto& shown = dynamic_cast<CMergeReportDlg&>(dialog);
            reportLines.clear();
            for (int i = 0; i < shown.list()->count(); ++i)
                reportLines << shown.list()->item(i)->text();
            return save ? accept(dialog) : reject(dialog);
        };
    }

    const NoteRecord* titled(const NotesMgr& mgr, const std::u16string& title) {
        for (const auto& [id, node] : mgr.nodes)
            if (node.title == title)
                return &node;
        return nullptr;
    }

    void run(Command command) { frame().action(command)->trigger(); }

    QStringList reportLines;
};

} // namespace

TEST_F(MergeFlowTest, SaveOverAChangedFileMergesBothSides) {
    for (const Protection protection : {Protection::Compatible, Protection::Strong}) {
        SCOPED_TRACE(protection == Protection::Strong ? "strong" : "compatible");
        app.reset();
        const QString file =
            makeShared(protection == Protection::Strong ? "strong.nte" : "shared.nte", protection);
        answer(typePassword("pw"));
        ASSERT_TRUE(start({file}));
        const int32_t note = titled(notes(), u"Note")->nodeId;
        notes().FindNode(note)->body = u"mine";
        doc().setModified(true);
        editOnDisk(file, [](NotesMgr& m) { m.AddNode(1, 3, 0, u"Theirs", u"", u"", NoteTimestamp{}); });

        // Cancel in the report: the database and the file stay as they were.
        const auto before = notes().nodes;
        messages.clear();
        messageAnswers = {MessageAnswer::Merge};
        answer(report(false));
        frame().action(Command::Save)->trigger();
        EXPECT_EQ(notes().nodes, before);
        EXPECT_TRUE(doc().isModified());
        EXPECT_EQ(reportLines, QStringList({"Added from the other copy", "Untitled / Folder / Theirs"}));

        messageAnswers = {MessageAnswer::Merge};
        answer(report(true));
        frame().action(Command::Save)->trigger();
        EXPECT_FALSE(doc().isModified());
        EXPECT_EQ(messages.last(), QFileInfo(file).fileName() +
                                       " was changed by another program after it was opened. Overwrite it?");
        const std::unique_ptr<NotesMgr> saved = load(file);
        ASSERT_TRUE(titled(*saved, u"Theirs"));
        EXPECT_EQ(saved->FindNode(note)->body, u"mine");
        EXPECT_EQ(saved->protection, protection);
        EXPECT_TRUE(titled(notes(), u"Theirs"));

        // The merged file is the new base: the next save asks nothing.
        messages.clear();
        doc().setModified(true);
        frame().action(Command::Save)->trigger();
        EXPECT_TRUE(messages.isEmpty());
        EXPECT_FALSE(doc().isModified());
    }
}

TEST_F(MergeFlowTest, MergeWithBringsInAnotherFile) {
    const QString file = makeShared("mine.nte");
    const QString other = makeShared("other.nte");
    editOnDisk(other, [](NotesMgr& m) { m.FindNode(2)->title = u"Other note"; });
    answer(typePassword("pw"));
    ASSERT_TRUE(start({file}));
    FileDialogs::QueueAnswers({other});
    answer(report(true));
    frame().action(Command::MergeWith)->trigger();
    EXPECT_TRUE(titled(notes(), u"Note") && titled(notes(), u"Other note"));
    EXPECT_FALSE(doc().isModified());
    EXPECT_TRUE(titled(*load(file), u"Other note"));
    EXPECT_EQ(reportLines.first(), "Added from the other copy");
}

// Each way of merging is one step on the undo stack: Undo gives back the
// database as it was before the merge (steps before it still undo), Redo
// the merge again, and the saved state follows the stack as for any step.
TEST_F(MergeFlowTest, AMergeIsOneUndoStep) {
    struct Contents {
        std::map<int32_t, NoteRecord> nodes;
        std::vector<TemplateRecord> templates;
        std::u16string title, password;
        explicit Contents(const NotesMgr& n)
            : nodes(n.nodes), templates(n.templates), title(n.dbTitle), password(n.password) {}
        bool operator==(const Contents&) const = default;
    };
    enum class Way { ChangedOnDisk, MergeWith, Download };
    settings->writeString("Settings", "FTPHost", u"127.0.0.1");
    for (const Way way : {Way::ChangedOnDisk, Way::MergeWith, Way::Download}) {
        SCOPED_TRACE(int(way));
        app.reset();
        messages.clear();
        const QString file = makeShared(QStringLiteral("mine%1.nte").arg(int(way)));
        const QString other =
            way == Way::MergeWith ? makeShared(QStringLiteral("other%1.nte").arg(int(way))) : file;
        answer(typePassword("pw"));
        ASSERT_TRUE(start({file}));
        // Whether the tree comes to show the node `id` or not, once it is rebuilt.
        const auto treeShows = [this](int32_t id, bool shown) {
            return QTest::qWaitFor(
                [&] { return frame().view()->notesModel().indexOf(id).isValid() == shown; });
        };
        // A step before the merge (the FTP Manager opens only on a saved database).
        const bool stepBefore = way != Way::Download;
        if (stepBefore) {
            NoteRecord renamed = *titled(notes(), u"Note");
            const NoteRecord original = renamed;
            renamed.title = u"Mine";
            doc().PushChange(new EditNodeCommand(doc(), NoteEdit(original, renamed)));
        }
        editOnDisk(other, [](NotesMgr& m) { m.AddNode(1, 3, 0, u"Theirs", u"", u"", NoteTimestamp{}); });
        const Contents before(notes());

        if (way != Way::MergeWith)
            messageAnswers = {MessageAnswer::Merge};
        if (way == Way::Download)
            answer([&](QDialog& manager) {
                emit dynamic_cast<CFTPManagerDlg&>(manager).downloaded(file);
                return reject(manager);
            });
        answer(report(true));
        if (way == Way::MergeWith)
            FileDialogs::QueueAnswers({other});
        run(way == Way::ChangedOnDisk ? Command::Save
            : way == Way::MergeWith   ? Command::MergeWith
                                      : Command::FtpManager);
        ASSERT_TRUE(titled(notes(), u"Theirs"));
        const int32_t theirs = titled(notes(), u"Theirs")->nodeId;
        EXPECT_TRUE(treeShows(theirs, true));
        EXPECT_EQ(reportLines.first(), "Added from the other copy");
        EXPECT_FALSE(doc().isModified());
        const Contents merged(notes());

        run(Command::Undo);
        EXPECT_TRUE(Contents(notes()) == before);
        EXPECT_TRUE(treeShows(theirs, false));
        EXPECT_TRUE(doc().isModified());
        if (stepBefore) {
            run(Command::Undo);
            EXPECT_TRUE(titled(notes(), u"Note"));
            run(Command::Redo);
        }
        run(Command::Redo);
        EXPECT_TRUE(Contents(notes()) == merged);
        EXPECT_TRUE(treeShows(theirs, true));
        EXPECT_FALSE(doc().isModified());

        // The file holds the merge this window wrote: saving the database
        // as before the merge asks nothing, and writes it.
        run(Command::Undo);
        messages.clear();
        run(Command::Save);
        EXPECT_TRUE(messages.isEmpty());
        EXPECT_FALSE(titled(*load(file), u"Theirs"));
        // Another program writes the file again: the next save asks again.
        editOnDisk(file, [](NotesMgr& m) { m.dbTitle = u"Changed"; });
        run(Command::Redo);
        run(Command::Save);
        EXPECT_EQ(messages.size(), 1);
        EXPECT_TRUE(doc().isModified());
    }
}
