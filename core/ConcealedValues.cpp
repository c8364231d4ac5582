#include "core/ConcealedValues.h"

#include "core/NotesMgr.h"
#include "core/Texts.h"

#include <cwctype>

namespace {

// The secret words, lower case. Several words are matched as written, with
// single spaces between them.
constexpr std::u16string_view kSecretWords[] = {
    u"pin",      u"puk",      u"cvc",        u"cvv",    u"cvv2",        u"security code",
    u"password", u"passcode", u"passphrase", u"secret", u"access code", u"security q/a",
};

char16_t fold(char16_t c) {
    return static_cast<char16_t>(std::towlower(static_cast<wint_t>(c)));
}

bool isWordChar(char16_t c) {
    return std::iswalnum(static_cast<wint_t>(c)) != 0;
}

} // namespace

bool IsConcealedCaption(std::u16string_view caption) {
    std::u16string folded(caption);
    for (char16_t& c : folded)
        c = fold(c);
    for (const std::u16string_view word : kSecretWords) {
        for (size_t at = folded.find(word); at != std::u16string::npos; at = folded.find(word, at + 1)) {
            const size_t end = at + word.size();
            if ((at == 0 || !isWordChar(folded[at - 1])) &&
                (end == folded.size() || !isWordChar(folded[end])))
                return true;
        }
    }
    return false;
}

std::vector<CopyableValue> CopyableValues(const NotesMgr& notes, const NoteRecord& note) {
    std::vector<CopyableValue> values;
    if (note.templateId != 0) {
        const TemplateRecord& fields = notes.FindTemplate(note.templateId);
        for (int i = 0; i < kFieldCount; ++i) {
            const std::u16string& caption = fields.caption(i);
            const std::u16string& value = note.fieldValues[static_cast<size_t>(i)];
            if (caption.empty() || value.empty())
                continue;
            values.push_back({caption, value, IsConcealedCaption(caption), false});
        }
    }
    if (!note.title.empty())
        values.push_back({Texts::titleField, note.title, false, true});
    return values;
}

int DefaultCopyIndex(const std::vector<CopyableValue>& values) {
    for (size_t i = 0; i < values.size(); ++i)
        if (values[i].concealed)
            return static_cast<int>(i);
    return values.empty() ? -1 : 0;
}
