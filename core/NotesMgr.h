#pragma once
// The whole content of one open database: database fields, templates and a
// flat map of all tree nodes (the tree exists through each node's parentId).
// Every window, dialog and the file layer reach the data through NotesMgr.

#include "core/NoteRecord.h"
#include "core/Protection.h"
#include "core/StrongKey.h"
#include "core/TemplateRecord.h"

#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

class FileSink;
class NodeReceiver;
struct FileSnapshot;
class SettingsStore;
class SnapshotTap;
class StreamReader;
class StreamWriter;

inline constexpr uint16_t kCheckWord = 777;
inline constexpr int32_t kCurrentFormatVersion = 7;
inline constexpr int kMaxStoredRecentFiles = 7;

class NotesMgr {
public:
    // Loads the recent files from `settings` (which may be null: nothing is
    // read or stored then), seeds the random generator, then resets.
    explicit NotesMgr(SettingsStore* settings = nullptr);
    // Stores the first seven recent files into the settings store, then wipes
    // the records and the password from memory.
    virtual ~NotesMgr();

    NotesMgr(const NotesMgr&) = delete;
    NotesMgr& operator=(const NotesMgr&) = delete;

    uint16_t randomWord = 0;
    uint16_t checkWord = kCheckWord;
    int32_t formatVersion = kCurrentFormatVersion;
    int32_t nextNodeId = 0;
    std::u16string dbTitle;
    std::u16string dbDescription;
    int32_t nextTemplateId = 0;
    std::vector<TemplateRecord> templates;
    std::map<int32_t, NoteRecord> nodes;
    int32_t modified = 0;
    std::u16string password;
    std::vector<std::u16string> recentFiles;
    // The kind of file the next save writes; a load sets it to the file's kind.
    Protection protection = Protection::Compatible;
    // The key derivation costs of a strong file; a load takes the file's.
    StrongKey::Costs strongCosts = StrongKey::defaultCosts();
    // The key of the strong file last read or written, kept for the session
    // so that a save derives again only when password or costs changed.
    std::shared_ptr<const StrongKey> strongKey;

    // Clears (wipes) nodes, templates and the database texts; keeps password and recent files.
    void Reset();

    int32_t AddNode(int32_t parentId, int32_t iconIndex, int32_t isFolder, const std::u16string& title,
                    const std::u16string& body, const std::u16string& link,
                    const NoteTimestamp& modifiedTime);
    NoteRecord* FindNode(int32_t nodeId);
    const NoteRecord* FindNode(int32_t nodeId) const;
    void EraseNode(int32_t nodeId);

    // Appends an empty template with `templateId`, or with nextTemplateId (then
    // incremented) when it is -1, and returns it for the caller to fill.
    TemplateRecord& AddTemplate(int32_t templateId = -1);
    // The first template with that id, or the shared "No Data" template.
    const TemplateRecord& FindTemplate(int32_t templateId) const;
    static const TemplateRecord& NoDataTemplate();
    void InstallDefaultTemplates();
    // The ten default folders under the root; does not mark the database modified.
    void AddDefaultFolders();

    // Writes the database stream (a new randomWord is drawn first).
    void Serialize(StreamWriter& out);
    // Reads a database stream into this object. Throws WrongPasswordError when
    // the check word is not 777 (nothing changed then) and FileError for a
    // damaged stream; the content is replaced only when the whole stream was read.
    void Serialize(StreamReader& in);
    // The same, but every node record goes to `receiver` as it is read; this
    // object takes the database fields and templates and keeps its nodes.
    void Serialize(StreamReader& in, NodeReceiver& receiver);

    // Reads the database at `path` with the password held; throws FileError or
    // WrongPasswordError. The database in memory is unchanged on failure.
    // `snapshot`, when given, receives the file's identity and the deciphered
    // stream from the same read.
    bool Load(const std::string& path, FileSnapshot* snapshot = nullptr);
    // Reads the database at `path` like Load, the nodes going to `receiver`
    // (see Serialize); the recent files are not touched.
    void Scan(const std::string& path, NodeReceiver& receiver, FileSnapshot* snapshot = nullptr);
    // Writes the database to `path` (keeping the previous file as path + ".bak");
    // throws FileError, leaving the previous file in place. `snapshot`, when
    // given, receives the new file's identity and stream from the same write.
    bool Save(const std::string& path, FileSnapshot* snapshot = nullptr);

    // Derives the strong key for the password and costs held unless the kept
    // one fits them. Slow (about a second): callers with a window run it off
    // the user-interface thread before Save. Throws std::invalid_argument for
    // an empty password.
    void PrepareStrongKey();
    // Whether the kept strong key is the one for the password and costs held.
    bool StrongKeyFits() const { return strongKey && strongKey->fits(password, strongCosts); }
    // Takes over protection, costs and kept key of `other`.
    void TakeProtection(NotesMgr& other);

    void AddRecentFile(const std::u16string& path);
    // Drops every entry equal to `path` in the sense of AddRecentFile (a file
    // that failed to open from the list).
    void RemoveRecentFile(const std::u16string& path);
    void StoreRecentFiles();

    bool IsModified() const { return modified != 0; }
    void SetModified(bool on = true) { modified = on ? 1 : 0; }

    // A value 0..32767 from the generator seeded once per NotesMgr.
    int NextRandom();

    // Overwrites the texts, attachments and password held where they lie and
    // lets the strong key go, leaving every record empty but in place: for a process about to end,
    // which gives its memory back whole rather than a block at a time.
    void WipeInPlace();

    // Takes over the database content of `other` (not password, recent files or settings).
    void TakeContent(NotesMgr& other);
    // Exchanges the database content with `other` (the same fields as
    // TakeContent, and the password); nothing is copied.
    void SwapContent(NotesMgr& other);

private:
    void LoadRecentFiles();
    // Overwrites the texts and attachments held before they are let go.
    void WipeContent();
    // The same, the records staying in place.
    void WipeTexts();
    // The strong kind: `fd` is positioned after the first `lead` bytes of the
    // header, already read. `tap` sees every byte of the file and the stream.
    void ScanStrong(int fd, uint64_t fileSize, const uint8_t* lead, size_t leadSize, const std::string& path,
                    NodeReceiver& receiver, SnapshotTap& tap);
    void WriteStrong(FileSink& file, SnapshotTap& tap);

    SettingsStore* m_settings = nullptr;
    std::minstd_rand m_random;
};
