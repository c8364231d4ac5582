#include "cli/JsonMapping.h"

#include "cli/AttachmentFolder.h"
#include "cli/Base64.h"
#include "cli/CliError.h"
#include "cli/CliTexts.h"
#include "cli/TreeCheck.h"
#include "cli/Utf.h"

#include <limits>

namespace {

constexpr const char* kUtf16Key = "utf16";

[[noreturn]] void wrongType(const std::string& where, const char* what) {
    throw CliError(FormatText(CliTexts::jsonWrongType, {where, what}));
}

const Json& member(const Json& object, const char* key, const std::string& where) {
    const auto it = object.find(key);
    if (it == object.end())
        throw CliError(FormatText(CliTexts::jsonMissing, {where + "." + key}));
    return *it;
}

const Json& objectAt(const Json& value, const std::string& where) {
    if (!value.is_object())
        wrongType(where, "an object");
    return value;
}

const Json& arrayAt(const Json& value, const std::string& where) {
    if (!value.is_array())
        wrongType(where, "an array");
    return value;
}

// Whole numbers only: 1.0 or "1" are refused, as no export writes them.
int64_t integerFrom(const Json& value, const std::string& where, int64_t low, int64_t high) {
    if (!value.is_number_integer())
        wrongType(where, "an integer");
    int64_t v = 0;
    if (value.is_number_unsigned()) {
        const auto u = value.get<uint64_t>();
        if (u > static_cast<uint64_t>(high))
            throw CliError(FormatText(CliTexts::jsonOutOfRange, {where}));
        v = static_cast<int64_t>(u);
    } else {
        v = value.get<int64_t>();
    }
    if (v < low || v > high)
        throw CliError(FormatText(CliTexts::jsonOutOfRange, {where}));
    return v;
}

int32_t int32Member(const Json& object, const char* key, const std::string& where) {
    return static_cast<int32_t>(integerFrom(member(object, key, where), where + "." + key,
                                            std::numeric_limits<int32_t>::min(),
                                            std::numeric_limits<int32_t>::max()));
}

std::u16string stringMember(const Json& object, const char* key, const std::string& where) {
    return StringFromJson(member(object, key, where), where + "." + key);
}

Json stringArray(const std::array<std::u16string, kFieldCount>& values) {
    Json array = Json::array();
    for (const auto& v : values)
        array.push_back(StringToJson(v));
    return array;
}

std::array<std::u16string, kFieldCount> stringArrayMember(const Json& object, const char* key,
                                                          const std::string& where) {
    const std::string path = where + "." + key;
    const Json& array = arrayAt(member(object, key, where), path);
    if (array.size() != kFieldCount)
        wrongType(path, "an array of 7 strings");
    std::array<std::u16string, kFieldCount> values;
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = StringFromJson(array[i], path + "[" + std::to_string(i) + "]");
    return values;
}

struct TimestampField {
    const char* name;
    uint16_t NoteTimestamp::*field;
};

constexpr TimestampField kTimestampFields[] = {
    {"year", &NoteTimestamp::year},           {"month", &NoteTimestamp::month},
    {"dayOfWeek", &NoteTimestamp::dayOfWeek}, {"day", &NoteTimestamp::day},
    {"hour", &NoteTimestamp::hour},           {"minute", &NoteTimestamp::minute},
    {"second", &NoteTimestamp::second},       {"millisecond", &NoteTimestamp::millisecond},
};

Json templateToJson(const TemplateRecord& t) {
    Json j;
    j["templateId"] = t.templateId;
    j["name"] = StringToJson(t.name);
    j["captions"] = stringArray(t.captions);
    return j;
}

TemplateRecord templateFromJson(const Json& value, const std::string& where) {
    objectAt(value, where);
    TemplateRecord t;
    t.templateId = int32Member(value, "templateId", where);
    t.name = stringMember(value, "name", where);
    t.captions = stringArrayMember(value, "captions", where);
    return t;
}

Json nodeToJson(const NoteRecord& n, AttachmentFolder* attachments) {
    Json j;
    j["nodeId"] = n.nodeId;
    j["parentId"] = n.parentId;
    j["iconIndex"] = n.iconIndex;
    j["isFolder"] = n.isFolder;
    j["title"] = StringToJson(n.title);
    j["body"] = StringToJson(n.body);
    j["link"] = StringToJson(n.link);
    j["modifiedTime"] = TimestampToJson(n.modifiedTime);
    j["reminderOn"] = n.reminderOn;
    j["reminderTime"] = TimestampToJson(n.reminderTime);
    j["reminderAckTime"] = TimestampToJson(n.reminderAckTime);
    j["repeatKind"] = n.repeatKind;
    j["repeatDays"] = n.repeatDays;
    j["templateId"] = n.templateId;
    j["fieldValues"] = stringArray(n.fieldValues);
    j["attachmentName"] = StringToJson(n.attachmentName);
    j["attachmentSize"] = n.attachmentSize;
    j["attachmentTime"] = TimestampToJson(n.attachmentTime);
    if (!n.attachmentData.empty()) {
        if (attachments)
            j["attachmentFile"] = attachments->Write(n.attachmentName, n.attachmentData);
        else
            j["attachmentData"] = EncodeBase64(n.attachmentData);
    }
    return j;
}

NoteRecord nodeFromJson(const Json& value, const std::string& where, const NoteTimestamp& now,
                        const AttachmentFolder* attachments) {
    objectAt(value, where);
    NoteRecord n(now);
    n.nodeId = int32Member(value, "nodeId", where);
    n.parentId = int32Member(value, "parentId", where);
    n.iconIndex = int32Member(value, "iconIndex", where);
    n.isFolder = int32Member(value, "isFolder", where);
    n.title = stringMember(value, "title", where);
    n.body = stringMember(value, "body", where);
    n.link = stringMember(value, "link", where);
    n.modifiedTime = TimestampFromJson(member(value, "modifiedTime", where), where + ".modifiedTime");
    n.reminderOn = int32Member(value, "reminderOn", where);
    n.reminderTime = TimestampFromJson(member(value, "reminderTime", where), where + ".reminderTime");
    n.reminderAckTime =
        TimestampFromJson(member(value, "reminderAckTime", where), where + ".reminderAckTime");
    n.repeatKind = int32Member(value, "repeatKind", where);
    n.repeatDays = int32Member(value, "repeatDays", where);
    n.templateId = int32Member(value, "templateId", where);
    n.fieldValues = stringArrayMember(value, "fieldValues", where);
    n.attachmentName = stringMember(value, "attachmentName", where);
    n.attachmentTime = TimestampFromJson(member(value, "attachmentTime", where), where + ".attachmentTime");
    const int32_t size = int32Member(value, "attachmentSize", where);

    const auto data = value.find("attachmentData");
    const auto file = value.find("attachmentFile");
    if (data != value.end() && file != value.end())
        throw CliError(FormatText(CliTexts::jsonBothAttachmentForms, {where}));
    std::vector<uint8_t> bytes;
    if (data != value.end()) {
        if (!data->is_string())
            wrongType(where + ".attachmentData", "a string");
        auto decoded = DecodeBase64(data->get_ref<const std::string&>());
        if (!decoded)
            throw CliError(FormatText(CliTexts::jsonBadBase64, {where + ".attachmentData"}));
        bytes = std::move(*decoded);
    } else if (file != value.end()) {
        if (!file->is_string())
            wrongType(where + ".attachmentFile", "a string");
        if (!attachments)
            throw CliError(FormatText(CliTexts::jsonNoAttachmentDir, {where}));
        bytes = attachments->Read(file->get<std::string>(), where + ".attachmentFile");
    }
    if (size < 0 || static_cast<uint64_t>(size) != bytes.size())
        throw CliError(FormatText(CliTexts::jsonSizeMismatch,
                                  {where, std::to_string(size), std::to_string(bytes.size())}));
    n.setAttachment(std::move(bytes));
    return n;
}

} // namespace

Json StringToJson(const std::u16string& s) {
    if (IsWellFormedUtf16(s))
        return ToUtf8(s);
    Json units = Json::array();
    for (char16_t c : s)
        units.push_back(static_cast<unsigned>(c));
    Json j;
    j[kUtf16Key] = std::move(units);
    return j;
}

std::u16string StringFromJson(const Json& value, const std::string& where) {
    if (value.is_string()) {
        // The parser has checked the UTF-8 already; a failure here is a bug guard.
        auto converted = FromUtf8(value.get_ref<const std::string&>());
        if (!converted)
            wrongType(where, "a UTF-8 string");
        return *converted;
    }
    if (value.is_object() && value.size() == 1 && value.contains(kUtf16Key)) {
        const std::string path = where + "." + kUtf16Key;
        const Json& units = arrayAt(value[kUtf16Key], path);
        std::u16string s;
        s.reserve(units.size());
        for (size_t i = 0; i < units.size(); ++i) {
            if (!units[i].is_number_integer())
                throw CliError(FormatText(CliTexts::jsonBadUtf16, {path}));
            const auto unit = units[i].get<int64_t>();
            if (unit < 0 || unit > 0xFFFF)
                throw CliError(FormatText(CliTexts::jsonBadUtf16, {path}));
            s += static_cast<char16_t>(unit);
        }
        return s;
    }
    wrongType(where, "a string");
}

Json TimestampToJson(const NoteTimestamp& ts) {
    Json j;
    for (const auto& f : kTimestampFields)
        j[f.name] = ts.*f.field;
    return j;
}

NoteTimestamp TimestampFromJson(const Json& value, const std::string& where) {
    objectAt(value, where);
    NoteTimestamp ts;
    for (const auto& f : kTimestampFields)
        ts.*f.field = static_cast<uint16_t>(integerFrom(member(value, f.name, where), where + "." + f.name, 0,
                                                        std::numeric_limits<uint16_t>::max()));
    return ts;
}

Json ExportDatabase(const NotesMgr& mgr, AttachmentFolder* attachments) {
    Json j;
    j["dbTitle"] = StringToJson(mgr.dbTitle);
    j["dbDescription"] = StringToJson(mgr.dbDescription);
    j["formatVersion"] = mgr.formatVersion;
    j["nextNodeId"] = mgr.nextNodeId;
    j["nextTemplateId"] = mgr.nextTemplateId;
    Json templates = Json::array();
    for (const auto& t : mgr.templates)
        templates.push_back(templateToJson(t));
    j["templates"] = std::move(templates);
    Json nodes = Json::array();
    for (const auto& [id, node] : mgr.nodes)
        nodes.push_back(nodeToJson(node, attachments));
    j["nodes"] = std::move(nodes);
    return j;
}

namespace {

// A value dumped with indent 2 and placed `depth` levels deep: every line after
// the first moves right by the indent of that level. JSON strings hold no raw
// line ends, so each '\n' is a line break of the layout.
void writeIndented(std::ostream& out, const Json& value, int depth) {
    const std::string text = value.dump(2);
    const std::string pad(static_cast<size_t>(depth) * 2, ' ');
    size_t start = 0;
    for (size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', start)) {
        out.write(text.data() + start, static_cast<std::streamsize>(nl + 1 - start));
        out << pad;
        start = nl + 1;
    }
    out.write(text.data() + start, static_cast<std::streamsize>(text.size() - start));
}

template <typename Range, typename ToJson>
void writeArrayMember(std::ostream& out, const char* key, const Range& items, ToJson toJson, bool last) {
    out << "  " << Json(key).dump() << ": [";
    bool first = true;
    for (const auto& item : items) {
        out << (first ? "\n    " : ",\n    ");
        writeIndented(out, toJson(item), 2);
        first = false;
    }
    out << (first ? "]" : "\n  ]") << (last ? "\n" : ",\n");
}

} // namespace

void WriteDatabaseJson(const NotesMgr& mgr, AttachmentFolder* attachments, std::ostream& out) {
    out << "{\n";
    const std::pair<const char*, Json> header[] = {
        {"dbTitle", StringToJson(mgr.dbTitle)}, {"dbDescription", StringToJson(mgr.dbDescription)},
        {"formatVersion", mgr.formatVersion},   {"nextNodeId", mgr.nextNodeId},
        {"nextTemplateId", mgr.nextTemplateId},
    };
    for (const auto& [key, value] : header) {
        out << "  " << Json(key).dump() << ": ";
        writeIndented(out, value, 1);
        out << ",\n";
    }
    writeArrayMember(out, "templates", mgr.templates, templateToJson, false);
    writeArrayMember(
        out, "nodes", mgr.nodes,
        [attachments](const auto& entry) { return nodeToJson(entry.second, attachments); }, true);
    out << "}\n";
}

void ImportDatabase(const Json& json, NotesMgr& mgr, const AttachmentFolder* attachments) {
    const std::string top = "JSON";
    objectAt(json, top);
    const int32_t version = int32Member(json, "formatVersion", top);
    // Only stream versions with a node layout exist; the file is written as 7.
    if (version < 1 || version > kCurrentFormatVersion)
        throw CliError(FormatText(CliTexts::jsonBadVersion, {std::to_string(version)}));

    mgr.Reset();
    mgr.dbTitle = stringMember(json, "dbTitle", top);
    mgr.dbDescription = stringMember(json, "dbDescription", top);
    mgr.nextNodeId = int32Member(json, "nextNodeId", top);
    mgr.nextTemplateId = int32Member(json, "nextTemplateId", top);

    const Json& templates = arrayAt(member(json, "templates", top), "templates");
    for (size_t i = 0; i < templates.size(); ++i)
        mgr.templates.push_back(templateFromJson(templates[i], "templates[" + std::to_string(i) + "]"));

    const Json& nodes = arrayAt(member(json, "nodes", top), "nodes");
    const NoteTimestamp now = NoteTimestamp::now();
    for (size_t i = 0; i < nodes.size(); ++i) {
        NoteRecord node = nodeFromJson(nodes[i], "nodes[" + std::to_string(i) + "]", now, attachments);
        const int32_t id = node.nodeId;
        if (!mgr.nodes.emplace(id, std::move(node)).second)
            throw CliError(FormatText(CliTexts::duplicateNodeId, {std::to_string(id)}));
    }
    if (auto problem = FindTreeProblem(mgr))
        throw CliError(*problem);
}

Json ParseJson(const std::string& text, const std::string& source) {
    try {
        return Json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        // Drop the library's "[json.exception.parse_error.101] " tag.
        std::string what = e.what();
        if (const auto close = what.find("] ");
            what.starts_with("[json.exception") && close != std::string::npos)
            what.erase(0, close + 2);
        throw CliError(FormatText(CliTexts::jsonSyntax, {source, what}));
    }
}
