// The colour-name table of archive colour properties.

#include "media/ColourIdentifiers.h"

#include <array>

namespace kelvane {

namespace {

struct ColourName {
    const char* Name;
    uint32_t Value;
};

constexpr uint32_t System = 0x80000000u;

constexpr std::array<ColourName, 49> ColourNames{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", System + 0},
    {"clBackground", System + 1},
    {"clActiveCaption", System + 2},
    {"clInactiveCaption", System + 3},
    {"clMenu", System + 4},
    {"clWindow", System + 5},
    {"clWindowFrame", System + 6},
    {"clMenuText", System + 7},
    {"clWindowText", System + 8},
    {"clCaptionText", System + 9},
    {"clActiveBorder", System + 10},
    {"clInactiveBorder", System + 11},
    {"clAppWorkSpace", System + 12},
    {"clHighlight", System + 13},
    {"clHighlightText", System + 14},
    {"clBtnFace", System + 15},
    {"clBtnShadow", System + 16},
    {"clGrayText", System + 17},
    {"clBtnText", System + 18},
    {"clInactiveCaptionText", System + 19},
    {"clBtnHighlight", System + 20},
    {"cl3DDkShadow", System + 21},
    {"cl3DLight", System + 22},
    {"clInfoText", System + 23},
    {"clInfoBk", System + 24},
    {"clGradientActiveCaption", System + 27},
    {"clGradientInactiveCaption", System + 28},
}};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

}  // namespace

std::optional<uint32_t> ColourFromIdentifier(std::string_view name) {
    for (const ColourName& entry : ColourNames)
        if (SameName(entry.Name, name)) return entry.Value;
    return std::nullopt;
}

const char* IdentifierOfColour(uint32_t value) {
    for (const ColourName& entry : ColourNames)
        if (entry.Value == value) return entry.Name;
    return nullptr;
}

}  // namespace kelvane
