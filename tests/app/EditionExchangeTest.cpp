// A strongly protected database written through one edition's window and
// opened through the other's. The two halves run as their own tests, each
// writing one first (tests/app/CMakeLists.txt orders them); in the ordinary
// run of this program, without the exchange folder, they are skipped.
#include "AppFixture.h"

#include "core/Edition.h"
#include "core/FileKind.h"
#include "dialogs/CDatabaseProperties.h"
#include "dialogs/CPasswordDlg.h"

#include <QLineEdit>
#include <QRadioButton>

namespace {

QString exchangeFile(bool handheld) {
    return qEnvironmentVariable("SEALBOOK_EXCHANGE_DIR") + (handheld ? "/pad.nte" : "/desk.nte");
}

// The note each edition writes and the other expects back.
NoteRecord exchangedNote() {
    NoteRecord note;
    note.iconIndex = 5;
    note.title = u"Card \u00e9t\u00e9";
    note.body = u"{\\rtf1\\ansi body}";
    note.templateId = 1;
    note.fieldValues = {u"4111 1111", u"12/29", u"J. Doe", u"", u"", u"", u"note \u20ac"};
    note.attachmentName = u"scan.pdf";
    note.setAttachment(std::vector<uint8_t>(70000, 0x5A)); // more than one piece
    return note;
}

} // namespace

class EditionExchange : public AppFixture {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("SEALBOOK_EXCHANGE_DIR"))
            GTEST_SKIP() << "run by ctest as app_exchange_*";
        AppFixture::SetUp();
    }
};

TEST_F(EditionExchange, WriteStrong) {
    ASSERT_TRUE(start());
    notes().strongCosts = StrongKey::smallestCosts();
    const NoteRecord note = exchangedNote();
    const int32_t id = notes().AddNode(0, note.iconIndex, 0, note.title, note.body, u"", NoteTimestamp{});
    NoteRecord& added = *notes().FindNode(id);
    added.templateId = note.templateId;
    added.fieldValues = note.fieldValues;
    added.attachmentName = note.attachmentName;
    added.setAttachment(note.attachmentData);
    const QString file = exchangeFile(kHandheld);
    QFile::remove(file);
    FileDialogs::QueueAnswers({file});
    answer([](QDialog& dialog) {
        auto& properties = dynamic_cast<CDatabaseProperties&>(dialog);
        properties.titleBox()->setText(kHandheld ? "From the handheld" : "From the desktop");
        properties.strongButton()->setChecked(true);
        properties.passwordBox()->setText("exchange");
        properties.repeatBox()->setText("exchange");
        return AppFixture::accept(properties);
    });
    frame().action(Command::Save)->trigger();
    EXPECT_EQ(ProtectionOfFile(QFile::encodeName(file).toStdString()), Protection::Strong);
}

TEST_F(EditionExchange, ReadStrong) {
    ASSERT_TRUE(start());
    answer([](QDialog& dialog) {
        auto& prompt = dynamic_cast<CPasswordDlg&>(dialog);
        prompt.passwordBox()->setText("exchange");
        return AppFixture::accept(prompt);
    });
    ASSERT_TRUE(doc().OnOpenDocument(exchangeFile(!kHandheld)));
    EXPECT_EQ(notes().protection, Protection::Strong);
    EXPECT_EQ(notes().dbTitle, kHandheld ? u"From the desktop" : u"From the handheld");
    const NoteRecord expected = exchangedNote();
    const NoteRecord* note = nullptr;
    for (const auto& [id, node] : notes().nodes) {
        if (node.title == expected.title)
            note = &node;
    }
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->body, expected.body);
    EXPECT_EQ(note->iconIndex, expected.iconIndex);
    EXPECT_EQ(note->templateId, expected.templateId);
    EXPECT_EQ(note->fieldValues, expected.fieldValues);
    EXPECT_EQ(note->attachmentName, expected.attachmentName);
    EXPECT_EQ(note->attachmentData, expected.attachmentData);
}
