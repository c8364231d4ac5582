// A database wiped where it lies (kept, never freed, by a process about to
// end) must hold none of its secrets any more: no text of any record, no
// password, and no strong key still alive to be read.
#include "core/NotesMgr.h"
#include "core/StrongKey.h"

#include <gtest/gtest.h>

#include <memory>

TEST(NotesMgrWipe, InPlaceLeavesNoSecret) {
    NotesMgr db(nullptr);
    db.password = u"a password";
    db.strongCosts = StrongKey::smallestCosts();
    db.PrepareStrongKey();
    const std::weak_ptr<const StrongKey> key = db.strongKey;
    db.dbTitle = u"Home";
    db.dbDescription = u"All of it";
    const int32_t id =
        db.AddNode(0, 5, 0, u"Bank", u"{\\rtf1 PIN 1234}", u"https://bank.example", NoteTimestamp());
    NoteRecord& note = *db.FindNode(id);
    note.fieldValues[0] = u"4111 1111 1111 1111";
    note.attachmentName = u"card.png";
    note.setAttachment({1, 2, 3});
    const size_t records = db.nodes.size();

    db.WipeInPlace();

    EXPECT_EQ(records, db.nodes.size());
    const NoteRecord& wiped = *db.FindNode(id);
    EXPECT_EQ(u"", wiped.title + wiped.body + wiped.link + wiped.fieldValues[0] + wiped.attachmentName);
    EXPECT_TRUE(wiped.attachmentData.empty());
    EXPECT_EQ(u"", db.password + db.dbTitle + db.dbDescription);
    EXPECT_TRUE(key.expired());
}
