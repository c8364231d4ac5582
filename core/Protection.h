#pragma once
// The two kinds of database file. Compatible files (AES-256 under a key from
// the password's digest) open in every version and edition; strong files
// (a slow, salted key and every piece authenticated) open only in versions
// that know them. The kind is chosen per database.

enum class Protection { Compatible, Strong };
