#pragma once
// The main window's commands, declared once: ids of both editions, menu text,
// shortcuts, owner, enable rule, check mark and toolbar icon. The menus of both
// editions, the desktop toolbar, the handheld toolbar and soft keys and the
// three tree context menus are all built from these tables.

#include <span>

enum class Command {
    New,
    Open,
    Save,
    SaveAs,
    MergeWith,
    Exit,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Find,
    FindNext,
    OpenNode,
    NewFolder,
    NewNote,
    Delete,
    EditTemplates,
    DatabaseProperties,
    FtpManager,
    FtpSettings,
    PreviewPane,
    Lock,
    CopyValue,
    ShowConcealed,
    Options,
    Overview,
    Manual,
    WebSite,
    About,
};

// Who carries a command out.
enum class CommandOwner { Application, Document, Window, View };

// When a command is enabled.
enum class EnableRule {
    Always,
    ItemSelected,    // any tree item
    NotDatabaseItem, // an item other than the database item
    NoteSelected,    // a note
    CanPaste,        // a folder or the database item, with a note in the clipboard slot
    CanLock,         // the database has a password
    CanUndo,         // a step to undo
    CanRedo,         // a step to redo
    NotYetBuilt,     // the command's window is not part of the program yet
};

struct CommandDef {
    Command command;
    int deskId;            // 0: not in the desktop edition
    int padId;             // 0: not in the handheld edition
    const char* text;      // desktop menu text: access key and "\t" shortcut text
    const char* plain;     // the same without access key or shortcut (handheld, tool tips)
    const char* shortcuts; // desktop keys, ";" between several
    CommandOwner owner;
    EnableRule rule;
    bool checkable;
    const char* icon; // theme icon of the toolbar button, or nullptr
};

std::span<const CommandDef> Commands();
const CommandDef& CommandDefinition(Command command);

// A menu entry: a command (with its own text in the context menus, else the
// command's), a separator, or a sub-menu.
struct MenuEntry {
    enum Kind { Item, Separator, SubMenu } kind;
    Command command;
    const char* text;                 // Item: text override; SubMenu: its title
    std::span<const MenuEntry> items; // SubMenu: its entries
};

// The menu bar of the desktop and the handheld "Menu" soft key: sub-menus in order.
std::span<const MenuEntry> MainMenu(bool handheld);
// The tree context menus 246 (note), 249 (folder), 250 (database item).
std::span<const MenuEntry> ContextMenu(int menuId, bool handheld);
// Toolbar buttons in order; a separator is a MenuEntry::Separator.
std::span<const MenuEntry> ToolBar(bool handheld);

inline constexpr int kNoteContextMenu = 246;
inline constexpr int kFolderContextMenu = 249;
inline constexpr int kDatabaseContextMenu = 250;
