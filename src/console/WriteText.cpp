#include "console/WriteText.h"

#include "media/Canvas.h"

namespace kelvane {

void WriteText(Surface& back, int32_t x, int32_t y, std::string_view text, uint32_t color, FontStyle style,
               uint8_t size) {
    Canvas& canvas = back.GetCanvas();
    // A clear brush keeps the text from painting a box behind itself.
    canvas.Brush.Style = BrushStyle::Clear;
    canvas.Font.Color = color;
    canvas.Font.Face = "Verdana";
    canvas.Font.SizePoints = size;
    canvas.Font.Bold = style.Has(FontStyle::Bold);
    canvas.Font.Italic = style.Has(FontStyle::Italic);
    canvas.Font.Underline = style.Has(FontStyle::Underline);
    canvas.Font.StrikeOut = style.Has(FontStyle::StrikeOut);
    canvas.TextOut(x, y, text);
    canvas.Brush.Style = BrushStyle::Solid;
    back.ReleaseCanvas();
}

}  // namespace kelvane
