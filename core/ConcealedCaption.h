#pragma once
// Whether a data field holds a secret, told by its caption: a field whose
// caption names a PIN, a card code, a password or the like is shown and
// reported without its value.

#include <string_view>

bool IsConcealedCaption(std::u16string_view caption);
