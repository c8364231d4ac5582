// The on-screen keyboard's state without the dialog: captions under CAP and
// Shift and what each key puts into the buffer.
#include "dialogs/PasswordKeyboard.h"

#include <gtest/gtest.h>

namespace {

using Kind = PasswordKeyboard::KeyKind;

int keyWithCaption(const PasswordKeyboard& keyboard, const QString& caption) {
    for (int i = 0; i < PasswordKeyboard::kKeyCount; ++i)
        if (keyboard.caption(i) == caption)
            return i;
    ADD_FAILURE() << "no key shows " << caption.toStdString();
    return 0;
}

int keyOfKind(Kind kind) {
    for (int i = 0; i < PasswordKeyboard::kKeyCount; ++i)
        if (PasswordKeyboard::kind(i) == kind)
            return i;
    ADD_FAILURE() << "no such key";
    return 0;
}

QString allCaptions(const PasswordKeyboard& keyboard) {
    QString all;
    for (int i = 0; i < PasswordKeyboard::kKeyCount; ++i)
        all += keyboard.caption(i) + QLatin1Char(' ');
    return all.trimmed();
}

} // namespace

TEST(PasswordKeyboard, FourRowsOfFiftyKeysInOrder) {
    PasswordKeyboard keyboard;
    EXPECT_EQ(allCaptions(keyboard), QStringLiteral("` 1 2 3 4 5 6 7 8 9 0 - = \\ "
                                                    "q w e r t y u i o p [ ] "
                                                    "CAP a s d f g h j k l ; ' "
                                                    "Shift z x c v b n m , . / Clear"));
    int perRow[PasswordKeyboard::kRowCount] = {};
    int previousRow = 0;
    int previousEnd = 0;
    for (int i = 0; i < PasswordKeyboard::kKeyCount; ++i) {
        const PasswordKeyboard::KeyPlace place = PasswordKeyboard::place(i);
        ASSERT_GE(place.row, previousRow) << "ids run row by row";
        if (place.row != previousRow)
            previousEnd = 0;
        // Keys of a row never overlap and run left to right.
        EXPECT_GE(place.halfColumn, previousEnd) << "key " << i;
        previousEnd = place.halfColumn + place.halfWidth;
        previousRow = place.row;
        ++perRow[place.row];
    }
    EXPECT_EQ(perRow[0], 14);
    EXPECT_EQ(perRow[1], 12);
    EXPECT_EQ(perRow[2], 12);
    EXPECT_EQ(perRow[3], 12);
    // Row 2 is indented by one key; CAP, Shift and Clear are wider than a key.
    EXPECT_EQ(PasswordKeyboard::place(keyWithCaption(keyboard, QStringLiteral("q"))).halfColumn, 2);
    for (Kind wide : {Kind::Cap, Kind::Shift, Kind::Clear})
        EXPECT_GT(PasswordKeyboard::place(keyOfKind(wide)).halfWidth, 2);
}

TEST(PasswordKeyboard, ShiftedCaptionsOfDigitsPunctuationAndLetters) {
    PasswordKeyboard keyboard;
    keyboard.press(keyOfKind(Kind::Shift));
    EXPECT_EQ(allCaptions(keyboard), QStringLiteral("~ ! @ # $ % ^ && * ( ) _ + | "
                                                    "Q W E R T Y U I O P { } "
                                                    "CAP A S D F G H J K L : \" "
                                                    "Shift Z X C V B N M < > ? Clear"));
    // CAP shifts the same keys.
    PasswordKeyboard capped;
    capped.press(keyOfKind(Kind::Cap));
    EXPECT_EQ(allCaptions(capped), allCaptions(keyboard));
}

TEST(PasswordKeyboard, ShiftHoldsForOneCharacterAndTheSevenTypesOneAmpersand) {
    PasswordKeyboard keyboard;
    const int seven = keyWithCaption(keyboard, QStringLiteral("7"));
    keyboard.press(keyOfKind(Kind::Shift));
    EXPECT_TRUE(keyboard.shift());
    EXPECT_EQ(keyboard.caption(seven), QStringLiteral("&&"));

    const PasswordKeyboard::PressResult first = keyboard.press(seven);
    EXPECT_TRUE(first.typed);
    EXPECT_TRUE(first.captionsChanged) << "the view must redraw the unshifted captions";
    EXPECT_FALSE(keyboard.shift());
    EXPECT_EQ(keyboard.caption(seven), QStringLiteral("7"));

    const PasswordKeyboard::PressResult second = keyboard.press(seven);
    EXPECT_FALSE(second.captionsChanged);
    EXPECT_EQ(keyboard.buffer(), QStringLiteral("&7"));
}

TEST(PasswordKeyboard, CapStaysLatchedAndCancelsShift) {
    PasswordKeyboard keyboard;
    const int one = keyWithCaption(keyboard, QStringLiteral("1"));
    const int a = keyWithCaption(keyboard, QStringLiteral("a"));
    const int cap = keyOfKind(Kind::Cap);

    keyboard.press(cap);
    keyboard.press(one);
    keyboard.press(a);
    EXPECT_EQ(keyboard.buffer(), QStringLiteral("!A"));
    EXPECT_TRUE(keyboard.caps());

    // CAP while Shift is armed: Shift goes off, CAP flips (here: released).
    keyboard.press(keyOfKind(Kind::Shift));
    EXPECT_TRUE(keyboard.shift());
    keyboard.press(cap);
    EXPECT_FALSE(keyboard.shift());
    EXPECT_FALSE(keyboard.caps());
    keyboard.press(a);
    EXPECT_EQ(keyboard.buffer(), QStringLiteral("!Aa"));

    // Shift pressed twice disarms itself without typing.
    keyboard.press(keyOfKind(Kind::Shift));
    keyboard.press(keyOfKind(Kind::Shift));
    EXPECT_FALSE(keyboard.shift());
    keyboard.press(a);
    EXPECT_EQ(keyboard.buffer(), QStringLiteral("!Aaa"));
}

TEST(PasswordKeyboard, ClearEmptiesTheBufferButKeepsCap) {
    PasswordKeyboard keyboard;
    keyboard.press(keyOfKind(Kind::Cap));
    keyboard.press(keyWithCaption(keyboard, QStringLiteral("Q")));
    const PasswordKeyboard::PressResult cleared = keyboard.press(keyOfKind(Kind::Clear));
    EXPECT_TRUE(cleared.cleared);
    EXPECT_FALSE(cleared.typed);
    EXPECT_TRUE(keyboard.buffer().isEmpty());
    EXPECT_TRUE(keyboard.caps());
    // The special keys type nothing.
    keyboard.press(keyOfKind(Kind::Shift));
    keyboard.press(keyOfKind(Kind::Cap));
    EXPECT_TRUE(keyboard.buffer().isEmpty());
}
