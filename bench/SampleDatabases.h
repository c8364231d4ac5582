#pragma once
// The databases the speed and memory figures are taken on, shared by the
// benchmark programs and the program that writes them as files for timing
// whole commands: 100,000 small nodes, 200 MB of attachments, and one note
// whose body is a long RTF document.

#include "core/NotesMgr.h"
#include "core/Texts.h"
#include "editor/rtf/RichText.h"

#include <memory>
#include <random>
#include <string>

namespace bench {

inline constexpr int kNodeCount = 100000;
inline constexpr int kAttachmentNotes = 200;
inline constexpr size_t kAttachmentSize = size_t{1} << 20;

inline std::u16string widen(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

inline void addRoot(NotesMgr& db) {
    db.AddNode(-1, 0, 1, Texts::untitled, {}, {}, NoteTimestamp::now());
    db.InstallDefaultTemplates();
    db.AddDefaultFolders();
}

// 100,000 nodes: a thousand folders, the rest notes with a short title, a
// short RTF body and three values of a credit-card template.
inline std::unique_ptr<NotesMgr> makeManyNodes() {
    auto db = std::make_unique<NotesMgr>();
    addRoot(*db);
    const NoteTimestamp now = NoteTimestamp::now();
    std::vector<int32_t> folders;
    for (int i = 0; i < 1000; ++i)
        folders.push_back(db->AddNode(1 + i % 10, 2, 1, widen("Folder " + std::to_string(i)), {}, {}, now));
    while (static_cast<int>(db->nodes.size()) < kNodeCount) {
        const int i = db->nextNodeId;
        const int32_t id = db->AddNode(folders[static_cast<size_t>(i) % folders.size()], 5, 0,
                                       widen("Note " + std::to_string(i)),
                                       widen("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs20 Note " +
                                             std::to_string(i) + " with a line of ordinary text.\\par}"),
                                       Texts::linkHint, now);
        NoteRecord& n = *db->FindNode(id);
        n.templateId = 1;
        n.fieldValues[0] = u"J. Smith";
        n.fieldValues[1] = widen("4111 1111 " + std::to_string(1000 + i % 9000));
        n.fieldValues[2] = u"12/29";
    }
    return db;
}

// 200 notes with 1 MB of attachment each.
inline std::unique_ptr<NotesMgr> makeAttachments() {
    auto db = std::make_unique<NotesMgr>();
    addRoot(*db);
    const NoteTimestamp now = NoteTimestamp::now();
    for (int i = 0; i < kAttachmentNotes; ++i) {
        const int32_t id = db->AddNode(1, 5, 0, widen("Scan " + std::to_string(i)), u"{\\rtf1\\ansi scan}",
                                       Texts::linkHint, now);
        std::vector<uint8_t> data(kAttachmentSize);
        uint32_t x = 0x9E3779B9u * static_cast<uint32_t>(i + 1);
        for (auto& b : data) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            b = static_cast<uint8_t>(x);
        }
        NoteRecord& n = *db->FindNode(id);
        n.attachmentName = widen("scan" + std::to_string(i) + ".pdf");
        n.setAttachment(std::move(data));
    }
    return db;
}

// A document like a long note written in the editor: paragraphs of words in
// changing formats, some lists, some characters outside ASCII.
inline rtf::Document makeDocument(size_t approxBytes) {
    std::mt19937 rng(7);
    const char16_t* words[] = {
        u"password", u"account", u"login",   u"the", u"note", u"caf\u00E9", u"\u041F\u0440\u0438",
        u"number",   u"card",    u"expires", u"on",  u"2026", u"server",    u"user"};
    rtf::Document doc;
    size_t size = 0;
    while (size < approxBytes) {
        rtf::Paragraph p;
        p.numbering = rng() % 5 == 0 ? rtf::Numbering::Bullet : rtf::Numbering::None;
        p.alignment = rng() % 7 == 0 ? rtf::Alignment::Center : rtf::Alignment::Left;
        for (int r = 0; r < 4; ++r) {
            rtf::Run run;
            run.format.bold = r % 2;
            run.format.italic = rng() % 3 == 0;
            run.format.textColour = rng() % 4 == 0 ? rtf::makeColour(200, 0, 0) : rtf::kAutoColour;
            for (int w = 0; w < 8; ++w) {
                run.text += words[rng() % std::size(words)];
                run.text += u' ';
            }
            size += run.text.size() * 2;
            p.runs.push_back(std::move(run));
        }
        doc.paragraphs.push_back(std::move(p));
    }
    return doc;
}

} // namespace bench
