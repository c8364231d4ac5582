#include "app/CommandTable.h"

#include <cassert>

namespace {

using O = CommandOwner;
using R = EnableRule;
using C = Command;

constexpr CommandDef kCommands[] = {
    // command, desktop id, handheld id, desktop text, plain text, desktop keys, owner, enabled, checked, icon
    {C::New, 57600, 57600, "&New\tCtrl+N", "New", "Ctrl+N", O::Application, R::Always, false, "document-new"},
    {C::Open, 57601, 57601, "&Open...\tCtrl+O", "Open", "Ctrl+O", O::Application, R::Always, false,
     "document-open"},
    {C::Save, 57603, 57603, "&Save\tCtrl+S", "Save", "Ctrl+S", O::Document, R::Always, false,
     "document-save"},
    {C::SaveAs, 57604, 0, "Save &As...", "Save As...", nullptr, O::Document, R::Always, false, nullptr},
    {C::MergeWith, 32850, 32850, "&Merge With...", "Merge With...", nullptr, O::Document, R::Always, false,
     nullptr},
    {C::Exit, 57665, 57665, "E&xit", "Exit", nullptr, O::Window, R::Always, false, nullptr},
    {C::Undo, 57643, 57643, "&Undo\tCtrl+Z", "Undo", "Ctrl+Z", O::Document, R::CanUndo, false, "edit-undo"},
    {C::Redo, 57644, 57644, "&Redo\tCtrl+Y", "Redo", "Ctrl+Y;Ctrl+Shift+Z", O::Document, R::CanRedo, false,
     "edit-redo"},
    {C::Cut, 57635, 57635, "Cu&t\tCtrl+X", "Cut", "Ctrl+X;Shift+Del", O::View, R::NoteSelected, false,
     "edit-cut"},
    {C::Copy, 57634, 57634, "&Copy\tCtrl+C", "Copy", "Ctrl+C;Ctrl+Ins", O::View, R::NoteSelected, false,
     "edit-copy"},
    {C::Paste, 57637, 57637, "&Paste\tCtrl+V", "Paste", "Ctrl+V;Shift+Ins", O::View, R::CanPaste, false,
     "edit-paste"},
    {C::Find, 57636, 57636, "Find...\t Ctrl+F", "Find...", "Ctrl+F", O::View, R::Always, false, "edit-find"},
    {C::FindNext, 32784, 32781, "Find Next\tF3", "Find Next", "F3", O::View, R::Always, false, nullptr},
    {C::OpenNode, 32811, 32811, "Open", "Open", nullptr, O::View, R::ItemSelected, false, nullptr},
    {C::NewFolder, 32771, 32772, "New Folder", "New Folder", nullptr, O::View, R::Always, false,
     "folder-new"},
    {C::NewNote, 32773, 32773, "New Note", "New Note", nullptr, O::View, R::Always, false, "document-edit"},
    {C::Delete, 32775, 32774, "Delete", "Delete", nullptr, O::View, R::NotDatabaseItem, false, "edit-delete"},
    {C::EditTemplates, 32812, 32814, "Edit Templates", "Edit Templates", nullptr, O::Document, R::Always,
     false, nullptr},
    {C::DatabaseProperties, 32777, 32776, "Database Properties", "Database Properties", nullptr, O::Document,
     R::Always, false, nullptr},
    {C::FtpManager, 32805, 32804, "FTP Manager", "FTP Manager", nullptr, O::View, R::Always, false, nullptr},
    {C::FtpSettings, 32803, 32805, "FTP Settings...", "FTP Settings...", nullptr, O::View, R::Always, false,
     nullptr},
    {C::PreviewPane, 32795, 32788, "Preview Pane", "Preview Pane", nullptr, O::Window, R::Always, true,
     "view-preview"},
    {C::Lock, 32830, 32830, "&Lock\tCtrl+L", "Lock", "Ctrl+L", O::Window, R::CanLock, false, nullptr},
    {C::CopyValue, 32831, 32831, "Copy &Value\tCtrl+Shift+C", "Copy Value", "Ctrl+Shift+C", O::Window,
     R::NoteSelected, false, nullptr},
    {C::ShowConcealed, 32832, 32832, "Show concealed values\tCtrl+H", "Show concealed values", "Ctrl+H",
     O::Window, R::Always, true, nullptr},
    {C::Options, 32833, 32833, "Options...", "Options...", nullptr, O::Window, R::Always, false, nullptr},
    {C::Overview, 32793, 0, "Overview of Marrowick Sealbook (PDF)", "Overview of Marrowick Sealbook (PDF)",
     nullptr, O::View, R::Always, false, nullptr},
    {C::Manual, 32794, 0, "Marrowick Sealbook Manual", "Marrowick Sealbook Manual", nullptr, O::View,
     R::Always, false, nullptr},
    {C::WebSite, 32789, 32782, "Marrowick Sealbook on the Web", "Marrowick Sealbook on the Web", nullptr,
     O::View, R::Always, false, nullptr},
    {C::About, 57664, 57664, "&About Marrowick Sealbook...", "About Marrowick Sealbook...", nullptr,
     O::Application, R::Always, false, "help-about"},
};

constexpr MenuEntry item(Command command, const char* text = nullptr) {
    return {MenuEntry::Item, command, text, {}};
}
constexpr MenuEntry separator() {
    return {MenuEntry::Separator, C::New, nullptr, {}};
}
constexpr MenuEntry sub(const char* title, std::span<const MenuEntry> items) {
    return {MenuEntry::SubMenu, C::New, title, items};
}

// Desktop menus.
constexpr MenuEntry kDeskFile[] = {item(C::New),    item(C::Open),      item(C::Save),
                                   item(C::SaveAs), item(C::MergeWith), separator(),
                                   item(C::Lock),   separator(),        item(C::Exit)};
constexpr MenuEntry kDeskEdit[] = {item(C::Undo), item(C::Redo),      separator(),    item(C::Cut),
                                   item(C::Copy), item(C::CopyValue), item(C::Paste), separator(),
                                   item(C::Find), item(C::FindNext)};
constexpr MenuEntry kTools[] = {item(C::OpenNode),
                                separator(),
                                item(C::NewFolder),
                                item(C::NewNote),
                                item(C::Delete),
                                separator(),
                                item(C::EditTemplates),
                                separator(),
                                item(C::DatabaseProperties),
                                separator(),
                                item(C::Options)};
constexpr MenuEntry kFtp[] = {item(C::FtpManager), separator(), item(C::FtpSettings)};
constexpr MenuEntry kView[] = {item(C::PreviewPane), item(C::ShowConcealed)};
constexpr MenuEntry kDeskHelp[] = {item(C::Overview), item(C::Manual), separator(),
                                   item(C::WebSite),  separator(),     item(C::About)};
constexpr MenuEntry kDeskMenu[] = {sub("&File", kDeskFile), sub("&Edit", kDeskEdit), sub("T&ools", kTools),
                                   sub("FTP", kFtp),        sub("&View", kView),     sub("&Help", kDeskHelp)};

// Handheld menus: no access keys, no shortcut texts.
constexpr MenuEntry kPadFile[] = {item(C::New), item(C::Open), item(C::Save), item(C::MergeWith),
                                  separator(),  item(C::Lock), separator(),   item(C::Exit)};
// Copy Value opens a sub-menu of the selected note's values.
constexpr MenuEntry kPadEdit[] = {item(C::Undo),  item(C::Redo), separator(),
                                  item(C::Cut),   item(C::Copy), item(C::CopyValue),
                                  item(C::Paste), separator(),   item(C::Find)};
constexpr MenuEntry kPadHelp[] = {item(C::WebSite), separator(), item(C::About)};
constexpr MenuEntry kPadMenu[] = {sub("File", kPadFile), sub("Edit", kPadEdit), sub("Tools", kTools),
                                  sub("FTP", kFtp),      sub("View", kView),    separator(),
                                  sub("Help", kPadHelp)};

// Tree context menus.
// Copy Value in a context menu is a sub-menu of the note's values.
constexpr MenuEntry kDeskNoteMenu[] = {item(C::OpenNode),
                                       separator(),
                                       item(C::Cut, "Cut\tCtrl+X"),
                                       item(C::Copy, "Copy\tCtrl+C"),
                                       item(C::CopyValue),
                                       separator(),
                                       item(C::Delete),
                                       separator(),
                                       item(C::DatabaseProperties)};
constexpr MenuEntry kDeskFolderMenu[] = {
    item(C::OpenNode), separator(),        item(C::Paste, "Paste\tCtrl+V"),
    separator(),       item(C::NewFolder), item(C::NewNote),
    item(C::Delete),   separator(),        item(C::Find),
    item(C::FindNext), separator(),        item(C::DatabaseProperties)};
constexpr MenuEntry kDeskDatabaseMenu[] = {item(C::OpenNode),
                                           separator(),
                                           item(C::Paste, "Paste\tCtrl+V"),
                                           separator(),
                                           item(C::NewFolder),
                                           item(C::NewNote),
                                           separator(),
                                           item(C::Find),
                                           item(C::FindNext),
                                           separator(),
                                           item(C::DatabaseProperties)};
constexpr MenuEntry kPadNoteMenu[] = {item(C::OpenNode), separator(),        item(C::Cut),
                                      item(C::Copy),     item(C::CopyValue), separator(),
                                      item(C::Delete),   separator(),        item(C::DatabaseProperties)};
constexpr MenuEntry kPadFolderMenu[] = {
    item(C::OpenNode), separator(), item(C::Paste), separator(), item(C::NewFolder),         item(C::NewNote),
    item(C::Delete),   separator(), item(C::Find),  separator(), item(C::DatabaseProperties)};
constexpr MenuEntry kPadDatabaseMenu[] = {
    item(C::OpenNode), separator(), item(C::Paste), separator(), item(C::NewFolder),
    item(C::NewNote),  separator(), item(C::Find),  separator(), item(C::DatabaseProperties)};

// Toolbars.
constexpr MenuEntry kDeskToolBar[] = {
    item(C::New),         item(C::Open), item(C::Save),      separator(),      item(C::Cut),    item(C::Copy),
    item(C::Paste),       separator(),   item(C::NewFolder), item(C::NewNote), item(C::Delete), separator(),
    item(C::PreviewPane), separator(),   item(C::Find),      separator(),      item(C::About)};
constexpr MenuEntry kPadToolBar[] = {item(C::Cut),       item(C::Copy),    item(C::Paste),  separator(),
                                     item(C::NewFolder), item(C::NewNote), item(C::Delete), separator(),
                                     item(C::Find),      separator(),      item(C::About)};

} // namespace

std::span<const CommandDef> Commands() {
    return kCommands;
}

const CommandDef& CommandDefinition(Command command) {
    for (const CommandDef& def : kCommands)
        if (def.command == command)
            return def;
    assert(false && "command missing from the table");
    return kCommands[0];
}

std::span<const MenuEntry> MainMenu(bool handheld) {
    if (handheld)
        return kPadMenu;
    return kDeskMenu;
}

std::span<const MenuEntry> ContextMenu(int menuId, bool handheld) {
    switch (menuId) {
    case kNoteContextMenu:
        return handheld ? std::span<const MenuEntry>(kPadNoteMenu) : kDeskNoteMenu;
    case kFolderContextMenu:
        return handheld ? std::span<const MenuEntry>(kPadFolderMenu) : kDeskFolderMenu;
    case kDatabaseContextMenu:
        return handheld ? std::span<const MenuEntry>(kPadDatabaseMenu) : kDeskDatabaseMenu;
    default:
        return {};
    }
}

std::span<const MenuEntry> ToolBar(bool handheld) {
    if (handheld)
        return kPadToolBar;
    return kDeskToolBar;
}
