// The built-in catalogue, template lookup and the default folders.
#include "core/NotesMgr.h"
#include "core/TreeOps.h"

#include <gtest/gtest.h>

TEST(Templates, NewDatabaseHasTheSixteenInTableOrder) {
    NotesMgr mgr;
    NewDatabase(mgr);
    const int expectedIds[] = {9, 10, 1, 11, 3, 8, 2, 15, 12, 16, 7, 6, 14, 5, 13, 4};
    ASSERT_EQ(mgr.templates.size(), 16u);
    for (size_t i = 0; i < 16; ++i)
        EXPECT_EQ(mgr.templates[i].templateId, expectedIds[i]) << i;
    EXPECT_EQ(mgr.templates.front().name, u"Blog account");
    EXPECT_EQ(mgr.templates.back().name, u"Web site");
    // Names are in alphabetical order ignoring case, as the catalogue is listed.
    const TemplateRecord& card = mgr.FindTemplate(1);
    EXPECT_EQ(card.name, u"Credit card");
    EXPECT_EQ(card.captions[0], u"Cardholder name:");
    EXPECT_EQ(card.captions[6], u"Card Type:");
    const TemplateRecord& sim = mgr.FindTemplate(5);
    EXPECT_EQ(sim.captions[2], u"PUK:");
    EXPECT_TRUE(sim.captions[3].empty());
    EXPECT_EQ(mgr.nextTemplateId, 50);
    EXPECT_EQ(mgr.AddTemplate().templateId, 50);
    EXPECT_EQ(mgr.AddTemplate().templateId, 51);
    EXPECT_EQ(mgr.AddTemplate(77).templateId, 77);
    EXPECT_EQ(mgr.nextTemplateId, 52);
}

TEST(Templates, InstallingAgainReplacesTheList) {
    NotesMgr mgr;
    mgr.AddTemplate(3).name = u"mine";
    mgr.nextTemplateId = 900;
    mgr.InstallDefaultTemplates();
    EXPECT_EQ(mgr.templates.size(), 16u);
    EXPECT_EQ(mgr.FindTemplate(3).name, u"Email account");
    EXPECT_EQ(mgr.nextTemplateId, 50);
}

TEST(Templates, UnknownIdGivesTheSharedNoDataTemplate) {
    NotesMgr mgr;
    NewDatabase(mgr);
    const TemplateRecord& none = mgr.FindTemplate(4242);
    EXPECT_EQ(none.templateId, 0);
    EXPECT_EQ(none.name, u"No Data");
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(none.caption(i).empty());
    EXPECT_EQ(&none, &mgr.FindTemplate(0));
    EXPECT_EQ(mgr.templates.size(), 16u); // never stored in the list
}

TEST(Templates, CaptionByPosition) {
    NotesMgr mgr;
    mgr.InstallDefaultTemplates();
    const TemplateRecord& t = mgr.FindTemplate(16);
    EXPECT_EQ(t.caption(0), u"E-mail:");
    EXPECT_EQ(t.caption(6), u"Security Q/A 2:");
    EXPECT_TRUE(t.caption(-1).empty());
    EXPECT_TRUE(t.caption(7).empty());
}

TEST(Templates, FirstOfDuplicateIdsIsFound) {
    NotesMgr mgr;
    mgr.AddTemplate(60).name = u"first";
    mgr.AddTemplate(60).name = u"second";
    EXPECT_EQ(mgr.FindTemplate(60).name, u"first");
    RemoveTemplate(mgr, 60);
    EXPECT_TRUE(mgr.templates.empty()); // every template with the id goes
    EXPECT_TRUE(mgr.IsModified());
}

TEST(DefaultFolders, TenFoldersWithIdsOneToTen) {
    NotesMgr mgr;
    NewDatabase(mgr);
    mgr.AddDefaultFolders();
    EXPECT_FALSE(mgr.IsModified());
    ASSERT_EQ(mgr.nodes.size(), 11u);
    const char16_t* names[] = {u"Credit cards", u"Internet accounts", u"Email accounts", u"Web sites",
                               u"IM accounts",  u"Blog accounts",     u"SIM cards",      u"Phone cards",
                               u"PC accounts",  u"Ideas list"};
    for (int id = 1; id <= 10; ++id) {
        const NoteRecord* f = mgr.FindNode(id);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->title, names[id - 1]);
        EXPECT_EQ(f->parentId, 0);
        EXPECT_EQ(f->isFolder, 1);
        EXPECT_EQ(f->iconIndex, 1);
        EXPECT_TRUE(f->body.empty());
        EXPECT_TRUE(f->link.empty());
        EXPECT_EQ(f->modifiedTime, mgr.FindNode(1)->modifiedTime); // one time for all ten
    }
}

TEST(DefaultFolders, NewDatabaseAloneHasTheRootOnly) {
    NotesMgr mgr;
    mgr.password = u"kept";
    NewDatabase(mgr);
    ASSERT_EQ(mgr.nodes.size(), 1u);
    const NoteRecord& root = mgr.nodes.at(0);
    EXPECT_EQ(root.parentId, -1);
    EXPECT_EQ(root.title, u"Untitled");
    EXPECT_EQ(root.iconIndex, 0);
    EXPECT_EQ(root.isFolder, 1);
    EXPECT_EQ(mgr.dbTitle, u"Untitled");
    EXPECT_EQ(mgr.password, u"kept");
    EXPECT_FALSE(mgr.IsModified());
}
