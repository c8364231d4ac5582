// Merging through the real window: another program writes the open file,
// Save offers Merge, the report comes up, and Save in it writes both sides'
// work (Cancel leaves the database as it was); File > Merge With... brings in
// another file.
#include "AppFixture.h"

#include "dialogs/CMergeReportDlg.h"

#include <QFileInfo>
#include <QListWidget>

namespace {

class MergeFlowTest : public AppFixture {
protected:
    // What another program does to the file: loads it, edits, saves.
    void editOnDisk(const QString& file, const std::function<void(NotesMgr&)>& edit) {
        NotesMgr other;
        other.Load(QFile::encodeName(file).toStdString());
        edit(other);
        other.Save(QFile::encodeName(file).toStdString());
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

    QStringList reportLines;
};

} // namespace

TEST_F(MergeFlowTest, SaveOverAChangedFileMergesBothSides) {
    const QString file = makeDatabase("shared.nte", u"");
    ASSERT_TRUE(start({file}));
    const int32_t note = titled(notes(), u"Note")->nodeId;
    notes().FindNode(note)->body = u"mine";
    doc().setModified(true);
    editOnDisk(file, [](NotesMgr& m) { m.AddNode(1, 3, 0, u"Theirs", u"", u"", NoteTimestamp{}); });

    // Cancel in the report: the database and the file stay as they were.
    const auto before = notes().nodes;
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
    EXPECT_EQ(messages.last(),
              "shared.nte was changed by another program after it was opened. Overwrite it?");
    NotesMgr saved;
    saved.Load(QFile::encodeName(file).toStdString());
    ASSERT_TRUE(titled(saved, u"Theirs"));
    EXPECT_EQ(saved.FindNode(note)->body, u"mine");
    EXPECT_TRUE(titled(notes(), u"Theirs"));

    // The merged file is the new base: the next save asks nothing.
    messages.clear();
    doc().setModified(true);
    frame().action(Command::Save)->trigger();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(doc().isModified());
}

TEST_F(MergeFlowTest, MergeWithBringsInAnotherFile) {
    const QString file = makeDatabase("mine.nte", u"");
    const QString other = makeDatabase("other.nte", u"");
    editOnDisk(other, [](NotesMgr& m) { m.FindNode(2)->title = u"Other note"; });
    ASSERT_TRUE(start({file}));
    FileDialogs::QueueAnswers({other});
    answer(report(true));
    frame().action(Command::MergeWith)->trigger();
    EXPECT_TRUE(titled(notes(), u"Note") && titled(notes(), u"Other note"));
    EXPECT_FALSE(doc().isModified());
    NotesMgr saved;
    saved.Load(QFile::encodeName(file).toStdString());
    EXPECT_TRUE(titled(saved, u"Other note"));
    EXPECT_EQ(reportLines.first(), "Added from the other copy");
}
