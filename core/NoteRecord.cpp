#include "core/NoteRecord.h"

#include "core/Texts.h"

#include <cstring>

NoteRecord::NoteRecord() : NoteRecord(NoteTimestamp::now()) {}

NoteRecord::NoteRecord(const NoteTimestamp& now)
    : link(Texts::linkHint), modifiedTime(now), reminderTime(now) {}

void NoteRecord::setAttachment(std::vector<uint8_t> data) {
    attachmentData = std::move(data);
    attachmentSize = static_cast<int32_t>(attachmentData.size());
}

void NoteRecord::clearAttachment() {
    attachmentData.clear();
    attachmentData.shrink_to_fit();
    attachmentSize = 0;
}

void CopyNoteContent(NoteRecord& to, const NoteRecord& from) {
    const int32_t nodeId = to.nodeId;
    const int32_t parentId = to.parentId;
    to = from;
    to.nodeId = nodeId;
    to.parentId = parentId;
}

namespace {

// A field added to NoteRecord is compared below too, and this size moved on.
#if defined(__GLIBCXX__) && __SIZEOF_POINTER__ == 8
static_assert(sizeof(NoteRecord) == 480);
#endif

bool sameText(const std::u16string& a, const std::u16string& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

} // namespace

bool NoteRecord::operator==(const NoteRecord& b) const {
    const NoteRecord& a = *this;
    // Numbers and times first, the texts after, the longest last.
    if (a.nodeId != b.nodeId || a.parentId != b.parentId || a.iconIndex != b.iconIndex ||
        a.isFolder != b.isFolder || a.modifiedTime != b.modifiedTime || a.reminderOn != b.reminderOn ||
        a.reminderTime != b.reminderTime || a.reminderAckTime != b.reminderAckTime ||
        a.repeatKind != b.repeatKind || a.repeatDays != b.repeatDays || a.templateId != b.templateId ||
        a.attachmentSize != b.attachmentSize || a.attachmentTime != b.attachmentTime)
        return false;
    if (!sameText(a.title, b.title) || !sameText(a.link, b.link) ||
        !sameText(a.attachmentName, b.attachmentName))
        return false;
    for (size_t i = 0; i < a.fieldValues.size(); ++i) {
        if (!sameText(a.fieldValues[i], b.fieldValues[i]))
            return false;
    }
    return sameText(a.body, b.body) && a.attachmentData == b.attachmentData;
}
