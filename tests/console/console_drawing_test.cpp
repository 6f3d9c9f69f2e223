#include "console/ConsoleDrawing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/WriteText.h"
#include "media/Canvas.h"
#include "world/ConsoleLog.h"

namespace kelvane {
namespace {

// Renders every text as a solid box (its first column left blank) and remembers what
// it was asked for.
class BoxFont : public IFontRasteriser {
public:
    static constexpr int Height = 6;
    static int WidthOf(std::string_view text) { return static_cast<int>(3 * text.size()); }

    void Render(const FontSpec& font, std::string_view text, TextCoverage& out) override {
        calls.push_back({font, std::string(text)});
        out.Width = WidthOf(text);
        out.Height = Height;
        out.Alpha.assign(static_cast<size_t>(out.Width) * Height, 255);
        for (int y = 0; y < out.Height; ++y) out.Alpha[static_cast<size_t>(y) * out.Width] = 0;
    }
    int TextWidth(const FontSpec&, std::string_view text) override { return WidthOf(text); }

    struct Call {
        FontSpec font;
        std::string text;
    };
    std::vector<Call> calls;
};

uint32_t PixelOf(uint32_t color) { return ((color & 0xFF) << 16) | (color & 0xFF00) | (color >> 16); }

class ConsoleDrawingTest : public ::testing::Test {
protected:
    ConsoleDrawingTest() : back(ScreenWidth, ScreenHeight, &font) {}

    // The colour inside the box drawn on the row at y, or 0 when nothing is there.
    uint32_t RowInk(int32_t y) const { return back.Row(y + 1)[ConsoleTextX + 1]; }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const BoxFont::Call& call : font.calls) texts.push_back(call.text);
        return texts;
    }

    BoxFont font;
    Surface back;
    kelvane::World World;
};

TEST_F(ConsoleDrawingTest, OneLineTakesTheLowestRow) {
    AddConsoleLine(World, "only", ConsoleColor6);
    DrawConsole(back, World);
    EXPECT_EQ(Texts(), std::vector<std::string>{"only"});
    EXPECT_EQ(RowInk(745), PixelOf(ConsoleColor6));
    for (int32_t y : {690, 701, 712, 723, 734}) EXPECT_EQ(RowInk(y), 0u) << y;
}

TEST_F(ConsoleDrawingTest, TheFiveNewestLinesShowInTheirColours) {
    const uint32_t colors[] = {ConsoleColor1, ConsoleColor2, ConsoleColor3, ConsoleColor4,
                               ConsoleColor5, ConsoleColor6, ConsoleColor7};
    for (int i = 0; i < 7; ++i) AddConsoleLine(World, "line" + std::to_string(i + 1), colors[i]);
    DrawConsole(back, World);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"line3", "line4", "line5", "line6", "line7"}));
    for (int m = 1; m <= 5; ++m) EXPECT_EQ(RowInk(690 + 11 * m), PixelOf(colors[m + 1])) << m;
    EXPECT_EQ(RowInk(690), 0u) << "closed console: no input line";
}

TEST_F(ConsoleDrawingTest, AnyOtherFirstCharacterIsWhiteAndADigitAloneIsEmpty) {
    World.ConsoleLog = {"0zero", "8eight", "xtext", "7"};
    DrawConsole(back, World);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"zero", "eight", "text", ""}));
    for (int32_t y : {712, 723, 734}) EXPECT_EQ(RowInk(y), 0xFFFFFFu) << y;
    EXPECT_EQ(RowInk(745), 0u);
}

TEST_F(ConsoleDrawingTest, TheOpenConsoleShowsThePromptAndCursor) {
    World.ConsoleOpen = true;
    DrawConsole(back, World);
    World.InputLine = "yourship";
    DrawConsole(back, World);
    EXPECT_EQ(Texts(), (std::vector<std::string>{">> _", ">> yourship_"}));
    EXPECT_EQ(RowInk(690), PixelOf(ConsoleColor7));
    const FontSpec& spec = font.calls.back().font;
    EXPECT_EQ(spec.Face, "Verdana");
    EXPECT_EQ(spec.SizePoints, 7);
    EXPECT_FALSE(spec.Bold || spec.Italic || spec.Underline || spec.StrikeOut);
}

TEST_F(ConsoleDrawingTest, WriteTextDrawsNoBoxAndLeavesTheCanvasAsItFoundIt) {
    back.Fill(0x123456);
    WriteText(back, 100, 50, "ab", 0x0000FF, FontStyle(FontStyle::Bold) | FontStyle::StrikeOut, 12);
    ASSERT_EQ(font.calls.size(), 1u);
    const FontSpec& spec = font.calls[0].font;
    EXPECT_TRUE(spec.Bold && spec.StrikeOut);
    EXPECT_FALSE(spec.Italic || spec.Underline);
    EXPECT_EQ(spec.SizePoints, 12);
    EXPECT_EQ(back.Row(50)[100], 0x123456u) << "the blank column keeps the background";
    EXPECT_EQ(back.Row(50)[101], 0xFF0000u);
    EXPECT_EQ(back.Row(50)[100 + BoxFont::WidthOf("ab")], 0x123456u);
    EXPECT_FALSE(back.CanvasHeld());
    EXPECT_EQ(back.GetCanvas().Brush.Style, BrushStyle::Solid);
}

}  // namespace
}  // namespace kelvane
