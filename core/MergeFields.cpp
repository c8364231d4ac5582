#include "core/MergeFields.h"

#include "core/NotesMgr.h"
#include "core/Texts.h"

#include <cstdio>

namespace {

std::u16string ascii(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

std::u16string timeText(const NoteTimestamp& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", unsigned{t.year}, unsigned{t.month},
                  unsigned{t.day}, unsigned{t.hour}, unsigned{t.minute});
    return ascii(text);
}

} // namespace

namespace MergeFields {

bool sameField(const NoteRecord& a, const NoteRecord& b, int field) {
    switch (field) {
    case FieldTitle:
        return a.title == b.title;
    case FieldBody:
        return a.body == b.body;
    case FieldIcon:
        return a.iconIndex == b.iconIndex;
    case FieldLink:
        return a.link == b.link;
    case FieldTemplate:
        return a.templateId == b.templateId;
    case FieldReminderOn:
        return a.reminderOn == b.reminderOn;
    case FieldReminderTime:
        return a.reminderTime == b.reminderTime;
    case FieldRepeat:
        return a.repeatKind == b.repeatKind;
    case FieldRepeatDays:
        return a.repeatDays == b.repeatDays;
    case FieldAttachment:
        return a.attachmentName == b.attachmentName && a.attachmentSize == b.attachmentSize &&
               a.attachmentTime == b.attachmentTime && a.attachmentData == b.attachmentData;
    case FieldParent:
        return a.parentId == b.parentId;
    default:
        return a.fieldValues[field - FieldFirstValue] == b.fieldValues[field - FieldFirstValue];
    }
}

void takeField(NoteRecord& to, const NoteRecord& from, int field) {
    switch (field) {
    case FieldTitle:
        to.title = from.title;
        break;
    case FieldBody:
        to.body = from.body;
        break;
    case FieldIcon:
        to.iconIndex = from.iconIndex;
        break;
    case FieldLink:
        to.link = from.link;
        break;
    case FieldTemplate:
        to.templateId = from.templateId;
        break;
    case FieldReminderOn:
        to.reminderOn = from.reminderOn;
        break;
    case FieldReminderTime:
        to.reminderTime = from.reminderTime;
        break;
    case FieldRepeat:
        to.repeatKind = from.repeatKind;
        break;
    case FieldRepeatDays:
        to.repeatDays = from.repeatDays;
        break;
    case FieldAttachment:
        to.attachmentName = from.attachmentName;
        to.attachmentSize = from.attachmentSize;
        to.attachmentTime = from.attachmentTime;
        to.attachmentData = from.attachmentData;
        break;
    case FieldParent:
        to.parentId = from.parentId;
        break;
    default:
        to.fieldValues[field - FieldFirstValue] = from.fieldValues[field - FieldFirstValue];
    }
}

std::u16string fieldCaption(const NotesMgr& mgr, const NoteRecord& node, int field) {
    return mgr.FindTemplate(node.templateId).caption(field - FieldFirstValue);
}

std::u16string fieldName(const NotesMgr& mgr, const NoteRecord& node, int field) {
    if (field >= FieldFirstValue && field < FieldReminderOn) {
        std::u16string caption = fieldCaption(mgr, node, field);
        while (!caption.empty() && (caption.back() == u':' || caption.back() == u' '))
            caption.pop_back();
        if (!caption.empty())
            return caption;
    }
    return Texts::Merging::fieldNames[field];
}

std::u16string valueText(const NotesMgr& mgr, const NoteRecord& node, int field) {
    using namespace Texts::Merging;
    switch (field) {
    case FieldTitle:
        return node.title;
    case FieldBody:
        return {};
    case FieldIcon:
        return ascii(std::to_string(node.iconIndex));
    case FieldLink:
        return node.link;
    case FieldTemplate:
        return mgr.FindTemplate(node.templateId).name;
    case FieldReminderOn:
        return node.reminderOn ? on : off;
    case FieldReminderTime:
        return timeText(node.reminderTime);
    case FieldRepeat:
        return ascii(std::to_string(node.repeatKind));
    case FieldRepeatDays: {
        char text[16];
        std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(node.repeatDays));
        return ascii(text);
    }
    case FieldAttachment:
        return node.attachmentName.empty() && node.attachmentSize == 0
                   ? std::u16string(none)
                   : node.attachmentName + u" (" + ascii(std::to_string(node.attachmentSize)) + u")";
    case FieldParent: {
        const NoteRecord* parent = mgr.FindNode(node.parentId);
        return parent ? parent->title : std::u16string();
    }
    default:
        return node.fieldValues[field - FieldFirstValue];
    }
}

} // namespace MergeFields
