// The Data page: the template drop-down and its special entries, the rows laid
// out per template (only when the chosen entry changes), hidden boxes keeping
// their values, and the scroll layout.

#include "NotePropFixture.h"

#include "core/Edition.h"
#include "core/Texts.h"
#include "dialogs/CCustomizeTemplateDlg.h"
#include "dialogs/CNotePropData.h"

#include <QToolButton>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTimer>

namespace {

constexpr int kDataTab = 1;

// Replaces the template editor for one test and puts the real one back afterwards.
class EditorRunnerGuard {
public:
    explicit EditorRunnerGuard(CNotePropData::TemplateEditorRunner runner)
        : m_previous(CNotePropData::SetTemplateEditorRunner(std::move(runner))) {}
    ~EditorRunnerGuard() { CNotePropData::SetTemplateEditorRunner(std::move(m_previous)); }

private:
    CNotePropData::TemplateEditorRunner m_previous;
};

TemplateRecord& AddUserTemplate(NotesMgr& notes, const std::u16string& name, int captionCount) {
    TemplateRecord& t = notes.AddTemplate();
    t.name = name;
    for (int i = 0; i < captionCount; ++i)
        t.captions[i] = u"Field " + std::u16string(1, char16_t(u'1' + i)) + u":";
    return t;
}

int ShownRows(const CNotePropData* page) {
    int shown = 0;
    for (int i = 0; i < CNotePropData::kRowCount; ++i) {
        EXPECT_EQ(page->captionLabel(i)->isHidden(), page->valueBox(i)->isHidden());
        shown += page->valueBox(i)->isHidden() ? 0 : 1;
    }
    return shown;
}

} // namespace

class NotePropDataTest : public NotePropFixture {
protected:
    CNotePropData* OpenDataPage(NoteRecord& note) {
        Open(note, false);
        EXPECT_TRUE(ClickTab(kDataTab));
        return sheet->dataPage();
    }
    QComboBox* list() const { return sheet->dataPage()->templateList(); }
};

TEST_F(NotePropDataTest, DropDownListsNoneSortedTemplatesAndTheTwoCommands) {
    AddUserTemplate(notes, u"alpha card", 2);
    NoteRecord note = MakeRecord(false);
    OpenDataPage(note);
    QComboBox* combo = list();
    ASSERT_EQ(combo->count(), 1 + int(notes.templates.size()) + 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("None"));
    EXPECT_EQ(combo->itemData(0).toInt(), 0);
    // Sorted by name without regard to case: "alpha card" comes first.
    EXPECT_EQ(combo->itemText(1), QStringLiteral("alpha card"));
    for (int i = 2; i < combo->count() - 2; ++i)
        EXPECT_LE(combo->itemText(i - 1).compare(combo->itemText(i), Qt::CaseInsensitive), 0) << i;
    EXPECT_EQ(combo->itemText(combo->count() - 2), QStringLiteral("--------------------"));
    EXPECT_EQ(combo->itemData(combo->count() - 2).toInt(), -1);
    EXPECT_EQ(combo->itemText(combo->count() - 1), QStringLiteral("Edit Templates..."));
    EXPECT_EQ(combo->itemData(combo->count() - 1).toInt(), -2);
    // The database's own list was sorted in place, in the drop-down's order.
    for (size_t i = 0; i < notes.templates.size(); ++i)
        EXPECT_EQ(combo->itemData(int(i) + 1).toInt(), notes.templates[i].templateId);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(ShownRows(sheet->dataPage()), 0);
}

TEST_F(NotePropDataTest, SeparatorPutsBackThePreviousChoice) {
    NoteRecord note = MakeRecord(false);
    note.templateId = 1; // "Credit card", seven captions
    note.fieldValues[0] = u"J. Smith";
    CNotePropData* page = OpenDataPage(note);
    const int chosen = list()->currentIndex();
    ASSERT_EQ(list()->currentData().toInt(), 1);
    EXPECT_EQ(page->valueBox(0)->text(), QStringLiteral("J. Smith"));
    EXPECT_EQ(ShownRows(page), 7);

    list()->setCurrentIndex(list()->count() - 2);
    EXPECT_EQ(list()->currentIndex(), chosen);
    EXPECT_EQ(page->valueBox(0)->text(), QStringLiteral("J. Smith"));
    EXPECT_EQ(ShownRows(page), 7);
}

TEST_F(NotePropDataTest, EditTemplatesDeletingTheChosenTemplateLeavesNone) {
    NoteRecord note = MakeRecord(false);
    note.templateId = 5; // "SIM Card"
    note.fieldValues[1] = u"1234";
    int runs = 0;
    EditorRunnerGuard guard([&runs](NotesMgr& db, QWidget*) {
        ++runs;
        std::erase_if(db.templates, [](const TemplateRecord& t) { return t.templateId == 5; });
    });
    CNotePropData* page = OpenDataPage(note);
    ASSERT_EQ(ShownRows(page), 3);

    list()->setCurrentIndex(list()->count() - 1);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(list()->currentIndex(), 0);
    EXPECT_EQ(list()->findData(5), -1);
    EXPECT_EQ(ShownRows(page), 0);
    EXPECT_TRUE(page->valueBox(1)->text().isEmpty());
    ASSERT_TRUE(ClickTab(0));
    EXPECT_EQ(note.templateId, 0);
    EXPECT_EQ(note.fieldValues[1], u"");
}

TEST_F(NotePropDataTest, EditTemplatesKeepsAChosenTemplateThatMoved) {
    NoteRecord note = MakeRecord(false);
    note.templateId = 5; // "SIM Card": Operator, PIN, PUK
    note.fieldValues[0] = u"Orange";
    EditorRunnerGuard guard([](NotesMgr& db, QWidget*) {
        // A new template sorting first moves every entry down by one, and
        // the chosen one gains a caption.
        AddUserTemplate(db, u"AAA first", 1);
        for (TemplateRecord& t : db.templates)
            if (t.templateId == 5)
                t.captions[3] = u"Network:";
    });
    CNotePropData* page = OpenDataPage(note);
    const int before = list()->currentIndex();
    const int otherId = list()->itemData(before + 1).toInt();

    list()->setCurrentIndex(list()->count() - 1);
    EXPECT_EQ(list()->currentData().toInt(), 5);
    EXPECT_EQ(list()->currentIndex(), before + 1);
    // Values typed so far stay; the new caption shows.
    EXPECT_EQ(page->valueBox(0)->text(), QStringLiteral("Orange"));
    EXPECT_EQ(ShownRows(page), 4);
    EXPECT_EQ(page->captionLabel(3)->text(), QStringLiteral("Network:"));

    // The entry now at the old place is a different template: choosing it lays its rows out.
    list()->setCurrentIndex(before);
    EXPECT_NE(list()->currentData().toInt(), 5);
    EXPECT_TRUE(page->valueBox(0)->text().isEmpty());
    list()->setCurrentIndex(before + 2);
    EXPECT_EQ(list()->currentData().toInt(), otherId);
}

TEST_F(NotePropDataTest, ChangingTheTemplateClearsBoxesButATabSwitchKeepsThem) {
    NoteRecord note = MakeRecord(false);
    note.templateId = 1;
    for (int i = 0; i < 7; ++i)
        note.fieldValues[i] = u"old";
    CNotePropData* page = OpenDataPage(note);

    page->valueBox(0)->clear();
    QTest::keyClicks(page->valueBox(0), "4111 1111");
    ASSERT_TRUE(ClickTab(0));
    EXPECT_EQ(note.fieldValues[0], u"4111 1111");
    ASSERT_TRUE(ClickTab(kDataTab));
    EXPECT_EQ(page->valueBox(0)->text(), QStringLiteral("4111 1111"));
    EXPECT_EQ(page->valueBox(6)->text(), QStringLiteral("old"));

    list()->setCurrentIndex(list()->findData(4)); // "Web site", five captions
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(page->valueBox(i)->text().isEmpty()) << i;
    EXPECT_EQ(ShownRows(page), 5);
    QTest::keyClicks(page->valueBox(0), "example.org");
    ASSERT_TRUE(ClickTab(2));
    EXPECT_EQ(note.templateId, 4);
    EXPECT_EQ(note.fieldValues[0], u"example.org");
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(note.fieldValues[i], u"") << i;
}

TEST_F(NotePropDataTest, HiddenBoxesKeepTheNotesValues) {
    NoteRecord note = MakeRecord(false);
    note.templateId = 0;
    note.fieldValues = {u"a", u"b", u"c", u"d", u"e", u"f", u"g"};
    const auto values = note.fieldValues;
    CNotePropData* page = OpenDataPage(note);
    EXPECT_EQ(ShownRows(page), 0);
    ASSERT_TRUE(ClickTab(0));
    EXPECT_EQ(note.fieldValues, values);
    EXPECT_EQ(note.templateId, 0);

    // A three-row template: rows 4 to 7 are hidden and keep their values.
    note.templateId = 5;
    Open(note, false);
    ASSERT_TRUE(ClickTab(kDataTab));
    EXPECT_EQ(ShownRows(sheet->dataPage()), 3);
    sheet->accept();
    EXPECT_EQ(note.fieldValues, values);
}

TEST_F(NotePropDataTest, UnknownTemplateSelectsNothingAndIsKept) {
    NoteRecord note = MakeRecord(false);
    note.templateId = 777;
    note.fieldValues[0] = u"kept";
    int runs = 0;
    EditorRunnerGuard guard([&runs](NotesMgr&, QWidget*) { ++runs; });
    CNotePropData* page = OpenDataPage(note);
    EXPECT_EQ(list()->currentIndex(), -1);
    EXPECT_EQ(page->valueBox(0)->text(), QStringLiteral("kept"));
    sheet->accept();
    EXPECT_EQ(note.templateId, 777);
    EXPECT_EQ(note.fieldValues[0], u"kept");

    // A stored id equal to a command entry's data neither opens the editor nor selects anything.
    note.templateId = -2;
    OpenDataPage(note);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(list()->currentIndex(), -1);
    note.templateId = -1;
    OpenDataPage(note);
    EXPECT_EQ(list()->currentIndex(), -1);
}

TEST_F(NotePropDataTest, ScrollBarAppearsOnlyWhenTheRowsDoNotFit) {
    TemplateRecord& two = AddUserTemplate(notes, u"Two rows", 2);
    NoteRecord note = MakeRecord(false);
    note.templateId = two.templateId;
    sheet = std::make_unique<CNotePropSheet>(notes, note, false);
    sheet->resize(420, 600);
    sheet->show();
    ASSERT_TRUE(ClickTab(kDataTab));
    CNotePropData* page = sheet->dataPage();
    EXPECT_EQ(ShownRows(page), 2);
    EXPECT_TRUE(page->scrollBar()->isHidden());
    EXPECT_EQ(page->contentHeight(), page->valueBox(1)->geometry().bottom() + 1 + 5);
    // Boxes reach the right margin.
    EXPECT_EQ(page->valueBox(0)->geometry().right() + 1, page->width() - 5);
    EXPECT_EQ(page->templateList()->geometry().right() + 1, page->width() - 5);

    // Seven rows in a short page.
    list()->setCurrentIndex(list()->findData(1));
    sheet->resize(420, 200);
    QCoreApplication::processEvents();
    ASSERT_FALSE(page->scrollBar()->isHidden());
    const int usable = page->height() - 10;
    const int content = page->valueBox(6)->geometry().bottom() + 1 + 5;
    EXPECT_EQ(page->contentHeight(), content);
    EXPECT_EQ(page->scrollBar()->maximum(), content - usable + 5);
    EXPECT_EQ(page->scrollBar()->pageStep(), page->valueBox(6)->height());
    EXPECT_EQ(page->valueBox(0)->geometry().right() + 1, page->width() - page->scrollBar()->width() - 5);

    // Scrolling moves every control by the difference; the position is clamped to the range.
    const int firstY = page->valueBox(0)->y();
    const int comboY = page->templateList()->y();
    page->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(page->scrollPosition(), 7);
    EXPECT_EQ(page->valueBox(0)->y(), firstY - 7);
    page->scrollBar()->setValue(100000);
    EXPECT_EQ(page->scrollPosition(), content - usable + 5);
    EXPECT_EQ(page->templateList()->y(), comboY - page->scrollPosition());

    // A taller page puts every control back and hides the bar.
    sheet->resize(420, 700);
    QCoreApplication::processEvents();
    EXPECT_TRUE(page->scrollBar()->isHidden());
    EXPECT_EQ(page->scrollPosition(), 0);
    EXPECT_EQ(page->valueBox(0)->y(), firstY);
}

TEST_F(NotePropDataTest, TemplateEditorRunsOnTheDatabase) {
    NoteRecord note = MakeRecord(false);
    note.templateId = 13; // "SSN card"; the working copy is not in the database, so it may go
    CNotePropData* page = OpenDataPage(note);
    ASSERT_EQ(ShownRows(page), 3);
    const size_t before = notes.templates.size();
    bool seen = false;
    // The real dialog: choose the note's template in its list, delete it, close.
    QTimer::singleShot(0, [&seen] {
        auto* dialog = qobject_cast<CCustomizeTemplateDlg*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        QListWidget* rows = dialog->listBox();
        for (int i = 0; i < rows->count(); ++i)
            if (rows->item(i)->data(Qt::UserRole).toInt() == 13)
                rows->setCurrentRow(i);
        dialog->OnDelete();
        dialog->accept();
    });
    list()->setCurrentIndex(list()->count() - 1);
    ASSERT_TRUE(seen);
    EXPECT_EQ(notes.templates.size(), before - 1);
    EXPECT_EQ(list()->currentIndex(), 0);
    EXPECT_EQ(ShownRows(page), 0);
    EXPECT_TRUE(notes.IsModified());
}

TEST_F(NotePropDataTest, EveryBuiltInCaptionIsShownWholeBesideItsBox) {
    NoteRecord note = MakeRecord(false);
    CNotePropData* page = OpenDataPage(note);
    sheet->resize(kHandheld ? QSize(360, 600) : QSize(420, 440));
    for (int entry = 1; entry <= static_cast<int>(notes.templates.size()); ++entry) {
        list()->setCurrentIndex(entry);
        SCOPED_TRACE(list()->currentText().toStdString());
        for (int i = 0; i < CNotePropData::kRowCount; ++i) {
            const QLabel* caption = page->captionLabel(i);
            if (caption->isHidden())
                continue;
            EXPECT_GE(caption->width(), caption->sizeHint().width()) << caption->text().toStdString();
            EXPECT_LT(caption->geometry().right(), page->valueBox(i)->x()) << caption->text().toStdString();
        }
    }
}

TEST_F(NotePropDataTest, SecretFieldsShowDotsUntilTheEyeRevealsThemForEditing) {
    NoteRecord note = MakeRecord(false);
    note.templateId = 1; // Credit card: row 3 is "CVC:", row 4 "PIN:"
    note.fieldValues = {u"J. Smith", u"4111", u"", u"123", u"", u"", u""};
    CNotePropData* page = OpenDataPage(note);
    const QString dots = QString::fromStdU16String(Texts::concealedValue);
    for (int row = 0; row < CNotePropData::kRowCount; ++row)
        EXPECT_EQ(page->revealButton(row)->isVisible(), row == 3 || row == 4) << row;
    EXPECT_EQ(page->valueBox(0)->text(), "J. Smith");
    EXPECT_EQ(page->valueBox(3)->text(), dots);
    EXPECT_TRUE(page->valueBox(3)->isReadOnly());
    EXPECT_EQ(page->rowValue(3), "123");
    // An empty secret is typed behind the box's own dots.
    EXPECT_EQ(page->valueBox(4)->echoMode(), QLineEdit::Password);
    QTest::keyClicks(page->valueBox(4), "0000");

    QTest::mouseClick(page->revealButton(3), Qt::LeftButton);
    EXPECT_EQ(page->valueBox(3)->text(), "123");
    EXPECT_FALSE(page->valueBox(3)->isReadOnly());
    page->valueBox(3)->setText("456");

    // Another tab hides the value again; what was typed is kept and stored.
    ASSERT_TRUE(ClickTab(0));
    EXPECT_FALSE(page->revealButton(3)->isChecked());
    ASSERT_TRUE(ClickTab(kDataTab));
    EXPECT_EQ(page->valueBox(3)->text(), dots);
    EXPECT_EQ(page->valueBox(4)->text(), dots);
    EXPECT_EQ(page->rowValue(4), "0000");
    sheet->accept();
    EXPECT_EQ(note.fieldValues[3], u"456");
    EXPECT_EQ(note.fieldValues[4], u"0000");
}
