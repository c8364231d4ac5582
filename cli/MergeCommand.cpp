#include "cli/MergeCommand.h"

#include "cli/CliError.h"
#include "cli/CliTexts.h"
#include "cli/KeepUntilExit.h"
#include "cli/Utf.h"
#include "core/FileError.h"
#include "core/Merge.h"
#include "core/MergeBaseReceiver.h"
#include "core/NotesMgr.h"

#include <exception>
#include <memory>
#include <ostream>
#include <thread>

namespace {

struct Copy {
    std::string path;
    std::u16string password;
    std::unique_ptr<NotesMgr> notes;
    std::exception_ptr failure;
    // The base read against both copies, once they are read: its records
    // equal on all three sides are left out, their ids listed.
    const NotesMgr* ours = nullptr;
    const NotesMgr* theirs = nullptr;
    std::vector<int32_t> unchanged;

    void load() {
        try {
            auto mgr = std::make_unique<NotesMgr>(nullptr);
            mgr->password = password;
            if (ours && theirs) {
                MergeBaseReceiver receiver(mgr->nodes, *ours, *theirs);
                mgr->Scan(path, receiver);
                unchanged = receiver.takeUnchanged();
            } else {
                mgr->Load(path);
            }
            notes = std::move(mgr);
            failure = nullptr;
        } catch (...) {
            failure = std::current_exception();
        }
    }
};

bool wrongPassword(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const WrongPasswordError&) {
        return true;
    } catch (...) {
        return false;
    }
}

// Every file with its password: one for all, or one per file in order.
std::vector<Copy> copiesOf(const CommandLine& line, const PasswordSource& passwords) {
    std::vector<Copy> copies(line.operands.size());
    if (line.passwordFiles.size() > 1 && line.passwordFiles.size() != copies.size())
        throw CliError(FormatText(CliTexts::passwordFilesPerFile, {std::to_string(copies.size())}));
    const std::u16string shared =
        line.passwordFiles.size() > 1 ? std::u16string() : passwords.Password(line.passwordFile, false);
    for (size_t i = 0; i < copies.size(); ++i) {
        copies[i].path = line.operands[i];
        copies[i].password = line.passwordFiles.size() > 1
                                 ? PasswordFromUtf8(PasswordSource::ReadFirstLine(line.passwordFiles[i]))
                                 : shared;
    }
    return copies;
}

// The copies are read side by side, and a base after them against both; a
// file the password does not open is asked for again on a terminal.
void loadAll(std::vector<Copy>& copies, const CommandLine& line, const PasswordSource& passwords) {
    const size_t first = line.twoWay ? 0 : 1;
    std::vector<std::thread> readers;
    for (size_t i = first + 1; i < copies.size(); ++i)
        readers.emplace_back(&Copy::load, &copies[i]);
    copies[first].load();
    for (std::thread& reader : readers)
        reader.join();
    if (first == 1) {
        // Should a copy have failed, the base is read whole, so that failures
        // are told in the order of the files.
        Copy& base = copies[0];
        if (copies[1].notes && copies[2].notes) {
            base.ours = copies[1].notes.get();
            base.theirs = copies[2].notes.get();
        }
        base.load();
    }
    const bool mayAsk = line.passwordFiles.size() <= 1 && passwords.stdinIsTerminal();
    for (Copy& copy : copies) {
        while (copy.failure && wrongPassword(copy.failure) && mayAsk) {
            const auto typed =
                passwords.readHidden(FormatText(CliTexts::promptPasswordOf, {copy.path}).c_str());
            if (!typed)
                break;
            copy.password = PasswordFromUtf8(*typed);
            copy.load();
        }
        if (copy.failure && wrongPassword(copy.failure))
            throw CliError(FormatText(CliTexts::wrongPassword, {copy.path}));
        if (copy.failure)
            std::rethrow_exception(copy.failure);
    }
}

} // namespace

int RunMerge(const CommandLine& line, const PasswordSource& passwords, std::ostream& out) {
    std::vector<Copy> copies = copiesOf(line, passwords);
    loadAll(copies, line, passwords);
    const size_t oursAt = line.twoWay ? 0 : 1;
    auto merged = std::make_unique<NotesMgr>(nullptr);
    // Ours is not needed after the merge: its unchanged records move into the result.
    const MergeReport report = line.twoWay ? MergeTwoWay(*copies[0].notes, *copies[1].notes, *merged)
                                           : MergeTakingOurs(*copies[0].notes, *copies[1].notes,
                                                             *copies[2].notes, *merged, copies[0].unchanged);
    const std::string target = line.output.value_or(copies[oursAt].path);
    // The copies are wiped beside the writing of the result; the process
    // ends with this command and takes their memory back.
    std::jthread wiping([&copies] {
        for (Copy& copy : copies)
            KeepUntilExit(std::move(copy.notes));
    });
    // OURS already holds a result that brings nothing new.
    if (report.changed || target != copies[oursAt].path)
        merged->Save(target);
    std::string text;
    for (const std::u16string& reportLine : report.lines())
        text += DisplayLine(reportLine) + "\n";
    out << text;
    KeepUntilExit(std::move(merged));
    return report.hasConflicts() ? kMergeConflicts : 0;
}
