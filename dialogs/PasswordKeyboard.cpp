#include "dialogs/PasswordKeyboard.h"

#include "dialogs/DialogTexts.h"

#include <array>

namespace {

struct KeyDef {
    PasswordKeyboard::KeyKind kind;
    const char* plain;
    const char* shifted;
    PasswordKeyboard::KeyPlace place;
};

using Kind = PasswordKeyboard::KeyKind;

constexpr KeyDef ch(const char* plain, const char* shifted, int row, int halfColumn) {
    return {Kind::Character, plain, shifted, {row, halfColumn, 2}};
}

// Four rows: 14 keys; 12 keys indented by one key; CAP and 11 keys; Shift,
// 10 keys and Clear. The order gives each button its consecutive id.
// The shifted "7" is "&&" because a button shows a single "&" as a mnemonic mark.
constexpr std::array<KeyDef, PasswordKeyboard::kKeyCount> kKeys = {{
    ch("`", "~", 0, 0),
    ch("1", "!", 0, 2),
    ch("2", "@", 0, 4),
    ch("3", "#", 0, 6),
    ch("4", "$", 0, 8),
    ch("5", "%", 0, 10),
    ch("6", "^", 0, 12),
    ch("7", "&&", 0, 14),
    ch("8", "*", 0, 16),
    ch("9", "(", 0, 18),
    ch("0", ")", 0, 20),
    ch("-", "_", 0, 22),
    ch("=", "+", 0, 24),
    ch("\\", "|", 0, 26),

    ch("q", "Q", 1, 2),
    ch("w", "W", 1, 4),
    ch("e", "E", 1, 6),
    ch("r", "R", 1, 8),
    ch("t", "T", 1, 10),
    ch("y", "Y", 1, 12),
    ch("u", "U", 1, 14),
    ch("i", "I", 1, 16),
    ch("o", "O", 1, 18),
    ch("p", "P", 1, 20),
    ch("[", "{", 1, 22),
    ch("]", "}", 1, 24),

    {Kind::Cap, DialogTexts::capKey, DialogTexts::capKey, {2, 0, 3}},
    ch("a", "A", 2, 3),
    ch("s", "S", 2, 5),
    ch("d", "D", 2, 7),
    ch("f", "F", 2, 9),
    ch("g", "G", 2, 11),
    ch("h", "H", 2, 13),
    ch("j", "J", 2, 15),
    ch("k", "K", 2, 17),
    ch("l", "L", 2, 19),
    ch(";", ":", 2, 21),
    ch("'", "\"", 2, 23),

    {Kind::Shift, DialogTexts::shiftKey, DialogTexts::shiftKey, {3, 0, 4}},
    ch("z", "Z", 3, 4),
    ch("x", "X", 3, 6),
    ch("c", "C", 3, 8),
    ch("v", "V", 3, 10),
    ch("b", "B", 3, 12),
    ch("n", "N", 3, 14),
    ch("m", "M", 3, 16),
    ch(",", "<", 3, 18),
    ch(".", ">", 3, 20),
    ch("/", "?", 3, 22),
    {Kind::Clear, DialogTexts::clearKey, DialogTexts::clearKey, {3, 24, 4}},
}};

const KeyDef& def(int key) {
    Q_ASSERT(key >= 0 && key < PasswordKeyboard::kKeyCount);
    return kKeys[static_cast<size_t>(key)];
}

} // namespace

PasswordKeyboard::KeyKind PasswordKeyboard::kind(int key) {
    return def(key).kind;
}

PasswordKeyboard::KeyPlace PasswordKeyboard::place(int key) {
    return def(key).place;
}

QString PasswordKeyboard::caption(int key) const {
    const KeyDef& d = def(key);
    return QString::fromUtf8(shifted() ? d.shifted : d.plain);
}

QString PasswordKeyboard::typedText(int key) const {
    QString text = caption(key);
    text.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return text;
}

PasswordKeyboard::PressResult PasswordKeyboard::press(int key) {
    PressResult result;
    switch (kind(key)) {
    case KeyKind::Cap:
        m_shift = false;
        m_caps = !m_caps;
        result.captionsChanged = true;
        break;
    case KeyKind::Shift:
        m_shift = !m_shift;
        result.captionsChanged = true;
        break;
    case KeyKind::Clear:
        m_buffer.clear();
        result.cleared = true;
        break;
    case KeyKind::Character:
        m_buffer += typedText(key);
        result.typed = true;
        // Shift holds for one character only; CAP stays latched.
        if (m_shift) {
            m_shift = false;
            result.captionsChanged = true;
        }
        break;
    }
    return result;
}

void PasswordKeyboard::clearBuffer() {
    m_buffer.clear();
}
