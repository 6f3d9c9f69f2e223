// Sprite drawing over a whole 1024 x 768 frame, against memcpy of the frame and SDL's
// software blitters on the same pixels (SDL surfaces in memory, no video needed).
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "media/Bitmap.h"
#include "media/PictureItem.h"
#include "media/Surface.h"

namespace kelvane {
namespace {

constexpr int32_t FrameWidth = 1024;
constexpr int32_t FrameHeight = 768;
constexpr uint32_t KeyPixel = 0x00FF00u;  // pure green, the ships' colour key

// A sprite-like picture: keyed out in 16 x 16 blocks picked by a hash (about a third of
// them), opaque noise elsewhere.
Bitmap KeyedPicture(int32_t width, int32_t height) {
    Bitmap image;
    image.Resize(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t block =
                (static_cast<uint32_t>(x / 16) * 73856093u) ^ (static_cast<uint32_t>(y / 16) * 19349663u);
            const uint32_t noise =
                (static_cast<uint32_t>(x) * 2654435761u) ^ (static_cast<uint32_t>(y) * 40503u);
            image.At(x, y) = (block >> 4) % 3 == 0 ? KeyPixel : (noise & 0xFFFFFFu) | 0x010000u;
        }
    return image;
}

TPictureCollectionItem KeyedItem(int32_t width, int32_t height) {
    TPictureCollectionItem item;
    item.Pic.ClassName = "TBitmap";
    item.Pic.Image = KeyedPicture(width, height);
    item.TransparentColor = PixelToColor(KeyPixel);
    item.Initialize();
    return item;
}

SDL_Surface* SdlSurfaceOf(std::vector<uint32_t>& pixels, int32_t width, int32_t height) {
    return SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 32, width * 4,
                                              SDL_PIXELFORMAT_RGB888);
}

void CountFrames(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * int64_t{FrameWidth} * FrameHeight);
}

void BM_MemcpyFrame(benchmark::State& state) {
    std::vector<uint32_t> source = KeyedPicture(FrameWidth, FrameHeight).Pixels;
    std::vector<uint32_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    CountFrames(state);
}
BENCHMARK(BM_MemcpyFrame);

void BM_DrawKeyedFrame(benchmark::State& state) {
    const TPictureCollectionItem item = KeyedItem(FrameWidth, FrameHeight);
    Surface target(FrameWidth, FrameHeight);
    for (auto _ : state) {
        item.Draw(target, 0, 0, 0);
        benchmark::DoNotOptimize(target.Pixels());
        benchmark::ClobberMemory();
    }
    CountFrames(state);
}
BENCHMARK(BM_DrawKeyedFrame);

void BM_SdlBlitKeyedFrame(benchmark::State& state) {
    std::vector<uint32_t> sourcePixels = KeyedPicture(FrameWidth, FrameHeight).Pixels;
    std::vector<uint32_t> targetPixels(sourcePixels.size());
    SDL_Surface* source = SdlSurfaceOf(sourcePixels, FrameWidth, FrameHeight);
    SDL_Surface* target = SdlSurfaceOf(targetPixels, FrameWidth, FrameHeight);
    SDL_SetColorKey(source, SDL_TRUE, KeyPixel);
    for (auto _ : state) {
        SDL_BlitSurface(source, nullptr, target, nullptr);
        benchmark::DoNotOptimize(targetPixels.data());
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(source);
    SDL_FreeSurface(target);
    CountFrames(state);
}
BENCHMARK(BM_SdlBlitKeyedFrame);

void DrawRotateFrame(benchmark::State& state, int32_t angle) {
    const TPictureCollectionItem item = KeyedItem(FrameWidth / 2, FrameHeight / 2);
    Surface target(FrameWidth, FrameHeight);
    for (auto _ : state) {
        item.DrawRotate(target, FrameWidth / 2, FrameHeight / 2, FrameWidth, FrameHeight, 0, 0.5, 0.5, angle);
        benchmark::DoNotOptimize(target.Pixels());
        benchmark::ClobberMemory();
    }
    CountFrames(state);
}

void BM_DrawRotateFrame(benchmark::State& state) { DrawRotateFrame(state, 0); }
BENCHMARK(BM_DrawRotateFrame);

void BM_DrawRotate45Frame(benchmark::State& state) { DrawRotateFrame(state, 32); }
BENCHMARK(BM_DrawRotate45Frame);

void BM_SdlBlitScaledFrame(benchmark::State& state) {
    std::vector<uint32_t> sourcePixels = KeyedPicture(FrameWidth / 2, FrameHeight / 2).Pixels;
    std::vector<uint32_t> targetPixels(static_cast<size_t>(FrameWidth) * FrameHeight);
    SDL_Surface* source = SdlSurfaceOf(sourcePixels, FrameWidth / 2, FrameHeight / 2);
    SDL_Surface* target = SdlSurfaceOf(targetPixels, FrameWidth, FrameHeight);
    SDL_SetColorKey(source, SDL_TRUE, KeyPixel);
    SDL_Rect whole{0, 0, FrameWidth, FrameHeight};
    for (auto _ : state) {
        SDL_BlitScaled(source, nullptr, target, &whole);
        benchmark::DoNotOptimize(targetPixels.data());
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(source);
    SDL_FreeSurface(target);
    CountFrames(state);
}
BENCHMARK(BM_SdlBlitScaledFrame);

}  // namespace
}  // namespace kelvane

BENCHMARK_MAIN();
