#include "core/LockRules.h"

#include "core/SecretWipe.h"
#include "core/Sha1.h"

#include <cstdio>

namespace {

Sha1::Digest passwordDigest(std::u16string_view password) {
    // A fixed label keeps the digest apart from the file key's digests.
    Sha1 sha;
    static constexpr char kLabel[] = "unlock:";
    sha.update(kLabel, sizeof kLabel - 1);
    sha.update(password.data(), password.size() * sizeof(char16_t));
    return sha.final();
}

} // namespace

bool IdleLockDue(int64_t lastInputMs, int64_t nowMs, int idleSeconds) {
    if (idleSeconds <= 0 || nowMs < lastInputMs)
        return false;
    return nowMs - lastInputMs >= static_cast<int64_t>(idleSeconds) * 1000;
}

bool PasswordMatches(std::u16string_view typed, std::u16string_view stored) {
    Sha1::Digest a = passwordDigest(typed);
    Sha1::Digest b = passwordDigest(stored);
    unsigned difference = 0;
    for (size_t i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned>(a[i] ^ b[i]);
    WipeMemory(a.data(), a.size());
    WipeMemory(b.data(), b.size());
    return difference == 0;
}

bool ClipboardStillOurs(std::u16string_view copied, std::u16string_view clipboardText) {
    return !copied.empty() && copied == clipboardText;
}

std::string SessionObjectPath(std::string_view sessionId) {
    std::string path = "/org/freedesktop/login1/session/";
    if (sessionId.empty())
        return path + "_";
    for (size_t i = 0; i < sessionId.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(sessionId[i]);
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (letter || (digit && i > 0)) {
            path += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "_%02x", c);
            path += escaped;
        }
    }
    return path;
}
