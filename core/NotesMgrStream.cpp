// The database stream of NotesMgr: the current layout written, every older
// layout read.

#include "core/FileError.h"
#include "core/NodeMapReceiver.h"
#include "core/NotesMgr.h"
#include "core/StreamReader.h"
#include "core/StreamWriter.h"

#include <ctime>
#include <limits>

namespace {

// The filler after the last node; the final partial cipher unit falls into it.
constexpr size_t kTrailerSize = 16;
constexpr int32_t kOldestFormatVersion = 1;
// A legacy time value of this int32 announces a 64-bit seconds value.
constexpr uint32_t kWideTimeMarker = 0x8000000A;
// Icons given to nodes stored without one.
constexpr int32_t kNoIcon = -1;
constexpr int32_t kDefaultFolderIcon = 1;
constexpr int32_t kDefaultNoteIcon = 16;

// Smallest stored sizes, used to refuse counts that the remaining data cannot fill.
constexpr uint64_t kMinStringSize = 1;
constexpr uint64_t kMinTemplateSize = 4 + (1 + kFieldCount) * kMinStringSize;
constexpr uint64_t kMinNodeSize = 3 * 4 + 2 * kMinStringSize; // the version-1 record

[[noreturn]] void damaged() {
    throw FileError(FileError::Kind::BadFormat, std::string());
}

// A legacy time value (versions 1 and 2): seconds since 1970.
int64_t readLegacySeconds(StreamReader& in) {
    const int32_t narrow = in.readInt32();
    return static_cast<uint32_t>(narrow) == kWideTimeMarker ? in.readInt64() : narrow;
}

// A legacy time value as local calendar time.
NoteTimestamp readLegacyTime(StreamReader& in) {
    const int64_t seconds = readLegacySeconds(in);
    if (seconds < std::numeric_limits<std::time_t>::min() ||
        seconds > std::numeric_limits<std::time_t>::max())
        damaged();
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!localtime_r(&t, &local))
        damaged();
    // A year the stored time stamp cannot hold is damaged data too.
    const long long year = static_cast<long long>(local.tm_year) + 1900;
    if (year < 0 || year > std::numeric_limits<uint16_t>::max())
        damaged();
    return NoteTimestamp::fromTm(local);
}

// Field groups shared by several layouts.
void readReminder(StreamReader& in, NoteRecord& n, bool legacyTimes) {
    n.reminderOn = in.readInt32();
    n.reminderTime = legacyTimes ? readLegacyTime(in) : in.readTimestamp();
    n.reminderAckTime = legacyTimes ? readLegacyTime(in) : in.readTimestamp();
    n.repeatKind = in.readInt32();
    n.repeatDays = in.readInt32();
}

void readTemplateValues(StreamReader& in, NoteRecord& n) {
    n.templateId = in.readInt32();
    for (auto& value : n.fieldValues)
        in.readString(value);
}

// The body, or its pieces to the receiver that asks for them.
void readBody(StreamReader& in, NoteRecord& n, NodeReceiver& receiver) {
    if (StringPieces* pieces = receiver.bodyPieces(n))
        in.readString(*pieces);
    else
        in.readString(n.body);
}

// The start of the layouts from version 4 on.
void readHeadWithIcon(StreamReader& in, NoteRecord& n, NodeReceiver& receiver) {
    n.nodeId = in.readInt32();
    n.parentId = in.readInt32();
    n.iconIndex = in.readInt32();
    n.isFolder = in.readInt32();
    in.readString(n.title);
    readBody(in, n, receiver);
    in.readString(n.link);
    n.modifiedTime = in.readTimestamp();
}

// The start of the layouts of versions 2 and 3.
void readHeadWithoutIcon(StreamReader& in, NoteRecord& n, NodeReceiver& receiver) {
    n.nodeId = in.readInt32();
    n.parentId = in.readInt32();
    n.isFolder = in.readInt32();
    in.readString(n.title);
    readBody(in, n, receiver);
}

void readNodeV1(StreamReader& in, NoteRecord& n, NodeReceiver& receiver) {
    n.nodeId = in.readInt32();
    n.parentId = in.readInt32();
    n.isFolder = in.readInt32();
    in.readString(n.title);
    readLegacySeconds(in); // a time nobody kept, so it is not converted either
    readBody(in, n, receiver);
}

void readNodeV2(StreamReader& in, NoteRecord& n, NodeReceiver& receiver) {
    readHeadWithoutIcon(in, n, receiver);
    readReminder(in, n, true);
}

void readNodeV3(StreamReader& in, NoteRecord& n, NodeReceiver& receiver) {
    readHeadWithoutIcon(in, n, receiver);
    readReminder(in, n, false);
}

void readNodeV4(StreamReader& in, NoteRecord& n, NodeReceiver& receiver) {
    readHeadWithIcon(in, n, receiver);
    readReminder(in, n, false);
}

void readNodeV5(StreamReader& in, NoteRecord& n, NodeReceiver& receiver) {
    readHeadWithIcon(in, n, receiver);
    readTemplateValues(in, n);
    readReminder(in, n, false);
}

void readNodeV6(StreamReader& in, NoteRecord& n, NodeReceiver& receiver) {
    readHeadWithIcon(in, n, receiver);
    readReminder(in, n, false);
    readTemplateValues(in, n);
    in.readString(n.attachmentName);
    const int32_t size = in.readInt32();
    n.attachmentTime = in.readTimestamp();
    if (receiver.wantsAttachmentData()) {
        in.readBlock(size, n.attachmentData);
    } else {
        in.requireCount(size, 1);
        in.skip(static_cast<uint64_t>(size));
    }
    n.attachmentSize = size;
}

using NodeLayout = void (*)(StreamReader&, NoteRecord&, NodeReceiver&);

// The node layout of each stream version (index = version); 6 and 7 share one.
constexpr NodeLayout kNodeLayouts[] = {nullptr,    readNodeV1, readNodeV2, readNodeV3,
                                       readNodeV4, readNodeV5, readNodeV6, readNodeV6};
static_assert(std::size(kNodeLayouts) == kCurrentFormatVersion + 1);

void writeNode(StreamWriter& out, const NoteRecord& n) {
    out.writeInt32(n.nodeId);
    out.writeInt32(n.parentId);
    out.writeInt32(n.iconIndex);
    out.writeInt32(n.isFolder);
    out.writeString(n.title);
    out.writeString(n.body);
    out.writeString(n.link);
    out.writeTimestamp(n.modifiedTime);
    out.writeInt32(n.reminderOn);
    out.writeTimestamp(n.reminderTime);
    out.writeTimestamp(n.reminderAckTime);
    out.writeInt32(n.repeatKind);
    out.writeInt32(n.repeatDays);
    out.writeInt32(n.templateId);
    for (const auto& value : n.fieldValues)
        out.writeString(value);
    out.writeString(n.attachmentName);
    // The size written is the size of the bytes written, so that a record whose
    // attachmentSize has gone out of step cannot shift every later field.
    if (n.attachmentData.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw FileError(FileError::Kind::Generic, std::string(), "attachment too large to store");
    out.writeInt32(static_cast<int32_t>(n.attachmentData.size()));
    out.writeTimestamp(n.attachmentTime);
    out.writeBytes(n.attachmentData.data(), n.attachmentData.size());
}

} // namespace

void NotesMgr::Serialize(StreamWriter& out) {
    const auto templateCount = static_cast<int32_t>(templates.size());
    randomWord = static_cast<uint16_t>(NextRandom());

    out.writeWord(randomWord);
    out.writeWord(kCheckWord);
    out.writeInt32(kCurrentFormatVersion);
    out.writeInt32(nextNodeId);
    out.writeString(dbTitle);
    out.writeString(dbDescription);
    out.writeInt32(templateCount);
    for (const TemplateRecord& t : templates) {
        out.writeInt32(t.templateId);
        out.writeString(t.name);
        for (const auto& caption : t.captions)
            out.writeString(caption);
    }
    out.writeInt32(nextTemplateId);
    out.writeInt32(static_cast<int32_t>(nodes.size()));
    for (const auto& [id, node] : nodes)
        writeNode(out, node);
    const uint8_t trailer[kTrailerSize] = {};
    out.writeBytes(trailer, sizeof trailer);
    out.flush();
}

void NotesMgr::Serialize(StreamReader& in) {
    NotesMgr loaded(nullptr);
    NodeMapReceiver receiver(loaded.nodes);
    loaded.Serialize(in, receiver);
    TakeContent(loaded);
}

void NotesMgr::Serialize(StreamReader& in, NodeReceiver& receiver) {
    const uint16_t storedRandom = in.readWord();
    if (in.readWord() != kCheckWord)
        throw WrongPasswordError();

    // Everything is read into a fresh object first, so that a stream failing
    // half-way leaves the database in memory as it was.
    NotesMgr loaded(nullptr);
    loaded.randomWord = storedRandom;
    const int32_t version = in.readInt32();
    if (version < kOldestFormatVersion || version > kCurrentFormatVersion)
        damaged();
    loaded.nextNodeId = in.readInt32();
    in.readString(loaded.dbTitle);
    in.readString(loaded.dbDescription);

    if (version < kCurrentFormatVersion) {
        // Older streams hold no templates.
        loaded.InstallDefaultTemplates();
    } else {
        const int32_t count = in.readInt32();
        in.requireCount(count, kMinTemplateSize);
        for (int32_t i = 0; i < count; ++i) {
            TemplateRecord t;
            t.templateId = in.readInt32();
            in.readString(t.name);
            for (auto& caption : t.captions)
                in.readString(caption);
            loaded.templates.push_back(std::move(t));
        }
        loaded.nextTemplateId = in.readInt32();
    }

    const int32_t count = in.readInt32();
    in.requireCount(count, kMinNodeSize);
    receiver.expect(count);
    const NodeLayout readNode = kNodeLayouts[version];
    // Every record starts from the same new node; assigning it keeps the
    // storage of a record the receiver left in place.
    const NoteRecord fresh(NoteTimestamp::now());
    NoteRecord node(fresh);
    bool anyNode = false;
    int32_t highestId = 0;
    for (int32_t i = 0; i < count; ++i) {
        node = fresh;
        readNode(in, node, receiver);
        if (node.iconIndex == kNoIcon)
            node.iconIndex = node.isFolder ? kDefaultFolderIcon : kDefaultNoteIcon;
        highestId = anyNode ? std::max(highestId, node.nodeId) : node.nodeId;
        anyNode = true;
        receiver.node(node);
    }
    in.skip(kTrailerSize);

    // New nodes must never take an id that a stored node already has.
    if (anyNode && highestId >= loaded.nextNodeId)
        loaded.nextNodeId = highestId == std::numeric_limits<int32_t>::max() ? highestId : highestId + 1;
    loaded.formatVersion = kCurrentFormatVersion;
    loaded.modified = 0;
    loaded.nodes.swap(nodes); // the nodes went to the receiver; these stay
    TakeContent(loaded);
}
