// Median-cut colour reduction.

#include "Quantise.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace kelvane::assets {

namespace {

int ChannelOf(uint32_t p, int c) { return static_cast<int>((p >> (16 - 8 * c)) & 0xFF); }

struct Box {
    std::vector<uint32_t> Pixels;
    int Widest = 0;
    int Range = 0;

    void Measure() {
        Range = -1;
        for (int c = 0; c < 3; ++c) {
            int lo = 255, hi = 0;
            for (uint32_t p : Pixels) {
                lo = std::min(lo, ChannelOf(p, c));
                hi = std::max(hi, ChannelOf(p, c));
            }
            if (hi - lo > Range) {
                Range = hi - lo;
                Widest = c;
            }
        }
    }
};

}  // namespace

IndexedImage QuantiseMedianCut(const Bitmap& picture, int colours) {
    if (picture.Empty() || colours < 1 || colours > 256) throw std::invalid_argument("bad quantiser input");
    std::vector<Box> boxes(1);
    boxes[0].Pixels = picture.Pixels;
    boxes[0].Measure();
    while (static_cast<int>(boxes.size()) < colours) {
        // Split the box with the widest spread, weighted a little by its population.
        size_t pick = 0;
        double best = -1;
        for (size_t i = 0; i < boxes.size(); ++i) {
            double score = boxes[i].Range * std::pow(static_cast<double>(boxes[i].Pixels.size()), 0.25);
            if (boxes[i].Range > 0 && score > best) {
                best = score;
                pick = i;
            }
        }
        if (best < 0) break;
        Box& box = boxes[pick];
        const int c = box.Widest;
        std::sort(box.Pixels.begin(), box.Pixels.end(), [c](uint32_t a, uint32_t b) {
            int ca = ChannelOf(a, c), cb = ChannelOf(b, c);
            return ca != cb ? ca < cb : a < b;
        });
        Box upper;
        size_t half = box.Pixels.size() / 2;
        // Keep equal channel values together so both halves are non-empty and distinct.
        while (half > 0 && ChannelOf(box.Pixels[half - 1], c) == ChannelOf(box.Pixels[half], c)) --half;
        if (half == 0) {
            half = box.Pixels.size() / 2;
            while (half < box.Pixels.size() && ChannelOf(box.Pixels[half - 1], c) == ChannelOf(box.Pixels[half], c)) ++half;
        }
        upper.Pixels.assign(box.Pixels.begin() + static_cast<std::ptrdiff_t>(half), box.Pixels.end());
        box.Pixels.resize(half);
        box.Measure();
        upper.Measure();
        boxes.push_back(std::move(upper));
    }
    IndexedImage out;
    out.Width = picture.Width;
    out.Height = picture.Height;
    for (const Box& box : boxes) {
        uint64_t sum[3] = {0, 0, 0};
        for (uint32_t p : box.Pixels)
            for (int c = 0; c < 3; ++c) sum[c] += ChannelOf(p, c);
        uint32_t n = static_cast<uint32_t>(box.Pixels.size());
        uint32_t colour = 0;
        for (int c = 0; c < 3; ++c) colour |= static_cast<uint32_t>((sum[c] + n / 2) / n) << (16 - 8 * c);
        out.Palette.push_back(colour);
    }
    std::unordered_map<uint32_t, uint8_t> nearest;
    out.Indices.resize(picture.Pixels.size());
    for (size_t i = 0; i < picture.Pixels.size(); ++i) {
        uint32_t p = picture.Pixels[i];
        auto it = nearest.find(p);
        if (it == nearest.end()) {
            int bestIndex = 0, bestDistance = 1 << 30;
            for (size_t k = 0; k < out.Palette.size(); ++k) {
                int d = 0;
                for (int c = 0; c < 3; ++c) {
                    int e = ChannelOf(p, c) - ChannelOf(out.Palette[k], c);
                    d += e * e;
                }
                if (d < bestDistance) {
                    bestDistance = d;
                    bestIndex = static_cast<int>(k);
                }
            }
            it = nearest.emplace(p, static_cast<uint8_t>(bestIndex)).first;
        }
        out.Indices[i] = it->second;
    }
    return out;
}

}  // namespace kelvane::assets
