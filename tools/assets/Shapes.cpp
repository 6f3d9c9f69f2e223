// Polygon tests used by the hull and panel painters.

#include "Shapes.h"

#include <algorithm>
#include <limits>

#include "Paint.h"

namespace kelvane::assets {

bool InsidePolygon(const Polygon& poly, float x, float y) {
    bool inside = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Vec2& a = poly[i];
        const Vec2& b = poly[j];
        if ((a.Y > y) != (b.Y > y) && x < (b.X - a.X) * (y - a.Y) / (b.Y - a.Y) + a.X) inside = !inside;
    }
    return inside;
}

float PixelCoverage(const Polygon& poly, int x, int y, int n) {
    int hits = 0;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            if (InsidePolygon(poly, x + (i + 0.5f) / n, y + (j + 0.5f) / n)) ++hits;
    return static_cast<float>(hits) / (n * n);
}

float EdgeDistance(const Polygon& poly, float x, float y) {
    float best = std::numeric_limits<float>::max();
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
        best = std::min(best, SegmentDistance(x, y, poly[j].X, poly[j].Y, poly[i].X, poly[i].Y));
    return best;
}

Polygon ChamferedRect(float x0, float y0, float x1, float y1, float tl, float tr, float br, float bl) {
    Polygon p;
    auto corner = [&p](float cut, Vec2 a, Vec2 corner, Vec2 b) {
        if (cut <= 0) {
            p.push_back(corner);
            return;
        }
        p.push_back({corner.X + (a.X - corner.X) * cut, corner.Y + (a.Y - corner.Y) * cut});
        p.push_back({corner.X + (b.X - corner.X) * cut, corner.Y + (b.Y - corner.Y) * cut});
    };
    // Unit direction vectors toward the neighbouring corners make `cut` a length in pixels.
    corner(tl, {x0, y0 + 1}, {x0, y0}, {x0 + 1, y0});
    corner(tr, {x1 - 1, y0}, {x1, y0}, {x1, y0 + 1});
    corner(br, {x1, y1 - 1}, {x1, y1}, {x1 - 1, y1});
    corner(bl, {x0 + 1, y1}, {x0, y1}, {x0, y1 - 1});
    return p;
}

Polygon MirrorHalf(const Polygon& right, float cx, float cy) {
    Polygon p;
    for (const Vec2& v : right) p.push_back({cx + v.X, cy + v.Y});
    for (auto it = right.rbegin(); it != right.rend(); ++it)
        if (it->X > 0) p.push_back({cx - it->X, cy + it->Y});
    return p;
}

Polygon Transform(const Polygon& poly, float scale, float dx, float dy) {
    Polygon p;
    for (const Vec2& v : poly) p.push_back({v.X * scale + dx, v.Y * scale + dy});
    return p;
}

}  // namespace kelvane::assets
