#include "app/TemplatesCommand.h"

#include "app/CNotesDoc.h"
#include "core/NotesMgr.h"

#include <algorithm>

TemplateState TemplateState::Of(const NotesMgr& notes) {
    return {notes.templates, notes.nextTemplateId};
}

bool TemplateState::operator==(const TemplateState& other) const {
    const auto byId = [](std::vector<TemplateRecord> list) {
        std::sort(list.begin(), list.end(), [](const TemplateRecord& a, const TemplateRecord& b) {
            return a.templateId < b.templateId;
        });
        return list;
    };
    return nextTemplateId == other.nextTemplateId && templates.size() == other.templates.size() &&
           byId(templates) == byId(other.templates);
}

void TemplateState::ApplyTo(NotesMgr& notes) const {
    notes.templates = templates;
    notes.nextTemplateId = nextTemplateId;
    notes.SetModified();
}

TemplatesCommand::TemplatesCommand(CNotesDoc& doc, TemplateState before, TemplateState after,
                                   QUndoCommand* parent)
    : QUndoCommand(parent), m_doc(doc), m_before(std::move(before)), m_after(std::move(after)) {}

void TemplatesCommand::redo() {
    Show(m_after);
}

void TemplatesCommand::undo() {
    Show(m_before);
}

void TemplatesCommand::Show(const TemplateState& state) {
    state.ApplyTo(m_doc.notes());
    emit m_doc.templatesChanged();
}
