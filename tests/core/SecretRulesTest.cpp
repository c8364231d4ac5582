// Which captions are concealed, what Copy Value offers, and the decisions of
// locking and clipboard clearing.
#include "core/ConcealedValues.h"
#include "core/LockRules.h"
#include "core/NotesMgr.h"
#include "core/TreeOps.h"

#include <gtest/gtest.h>

TEST(SecretRules, ConcealedCaptions) {
    const struct {
        const char16_t* caption;
        bool concealed;
    } cases[] = {
        {u"PIN:", true},
        {u"pin", true},
        {u"Card PIN code:", true},
        {u"PUK:", true},
        {u"CVC:", true},
        {u"CVV2:", true},
        {u"cvv", true},
        {u"Security code", true},
        {u"SECURITY  CODE", false},
        {u"Password:", true},
        {u"Admin password", true},
        {u"Passcode", true},
        {u"Passphrase:", true},
        {u"Secret:", true},
        {u"Security Q/A 1:", true},
        {u"Access code:", true},
        {u"Shipping:", false},
        {u"Spin", false},
        {u"Passwords", false},
        {u"CVV3", false},
        {u"Login:", false},
        {u"Card number:", false},
        {u"", false},
        {u"Pинкод PIN", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsConcealedCaption(c.caption), c.concealed) << std::string(c.caption, c.caption + 4);
}

TEST(SecretRules, CopyableValuesOfACardNote) {
    NotesMgr mgr;
    NewDatabase(mgr);
    NoteRecord note;
    note.title = u"Visa";
    note.templateId = 1; // Cardholder name, Card number, Expires, CVC, PIN, ...
    note.fieldValues = {u"Ann", u"4111", u"", u"123", u"9876", u"", u""};
    const std::vector<CopyableValue> values = CopyableValues(mgr, note);
    ASSERT_EQ(values.size(), 5u);
    EXPECT_EQ(values[0].caption, u"Cardholder name:");
    EXPECT_EQ(values[2].value, u"123");
    EXPECT_TRUE(values[2].concealed);
    EXPECT_TRUE(values[3].concealed);
    EXPECT_FALSE(values[1].concealed);
    EXPECT_TRUE(values[4].isTitle);
    EXPECT_EQ(values[4].value, u"Visa");
    EXPECT_EQ(DefaultCopyIndex(values), 2); // the CVC

    note.fieldValues = {u"Ann", u"4111", u"", u"", u"", u"", u""};
    EXPECT_EQ(DefaultCopyIndex(CopyableValues(mgr, note)), 0);
    note.templateId = 0;
    EXPECT_EQ(DefaultCopyIndex(CopyableValues(mgr, note)), 0); // the title alone
    note.title.clear();
    EXPECT_EQ(DefaultCopyIndex(CopyableValues(mgr, note)), -1);
}

TEST(SecretRules, IdleLockDue) {
    const struct {
        int64_t last, now;
        int seconds;
        bool due;
    } cases[] = {
        {1000, 300999, 300, false}, {1000, 301000, 300, true}, {1000, 9000000, 0, false}, // never
        {5000, 1000, 1, false},   // the clock went back
        {0, 86400000, 300, true}, // a resume a day later
    };
    for (const auto& c : cases)
        EXPECT_EQ(IdleLockDue(c.last, c.now, c.seconds), c.due) << c.last << " " << c.now << " " << c.seconds;
}

TEST(SecretRules, PasswordsClipboardAndSessionPath) {
    EXPECT_TRUE(PasswordMatches(u"s3cret", u"s3cret"));
    EXPECT_FALSE(PasswordMatches(u"s3creT", u"s3cret"));
    EXPECT_FALSE(PasswordMatches(u"s3cret ", u"s3cret"));
    EXPECT_FALSE(PasswordMatches(u"", u"s3cret"));

    EXPECT_TRUE(ClipboardStillOurs(u"1234", u"1234"));
    EXPECT_FALSE(ClipboardStillOurs(u"1234", u"12345"));
    EXPECT_FALSE(ClipboardStillOurs(u"", u""));

    EXPECT_EQ(SessionObjectPath("c2"), "/org/freedesktop/login1/session/c2");
    EXPECT_EQ(SessionObjectPath("2"), "/org/freedesktop/login1/session/_32");
    EXPECT_EQ(SessionObjectPath("a-1"), "/org/freedesktop/login1/session/a_2d1");
}
