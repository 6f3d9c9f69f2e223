// Text as the game draws it: Windows-1250 strings at 7 points through FreeType.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/font/FontRasteriser.h"
#include "platform/font/FreeTypeFontRasteriser.h"

namespace kelvane {
namespace {

// Windows-1250 bytes of the status panel's texts.
const std::string Shields = "\x8At\xEDty:";                         // "Štíty:"
const std::string PrimaryReady = "Prim\xE1rn\xED zbra\xF2 je nabita.";  // "Primární zbraň je nabita."

class TextRasteriser : public ::testing::Test {
protected:
    static void SetUpTestSuite() { font_ = std::make_unique<FreeTypeFontRasteriser>(); }
    static void TearDownTestSuite() { font_.reset(); }

    static TextCoverage Render(const std::string& text, const FontSpec& spec = FontSpec{}) {
        TextCoverage coverage;
        font_->Render(spec, text, coverage);
        return coverage;
    }
    static int Inked(const TextCoverage& coverage) {
        return static_cast<int>(std::count_if(coverage.Alpha.begin(), coverage.Alpha.end(),
                                              [](uint8_t a) { return a > 0; }));
    }
    // The first row with any ink, or Height when there is none.
    static int TopInkRow(const TextCoverage& coverage) {
        for (int y = 0; y < coverage.Height; ++y)
            for (int x = 0; x < coverage.Width; ++x)
                if (coverage.Alpha[static_cast<size_t>(y) * coverage.Width + x] > 0) return y;
        return coverage.Height;
    }
    static int FullRows(const TextCoverage& coverage) {
        int rows = 0;
        for (int y = 0; y < coverage.Height; ++y) {
            auto row = coverage.Alpha.begin() + static_cast<ptrdiff_t>(y) * coverage.Width;
            if (std::all_of(row, row + coverage.Width, [](uint8_t a) { return a == 255; })) ++rows;
        }
        return rows;
    }

    static std::unique_ptr<FreeTypeFontRasteriser> font_;
};

std::unique_ptr<FreeTypeFontRasteriser> TextRasteriser::font_;

TEST_F(TextRasteriser, StatusTextsRenderIntoACellAsWideAsTheirMeasuredWidth) {
    const FontSpec standard;
    for (const std::string& text : {Shields, PrimaryReady}) {
        SCOPED_TRACE(text);
        const TextCoverage coverage = Render(text);
        EXPECT_EQ(coverage.Width, font_->TextWidth(standard, text));
        EXPECT_EQ(coverage.Height, font_->CellHeight(standard));
        ASSERT_EQ(coverage.Alpha.size(), static_cast<size_t>(coverage.Width) * coverage.Height);
        EXPECT_GT(Inked(coverage), coverage.Width);
    }
    // 7 points on a 96-dpi screen are 9 1/3 pixels: a cell of about a dozen rows, and the
    // panel's longest ready text well inside the 280 pixels between panel and screen edge.
    EXPECT_GE(font_->CellHeight(standard), 10);
    EXPECT_LE(font_->CellHeight(standard), 14);
    EXPECT_GT(font_->TextWidth(standard, PrimaryReady), 100);
    EXPECT_LT(font_->TextWidth(standard, PrimaryReady), 200);
}

TEST_F(TextRasteriser, AccentedLettersDifferFromTheirBaseLetters) {
    // s/š, S/Š, e/é/ě, r/ř, u/ú/ů, y/ý, z/ž, c/č, a/á, i/í, and the bare accents' bytes.
    const std::pair<std::string, std::string> pairs[] = {
        {"s", "\x9A"}, {"S", "\x8A"}, {"e", "\xE9"}, {"e", "\xEC"}, {"\xE9", "\xEC"}, {"r", "\xF8"},
        {"u", "\xFA"}, {"u", "\xF9"}, {"\xFA", "\xF9"}, {"y", "\xFD"}, {"z", "\x9E"}, {"c", "\xE8"},
        {"a", "\xE1"}, {"i", "\xED"}, {"E", "\xCC"}, {"R", "\xD8"}, {"U", "\xD9"}, {"Z", "\x8E"},
        {"\xA1", "\xB4"}, {"\xB0", "\xA7"}, {"\xA8", "\xB4"},
    };
    for (const auto& [plain, accented] : pairs) {
        SCOPED_TRACE(plain + " / " + accented);
        const TextCoverage a = Render(plain);
        const TextCoverage b = Render(accented);
        EXPECT_GT(Inked(b), 0);
        EXPECT_NE(a.Alpha, b.Alpha);
    }
    // The caron of š reaches above the top of s.
    EXPECT_LT(TopInkRow(Render("\x9A")), TopInkRow(Render("s")));
}

TEST_F(TextRasteriser, WidthGrowsWithEveryLetterAndAddsUp) {
    const FontSpec standard;
    int previous = 0;
    for (size_t length = 1; length <= PrimaryReady.size(); ++length) {
        const std::string prefix = PrimaryReady.substr(0, length);
        const int width = font_->TextWidth(standard, prefix);
        EXPECT_GT(width, previous) << prefix;
        // No kerning: the score column is right-aligned by this width.
        EXPECT_EQ(width, previous + font_->TextWidth(standard, PrimaryReady.substr(length - 1, 1))) << prefix;
        previous = width;
    }
}

TEST_F(TextRasteriser, EmptyTextHasNoWidthAndNoPixels) {
    const TextCoverage coverage = Render("");
    EXPECT_EQ(coverage.Width, 0);
    EXPECT_TRUE(coverage.Alpha.empty());
    EXPECT_EQ(font_->TextWidth(FontSpec{}, ""), 0);
}

TEST_F(TextRasteriser, SizeAndBoldChangeTheMetrics) {
    FontSpec large;
    large.SizePoints = 14;
    EXPECT_GT(font_->TextWidth(large, Shields), font_->TextWidth(FontSpec{}, Shields));
    EXPECT_GT(font_->CellHeight(large), font_->CellHeight(FontSpec{}));
    FontSpec bold;
    bold.Bold = true;
    EXPECT_GT(Inked(Render(PrimaryReady, bold)), Inked(Render(PrimaryReady)));
    FontSpec italic;
    italic.Italic = true;
    EXPECT_NE(Render(PrimaryReady, italic).Alpha, Render(PrimaryReady).Alpha);
}

TEST_F(TextRasteriser, UnderlineAndStrikeOutDrawFullLines) {
    EXPECT_EQ(FullRows(Render(Shields)), 0);
    FontSpec underline;
    underline.Underline = true;
    EXPECT_GE(FullRows(Render(Shields, underline)), 1);
    FontSpec strike;
    strike.StrikeOut = true;
    const TextCoverage struck = Render(Shields, strike);
    EXPECT_GE(FullRows(struck), 1);
    FontSpec both = underline;
    both.StrikeOut = true;
    EXPECT_GE(FullRows(Render(Shields, both)), FullRows(struck) + 1);
}

TEST_F(TextRasteriser, OddSizesAndUnknownFacesStillDraw) {
    for (int size : {-5, 0, 1, 255, 1000}) {
        FontSpec spec;
        spec.SizePoints = size;
        const TextCoverage coverage = Render("Kelvane", spec);
        EXPECT_EQ(coverage.Alpha.size(), static_cast<size_t>(coverage.Width) * coverage.Height) << size;
        EXPECT_GT(coverage.Width, 0) << size;
    }
    FontSpec unknown;
    unknown.Face = "No Such Face At All";
    EXPECT_GT(Inked(Render(Shields, unknown)), 0);
}

TEST(FontRasteriserFactory, MakesAWorkingRasteriser) {
    std::unique_ptr<IFontRasteriser> font = MakeFontRasteriser();
    ASSERT_NE(font, nullptr);
    EXPECT_GT(font->TextWidth(FontSpec{}, Shields), 0);
}

}  // namespace
}  // namespace kelvane
