#include "core/CodePage.h"

#include "core/LargePages.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <iconv.h>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// UTF-16 in the host's byte order, so that iconv writes straight into char16_t.
constexpr const char* kUtf16Name = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

const char* iconvName(int codePage) {
    switch (codePage) {
    case 874:
        return "CP874";
    case 932:
        return "CP932";
    case 936:
        return "CP936";
    case 949:
        return "CP949";
    case 950:
        return "CP950";
    case 1250:
        return "CP1250";
    case 1251:
        return "CP1251";
    case 1252:
        return "CP1252";
    case 1253:
        return "CP1253";
    case 1254:
        return "CP1254";
    case 1255:
        return "CP1255";
    case 1256:
        return "CP1256";
    case 1257:
        return "CP1257";
    case 1258:
        return "CP1258";
    case 10000:
        return "MACINTOSH";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

// Opened descriptors, one set per thread: an iconv descriptor carries state
// and must not be shared between threads without a lock.
class IconvCache {
public:
    ~IconvCache() {
        for (auto& [key, cd] : m_descriptors) {
            if (cd != reinterpret_cast<iconv_t>(-1)) {
                iconv_close(cd);
            }
        }
    }
    // The descriptor for one direction, or (iconv_t)-1 when glibc lacks the code page.
    iconv_t get(int codePage, bool toUtf16) {
        const int key = codePage * 2 + (toUtf16 ? 1 : 0);
        auto it = m_descriptors.find(key);
        if (it == m_descriptors.end()) {
            const char* name = iconvName(codePage);
            iconv_t cd = toUtf16 ? iconv_open(kUtf16Name, name) : iconv_open(name, kUtf16Name);
            it = m_descriptors.emplace(key, cd).first;
        }
        // Clear any shift state a previous conversion left behind.
        if (it->second != reinterpret_cast<iconv_t>(-1)) {
            iconv(it->second, nullptr, nullptr, nullptr, nullptr);
        }
        return it->second;
    }

private:
    std::unordered_map<int, iconv_t> m_descriptors;
};

IconvCache& cache() {
    thread_local IconvCache instance;
    return instance;
}

// Copies 16 characters as bytes when all of them are ASCII; false otherwise.
constexpr size_t kAsciiBlock = 16;
bool copyAsciiBlock(const char16_t* src, char* dst) {
#if defined(__SSE2__)
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 8));
    const __m128i high = _mm_and_si128(_mm_or_si128(a, b), _mm_set1_epi16(static_cast<short>(0xFF80)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) != 0xFFFF) {
        return false;
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(a, b));
    return true;
#else
    char16_t any = 0;
    for (size_t k = 0; k < kAsciiBlock; ++k) {
        any |= src[k];
    }
    if (any >= 0x80) {
        return false;
    }
    for (size_t k = 0; k < kAsciiBlock; ++k) {
        dst[k] = static_cast<char>(src[k]);
    }
    return true;
#endif
}

// Each character as its 1252 byte, '?' where 1252 has none.
void narrow1252(const char16_t* src, char* dst, size_t n, std::vector<size_t>* unrepresentable) {
    size_t i = 0;
    while (i < n) {
        // Mostly ASCII: whole blocks go at once.
        if (i + kAsciiBlock <= n && copyAsciiBlock(src + i, dst + i)) {
            i += kAsciiBlock;
            continue;
        }
        const size_t stop = std::min(n, i + kAsciiBlock);
        for (; i < stop; ++i) {
            const char16_t ch = src[i];
            const int b = ch < 0x80 ? ch : CodePage::toCp1252(ch);
            if (b >= 0) {
                dst[i] = static_cast<char>(b);
                continue;
            }
            dst[i] = CodePage::kDefaultChar;
            if (unrepresentable) {
                unrepresentable->push_back(i);
            }
        }
    }
}

// The ANSI bytes as UTF-16; runs of ASCII, which the table leaves as they
// are, sixteen at a time.
void widen1252(const char* src, char16_t* dst, size_t n) {
    size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        if (_mm_movemask_epi8(b) != 0) {
            for (size_t k = i; k < i + 16; ++k) {
                dst[k] = CodePage::fromCp1252(static_cast<uint8_t>(src[k]));
            }
            continue;
        }
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_unpacklo_epi8(b, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 8), _mm_unpackhi_epi8(b, zero));
    }
#endif
    for (; i < n; ++i) {
        dst[i] = CodePage::fromCp1252(static_cast<uint8_t>(src[i]));
    }
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

const char16_t CodePage::s_cp1252[256] = {
    0x0000,
    0x0001,
    0x0002,
    0x0003,
    0x0004,
    0x0005,
    0x0006,
    0x0007,
    0x0008,
    0x0009,
    0x000A,
    0x000B,
    0x000C,
    0x000D,
    0x000E,
    0x000F,
    0x0010,
    0x0011,
    0x0012,
    0x0013,
    0x0014,
    0x0015,
    0x0016,
    0x0017,
    0x0018,
    0x0019,
    0x001A,
    0x001B,
    0x001C,
    0x001D,
    0x001E,
    0x001F,
    0x0020,
    0x0021,
    0x0022,
    0x0023,
    0x0024,
    0x0025,
    0x0026,
    0x0027,
    0x0028,
    0x0029,
    0x002A,
    0x002B,
    0x002C,
    0x002D,
    0x002E,
    0x002F,
    0x0030,
    0x0031,
    0x0032,
    0x0033,
    0x0034,
    0x0035,
    0x0036,
    0x0037,
    0x0038,
    0x0039,
    0x003A,
    0x003B,
    0x003C,
    0x003D,
    0x003E,
    0x003F,
    0x0040,
    0x0041,
    0x0042,
    0x0043,
    0x0044,
    0x0045,
    0x0046,
    0x0047,
    0x0048,
    0x0049,
    0x004A,
    0x004B,
    0x004C,
    0x004D,
    0x004E,
    0x004F,
    0x0050,
    0x0051,
    0x0052,
    0x0053,
    0x0054,
    0x0055,
    0x0056,
    0x0057,
    0x0058,
    0x0059,
    0x005A,
    0x005B,
    0x005C,
    0x005D,
    0x005E,
    0x005F,
    0x0060,
    0x0061,
    0x0062,
    0x0063,
    0x0064,
    0x0065,
    0x0066,
    0x0067,
    0x0068,
    0x0069,
    0x006A,
    0x006B,
    0x006C,
    0x006D,
    0x006E,
    0x006F,
    0x0070,
    0x0071,
    0x0072,
    0x0073,
    0x0074,
    0x0075,
    0x0076,
    0x0077,
    0x0078,
    0x0079,
    0x007A,
    0x007B,
    0x007C,
    0x007D,
    0x007E,
    0x007F,
    // 0x80 - 0x9F: the 1252 specials; the five undefined bytes keep their own value.
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
    // 0xA0 - 0xFF: Latin-1.
    0x00A0,
    0x00A1,
    0x00A2,
    0x00A3,
    0x00A4,
    0x00A5,
    0x00A6,
    0x00A7,
    0x00A8,
    0x00A9,
    0x00AA,
    0x00AB,
    0x00AC,
    0x00AD,
    0x00AE,
    0x00AF,
    0x00B0,
    0x00B1,
    0x00B2,
    0x00B3,
    0x00B4,
    0x00B5,
    0x00B6,
    0x00B7,
    0x00B8,
    0x00B9,
    0x00BA,
    0x00BB,
    0x00BC,
    0x00BD,
    0x00BE,
    0x00BF,
    0x00C0,
    0x00C1,
    0x00C2,
    0x00C3,
    0x00C4,
    0x00C5,
    0x00C6,
    0x00C7,
    0x00C8,
    0x00C9,
    0x00CA,
    0x00CB,
    0x00CC,
    0x00CD,
    0x00CE,
    0x00CF,
    0x00D0,
    0x00D1,
    0x00D2,
    0x00D3,
    0x00D4,
    0x00D5,
    0x00D6,
    0x00D7,
    0x00D8,
    0x00D9,
    0x00DA,
    0x00DB,
    0x00DC,
    0x00DD,
    0x00DE,
    0x00DF,
    0x00E0,
    0x00E1,
    0x00E2,
    0x00E3,
    0x00E4,
    0x00E5,
    0x00E6,
    0x00E7,
    0x00E8,
    0x00E9,
    0x00EA,
    0x00EB,
    0x00EC,
    0x00ED,
    0x00EE,
    0x00EF,
    0x00F0,
    0x00F1,
    0x00F2,
    0x00F3,
    0x00F4,
    0x00F5,
    0x00F6,
    0x00F7,
    0x00F8,
    0x00F9,
    0x00FA,
    0x00FB,
    0x00FC,
    0x00FD,
    0x00FE,
    0x00FF,
};

bool CodePage::isSupported(int codePage) {
    return iconvName(codePage) != nullptr;
}

bool CodePage::isDoubleByte(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

bool CodePage::isLeadByte(int codePage, uint8_t byte) {
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

int CodePage::toCp1252(char16_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
        return ch;
    }
    for (int b = 0x80; b < 0xA0; ++b) {
        if (s_cp1252[b] == ch) {
            return b;
        }
    }
    return -1;
}

namespace {

// Runs one conversion over the whole input into `out` (starting at `used`),
// growing it as needed and flushing held-back characters at the end. At each
// invalid or cut-off sequence `onBad(offset, cutOff)` appends a replacement and
// says how many input bytes to skip.
template <typename Buffer, typename OnBad>
void runIconv(iconv_t cd, const char* data, size_t size, Buffer& out, size_t& used, OnBad onBad) {
    using Unit = typename Buffer::value_type;
    char* in = const_cast<char*>(data);
    size_t inLeft = size;
    for (;;) {
        if (out.size() - used < 16) {
            out.resize(out.size() + out.size() / 2 + 32);
        }
        char* dst = reinterpret_cast<char*>(out.data() + used);
        size_t outLeft = (out.size() - used) * sizeof(Unit);
        const size_t before = outLeft;
        const bool flushing = inLeft == 0;
        const size_t rc =
            flushing ? iconv(cd, nullptr, nullptr, &dst, &outLeft) : iconv(cd, &in, &inLeft, &dst, &outLeft);
        const int err = errno;
        used += (before - outLeft) / sizeof(Unit);
        if (rc != static_cast<size_t>(-1)) {
            if (flushing) {
                return;
            }
            continue;
        }
        if (err == E2BIG) {
            out.resize(out.size() + out.size() / 2 + 32);
            continue;
        }
        if (flushing) {
            return;
        }
        if (used == out.size()) {
            out.resize(out.size() + 32);
        }
        const size_t skip = std::min(inLeft, onBad(static_cast<size_t>(in - data), err == EINVAL));
        in += skip;
        inLeft -= skip;
        // Start afresh after the bad spot.
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
}

} // namespace

std::u16string CodePage::toUtf16(std::string_view bytes, int codePage) {
    std::u16string out;
    appendUtf16(out, bytes, codePage);
    return out;
}

void CodePage::appendUtf16(std::u16string& out, std::string_view bytes, int codePage) {
    iconv_t cd = codePage == kAnsi || !isSupported(codePage) ? reinterpret_cast<iconv_t>(-1)
                                                             : cache().get(codePage, true);
    size_t used = out.size();
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (out.capacity() < used + bytes.size())
            LargePages::reserve(out, std::max(used + bytes.size(), 2 * out.capacity()));
        out.resize(used + bytes.size());
        widen1252(bytes.data(), out.data() + used, bytes.size());
        return;
    }
    out.resize(used + bytes.size() + 16);
    runIconv(cd, bytes.data(), bytes.size(), out, used, [&](size_t, bool cutOff) -> size_t {
        out[used++] = kReplacement;
        return cutOff ? bytes.size() : 1;
    });
    out.resize(used);
}

std::string CodePage::fromUtf16(std::u16string_view text, int codePage,
                                std::vector<size_t>* unrepresentable) {
    std::string out;
    iconv_t cd = codePage == kAnsi || !isSupported(codePage) ? reinterpret_cast<iconv_t>(-1)
                                                             : cache().get(codePage, false);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        LargePages::reserve(out, text.size());
        out.resize(text.size());
        narrow1252(text.data(), out.data(), text.size(), unrepresentable);
        return out;
    }
    size_t used = 0;
    out.resize(text.size() * 2 + 16);
    runIconv(cd, reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t), out, used,
             [&](size_t offset, bool cutOff) -> size_t {
                 const size_t index = offset / sizeof(char16_t);
                 out[used++] = kDefaultChar;
                 if (unrepresentable) {
                     unrepresentable->push_back(index);
                 }
                 if (cutOff) {
                     return text.size() * sizeof(char16_t);
                 }
                 // A character beyond the BMP is one character: skip both halves.
                 const bool pair = index + 1 < text.size() && isHighSurrogate(text[index]) &&
                                   isLowSurrogate(text[index + 1]);
                 return (pair ? 2 : 1) * sizeof(char16_t);
             });
    out.resize(used);
    return out;
}
