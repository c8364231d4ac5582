#pragma once
// Takes one long string in pieces as the stream reader reads it, for text
// that need not be held whole in its stored form (a body shown as plain text).

#include <cstdint>
#include <string_view>

class StringPieces {
public:
    virtual ~StringPieces() = default;
    // The string's length in characters, before its first piece.
    virtual void start(uint64_t length) = 0;
    // The next characters, in order; the view is valid only during the call.
    virtual void piece(std::u16string_view text) = 0;
};
