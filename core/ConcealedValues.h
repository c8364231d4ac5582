#pragma once
// Which data fields hold secrets (PINs, card codes, passwords): those are
// shown as a row of dots until revealed, and copied with the secret mark.
// Also the values a note offers to Copy Value.

#include <string>
#include <string_view>
#include <vector>

class NotesMgr;
struct NoteRecord;

// True when the caption names a secret: one of the secret words stands in it
// as a word of its own, letter case ignored ("Card PIN:", "CVV2", "Admin
// password"), not inside another word ("Shipping").
bool IsConcealedCaption(std::u16string_view caption);

// One entry of Copy Value.
struct CopyableValue {
    std::u16string caption; // the field's caption, or the title's label
    std::u16string value;
    bool concealed = false;
    bool isTitle = false;
};

// The note's non-empty data fields in template order (by their captions),
// then its title when it has one.
std::vector<CopyableValue> CopyableValues(const NotesMgr& notes, const NoteRecord& note);

// The entry the copy shortcut takes: the first concealed field, else the
// first field, else the title; -1 when there is nothing to copy.
int DefaultCopyIndex(const std::vector<CopyableValue>& values);
