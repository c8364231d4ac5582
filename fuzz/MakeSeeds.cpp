// Writes the fuzzers' seed corpora with the project's own writers:
//   FOLDER/stream/  database streams: the default database, a rich one, one
//                   with an attachment longer than a deciphering piece of the
//                   fuzzers' build, and one of every older stream version
//   FOLDER/rtf/     RTF documents of the writer
// Usage: make_fuzz_seeds FOLDER

#include "core/NotesMgr.h"
#include "core/StreamWriter.h"
#include "core/Texts.h"
#include "core/TreeOps.h"
#include "editor/rtf/RtfWriter.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

void save(const std::string& path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

void saveStream(const std::string& path, NotesMgr& db) {
    StreamWriter out;
    db.Serialize(out);
    save(path, out.bytes().data(), out.bytes().size());
}

NoteTimestamp stamp(uint16_t year, uint16_t month, uint16_t day) {
    NoteTimestamp t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = 9;
    t.minute = 30;
    return t;
}

// Folders and notes of every kind a stream holds: templates of its own, field
// values, reminders, text beyond Latin-1, a string long enough for the word
// count, attachments of no bytes and of some.
void fillRich(NotesMgr& db, size_t attachmentSize) {
    NewDatabase(db);
    db.dbTitle = u"Rich \u00e9t\u00e9 \u041f\u0440\u0438";
    db.dbDescription = std::u16string(300, u'd');
    TemplateRecord& t = db.AddTemplate();
    t.name = u"Locker";
    t.captions = {u"Number:", u"Code:", u"", u"", u"", u"", u"\u2603:"};
    const int32_t folder = db.AddNode(0, 3, 1, u"Folder", {}, {}, stamp(2024, 2, 29));
    const int32_t note =
        db.AddNode(folder, 20, 0, u"Card \U0001F511",
                   u"{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0\\b bold\\b0\\line next\\par}",
                   u"https://example.org", stamp(2025, 12, 31));
    NoteRecord& n = *db.FindNode(note);
    n.templateId = t.templateId;
    n.fieldValues[0] = u"42";
    n.fieldValues[6] = u"snow";
    n.reminderOn = 1;
    n.reminderTime = stamp(2026, 1, 1);
    n.repeatKind = RepeatMonthly;
    n.attachmentName = u"scan.pdf";
    std::vector<uint8_t> bytes(attachmentSize);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
    n.setAttachment(std::move(bytes));
    const int32_t empty =
        db.AddNode(folder, 16, 0, u"Empty attachment", u"plain body\r\nline two", {}, stamp(2000, 1, 1));
    db.FindNode(empty)->attachmentName = u"nothing.txt";
}

// A stream of an older version, written field by field: two nodes in the
// layout of that version, 8-bit strings and legacy time values where the
// version has them.
std::vector<uint8_t> oldStream(int32_t version) {
    StreamWriter w;
    const auto ansi = [&w](const std::string& text) {
        w.writeByte(static_cast<uint8_t>(text.size()));
        w.writeBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    };
    const auto legacyTime = [&w](bool wide) {
        if (wide) {
            w.writeInt32(static_cast<int32_t>(0x8000000A));
            w.writeInt64(1100000000);
        } else {
            w.writeInt32(1000000000);
        }
    };
    w.writeWord(0x1234);
    w.writeWord(kCheckWord);
    w.writeInt32(version);
    w.writeInt32(2);
    ansi("Old \x80 title");
    w.writeString(u"Old description");
    w.writeInt32(2);
    for (int32_t id = 0; id < 2; ++id) {
        const bool folder = id == 0;
        w.writeInt32(id);
        w.writeInt32(folder ? -1 : 0);
        if (version >= 4)
            w.writeInt32(folder ? -1 : 7);
        w.writeInt32(folder ? 1 : 0);
        ansi(folder ? "Root" : "Note \xe9");
        if (version == 1)
            legacyTime(true);
        w.writeString(folder ? u"" : u"{\\rtf1 old\\par body}");
        if (version >= 4) {
            w.writeString(u"file://old");
            w.writeTimestamp(stamp(2003, 4, 5));
        }
        if (version == 5) {
            w.writeInt32(3);
            for (int i = 0; i < kFieldCount; ++i)
                ansi(i == 0 ? "value" : "");
        }
        if (version >= 2) {
            w.writeInt32(1);
            if (version == 2) {
                legacyTime(false);
                legacyTime(true);
            } else {
                w.writeTimestamp(stamp(2004, 5, 6));
                w.writeTimestamp(stamp(2004, 5, 7));
            }
            w.writeInt32(RepeatWeekly);
            w.writeInt32(kAllWeekdays);
        }
        if (version == 6) {
            w.writeInt32(3);
            for (int i = 0; i < kFieldCount; ++i)
                w.writeString(i == 1 ? u"wide value" : u"");
            w.writeString(u"a.bin");
            w.writeInt32(3);
            w.writeTimestamp(stamp(2006, 7, 8));
            const uint8_t bytes[3] = {1, 2, 3};
            w.writeBytes(bytes, sizeof bytes);
        }
    }
    const uint8_t trailer[16] = {};
    w.writeBytes(trailer, sizeof trailer);
    return w.bytes();
}

rtf::Document richDocument() {
    rtf::Document doc;
    rtf::Paragraph title;
    title.alignment = rtf::Alignment::Center;
    rtf::Run bold;
    bold.text = u"Accounts \u00e9\u041f\U0001F511";
    bold.format.bold = true;
    bold.format.sizeTwips = 320;
    title.runs.push_back(bold);
    doc.paragraphs.push_back(title);
    for (rtf::Numbering n : {rtf::Numbering::Bullet, rtf::Numbering::Arabic, rtf::Numbering::UpperRoman}) {
        rtf::Paragraph item;
        item.numbering = n;
        item.leftIndentTwips = 360;
        item.firstIndentTwips = -360;
        rtf::Run run;
        run.text = u"item\tline\vbreak";
        run.format.face = u"Courier New";
        run.format.textColour = rtf::makeColour(200, 0, 0);
        run.format.backColour = rtf::makeColour(255, 255, 0);
        run.format.italic = run.format.underline = run.format.strikeout = true;
        item.runs.push_back(run);
        doc.paragraphs.push_back(item);
    }
    rtf::Paragraph picture;
    rtf::Run pict;
    pict.isPicture = true;
    pict.picture.data = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0};
    pict.picture.widthTwips = 300;
    pict.picture.heightTwips = 200;
    picture.runs.push_back(pict);
    doc.paragraphs.push_back(picture);
    return doc;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
        return 1;
    }
    const std::string folder = argv[1];
    {
        NotesMgr db(nullptr);
        NewDatabase(db);
        db.AddDefaultFolders();
        saveStream(folder + "/stream/v7-default", db);
    }
    {
        NotesMgr db(nullptr);
        fillRich(db, 40);
        saveStream(folder + "/stream/v7-rich", db);
    }
    {
        // Longer than the pieces a file is deciphered in by the fuzzers' build.
        NotesMgr db(nullptr);
        fillRich(db, 10 * 1024);
        saveStream(folder + "/stream/v7-long-attachment", db);
    }
    for (int32_t version = 1; version <= 6; ++version) {
        const std::vector<uint8_t> bytes = oldStream(version);
        save(folder + "/stream/v" + std::to_string(version), bytes.data(), bytes.size());
    }
    const std::string rich = rtf::WriteRtf(richDocument());
    save(folder + "/rtf/rich.rtf", rich.data(), rich.size());
    return 0;
}
