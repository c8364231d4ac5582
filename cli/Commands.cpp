#include "cli/Commands.h"

#include "cli/AttachmentFolder.h"
#include "cli/BackgroundWriter.h"
#include "cli/CliError.h"
#include "cli/CliTexts.h"
#include "cli/FindCommand.h"
#include "cli/FtpCommand.h"
#include "cli/JsonMapping.h"
#include "cli/MergeCommand.h"
#include "cli/NodeLookup.h"
#include "cli/ShownBody.h"
#include "cli/TreeCheck.h"
#include "cli/TreeListing.h"
#include "cli/Utf.h"
#include "core/ConcealedValues.h"
#include "core/FileError.h"
#include "core/NotesMgr.h"
#include "core/Texts.h"

#include <cerrno>
#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <new>
#include <sstream>

#ifndef SEALBOOK_VERSION
#error "SEALBOOK_VERSION (the project version) is defined by the build"
#endif

namespace {

using Command = CommandLine::Command;

std::unique_ptr<NotesMgr> loadDatabase(const std::string& path, const std::u16string& password) {
    // No settings store: the companion never touches the program's recent files.
    auto mgr = std::make_unique<NotesMgr>(nullptr);
    mgr->password = password;
    mgr->Load(path);
    return mgr;
}

// The database fields and templates only; the nodes are read by the caller
// (ls, show and verify read them one at a time through NotesMgr::Scan).
std::unique_ptr<NotesMgr> databaseFor(const std::u16string& password) {
    auto mgr = std::make_unique<NotesMgr>(nullptr);
    mgr->password = password;
    return mgr;
}

// One line of a listing: control characters would break the line structure.
void appendDisplayLine(std::string& text, std::u16string_view s) {
    const size_t start = text.size();
    AppendUtf8(text, s);
    for (size_t i = start; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F)
            text[i] = ' ';
    }
}

std::string displayLine(const std::u16string& s) {
    std::string text;
    appendDisplayLine(text, s);
    return text;
}

int32_t parseNodeId(const std::string& text) {
    int32_t id = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (ec != std::errc() || end != text.data() + text.size())
        throw CliError(FormatText(CliTexts::badNodeId, {text}));
    return id;
}

std::string protectionLine(const NotesMgr& mgr) {
    return std::string(CliTexts::protectionLabel) + ": " +
           (mgr.protection == Protection::Strong ? CliTexts::protectionStrong
                                                 : CliTexts::protectionCompatible) +
           "\n";
}

// A strong file needs a password; refused before anything is written.
void checkStrongPassword(const NotesMgr& mgr) {
    if (mgr.protection == Protection::Strong && mgr.password.empty())
        throw CliError(Texts::strongNeedsPassword);
}

void runLs(const TreeSkeleton& skeleton, std::ostream& out) {
    const TreeListing listing = ListTree(skeleton);
    // Lines are gathered and written in large pieces.
    constexpr size_t kPiece = size_t{64} << 10;
    std::string text;
    const auto line = [&](const TreeEntry& node, int depth) {
        if (text.size() > kPiece) {
            out << text;
            text.clear();
        }
        text.append(static_cast<size_t>(depth) * 2, ' ');
        appendDisplayLine(text, skeleton.title(node));
        text += node.isFolder ? "/  [" : "  [";
        text += std::to_string(node.nodeId);
        text += "]\n";
    };
    for (const ListedNode& item : listing.shown)
        line(skeleton.nodes[item.index], item.depth);
    if (!listing.unreachable.empty()) {
        text += CliTexts::unreachableHeading;
        text += "\n";
        for (int32_t id : listing.unreachable)
            line(*skeleton.find(id), 1);
    }
    out << text;
}

void runShow(NotesMgr& mgr, const CommandLine& line, std::ostream& out) {
    const std::string& idText = line.operands[1];
    const int32_t nodeId = parseNodeId(idText);
    // The body is taken in the form its plain text is made from, unless it
    // is to be shown as stored.
    ShownBody body;
    const std::optional<NoteRecord> found =
        ReadOneNode(mgr, line.operands[0], nodeId, line.rawRtf ? nullptr : &body);
    if (!found)
        throw CliError(FormatText(CliTexts::noSuchNode, {idText}));
    const NoteRecord* node = &*found;
    if (line.rawRtf) {
        WriteUtf8(out, node->body);
        return;
    }
    // The body's plain text, after `before` unless it shows as nothing, and
    // ending with a line end.
    const auto writeBody = [&](std::u16string_view before) {
        BackgroundWriter writer(out);
        const char16_t last = body.write([&](std::u16string_view piece) {
            writer.add(before);
            before = {};
            writer.add(piece);
        });
        writer.finish();
        if (last != 0 && last != u'\n')
            out << "\n";
    };
    if (line.bodyOnly) {
        writeBody({});
        return;
    }
    out << CliTexts::titleLabel << " " << displayLine(node->title) << "\n";
    if (!node->isFolder) {
        // Template id 0 is "None"; an id with no template left is "No Data".
        const TemplateRecord& tmpl = mgr.FindTemplate(node->templateId);
        const std::u16string name = node->templateId == 0 ? std::u16string(Texts::noneTemplate) : tmpl.name;
        out << CliTexts::accountTypeLabel << " " << displayLine(name) << "\n";
        if (node->templateId != 0) {
            for (int i = 0; i < kFieldCount; ++i) {
                const std::u16string& caption = tmpl.caption(i);
                if (caption.empty())
                    continue;
                const std::u16string& value = node->fieldValues[static_cast<size_t>(i)];
                const bool hide = line.conceal && !value.empty() && IsConcealedCaption(caption);
                out << displayLine(caption) << " " << displayLine(hide ? Texts::concealedValue : value)
                    << "\n";
            }
        }
    }
    if (!node->attachmentName.empty() || node->attachmentSize > 0)
        out << CliTexts::attachmentLabel << " " << displayLine(node->attachmentName) << " ("
            << node->attachmentSize << " " << CliTexts::bytesUnit << ")\n";
    // The body is shown after a blank line.
    writeBody(u"\n");
}

void runVerify(const NotesMgr& mgr, const TreeSkeleton& skeleton, std::ostream& out) {
    int64_t folders = 0, notes = 0, attachments = 0, bytes = 0;
    for (const TreeEntry& node : skeleton.nodes) {
        // The root is the database itself, not one of its folders.
        if (node.parentId != -1)
            (node.isFolder ? folders : notes) += 1;
        if (node.attachmentSize > 0) {
            ++attachments;
            bytes += node.attachmentSize;
        }
    }
    out << CliTexts::countNodes << ": " << skeleton.nodes.size() << "\n"
        << CliTexts::countFolders << ": " << folders << "\n"
        << CliTexts::countNotes << ": " << notes << "\n"
        << CliTexts::countTemplates << ": " << mgr.templates.size() << "\n"
        << CliTexts::countAttachments << ": " << attachments << "\n"
        << CliTexts::countAttachmentBytes << ": " << bytes << "\n"
        << protectionLine(mgr);
    out.flush();
    if (auto problem = FindTreeProblem(skeleton))
        throw CliError(*problem);
}

std::string readAll(const std::string& path, std::istream& in) {
    if (path == "-") {
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw FileError(errno ? FileError::kindFromErrno(errno) : FileError::Kind::Generic, path);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        throw FileError(FileError::Kind::Generic, path);
    return text;
}

void runImport(const CommandLine& line, const PasswordSource& passwords, std::istream& in) {
    const std::string& source = line.operands[0];
    const Json json = ParseJson(readAll(source, in), source == "-" ? "standard input" : source);
    std::unique_ptr<AttachmentFolder> folder;
    if (line.attachmentsDir)
        folder = std::make_unique<AttachmentFolder>(*line.attachmentsDir, false);
    NotesMgr mgr(nullptr);
    ImportDatabase(json, mgr, folder.get());
    // Asked only once the JSON is known to be sound; a new file's password is typed twice.
    mgr.password = passwords.Password(line.passwordFile, true);
    mgr.protection = line.protection.value_or(Protection::Compatible);
    checkStrongPassword(mgr);
    mgr.Save(line.operands[1]);
}

} // namespace

std::u16string BodyAsPlainText(const std::u16string& body) {
    ShownBody shown;
    shown.start(body.size());
    shown.piece(body);
    std::u16string text;
    shown.write([&text](std::u16string_view piece) { text += piece; });
    return text;
}

void RunCommand(const CommandLine& line, const PasswordSource& passwords, std::istream& in,
                std::ostream& out) {
    switch (line.command) {
    case Command::Help:
        out << (line.helpTopic == "ftp" ? CliTexts::ftpUsage : CliTexts::usage);
        break;
    case Command::Version:
        out << FormatText(CliTexts::versionLine, {SEALBOOK_VERSION}) << "\n";
        break;
    case Command::Ls: {
        auto mgr = databaseFor(passwords.Password(line.passwordFile, false));
        runLs(ReadSkeleton(*mgr, line.operands[0], true), out);
        out << protectionLine(*mgr);
        break;
    }
    case Command::Show:
        runShow(*databaseFor(passwords.Password(line.passwordFile, false)), line, out);
        break;
    case Command::Export: {
        auto mgr = loadDatabase(line.operands[0], passwords.Password(line.passwordFile, false));
        std::unique_ptr<AttachmentFolder> folder;
        if (line.attachmentsDir)
            folder = std::make_unique<AttachmentFolder>(*line.attachmentsDir, true);
        WriteDatabaseJson(*mgr, folder.get(), out);
        break;
    }
    case Command::Import:
        runImport(line, passwords, in);
        break;
    case Command::Passwd: {
        const std::string& path = line.operands[0];
        auto mgr = loadDatabase(path, passwords.Password(line.passwordFile, false));
        mgr->password = passwords.NewPassword(line.newPasswordFile);
        mgr->protection = line.protection.value_or(mgr->protection);
        checkStrongPassword(*mgr);
        mgr->Save(path);
        break;
    }
    case Command::Verify: {
        auto mgr = databaseFor(passwords.Password(line.passwordFile, false));
        const TreeSkeleton skeleton = ReadSkeleton(*mgr, line.operands[0], false);
        runVerify(*mgr, skeleton, out);
        break;
    }
    case Command::Find: {
        // The options are checked before the password is asked for.
        const FindOptions options = FindOptionsFromCommandLine(line);
        RunFind(*loadDatabase(line.operands[0], passwords.Password(line.passwordFile, false)), options, out);
        break;
    }
    case Command::Ftp:
        RunFtpCommand(line, passwords, out);
        break;
    case Command::Merge:
        RunMerge(line, passwords, out);
        break;
    }
    out.flush();
    if (!out)
        throw CliError(FormatText(CliTexts::cannotWrite, {"standard output"}));
}

int RunMain(const std::vector<std::string>& args, const PasswordSource& passwords, std::istream& in,
            std::ostream& out, std::ostream& err) {
    // Every failure is one line: a message with a line break in it is folded.
    const auto fail = [&err](std::string line, int status) {
        for (auto& c : line) {
            if (c == '\n' || c == '\r')
                c = ' ';
        }
        err << line << "\n";
        err.flush();
        return status;
    };
    std::string databasePath;
    // merge keeps 1 for "conflicts" and fails with 2, as merge drivers do.
    const bool merging = CommandWord(args) == "merge";
    const auto failure = [merging](int status) { return merging ? kMergeFailed : status; };
    try {
        const CommandLine line = ParseCommandLine(args);
        if (!line.operands.empty() && line.command != Command::Ftp)
            databasePath = line.command == Command::Import ? line.operands[1] : line.operands[0];
        if (line.command == Command::Merge) {
            const int status = RunMerge(line, passwords, out);
            out.flush();
            if (!out)
                throw CliError(FormatText(CliTexts::cannotWrite, {"standard output"}));
            return status;
        }
        RunCommand(line, passwords, in, out);
        return kExitSuccess;
    } catch (const WrongPasswordError&) {
        return fail(FormatText(CliTexts::wrongPassword, {databasePath}), kExitWrongPassword);
    } catch (const FileError& e) {
        return fail(e.lineStartingWithPath(), failure(kExitFailure));
    } catch (const CliError& e) {
        return fail(e.what(), failure(e.status()));
    } catch (const std::bad_alloc&) {
        return fail(CliTexts::outOfMemory, failure(kExitFailure));
    } catch (const std::exception& e) {
        return fail(e.what(), failure(kExitFailure));
    }
}
