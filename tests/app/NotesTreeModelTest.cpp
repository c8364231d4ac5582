// The tree model: what each item shows, the order of siblings, the in-place
// patches, a damaged database, and Qt's model tester over all of it.

#include "TreeTestSupport.h"

#include "app/AppTexts.h"
#include "gui/IconLists.h"

#include <QAbstractItemModelTester>
#include <QFont>
#include <QPixmap>
#include <QSignalSpy>
#include <array>
#include <gtest/gtest.h>

using namespace treetest;

namespace {

// Collects what the model tester reports (it warns on every fault it finds).
class TesterFaults {
public:
    TesterFaults() {
        s_faults = &m_faults;
        m_previous = qInstallMessageHandler(&TesterFaults::handle);
    }
    ~TesterFaults() {
        qInstallMessageHandler(m_previous);
        s_faults = nullptr;
    }
    const QStringList& faults() const { return m_faults; }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtDebugMsg && s_faults)
            s_faults->append(message);
    }
    static inline QStringList* s_faults = nullptr;
    QStringList m_faults;
    QtMessageHandler m_previous = nullptr;
};

// Asks for every item once, as a view that expands everything would.
int VisitAll(const QAbstractItemModel& model, const QModelIndex& parent = {}) {
    int count = 0;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        count += 1 + VisitAll(model, child);
    }
    return count;
}

class NotesTreeModelTest : public ::testing::Test {
protected:
    void SetUp() override { NewDatabase(notes); }

    QModelIndex DatabaseItem() const { return model.index(0, 0); }

    NotesMgr notes;
    NotesTreeModel model{notes};
};

} // namespace

TEST_F(NotesTreeModelTest, ModelTesterFindsNoFaultThroughFillsAndPatches) {
    // Nested folders, plus what a damaged file may hold: a node whose parent
    // is missing, a node under a note, and two nodes that are each other's parent.
    const int32_t cards = AddFolder(notes, 0, u"Cards");
    const int32_t bank = AddFolder(notes, cards, u"Bank");
    const int32_t deep = AddFolder(notes, bank, u"Deep");
    AddNote(notes, deep, u"Visa");
    const int32_t note = AddNote(notes, bank, u"Debit");
    AddNote(notes, note, u"Under a note");
    AddNote(notes, 0, u"Top note");
    AddNote(notes, 999, u"Orphan");
    const int32_t loopA = AddFolder(notes, 0, u"LoopA");
    const int32_t loopB = AddFolder(notes, loopA, u"LoopB");
    notes.FindNode(loopA)->parentId = loopB;

    TesterFaults faults;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.Fill();
    EXPECT_EQ(VisitAll(model), 7); // database item, Cards, Bank, Deep, Visa, Debit, Top note

    const int32_t added = AddNote(notes, deep, u"Added");
    EXPECT_TRUE(model.AppendNode(added).isValid());
    const int32_t addedFolder = AddFolder(notes, 0, u"New top folder");
    EXPECT_TRUE(model.AppendNode(addedFolder).isValid());
    notes.FindNode(note)->title = u"Renamed";
    model.RefreshNode(note);
    model.RemoveNode(bank);
    EXPECT_EQ(VisitAll(model), 4);
    model.Fill();
    VisitAll(model);

    EXPECT_TRUE(faults.faults().isEmpty()) << faults.faults().join(u'\n').toStdString();
    for (const char16_t* damaged : {u"Under a note", u"Orphan", u"LoopA", u"LoopB"}) {
        for (const auto& [id, node] : notes.nodes) {
            if (node.title == damaged) {
                EXPECT_FALSE(model.indexOf(id).isValid())
                    << QString::fromStdU16String(node.title).toStdString();
            }
        }
    }
}

TEST_F(NotesTreeModelTest, SiblingsShowFoldersFirstThenTitlesWithoutRegardToCase) {
    struct Sibling {
        bool folder;
        const char16_t* title;
    };
    struct Case {
        const char* name;
        std::vector<Sibling> siblings; // in creation (id) order
        QStringList expected;
    };
    const Case cases[] = {
        {"folder before notes, notes by title",
         {{false, u"beta"}, {false, u"Alpha"}, {true, u"zeta"}},
         {"zeta", "Alpha", "beta"}},
        {"folders by title too", {{true, u"b"}, {false, u"a"}, {true, u"A2"}}, {"A2", "b", "a"}},
        // Lower-cased, '_' comes before the letters; upper-cased it would come after them.
        {"compared lower-cased", {{false, u"Zed"}, {false, u"_x"}, {false, u"abc"}}, {"_x", "abc", "Zed"}},
        {"a prefix first", {{false, u"Cards 2"}, {false, u"cards"}}, {"cards", "Cards 2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewDatabase(notes);
        for (const Sibling& s : c.siblings)
            s.folder ? AddFolder(notes, 0, s.title) : AddNote(notes, 0, s.title);
        model.Fill();
        EXPECT_EQ(ChildLabels(model, DatabaseItem()), c.expected);
    }

    // Equal titles keep their ids' order, so a fill shows them as the last one did.
    NewDatabase(notes);
    const int32_t first = AddNote(notes, 0, u"Same");
    const int32_t second = AddNote(notes, 0, u"SAME");
    const int32_t third = AddNote(notes, 0, u"same");
    model.Fill();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(model.nodeIdAt(model.index(row, 0, DatabaseItem())),
                  (std::array{first, second, third})[row]);
}

TEST_F(NotesTreeModelTest, ItemsShowLabelPictureReminderMarkAndNodeId) {
    const int32_t folder = AddFolder(notes, 0, u"Cards", 3);
    const int32_t note = AddNote(notes, folder, u"Visa", 5);
    const int32_t reminder = AddNote(notes, folder, u"Renew", 7);
    notes.FindNode(reminder)->reminderOn = 1;
    const int32_t folderWithFlag = AddFolder(notes, 0, u"Flagged", 2);
    notes.FindNode(folderWithFlag)->reminderOn = 1; // a folder never shows the mark
    notes.dbTitle = u"Private";
    model.Fill();

    const ImageList images = IconLists::instance().treeImages();
    struct Case {
        int32_t nodeId;
        QString label;
        int image;
        bool bold;
    };
    const Case cases[] = {
        {0, QStringLiteral("Private") + QString::fromUtf8(AppTexts::passwordNotSet), 0, false},
        {folder, "Cards", 3 + 1, false},
        {note, "Visa", 5 + 17, false},
        {reminder, "Renew", 7 + 17, true},
        {folderWithFlag, "Flagged", 2 + 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label.toStdString());
        const QModelIndex index = model.indexOf(c.nodeId);
        ASSERT_TRUE(index.isValid());
        EXPECT_EQ(index.data().toString(), c.label);
        EXPECT_EQ(index.data(NotesTreeModel::NodeIdRole).toInt(), c.nodeId);
        EXPECT_EQ(index.data(Qt::DecorationRole).value<QPixmap>().cacheKey(),
                  images.image(c.image).cacheKey());
        const QVariant font = index.data(Qt::FontRole);
        EXPECT_EQ(font.isValid() && font.value<QFont>().bold(), c.bold);
    }

    // With a password the database item is the title alone.
    notes.password = u"secret";
    model.Fill();
    EXPECT_EQ(DatabaseItem().data().toString(), QStringLiteral("Private"));
}

TEST_F(NotesTreeModelTest, NewNodeStaysLastUntilTheNextFill) {
    const int32_t folder = AddFolder(notes, 0, u"Cards");
    AddNote(notes, folder, u"Mastercard");
    AddNote(notes, folder, u"Visa");
    model.Fill();
    const QModelIndex folderItem = model.indexOf(folder);

    const int32_t added = AddNote(notes, folder, u"Amex");
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    const QModelIndex item = model.AppendNode(added);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(item.row(), 2);
    EXPECT_EQ(item.parent(), folderItem);
    EXPECT_EQ(ChildLabels(model, folderItem), (QStringList{"Mastercard", "Visa", "Amex"}));

    model.Fill();
    EXPECT_EQ(ChildLabels(model, model.indexOf(folder)), (QStringList{"Amex", "Mastercard", "Visa"}));
}
