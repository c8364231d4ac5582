#pragma once
// One step of template editing: the template list before and after.

#include <QUndoCommand>
#include <cstdint>
#include <vector>

#include "core/TemplateRecord.h"

class CNotesDoc;
class NotesMgr;

struct TemplateState {
    std::vector<TemplateRecord> templates;
    int32_t nextTemplateId = 0;

    static TemplateState Of(const NotesMgr& notes);
    void ApplyTo(NotesMgr& notes) const;
    // The same templates, in any order (the editor sorts them as it opens).
    bool operator==(const TemplateState& other) const;
};

class TemplatesCommand : public QUndoCommand {
public:
    // As a child of `parent`, the change is part of the parent's step.
    TemplatesCommand(CNotesDoc& doc, TemplateState before, TemplateState after,
                     QUndoCommand* parent = nullptr);

    void redo() override;
    void undo() override;

private:
    void Show(const TemplateState& state);

    CNotesDoc& m_doc;
    TemplateState m_before;
    TemplateState m_after;
};
