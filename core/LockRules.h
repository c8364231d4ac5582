#pragma once
// The decisions behind locking a database and clearing a copied value,
// apart from the windows: when idle time has run out, whether a typed
// password is the database's, whether the clipboard still holds our copy,
// and where the login manager publishes our session.

#include <cstdint>
#include <string>
#include <string_view>

// True when `idleSeconds` (0: never) have passed on the wall clock since the
// last input. The wall clock goes on while the machine sleeps, so a resume
// after the time locks at once. A clock set back before the last input is
// not idle time.
bool IdleLockDue(int64_t lastInputMs, int64_t nowMs, int idleSeconds);

// Compares digests of both passwords in time that does not depend on where
// they differ.
bool PasswordMatches(std::u16string_view typed, std::u16string_view stored);

// True when the clipboard (or selection) still holds the value copied from
// here, so that clearing it takes nothing a person or another program put
// there since. An empty copy never counts.
bool ClipboardStillOurs(std::u16string_view copied, std::u16string_view clipboardText);

// The login manager's object path of session `sessionId`: letters and digits
// stay, every other byte (and a leading digit) becomes "_" and two hex digits.
std::string SessionObjectPath(std::string_view sessionId);
