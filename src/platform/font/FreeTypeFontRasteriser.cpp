#include "platform/font/FreeTypeFontRasteriser.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include "base/Windows1250.h"
#include "base/Rounding.h"

namespace kelvane {

namespace {

constexpr int ScreenDpi = 96;
// Sizes the game could ask for are 0..255 points; a size below 1 point draws at 1.
constexpr int SmallestPoints = 1;
constexpr int LargestPoints = 255;
// Light hinting (vertical only) keeps the letters' own widths at 9 1/3 pixels; full
// hinting, the auto-hinter and monochrome hinting all spaced the 7-point texts unevenly.
constexpr FT_Int32 LoadFlags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT;

int PixelsFrom26Dot6(FT_Pos value) { return RoundEven(static_cast<double>(value) / 64.0); }
// Cell edges are rounded outward so that no glyph of the face reaches past them.
int CeilFrom26Dot6(FT_Pos value) { return static_cast<int>((value + 63) >> 6); }
int FloorFrom26Dot6(FT_Pos value) { return static_cast<int>(value >> 6); }

struct Glyph {
    int Left = 0;  // from the pen position to the bitmap's left column
    int Top = 0;   // from the baseline up to the bitmap's top row
    int Width = 0;
    int Height = 0;
    int Advance = 0;
    std::vector<uint8_t> Alpha;
};

struct ResolvedFile {
    std::string Path;
    int Index = 0;
    bool Embolden = false;  // the family has no bold face: thicken the regular one
    bool HasMatrix = false;  // the family has no italic face: slant the regular one
    FT_Matrix Matrix{};
};

// One face at one size and style, with the glyphs rendered so far.
struct SizedFace {
    FT_Face Face = nullptr;
    ResolvedFile File;
    int Ascender = 0;
    int Descender = 0;  // negative: below the baseline
    int UnderlineTop = 0;  // rows below the baseline
    int UnderlineThickness = 1;
    int StrikeTop = 0;  // rows above the baseline
    int StrikeThickness = 1;
    std::unordered_map<char32_t, Glyph> Glyphs;

    ~SizedFace() {
        if (Face) FT_Done_Face(Face);
    }
};

using FaceKey = std::tuple<std::string, int, bool, bool>;

}  // namespace

struct FreeTypeFontRasteriser::Impl {
    FT_Library Library = nullptr;
    FcConfig* Config = nullptr;
    std::map<FaceKey, std::unique_ptr<SizedFace>> Faces;

    ~Impl() {
        Faces.clear();
        if (Library) FT_Done_FreeType(Library);
        if (Config) FcConfigDestroy(Config);
    }

    bool Resolve(const FontSpec& font, ResolvedFile& file);
    std::unique_ptr<SizedFace> Open(const FontSpec& font, int points);
    SizedFace& FaceFor(const FontSpec& font);
    const Glyph& GlyphFor(SizedFace& face, char32_t code);
};

bool FreeTypeFontRasteriser::Impl::Resolve(const FontSpec& font, ResolvedFile& file) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(font.Face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, font.Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, font.Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(Config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(Config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;

    FcChar8* path = nullptr;
    int index = 0;
    FcBool embolden = FcFalse;
    FcMatrix* matrix = nullptr;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path;
    if (found) {
        file.Path = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) file.Index = index;
        if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch) file.Embolden = embolden;
        if (FcPatternGetMatrix(match, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix) {
            file.HasMatrix = true;
            file.Matrix.xx = static_cast<FT_Fixed>(matrix->xx * 0x10000);
            file.Matrix.xy = static_cast<FT_Fixed>(matrix->xy * 0x10000);
            file.Matrix.yx = static_cast<FT_Fixed>(matrix->yx * 0x10000);
            file.Matrix.yy = static_cast<FT_Fixed>(matrix->yy * 0x10000);
        }
    }
    FcPatternDestroy(match);
    return found;
}

std::unique_ptr<SizedFace> FreeTypeFontRasteriser::Impl::Open(const FontSpec& font, int points) {
    auto sized = std::make_unique<SizedFace>();
    if (!Resolve(font, sized->File)) return nullptr;
    if (FT_New_Face(Library, sized->File.Path.c_str(), sized->File.Index, &sized->Face) != 0) {
        sized->Face = nullptr;
        return nullptr;
    }
    FT_Face face = sized->Face;
    const FT_F26Dot6 size = static_cast<FT_F26Dot6>(points) * 64;
    if (FT_Set_Char_Size(face, 0, size, ScreenDpi, ScreenDpi) != 0) return nullptr;

    const FT_Size_Metrics& metrics = face->size->metrics;
    sized->Ascender = CeilFrom26Dot6(metrics.ascender);
    sized->Descender = FloorFrom26Dot6(metrics.descender);
    if (sized->Ascender - sized->Descender <= 0) {
        // A face without vertical metrics: a cell of one line height from the em size.
        sized->Ascender = CeilFrom26Dot6(metrics.y_ppem * 64 * 4 / 5);
        sized->Descender = sized->Ascender - std::max<int>(1, metrics.y_ppem);
    }

    const FT_Fixed yScale = metrics.y_scale;
    sized->UnderlineThickness = std::max(1, PixelsFrom26Dot6(FT_MulFix(face->underline_thickness, yScale)));
    sized->UnderlineTop = std::max(1, PixelsFrom26Dot6(-FT_MulFix(face->underline_position, yScale)) -
                                          sized->UnderlineThickness / 2);
    FT_Short strikePosition = static_cast<FT_Short>(face->units_per_EM / 4);
    FT_Short strikeSize = face->underline_thickness;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF) {
        if (os2->yStrikeoutPosition > 0) strikePosition = os2->yStrikeoutPosition;
        if (os2->yStrikeoutSize > 0) strikeSize = os2->yStrikeoutSize;
    }
    sized->StrikeThickness = std::max(1, PixelsFrom26Dot6(FT_MulFix(strikeSize, yScale)));
    sized->StrikeTop = PixelsFrom26Dot6(FT_MulFix(strikePosition, yScale)) + sized->StrikeThickness / 2;
    if (sized->File.HasMatrix) FT_Set_Transform(face, &sized->File.Matrix, nullptr);
    return sized;
}

SizedFace& FreeTypeFontRasteriser::Impl::FaceFor(const FontSpec& font) {
    const int points = std::clamp(font.SizePoints, SmallestPoints, LargestPoints);
    const FaceKey key{font.Face, points, font.Bold, font.Italic};
    auto found = Faces.find(key);
    if (found != Faces.end()) return *found->second;

    std::unique_ptr<SizedFace> sized = Open(font, points);
    if (!sized) {
        // A style or size that will not load falls back to the plain default face; that
        // one loaded when the rasteriser was made.
        FontSpec plain;
        plain.SizePoints = points;
        sized = Open(plain, points);
        if (!sized) throw std::runtime_error("Font cannot be loaded: " + font.Face);
    }
    return *Faces.emplace(key, std::move(sized)).first->second;
}

const Glyph& FreeTypeFontRasteriser::Impl::GlyphFor(SizedFace& sized, char32_t code) {
    auto found = sized.Glyphs.find(code);
    if (found != sized.Glyphs.end()) return found->second;

    Glyph glyph;
    FT_Face face = sized.Face;
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (FT_Load_Glyph(face, index, LoadFlags) == 0) {
        FT_GlyphSlot slot = face->glyph;
        if (sized.File.Embolden) FT_GlyphSlot_Embolden(slot);
        glyph.Advance = PixelsFrom26Dot6(slot->advance.x);
        const bool rendered = FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0;
        if (rendered && slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
            const FT_Bitmap& bitmap = slot->bitmap;
            glyph.Left = slot->bitmap_left;
            glyph.Top = slot->bitmap_top;
            glyph.Width = static_cast<int>(bitmap.width);
            glyph.Height = static_cast<int>(bitmap.rows);
            glyph.Alpha.resize(static_cast<size_t>(glyph.Width) * static_cast<size_t>(glyph.Height));
            for (int y = 0; y < glyph.Height; ++y) {
                const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
                auto to = glyph.Alpha.begin() + static_cast<ptrdiff_t>(y) * glyph.Width;
                std::copy(row, row + glyph.Width, to);
            }
        }
    }
    return sized.Glyphs.emplace(code, std::move(glyph)).first->second;
}

FreeTypeFontRasteriser::FreeTypeFontRasteriser() : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->Library) != 0) {
        impl_->Library = nullptr;
        throw std::runtime_error("Text cannot be drawn: FreeType does not start");
    }
    impl_->Config = FcInitLoadConfigAndFonts();
    if (!impl_->Config) throw std::runtime_error("Text cannot be drawn: Fontconfig does not start");
    const FontSpec standard;
    std::unique_ptr<SizedFace> face = impl_->Open(standard, standard.SizePoints);
    if (!face) throw std::runtime_error("Text cannot be drawn: no font found for \"" + standard.Face + "\"");
    impl_->Faces.emplace(FaceKey{standard.Face, standard.SizePoints, false, false}, std::move(face));
}

FreeTypeFontRasteriser::~FreeTypeFontRasteriser() = default;

int FreeTypeFontRasteriser::TextWidth(const FontSpec& font, std::string_view text) {
    SizedFace& face = impl_->FaceFor(font);
    int width = 0;
    for (char byte : text)
        width += impl_->GlyphFor(face, Windows1250ToUnicode(static_cast<uint8_t>(byte))).Advance;
    return width;
}

int FreeTypeFontRasteriser::CellHeight(const FontSpec& font) {
    const SizedFace& face = impl_->FaceFor(font);
    return face.Ascender - face.Descender;
}

void FreeTypeFontRasteriser::Render(const FontSpec& font, std::string_view text, TextCoverage& out) {
    SizedFace& face = impl_->FaceFor(font);
    out.Width = TextWidth(font, text);
    out.Height = face.Ascender - face.Descender;
    out.Alpha.assign(static_cast<size_t>(std::max(0, out.Width)) * static_cast<size_t>(out.Height), 0);
    if (out.Width <= 0) return;

    // Glyphs are clipped to the text cell: what the cell's width does not cover (the
    // overhang of a slanted last letter) is not drawn, as the width reported says.
    int pen = 0;
    for (char byte : text) {
        const Glyph& glyph = impl_->GlyphFor(face, Windows1250ToUnicode(static_cast<uint8_t>(byte)));
        const int left = pen + glyph.Left;
        const int top = face.Ascender - glyph.Top;
        const int x0 = std::max(0, -left);
        const int x1 = std::min(glyph.Width, out.Width - left);
        const int y0 = std::max(0, -top);
        const int y1 = std::min(glyph.Height, out.Height - top);
        for (int y = y0; y < y1; ++y) {
            const uint8_t* from = glyph.Alpha.data() + static_cast<size_t>(y) * glyph.Width;
            uint8_t* to = out.Alpha.data() + static_cast<size_t>(top + y) * out.Width;
            for (int x = x0; x < x1; ++x) to[left + x] = std::max(to[left + x], from[x]);
        }
        pen += glyph.Advance;
    }

    auto drawLine = [&out](int top, int thickness) {
        const int first = std::clamp(top, 0, out.Height);
        const int last = std::clamp(top + thickness, 0, out.Height);
        std::fill(out.Alpha.begin() + static_cast<ptrdiff_t>(first) * out.Width,
                  out.Alpha.begin() + static_cast<ptrdiff_t>(last) * out.Width, uint8_t{255});
    };
    if (font.Underline) {
        // Kept inside the cell even where the face puts its underline below the descender.
        const int top = std::min(face.Ascender + face.UnderlineTop, out.Height - face.UnderlineThickness);
        drawLine(top, face.UnderlineThickness);
    }
    if (font.StrikeOut) drawLine(face.Ascender - face.StrikeTop, face.StrikeThickness);
}

}  // namespace kelvane
