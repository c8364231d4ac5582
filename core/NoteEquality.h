#pragma once
// Whether two records are equal, as NoteRecord's == tells, but with the texts
// compared as blocks of memory rather than one character after another: a
// merge compares every record of two databases of a hundred thousand.

#include "core/NoteRecord.h"

bool SameNote(const NoteRecord& a, const NoteRecord& b);
