#pragma once
// Overwrites memory that held a secret (a password, a key, deciphered
// records) before it is given back, so that freed memory, swap or a core
// file does not keep it. The compiler may not leave the stores out.

#include <cstddef>
#include <string>
#include <vector>

void WipeMemory(void* data, size_t size);

// Wipes the whole buffer the string owns and leaves it empty.
template <class Char> void WipeString(std::basic_string<Char>& text) {
    WipeMemory(text.data(), (text.capacity() + 1) * sizeof(Char));
    text.clear();
}

template <class T> void WipeVector(std::vector<T>& items) {
    WipeMemory(items.data(), items.capacity() * sizeof(T));
    items.clear();
}

// Makes this process non-dumpable: a crash writes no core file holding the
// records, and other processes of the user cannot read its memory. Called
// first thing by every program.
void ForbidCoreDumps();
