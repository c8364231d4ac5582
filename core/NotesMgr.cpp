#include "core/NotesMgr.h"

#include "core/SecretWipe.h"
#include "core/SettingsStore.h"
#include "core/Texts.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace {

const char* const kRecentSection = "RecentFiles";

std::string recentEntryName(int position) {
    return "File" + std::to_string(position);
}

char16_t foldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c - u'A' + u'a');
    return c;
}

bool equalsNoCase(const std::u16string& a, const std::u16string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               return foldCase(x) == foldCase(y);
           });
}

} // namespace

NotesMgr::NotesMgr(SettingsStore* settings)
    : m_settings(settings), m_random(static_cast<std::minstd_rand::result_type>(
                                std::chrono::steady_clock::now().time_since_epoch().count() | 1)) {
    LoadRecentFiles();
    Reset();
}

NotesMgr::~NotesMgr() {
    StoreRecentFiles();
    WipeContent();
    WipeString(password);
}

void NotesMgr::WipeContent() {
    WipeTexts();
    nodes.clear();
}

void NotesMgr::WipeTexts() {
    for (auto& [id, node] : nodes) {
        WipeString(node.title);
        WipeString(node.body);
        WipeString(node.link);
        for (std::u16string& value : node.fieldValues)
            WipeString(value);
        WipeString(node.attachmentName);
        WipeVector(node.attachmentData);
    }
    WipeString(dbTitle);
    WipeString(dbDescription);
}

void NotesMgr::WipeInPlace() {
    WipeTexts();
    WipeString(password);
    // The key is wiped as it is let go, the last holder letting it go.
    strongKey.reset();
}

void NotesMgr::Reset() {
    WipeContent();
    templates.clear();
    dbTitle.clear();
    dbDescription.clear();
    formatVersion = kCurrentFormatVersion;
    nextNodeId = 0;
    nextTemplateId = 0;
    checkWord = kCheckWord;
    randomWord = static_cast<uint16_t>(NextRandom());
    modified = 0;
}

int NotesMgr::NextRandom() {
    return static_cast<int>(m_random() & 0x7FFF);
}

int32_t NotesMgr::AddNode(int32_t parentId, int32_t iconIndex, int32_t isFolder, const std::u16string& title,
                          const std::u16string& body, const std::u16string& link,
                          const NoteTimestamp& modifiedTime) {
    NoteRecord node;
    node.nodeId = nextNodeId;
    node.parentId = parentId;
    node.iconIndex = iconIndex;
    node.isFolder = isFolder;
    node.title = title;
    node.body = body;
    node.link = link;
    node.modifiedTime = modifiedTime;
    nodes.insert_or_assign(nodes.end(), node.nodeId, std::move(node));
    return nextNodeId++;
}

NoteRecord* NotesMgr::FindNode(int32_t nodeId) {
    auto it = nodes.find(nodeId);
    return it == nodes.end() ? nullptr : &it->second;
}

const NoteRecord* NotesMgr::FindNode(int32_t nodeId) const {
    auto it = nodes.find(nodeId);
    return it == nodes.end() ? nullptr : &it->second;
}

void NotesMgr::EraseNode(int32_t nodeId) {
    nodes.erase(nodeId);
}

TemplateRecord& NotesMgr::AddTemplate(int32_t templateId) {
    TemplateRecord t;
    t.templateId = templateId == -1 ? nextTemplateId++ : templateId;
    templates.push_back(std::move(t));
    return templates.back();
}

const TemplateRecord& NotesMgr::NoDataTemplate() {
    static const TemplateRecord noData = [] {
        TemplateRecord t;
        t.templateId = 0;
        t.name = Texts::noData;
        return t;
    }();
    return noData;
}

const TemplateRecord& NotesMgr::FindTemplate(int32_t templateId) const {
    auto it = std::find_if(templates.begin(), templates.end(),
                           [templateId](const TemplateRecord& t) { return t.templateId == templateId; });
    return it == templates.end() ? NoDataTemplate() : *it;
}

void NotesMgr::InstallDefaultTemplates() {
    templates.clear();
    nextTemplateId = 0;
    for (const auto& builtIn : Texts::builtInTemplates) {
        TemplateRecord& t = AddTemplate(builtIn.id);
        t.name = builtIn.name;
        for (int i = 0; i < kFieldCount; ++i) {
            if (builtIn.captions[i])
                t.captions[static_cast<size_t>(i)] = builtIn.captions[i];
        }
    }
    nextTemplateId = 50;
}

void NotesMgr::AddDefaultFolders() {
    const NoteTimestamp now = NoteTimestamp::now();
    for (const char16_t* name : Texts::defaultFolders)
        AddNode(0, 1, 1, name, {}, {}, now);
}

void NotesMgr::LoadRecentFiles() {
    recentFiles.clear();
    if (!m_settings)
        return;
    for (int i = 0; i < kMaxStoredRecentFiles; ++i) {
        auto value = m_settings->readString(kRecentSection, recentEntryName(i));
        if (value && !value->empty())
            recentFiles.push_back(*value);
    }
}

void NotesMgr::StoreRecentFiles() {
    if (!m_settings)
        return;
    for (int i = 0; i < kMaxStoredRecentFiles; ++i) {
        const size_t at = static_cast<size_t>(i);
        m_settings->writeString(kRecentSection, recentEntryName(i),
                                at < recentFiles.size() ? recentFiles[at] : std::u16string());
    }
}

void NotesMgr::AddRecentFile(const std::u16string& path) {
    std::erase_if(recentFiles, [&](const std::u16string& p) { return equalsNoCase(p, path); });
    recentFiles.insert(recentFiles.begin(), path);
}

void NotesMgr::RemoveRecentFile(const std::u16string& path) {
    std::erase_if(recentFiles, [&](const std::u16string& p) { return equalsNoCase(p, path); });
}

void NotesMgr::TakeContent(NotesMgr& other) {
    WipeContent();
    randomWord = other.randomWord;
    checkWord = other.checkWord;
    formatVersion = other.formatVersion;
    nextNodeId = other.nextNodeId;
    dbTitle = std::move(other.dbTitle);
    dbDescription = std::move(other.dbDescription);
    nextTemplateId = other.nextTemplateId;
    templates = std::move(other.templates);
    nodes = std::move(other.nodes);
    modified = other.modified;
}

void NotesMgr::SwapContent(NotesMgr& other) {
    std::swap(randomWord, other.randomWord);
    std::swap(checkWord, other.checkWord);
    std::swap(formatVersion, other.formatVersion);
    std::swap(nextNodeId, other.nextNodeId);
    dbTitle.swap(other.dbTitle);
    dbDescription.swap(other.dbDescription);
    std::swap(nextTemplateId, other.nextTemplateId);
    templates.swap(other.templates);
    nodes.swap(other.nodes);
    password.swap(other.password);
}
