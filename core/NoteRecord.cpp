#include "core/NoteRecord.h"

#include "core/Texts.h"

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
