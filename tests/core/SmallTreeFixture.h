#pragma once
// A database with a small tree, for the tests of the tree operations:
// Cards/ (Old/ (Deep), Visa) and Other/ under the root.

#include "core/TreeOps.h"

#include <gtest/gtest.h>

class SmallTreeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        NewDatabase(mgr);
        const NoteTimestamp now = NoteTimestamp::now();
        folder = mgr.AddNode(0, 1, 1, u"Cards", {}, {}, now);
        sub = mgr.AddNode(folder, 1, 1, u"Old", {}, {}, now);
        note = mgr.AddNode(folder, 16, 0, u"Visa", u"{\\rtf1 x}", u"http://x", now);
        deep = mgr.AddNode(sub, 16, 0, u"Deep", {}, {}, now);
        other = mgr.AddNode(0, 1, 1, u"Other", {}, {}, now);
    }

    NotesMgr mgr;
    int32_t folder = 0, sub = 0, note = 0, deep = 0, other = 0;
};
