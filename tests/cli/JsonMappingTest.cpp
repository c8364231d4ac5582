// The JSON form of a database: every field out and back, strings that JSON
// text cannot hold, and the refusals of the import.

#include "cli/JsonMapping.h"
#include "cli/CliError.h"
#include "core/TreeOps.h"

#include "SampleDatabase.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

Json SampleJson() {
    NotesMgr mgr(nullptr);
    FillSampleDatabase(mgr);
    return ExportDatabase(mgr, nullptr);
}

// The import's one line for `json`, or "" when it was accepted.
std::string ImportError(const Json& json) {
    NotesMgr mgr(nullptr);
    try {
        ImportDatabase(json, mgr, nullptr);
        return "";
    } catch (const CliError& e) {
        return e.what();
    }
}

Json& NodeById(Json& json, int id) {
    for (auto& node : json["nodes"]) {
        if (node["nodeId"] == id)
            return node;
    }
    throw std::logic_error("no such node");
}

TEST(CliJson, ImportGivesBackEveryField) {
    NotesMgr original(nullptr);
    FillSampleDatabase(original);
    const Json json = ExportDatabase(original, nullptr);

    NotesMgr copy(nullptr);
    ImportDatabase(ParseJson(json.dump(), "test"), copy, nullptr);
    EXPECT_EQ(copy.dbTitle, original.dbTitle);
    EXPECT_EQ(copy.dbDescription, original.dbDescription);
    EXPECT_EQ(copy.nextNodeId, original.nextNodeId);
    EXPECT_EQ(copy.nextTemplateId, original.nextTemplateId);
    EXPECT_EQ(copy.templates, original.templates);
    EXPECT_EQ(copy.nodes, original.nodes); // every NoteRecord field, attachment bytes included
}

TEST(CliJson, ExportNamesFieldsAsTheDataModel) {
    const Json json = SampleJson();
    for (const char* key :
         {"dbTitle", "dbDescription", "formatVersion", "nextNodeId", "nextTemplateId", "templates", "nodes"})
        EXPECT_TRUE(json.contains(key)) << key;
    EXPECT_EQ(json["templates"].size(), 17u);
    EXPECT_EQ(json["templates"][0]["name"], "Blog account");
    EXPECT_EQ(json["templates"][0]["captions"].size(), 7u);
    const Json& visa = json["nodes"][3];
    EXPECT_EQ(visa["nodeId"], 3);
    EXPECT_EQ(visa["title"], "Visa \xC3\x89lite");
    EXPECT_EQ(visa["repeatDays"], kMonday | kFriday);
    EXPECT_EQ(visa["reminderTime"]["minute"], 59);
    EXPECT_EQ(visa["reminderTime"]["dayOfWeek"], 2);
    EXPECT_EQ(visa["attachmentSize"], 1000);
    EXPECT_TRUE(visa.contains("attachmentData"));
    // No bytes, no attachmentData: the 0-byte attachment and the folders.
    EXPECT_FALSE(json["nodes"][4].contains("attachmentData"));
    EXPECT_EQ(json["nodes"][4]["attachmentName"], "empty.txt");
    EXPECT_FALSE(json["nodes"][0].contains("attachmentData"));
    // Node ids ascend.
    int last = -1;
    for (const auto& node : json["nodes"]) {
        EXPECT_GT(node["nodeId"].get<int>(), last);
        last = node["nodeId"];
    }
}

TEST(CliJson, StreamedTextEqualsTheWholeTree) {
    NotesMgr mgr(nullptr);
    FillSampleDatabase(mgr);
    std::ostringstream streamed;
    WriteDatabaseJson(mgr, nullptr, streamed);
    EXPECT_EQ(streamed.str(), ExportDatabase(mgr, nullptr).dump(2) + "\n");

    // Empty lists keep the layout too.
    mgr.templates.clear();
    mgr.nodes.clear();
    std::ostringstream empty;
    WriteDatabaseJson(mgr, nullptr, empty);
    EXPECT_EQ(empty.str(), ExportDatabase(mgr, nullptr).dump(2) + "\n");
    EXPECT_EQ(ParseJson(empty.str(), "t")["nodes"], Json::array());
}

TEST(CliJson, LoneSurrogatesTravelAsCodeUnits) {
    const std::u16string odd{u'a', char16_t(0xD800), u'b'};
    const Json j = StringToJson(odd);
    ASSERT_TRUE(j.is_object());
    EXPECT_EQ(j["utf16"], (Json::array({0x61, 0xD800, 0x62})));
    // The text form is valid JSON that reads back to the same units.
    EXPECT_EQ(StringFromJson(ParseJson(j.dump(), "t"), "x"), odd);
    // A well-formed string stays a plain string, even with a pair outside the BMP.
    EXPECT_TRUE(StringToJson(u"\U0001F600").is_string());
    EXPECT_EQ(StringFromJson(StringToJson(u"\U0001F600"), "x"), u"\U0001F600");

    EXPECT_THROW(StringFromJson(Json::parse(R"({"utf16": [70000]})"), "x"), CliError);
    EXPECT_THROW(StringFromJson(Json::parse(R"({"utf16": [-1]})"), "x"), CliError);
    EXPECT_THROW(StringFromJson(Json::parse(R"({"utf16": ["a"]})"), "x"), CliError);
    EXPECT_THROW(StringFromJson(Json::parse(R"({"utf16": [1], "more": 1})"), "x"), CliError);
    EXPECT_THROW(StringFromJson(Json::parse("12"), "x"), CliError);
}

TEST(CliJson, TimestampsKeepAllEightFields) {
    NoteTimestamp ts = SampleTime(2024, 2, 29, 13, 45);
    ts.second = 59;
    ts.millisecond = 999;
    EXPECT_EQ(TimestampFromJson(ParseJson(TimestampToJson(ts).dump(), "t"), "t"), ts);
    Json bad = TimestampToJson(ts);
    bad["year"] = 65536;
    EXPECT_THROW(TimestampFromJson(bad, "t"), CliError);
    bad["year"] = -1;
    EXPECT_THROW(TimestampFromJson(bad, "t"), CliError);
    bad.erase("year");
    EXPECT_THROW(TimestampFromJson(bad, "t"), CliError);
}

TEST(CliJson, RefusesMalformedTextWithOneLine) {
    for (const char* text : {"", "{", "{\"a\":}", "[1,2", "{\"dbTitle\": \"\xFF\"}", "{} {}"}) {
        try {
            ParseJson(text, "in.json");
            ADD_FAILURE() << text;
        } catch (const CliError& e) {
            const std::string line = e.what();
            EXPECT_EQ(line.rfind("in.json is not valid JSON: ", 0), 0u) << line;
            EXPECT_EQ(line.find("json.exception"), std::string::npos) << line;
        }
    }
}

TEST(CliJson, RefusesWrongTypesAndMissingFields) {
    struct Case {
        std::function<void(Json&)> change;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {[](Json& j) { j = Json::array(); }, "JSON must be an object."},
        {[](Json& j) { j.erase("nodes"); }, "JSON.nodes is missing."},
        {[](Json& j) { j["dbTitle"] = 5; }, "JSON.dbTitle must be a string."},
        {[](Json& j) { j["nextNodeId"] = "9"; }, "JSON.nextNodeId must be an integer."},
        {[](Json& j) { j["nextNodeId"] = 9.5; }, "JSON.nextNodeId must be an integer."},
        {[](Json& j) { j["nextNodeId"] = 4294967296LL; }, "JSON.nextNodeId is out of range."},
        {[](Json& j) { j["formatVersion"] = 8; }, "formatVersion 8 is not a known stream version."},
        {[](Json& j) { j["templates"] = Json::object(); }, "templates must be an array."},
        {[](Json& j) { j["templates"][2]["captions"].erase(6); },
         "templates[2].captions must be an array of 7 strings."},
        {[](Json& j) { j["nodes"][1]["fieldValues"][0] = nullptr; },
         "nodes[1].fieldValues[0] must be a string."},
        {[](Json& j) { j["nodes"][1]["isFolder"] = true; }, "nodes[1].isFolder must be an integer."},
        {[](Json& j) { j["nodes"][3].erase("reminderAckTime"); }, "nodes[3].reminderAckTime is missing."},
        {[](Json& j) { j["nodes"][3]["attachmentData"] = "@@@@"; },
         "nodes[3].attachmentData is not valid base64."},
        {[](Json& j) { j["nodes"][3]["attachmentSize"] = 999; },
         "nodes[3]: attachmentSize is 999 but the attachment holds 1000 bytes."},
        {[](Json& j) { j["nodes"][4]["attachmentSize"] = 5; },
         "nodes[4]: attachmentSize is 5 but the attachment holds 0 bytes."},
        {[](Json& j) { j["nodes"][3]["attachmentFile"] = "x"; },
         "nodes[3] has both attachmentData and attachmentFile."},
        {[](Json& j) { j["nodes"][4]["attachmentFile"] = "x"; },
         "nodes[4] names an attachment file but no --attachments folder was given."},
    };
    for (const auto& c : cases) {
        Json json = SampleJson();
        c.change(json);
        EXPECT_EQ(ImportError(json), c.expected);
    }
    EXPECT_EQ(ImportError(SampleJson()), "");
}

TEST(CliJson, RefusesABrokenTree) {
    struct Case {
        std::function<void(Json&)> change;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {[](Json& j) { NodeById(j, 4)["nodeId"] = 3; }, "Node id 3 appears twice."},
        {[](Json& j) { j["nextNodeId"] = 5; }, "Node id 5 is not below nextNodeId 5."},
        {[](Json& j) { NodeById(j, 5)["nodeId"] = -3; }, "Node id -3 is negative."},
        {[](Json& j) { j["nodes"].erase(1); }, "Node 2 has parent 1, which does not exist."},
        {[](Json& j) { j["nodes"].erase(0); }, "The database has no root node (parentId -1)."},
        {[](Json& j) { NodeById(j, 0)["parentId"] = 1; }, "The database has no root node (parentId -1)."},
        {[](Json& j) { NodeById(j, 5)["parentId"] = -1; }, "Nodes 0 and 5 are both roots (parentId -1)."},
        {[](Json& j) { NodeById(j, 0)["isFolder"] = 0; }, "The root node 0 is not a folder."},
        {[](Json& j) { NodeById(j, 4)["parentId"] = 42; }, "Node 4 has parent 42, which does not exist."},
        {[](Json& j) { NodeById(j, 4)["parentId"] = 3; }, "Node 4 has parent 3, which is not a folder."},
        // Two folders that are each other's parent: every parent exists, but the root reaches neither.
        {[](Json& j) { NodeById(j, 1)["parentId"] = 2; },
         "Node 1 is not reachable from the root (its parents form a loop)."},
        {[](Json& j) { NodeById(j, 2)["parentId"] = 2; },
         "Node 2 is not reachable from the root (its parents form a loop)."},
    };
    for (const auto& c : cases) {
        Json json = SampleJson();
        c.change(json);
        EXPECT_EQ(ImportError(json), c.expected);
    }
}

TEST(CliJson, AcceptsAnEmptyDatabaseAndKeepsTheFileVersionCurrent) {
    NotesMgr mgr(nullptr);
    NewDatabase(mgr);
    Json json = ExportDatabase(mgr, nullptr);
    json["formatVersion"] = 6;
    NotesMgr copy(nullptr);
    ImportDatabase(json, copy, nullptr);
    EXPECT_EQ(copy.formatVersion, kCurrentFormatVersion);
    EXPECT_EQ(copy.nodes.size(), 1u);
    EXPECT_EQ(copy.templates.size(), 16u);
}

} // namespace
