#include "core/MergeReport.h"

#include "core/Texts.h"

#include <algorithm>
#include <initializer_list>

namespace {

// Replaces %1, %2 ... in `pattern` by the values in order.
std::u16string fill(std::u16string pattern, std::initializer_list<std::u16string> values) {
    char16_t marker[] = u"%1";
    for (const std::u16string& value : values) {
        const auto at = pattern.find(marker);
        if (at != std::u16string::npos)
            pattern.replace(at, 2, value);
        ++marker[1];
    }
    return pattern;
}

std::u16string number(size_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string quoted(const std::u16string& value) {
    return u"\"" + value + u"\"";
}

} // namespace

bool MergeReport::hasConflicts() const {
    return std::any_of(entries.begin(), entries.end(),
                       [](const MergeEntry& e) { return e.event == MergeEvent::Conflict; });
}

std::u16string MergeReport::heading(MergeEvent event) {
    using namespace Texts::Merging;
    switch (event) {
    case MergeEvent::Added:
        return headingAdded;
    case MergeEvent::Changed:
        return headingChanged;
    case MergeEvent::Kept:
        return headingKept;
    case MergeEvent::Deleted:
        return headingDeleted;
    case MergeEvent::Conflict:
        break;
    }
    return headingConflict;
}

std::u16string MergeReport::describe(const MergeEntry& entry) {
    using namespace Texts::Merging;
    switch (entry.event) {
    case MergeEvent::Added:
    case MergeEvent::Deleted:
        return entry.where;
    case MergeEvent::Changed:
    case MergeEvent::Kept:
        return entry.where + u": " + entry.field;
    case MergeEvent::Conflict:
        break;
    }
    std::u16string line = entry.where + u": ";
    if (entry.concealed || (entry.ours.empty() && entry.theirs.empty()))
        line += fill(conflictHidden, {entry.field});
    else
        line += fill(conflictLine, {entry.field, quoted(entry.ours), quoted(entry.theirs)});
    line += entry.copyId >= 0 ? fill(conflictCopy, {entry.copyTitle}) : std::u16string(keptOurs);
    return line;
}

std::vector<std::u16string> MergeReport::lines() const {
    using namespace Texts::Merging;
    std::vector<std::u16string> out;
    if (entries.empty() && !changed) {
        out.emplace_back(noChange);
        return out;
    }
    auto count = [this](std::initializer_list<MergeEvent> events) {
        return static_cast<size_t>(std::count_if(entries.begin(), entries.end(), [&](const MergeEntry& e) {
            return std::find(events.begin(), events.end(), e.event) != events.end();
        }));
    };
    out.push_back(
        fill(twoWay ? Texts::Merging::twoWay : threeWay,
             {number(count({MergeEvent::Added, MergeEvent::Changed})), number(count({MergeEvent::Deleted})),
              number(count({MergeEvent::Kept})), number(count({MergeEvent::Conflict}))}));
    const MergeEntry* previous = nullptr;
    for (const MergeEntry& entry : entries) {
        if (!previous || previous->event != entry.event)
            out.push_back(heading(entry.event) + u":");
        out.push_back(u"  " + describe(entry));
        previous = &entry;
    }
    return out;
}
