// The Windows-1250 code page: bytes 0x80..0xFF and their Unicode characters.

#include "base/Windows1250.h"

#include <array>

namespace kelvane {

namespace {

// Unicode of bytes 0x80..0xFF; 0 marks the five bytes the code page leaves unused.
constexpr std::array<char16_t, 128> HighHalf{{
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
}};

}  // namespace

char32_t Windows1250ToUnicode(uint8_t byte) {
    if (byte < 0x80) return byte;
    const char16_t code = HighHalf[byte - 0x80];
    return code != 0 ? code : byte;
}

std::string Windows1250ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char byte : text) {
        const char32_t code = Windows1250ToUnicode(byte);
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

char UnicodeToWindows1250(char32_t ch) {
    if (ch < 0x80) return static_cast<char>(ch);
    if (ch <= 0xFFFF) {
        for (size_t i = 0; i < HighHalf.size(); ++i)
            if (HighHalf[i] != 0 && HighHalf[i] == ch) return static_cast<char>(0x80 + i);
    }
    return '?';
}

std::string Utf16ToWindows1250(const uint8_t* data, size_t count) {
    std::string text;
    text.reserve(count);
    auto unit = [data](size_t i) { return static_cast<char32_t>(data[2 * i] | (data[2 * i + 1] << 8)); };
    for (size_t i = 0; i < count; ++i) {
        char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
            ++i;  // a pair: a character outside the code page in any case
            text.push_back('?');
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            text.push_back('?');
        } else {
            text.push_back(UnicodeToWindows1250(u));
        }
    }
    return text;
}

namespace {

// One UTF-8 character starting at data[i]: its code point and length, or ok = false
// with the length of the bad sequence (it ends before the byte that broke it).
struct Utf8Char {
    char32_t Code = 0;
    size_t Length = 1;
    bool Ok = true;
};

Utf8Char NextUtf8Char(const uint8_t* data, size_t size, size_t i) {
    const uint8_t lead = data[i];
    const size_t extra = lead < 0x80            ? 0
                         : (lead & 0xE0) == 0xC0 ? 1
                         : (lead & 0xF0) == 0xE0 ? 2
                         : (lead & 0xF8) == 0xF0 ? 3
                                                 : 4;  // a stray continuation byte or 0xF8..0xFF
    if (extra == 0) return {lead, 1, true};
    char32_t ch = extra == 4 ? 0 : lead & (0x3F >> extra);
    size_t j = 1;
    bool ok = extra < 4;
    for (; ok && j <= extra; ++j) {
        if (i + j >= size || (data[i + j] & 0xC0) != 0x80) {
            ok = false;
            break;
        }
        ch = (ch << 6) | (data[i + j] & 0x3Fu);
    }
    // Overlong forms and surrogates are malformed too.
    static constexpr char32_t Smallest[4] = {0, 0x80, 0x800, 0x10000};
    if (ok && (ch < Smallest[extra] || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF))) ok = false;
    return {ch, ok ? extra + 1 : j, ok};
}

}  // namespace

std::string Utf8ToWindows1250(const uint8_t* data, size_t size) {
    std::string text;
    text.reserve(size);
    for (size_t i = 0; i < size;) {
        const Utf8Char ch = NextUtf8Char(data, size, i);
        text.push_back(ch.Ok ? UnicodeToWindows1250(ch.Code) : '?');
        i += ch.Length;
    }
    return text;
}

bool DecodeUtf8(std::string_view text, std::u32string& out) {
    const auto* data = reinterpret_cast<const uint8_t*>(text.data());
    for (size_t i = 0; i < text.size();) {
        const Utf8Char ch = NextUtf8Char(data, text.size(), i);
        if (!ch.Ok) return false;
        out.push_back(ch.Code);
        i += ch.Length;
    }
    return true;
}

}  // namespace kelvane
