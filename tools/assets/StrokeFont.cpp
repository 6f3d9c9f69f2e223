// Glyph outlines of the built-in stroke font and its layout.

#include "StrokeFont.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

namespace kelvane::assets {

namespace {

// Polylines on the 4 x 6 grid ("x,y x,y ..."), separated by '|'.
const char* GlyphPath(char c) {
    static const std::map<char, const char*> glyphs = {
        {'A', "0,6 0,1 1,0 3,0 4,1 4,6|0,3.2 4,3.2"},
        {'B', "0,0 3,0 4,1 4,2 3,3 0,3|3,3 4,4 4,5 3,6 0,6 0,0"},
        {'C', "4,0 1,0 0,1 0,5 1,6 4,6"},
        {'D', "0,0 3,0 4,1 4,5 3,6 0,6 0,0"},
        {'E', "4,0 0,0 0,6 4,6|0,3 3,3"},
        {'F', "4,0 0,0 0,6|0,3 3,3"},
        {'G', "4,0 1,0 0,1 0,5 1,6 4,6 4,3.2 2,3.2"},
        {'H', "0,0 0,6|4,0 4,6|0,3 4,3"},
        {'I', "1,0 3,0|2,0 2,6|1,6 3,6"},
        {'J', "4,0 4,5 3,6 1,6 0,5"},
        {'K', "0,0 0,6|4,0 1,3 0,3|1,3 4,6"},
        {'L', "0,0 0,6 4,6"},
        {'M', "0,6 0,0 2,2.5 4,0 4,6"},
        {'N', "0,6 0,0 4,6 4,0"},
        {'O', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0"},
        {'P', "0,6 0,0 3,0 4,1 4,2 3,3 0,3"},
        {'Q', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0|2.5,4.5 4,6"},
        {'R', "0,6 0,0 3,0 4,1 4,2 3,3 0,3|2,3 4,6"},
        {'S', "4,0 1,0 0,1 0,2 1,3 3,3 4,4 4,5 3,6 0,6"},
        {'T', "0,0 4,0|2,0 2,6"},
        {'U', "0,0 0,5 1,6 3,6 4,5 4,0"},
        {'V', "0,0 2,6 4,0"},
        {'W', "0,0 1,6 2,3 3,6 4,0"},
        {'X', "0,0 4,6|4,0 0,6"},
        {'Y', "0,0 2,3 4,0|2,3 2,6"},
        {'Z', "0,0 4,0 0,6 4,6"},
        {'0', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0"},
        {'1', "1,1 2,0 2,6|1,6 3,6"},
        {'2', "0,1 1,0 3,0 4,1 4,2 0,6 4,6"},
        {'3', "0,1 1,0 3,0 4,1 4,2 3,3 4,4 4,5 3,6 1,6 0,5|1.5,3 3,3"},
        {'4', "3,6 3,0 0,4 4,4"},
        {'5', "4,0 0,0 0,3 3,3 4,4 4,5 3,6 0,6"},
        {'6', "3.5,0 1,0 0,1 0,5 1,6 3,6 4,5 4,4 3,3 0,3"},
        {'7', "0,0 4,0 1.5,6"},
        {'8', "1,0 3,0 4,1 4,2 3,3 1,3 0,2 0,1 1,0|1,3 0,4 0,5 1,6 3,6 4,5 4,4 3,3"},
        {'9', "0.5,6 3,6 4,5 4,1 3,0 1,0 0,1 0,2 1,3 4,3"},
        {'-', "1,3 3,3"},
        {'.', "1.8,5.6 2.2,6"},
        {':', "2,1.7 2,2.3|2,4.7 2,5.3"},
        {'/', "0,6 4,0"},
        {'>', "1,1 3,3 1,5"},
        {'<', "3,1 1,3 3,5"},
    };
    auto it = glyphs.find(c);
    return it == glyphs.end() ? nullptr : it->second;
}

constexpr float GlyphAdvance = 4.0f;
constexpr float BlankAdvance = 3.0f;

void AppendGlyph(std::vector<Stroke>& out, const char* path, float ox, float oy, float unit, float slant) {
    std::string text(path);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('|', start);
        if (end == std::string::npos) end = text.size();
        std::string polyline = text.substr(start, end - start);
        bool first = true;
        float px = 0, py = 0;
        const char* p = polyline.c_str();
        while (*p) {
            char* next = nullptr;
            float gx = std::strtof(p, &next);
            float gy = std::strtof(next + 1, &next);
            p = next;
            while (*p == ' ') ++p;
            float x = ox + gx * unit + (6 - gy) * unit * slant;
            float y = oy + gy * unit;
            if (!first) out.push_back({px, py, x, y});
            px = x;
            py = y;
            first = false;
        }
        start = end + 1;
    }
}

}  // namespace

std::vector<Stroke> LayoutText(std::string_view text, float x, float y, const TextStyle& style) {
    std::vector<Stroke> out;
    const float unit = style.Height / 6.0f;
    float cursor = x;
    for (char c : text) {
        const char* path = GlyphPath(c);
        if (path) {
            AppendGlyph(out, path, cursor, y, unit, style.Slant);
            cursor += (GlyphAdvance + style.Spacing) * unit;
        } else {
            cursor += (BlankAdvance + style.Spacing) * unit;
        }
    }
    return out;
}

float TextWidth(std::string_view text, const TextStyle& style) {
    const float unit = style.Height / 6.0f;
    float w = 0;
    for (char c : text) w += ((GlyphPath(c) ? GlyphAdvance : BlankAdvance) + style.Spacing) * unit;
    return text.empty() ? 0 : w - style.Spacing * unit;
}

void DrawStrokes(Layer& layer, const std::vector<Stroke>& strokes, float weight, Rgb colour, float alpha) {
    for (const Stroke& s : strokes) BlendLine(layer, s.X0, s.Y0, s.X1, s.Y1, weight, colour, alpha);
}

void GlowStrokes(Layer& layer, const std::vector<Stroke>& strokes, float radius, Rgb colour, float power) {
    // Overlapping strokes would stack their glow at the joints; take the strongest instead.
    Layer halo(layer.Width(), layer.Height());
    for (const Stroke& s : strokes) {
        int x0 = static_cast<int>(std::min(s.X0, s.X1) - radius - 1), x1 = static_cast<int>(std::max(s.X0, s.X1) + radius + 1);
        int y0 = static_cast<int>(std::min(s.Y0, s.Y1) - radius - 1), y1 = static_cast<int>(std::max(s.Y0, s.Y1) + radius + 1);
        for (int y = std::max(0, y0); y <= std::min(layer.Height() - 1, y1); ++y)
            for (int x = std::max(0, x0); x <= std::min(layer.Width() - 1, x1); ++x) {
                float d = SegmentDistance(x + 0.5f, y + 0.5f, s.X0, s.Y0, s.X1, s.Y1);
                if (d >= radius) continue;
                float k = std::pow(1 - d / radius, power);
                if (k > halo.At(x, y).R) halo.At(x, y).R = k;
            }
    }
    for (int y = 0; y < layer.Height(); ++y)
        for (int x = 0; x < layer.Width(); ++x)
            if (halo.At(x, y).R > 0) layer.Add(x, y, colour * halo.At(x, y).R);
}

}  // namespace kelvane::assets
