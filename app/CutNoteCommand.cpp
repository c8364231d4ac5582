#include "app/CutNoteCommand.h"

#include "app/CNotesDoc.h"
#include "core/TreeOps.h"

void CutNoteCommand::redo() {
    if (!m_copied) {
        if (!CopyNote(m_doc.notes(), m_nodeId, m_doc.clipboardNote())) {
            setObsolete(true);
            return;
        }
        m_copied = true;
    }
    DeleteNodeCommand::redo();
}
