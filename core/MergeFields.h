#pragma once
// The fields a merge compares one by one: of a node, then of a template, then
// of the database, and how a node's field is compared, taken over and shown.

#include "core/NoteRecord.h"

#include <string>

class NotesMgr;

namespace MergeFields {

// In the order of Texts::Merging::fieldNames.
enum MergeField : int {
    FieldTitle,
    FieldBody,
    FieldIcon,
    FieldLink,
    FieldTemplate,
    FieldFirstValue,
    FieldReminderOn = FieldFirstValue + kFieldCount,
    FieldReminderTime,
    FieldRepeat,
    FieldRepeatDays,
    FieldAttachment,
    FieldParent,
    NodeFieldCount,
    FieldTemplateName = NodeFieldCount,
    FieldFirstCaption,
    FieldDbTitle = FieldFirstCaption + kFieldCount,
    FieldDbDescription,
    FieldDbPassword,
};

bool sameField(const NoteRecord& a, const NoteRecord& b, int field);
void takeField(NoteRecord& to, const NoteRecord& from, int field);
// The caption of a data field in the node's template.
std::u16string fieldCaption(const NotesMgr& mgr, const NoteRecord& node, int field);
// A caption names a data field in the report, without its colon.
std::u16string fieldName(const NotesMgr& mgr, const NoteRecord& node, int field);
// The value of a node's field as the report shows it; empty for the body.
std::u16string valueText(const NotesMgr& mgr, const NoteRecord& node, int field);

} // namespace MergeFields
