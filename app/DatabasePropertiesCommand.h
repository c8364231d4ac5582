#pragma once
// One step of Database Properties: title, description, password and protection before and after.

#include "core/Protection.h"

#include <QUndoCommand>
#include <string>

class CNotesDoc;
class NotesMgr;

struct DatabaseState {
    std::u16string title;
    std::u16string description;
    std::u16string password;
    Protection protection = Protection::Compatible;

    static DatabaseState Of(const NotesMgr& notes);
    void ApplyTo(NotesMgr& notes) const;
    bool operator==(const DatabaseState&) const = default;
};

class DatabasePropertiesCommand : public QUndoCommand {
public:
    DatabasePropertiesCommand(CNotesDoc& doc, DatabaseState before, DatabaseState after);

    void redo() override;
    void undo() override;

private:
    CNotesDoc& m_doc;
    DatabaseState m_before;
    DatabaseState m_after;
};
