#pragma once
// The state of the on-screen password keyboard, without any widget: the 50
// keys, their captions under CAP and Shift, and the characters typed so far.
// The password dialog shows the keys and passes clicks here.

#include <QString>

class PasswordKeyboard {
public:
    static constexpr int kKeyCount = 50;
    static constexpr int kRowCount = 4;

    enum class KeyKind { Character, Cap, Shift, Clear };

    // Where a key sits, in half key pitches from the left of its row, and how
    // many half pitches it spans (ordinary keys span two).
    struct KeyPlace {
        int row;
        int halfColumn;
        int halfWidth;
    };

    // What a key press did, so that the view knows what to redraw.
    struct PressResult {
        bool typed = false;           // one character went into the buffer
        bool cleared = false;         // the buffer was emptied
        bool captionsChanged = false; // CAP or Shift changed what the keys show
    };

    static KeyKind kind(int key);
    static KeyPlace place(int key);

    // The caption the key shows now; a button shows "&&" as one ampersand.
    QString caption(int key) const;
    // The character a key types now (the shown character, not the "&&" escape).
    QString typedText(int key) const;

    PressResult press(int key);

    // Empties the typed characters; CAP and Shift stay as they are.
    void clearBuffer();

    const QString& buffer() const { return m_buffer; }
    bool caps() const { return m_caps; }
    bool shift() const { return m_shift; }

private:
    bool shifted() const { return m_caps || m_shift; }

    QString m_buffer;
    bool m_caps = false;
    bool m_shift = false;
};
