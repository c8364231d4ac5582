// The template list and the template form driven through their controls:
// Add, Edit (double click), Delete with its refusal and question, and the
// form's checks. Message boxes are answered through the message-box seam,
// the modal form by a timer that acts on it once it is up.
#include "core/Edition.h"
#include "core/NotesMgr.h"
#include "core/TreeOps.h"
#include "dialogs/CCustomizeTemplateDlg.h"
#include "dialogs/CTemplateDlg.h"
#include "gui/DialogMenuBar.h"
#include "gui/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct ShownMessage {
    QString text;
    MessageIcon icon;
    MessageButtons buttons;
};

// Records every message box and answers it with `answer`.
class MessageRecorder {
public:
    MessageRecorder() {
        m_previous =
            SetMessageBoxHandler([this](QWidget*, const QString& text, MessageIcon icon, MessageButtons b) {
                shown.push_back({text, icon, b});
                return answer;
            });
    }
    ~MessageRecorder() { SetMessageBoxHandler(std::move(m_previous)); }

    std::vector<ShownMessage> shown;
    MessageAnswer answer = MessageAnswer::Ok;

private:
    MessageBoxHandler m_previous;
};

// Once the next modal template form is up, `act` works on it; a form still
// open afterwards is cancelled so that the test never hangs.
void onTemplateForm(std::function<void(CTemplateDlg&)> act, int* seen = nullptr) {
    QTimer::singleShot(0, [act = std::move(act), seen] {
        auto* form = qobject_cast<CTemplateDlg*>(QApplication::activeModalWidget());
        if (!form) {
            ADD_FAILURE() << "no template form came up";
            return;
        }
        if (seen)
            ++*seen;
        act(*form);
        if (form->isVisible())
            form->reject();
    });
}

// OK or Cancel of a form: the desktop buttons or the handheld soft keys.
void pressFormButton(QDialog& form, QDialogButtonBox* buttons, bool ok) {
    if (DialogMenuBar* bar = DialogMenuBar::Find(&form)) {
        (ok ? bar->leftButton() : bar->rightButton())->click();
        return;
    }
    buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
}

// A list command: the desktop button, or the entry of the handheld's Menu key.
void runCommand(CCustomizeTemplateDlg& dlg, const QString& name) {
    if (DialogMenuBar* bar = DialogMenuBar::Find(&dlg)) {
        ASSERT_NE(bar->leftKey(), nullptr);
        ASSERT_NE(bar->leftKey()->menu(), nullptr);
        for (QAction* action : bar->leftKey()->menu()->actions()) {
            if (action->text() == name) {
                action->trigger();
                return;
            }
        }
        FAIL() << "no menu entry " << name.toStdString();
    }
    QPushButton* button = name == QStringLiteral("Add")    ? dlg.addButton()
                          : name == QStringLiteral("Edit") ? dlg.editButton()
                                                           : dlg.deleteButton();
    ASSERT_TRUE(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
}

QStringList lines(const QListWidget* list) {
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

bool selectLine(QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    list->setCurrentItem(found.first());
    return true;
}

int32_t addNote(NotesMgr& mgr, int32_t parent, bool folder, const std::u16string& title, int32_t templateId) {
    const int32_t id = mgr.AddNode(parent, 0, folder ? 1 : 0, title, {}, {}, NoteTimestamp::now());
    mgr.FindNode(id)->templateId = templateId;
    return id;
}

class TemplateDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        NewDatabase(mgr);
        mgr.SetModified(false);
    }

    NotesMgr mgr;
    MessageRecorder messages;
};

} // namespace

TEST_F(TemplateDlgTest, ListIsSortedByNameIgnoringCaseAndCarriesTheIds) {
    mgr.AddTemplate(-1).name = u"zebra";
    mgr.AddTemplate(-1).name = u"apple";
    mgr.AddTemplate(-1).name = u"Zoo";
    CCustomizeTemplateDlg dlg(mgr);
    dlg.show();

    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Edit Templates"));
    const QStringList shown = lines(dlg.listBox());
    ASSERT_EQ(shown.size(), 19);
    EXPECT_EQ(shown.first(), QStringLiteral("apple"));
    EXPECT_EQ(shown.mid(17), (QStringList{QStringLiteral("zebra"), QStringLiteral("Zoo")}));
    for (int i = 1; i < shown.size(); ++i)
        EXPECT_LE(shown[i - 1].compare(shown[i], Qt::CaseInsensitive), 0) << shown[i].toStdString();
    // The database's own list is sorted the same way, and each line knows its id.
    ASSERT_EQ(mgr.templates.size(), 19u);
    for (int i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(QString::fromStdU16String(mgr.templates[static_cast<size_t>(i)].name), shown[i]);
        EXPECT_EQ(dlg.listBox()->item(i)->data(Qt::UserRole).toInt(),
                  mgr.templates[static_cast<size_t>(i)].templateId);
    }
    EXPECT_EQ(dlg.listBox()->currentRow(), 0);
    EXPECT_TRUE(dlg.listBox()->currentItem()->isSelected());
    EXPECT_FALSE(mgr.IsModified()) << "showing the list is not a change";
}

TEST_F(TemplateDlgTest, AddCreatesTheTemplateInItsSortedPlace) {
    CCustomizeTemplateDlg dlg(mgr);
    dlg.show();
    selectLine(dlg.listBox(), QStringLiteral("Web site"));
    int forms = 0;
    onTemplateForm(
        [](CTemplateDlg& form) {
            EXPECT_TRUE(form.nameBox()->text().isEmpty());
            QTest::keyClicks(form.nameBox(), QStringLiteral("Bank"));
            QTest::keyClicks(form.captionBox(0), QStringLiteral("Account:"));
            QTest::keyClicks(form.captionBox(4), QStringLiteral("Sort code:"));
            pressFormButton(form, form.buttons(), true);
        },
        &forms);
    runCommand(dlg, QStringLiteral("Add"));
    EXPECT_EQ(forms, 1);

    const TemplateRecord& added = mgr.FindTemplate(50);
    EXPECT_EQ(added.name, u"Bank");
    EXPECT_EQ(added.captions[0], u"Account:");
    EXPECT_EQ(added.captions[1], u"");
    EXPECT_EQ(added.captions[4], u"Sort code:");
    EXPECT_EQ(mgr.nextTemplateId, 51);
    EXPECT_TRUE(mgr.IsModified());
    // Sorted in before "Blog account", not appended; the first line is selected again.
    EXPECT_EQ(lines(dlg.listBox()).indexOf(QStringLiteral("Bank")), 0);
    EXPECT_EQ(dlg.listBox()->currentRow(), 0);
}

TEST_F(TemplateDlgTest, CancelledAddChangesNothing) {
    CCustomizeTemplateDlg dlg(mgr);
    dlg.show();
    onTemplateForm([](CTemplateDlg& form) {
        QTest::keyClicks(form.nameBox(), QStringLiteral("Never"));
        QTest::keyClicks(form.captionBox(0), QStringLiteral("Seen:"));
        pressFormButton(form, form.buttons(), false);
    });
    runCommand(dlg, QStringLiteral("Add"));
    EXPECT_EQ(mgr.templates.size(), 16u);
    EXPECT_EQ(mgr.nextTemplateId, 50);
    EXPECT_FALSE(mgr.IsModified());
}

TEST_F(TemplateDlgTest, DoubleClickEditsTheTemplateOfThatLine) {
    CCustomizeTemplateDlg dlg(mgr);
    dlg.resize(300, 500);
    dlg.show();
    QListWidget* list = dlg.listBox();
    QListWidgetItem* sim = list->findItems(QStringLiteral("SIM Card"), Qt::MatchExactly).value(0);
    ASSERT_NE(sim, nullptr);
    list->scrollToItem(sim);
    onTemplateForm([](CTemplateDlg& form) {
        EXPECT_EQ(form.nameBox()->text(), QStringLiteral("SIM Card"));
        EXPECT_EQ(form.captionBox(0)->text(), QStringLiteral("Operator:"));
        EXPECT_EQ(form.captionBox(2)->text(), QStringLiteral("PUK:"));
        form.captionBox(2)->clear();
        QTest::keyClicks(form.captionBox(6), QStringLiteral("Network:"));
        form.nameBox()->setText(QStringLiteral("a SIM"));
        pressFormButton(form, form.buttons(), true);
    });
    const QPoint at = list->visualItemRect(sim).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);

    const TemplateRecord& edited = mgr.FindTemplate(5);
    EXPECT_EQ(edited.name, u"a SIM");
    EXPECT_EQ(edited.captions[0], u"Operator:");
    EXPECT_EQ(edited.captions[2], u"");
    EXPECT_EQ(edited.captions[6], u"Network:");
    EXPECT_TRUE(mgr.IsModified());
    EXPECT_EQ(lines(list).first(), QStringLiteral("a SIM"));
}

TEST_F(TemplateDlgTest, ANameAnotherTemplateHasIsRefusedLetterCaseIgnored) {
    struct Case {
        const char* name;
        const char* edited; // null: Add
        const char* typed;
        bool refused;
    };
    const Case cases[] = {
        {"Add with another case", nullptr, "credit CARD", true},
        {"Add under the data page's None", nullptr, "NONE", true},
        {"Edit onto another template's name", "SIM Card", "Passport details", true},
        {"Edit keeping its own name in another case", "SIM Card", "sim card", false},
        {"Add a new name", nullptr, "Bank", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewDatabase(mgr);
        messages.shown.clear();
        CCustomizeTemplateDlg dlg(mgr);
        dlg.show();
        bool stillOpen = false;
        onTemplateForm([&](CTemplateDlg& form) {
            form.nameBox()->setText(QString::fromUtf8(c.typed));
            if (form.captionBox(0)->text().isEmpty())
                QTest::keyClicks(form.captionBox(0), QStringLiteral("Number:"));
            pressFormButton(form, form.buttons(), true);
            stillOpen = form.isVisible();
            EXPECT_EQ(form.nameBox()->text(), QString::fromUtf8(c.typed)) << "what was typed stays";
        });
        if (c.edited) {
            ASSERT_TRUE(selectLine(dlg.listBox(), QString::fromUtf8(c.edited)));
        }
        runCommand(dlg, c.edited ? QStringLiteral("Edit") : QStringLiteral("Add"));
        EXPECT_EQ(stillOpen, c.refused);
        ASSERT_EQ(messages.shown.size(), c.refused ? 1u : 0u);
        if (c.refused) {
            EXPECT_EQ(
                messages.shown[0].text,
                QStringLiteral("A template named '%1' already exists. Choose another name.").arg(c.typed));
        }
        EXPECT_EQ(lines(dlg.listBox()).contains(QString::fromUtf8(c.typed)), !c.refused);
        EXPECT_EQ(mgr.templates.size(), !c.refused && !c.edited ? 17u : 16u);
    }
}

TEST_F(TemplateDlgTest, EditAndDeleteNeedASelection) {
    CCustomizeTemplateDlg dlg(mgr);
    dlg.show();
    dlg.listBox()->setCurrentItem(nullptr);
    dlg.listBox()->clearSelection();
    int forms = 0;
    QTimer::singleShot(0, [&forms] {
        if (auto* modal = QApplication::activeModalWidget()) {
            ++forms;
            static_cast<QDialog*>(modal)->reject();
        }
    });
    dlg.OnEdit();
    dlg.OnDelete();
    QApplication::processEvents();
    EXPECT_EQ(forms, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(mgr.templates.size(), 16u);
    EXPECT_FALSE(mgr.IsModified());
}

TEST_F(TemplateDlgTest, DeleteIsRefusedNamingTheLowestIdNote) {
    const int32_t folder = addNote(mgr, 0, true, u"Cards", 1);
    addNote(mgr, folder, false, u"Main card", 1);
    addNote(mgr, 0, false, u"Spare card", 1);
    mgr.SetModified(false);
    CCustomizeTemplateDlg dlg(mgr);
    dlg.show();
    ASSERT_TRUE(selectLine(dlg.listBox(), QStringLiteral("Credit card")));

    runCommand(dlg, QStringLiteral("Delete"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("The template 'Credit card' is used by the 'Main card' and cannot be deleted."));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(mgr.templates.size(), 16u);
    EXPECT_EQ(mgr.FindTemplate(1).name, u"Credit card");
    EXPECT_FALSE(mgr.IsModified());
}

TEST_F(TemplateDlgTest, RefusalShowsNamesContainingPlaceholdersAsTyped) {
    TemplateRecord& odd = mgr.AddTemplate(-1);
    odd.name = u"Rate %2";
    odd.captions[0] = u"Value:";
    addNote(mgr, 0, false, u"Loan %1", odd.templateId);
    CCustomizeTemplateDlg dlg(mgr);
    dlg.show();
    ASSERT_TRUE(selectLine(dlg.listBox(), QStringLiteral("Rate %2")));
    runCommand(dlg, QStringLiteral("Delete"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("The template 'Rate %2' is used by the 'Loan %1' and cannot be deleted."));
}

TEST_F(TemplateDlgTest, FolderUseDoesNotBlockAndOkRemovesEveryCopyOfTheId) {
    addNote(mgr, 0, true, u"SIM folder", 5);
    // A second template sharing the id (as an old file may carry) goes too.
    TemplateRecord& twin = mgr.AddTemplate(5);
    twin.name = u"SIM twin";
    CCustomizeTemplateDlg dlg(mgr);
    dlg.show();
    ASSERT_TRUE(selectLine(dlg.listBox(), QStringLiteral("SIM Card")));

    runCommand(dlg, QStringLiteral("Delete"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Are you sure that you want to delete the selected template?"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(mgr.templates.size(), 15u);
    EXPECT_EQ(mgr.FindTemplate(5).name, u"No Data");
    EXPECT_FALSE(lines(dlg.listBox()).contains(QStringLiteral("SIM Card")));
    EXPECT_FALSE(lines(dlg.listBox()).contains(QStringLiteral("SIM twin")));
    EXPECT_EQ(dlg.listBox()->count(), 15);
    EXPECT_EQ(dlg.listBox()->currentRow(), 0);
    EXPECT_TRUE(mgr.IsModified());
}

TEST_F(TemplateDlgTest, CancelledDeleteKeepsTheListAndTheModifiedFlag) {
    CCustomizeTemplateDlg dlg(mgr);
    dlg.show();
    const QStringList before = lines(dlg.listBox());
    ASSERT_TRUE(selectLine(dlg.listBox(), QStringLiteral("Car Info")));
    messages.answer = MessageAnswer::Cancel;
    runCommand(dlg, QStringLiteral("Delete"));
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(lines(dlg.listBox()), before);
    EXPECT_EQ(mgr.templates.size(), 16u);
    EXPECT_FALSE(mgr.IsModified());
}

TEST_F(TemplateDlgTest, FormChecksTheNameFirstThenCaptionOne) {
    CTemplateDlg form;
    form.show();
    const QString emptyName = kHandheld ? QStringLiteral("The title cannot be empty.")
                                        : QStringLiteral("The 'Title' cannot be empty.");

    pressFormButton(form, form.buttons(), true);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, emptyName);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(form.isVisible());

    QTest::keyClicks(form.nameBox(), QStringLiteral(" "));
    QTest::keyClicks(form.captionBox(3), QStringLiteral("Later:"));
    pressFormButton(form, form.buttons(), true);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, QStringLiteral("The 'Caption 1' cannot be empty."));
    EXPECT_EQ(messages.shown[1].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.captionBox(3)->text(), QStringLiteral("Later:")) << "a refused OK keeps what was typed";

    // Caption 1 is all that is needed, even with gaps after it.
    QTest::keyClicks(form.captionBox(0), QStringLiteral("First:"));
    pressFormButton(form, form.buttons(), true);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    TemplateRecord out;
    form.copyTo(out);
    EXPECT_EQ(out.name, u" ");
    EXPECT_EQ(out.captions[0], u"First:");
    EXPECT_EQ(out.captions[1], u"");
    EXPECT_EQ(out.captions[3], u"Later:");
}

TEST_F(TemplateDlgTest, FormKeepsLongTextsWhole) {
    TemplateRecord in;
    in.name = std::u16string(40000, u'n');
    in.captions[6] = std::u16string(50000, u'c');
    in.captions[0] = u"x";
    CTemplateDlg form;
    form.setValues(in);
    form.show();
    pressFormButton(form, form.buttons(), true);
    TemplateRecord out;
    form.copyTo(out);
    EXPECT_EQ(out, in);
}

TEST_F(TemplateDlgTest, EditionLooks) {
    CTemplateDlg form;
    form.show();
    EXPECT_EQ(form.windowTitle(),
              kHandheld ? QStringLiteral("Customize Templates") : QStringLiteral("Template"));
    EXPECT_EQ(form.nameLabel()->text(), QStringLiteral("Title:"));
    EXPECT_TRUE(form.nameLabel()->font().bold());
    EXPECT_TRUE(form.nameBox()->font().bold());
    // The boxes reach to 5 pixels from the right edge, also after a resize.
    form.resize(form.width() + 120, form.height());
    QApplication::processEvents();
    for (int i = 0; i < kFieldCount; ++i)
        EXPECT_EQ(form.captionBox(i)->mapTo(&form, QPoint(form.captionBox(i)->width(), 0)).x(),
                  form.width() - 5);

    CCustomizeTemplateDlg list(mgr);
    list.show();
    DialogMenuBar* bar = DialogMenuBar::Find(&list);
    if (kHandheld) {
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->leftButton()->text(), QStringLiteral("Menu"));
        EXPECT_EQ(bar->rightButton()->text(), QStringLiteral("Close"));
        QStringList entries;
        for (QAction* action : bar->leftKey()->menu()->actions())
            entries << action->text();
        EXPECT_EQ(entries,
                  (QStringList{QStringLiteral("Add"), QStringLiteral("Edit"), QStringLiteral("Delete")}));
        EXPECT_FALSE(list.addButton()->isVisible());
        ASSERT_NE(DialogMenuBar::Find(&form), nullptr);
        EXPECT_EQ(DialogMenuBar::Find(&form)->leftButton()->text(), QStringLiteral("OK"));
        bar->rightButton()->click();
    } else {
        EXPECT_EQ(bar, nullptr);
        EXPECT_TRUE(list.closeButton()->isVisible());
        EXPECT_TRUE(list.closeButton()->font().bold());
        EXPECT_TRUE(list.closeButton()->isDefault());
        list.closeButton()->click();
    }
    EXPECT_FALSE(list.isVisible());
}

TEST(TemplateMessageBox, RealQuestionBoxHandsBackTheButtonPressed) {
    // Without a handler the real box comes up; answer it as a user would.
    const MessageBoxHandler saved = SetMessageBoxHandler({});
    for (const auto& [button, expected] : {std::pair{QMessageBox::Cancel, MessageAnswer::Cancel},
                                           std::pair{QMessageBox::Ok, MessageAnswer::Ok}}) {
        QString seen;
        QTimer::singleShot(0, [&seen, button = button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                ADD_FAILURE() << "no message box came up";
                return;
            }
            seen = box->text();
            box->button(button)->click();
        });
        EXPECT_EQ(ShowMessageBox(nullptr, QStringLiteral("Are you sure?"), MessageIcon::Question,
                                 MessageButtons::OkCancel),
                  expected);
        EXPECT_EQ(seen, QStringLiteral("Are you sure?"));
    }
    SetMessageBoxHandler(saved);
}
