#pragma once
// Row kernels of the sprite operations. The callers clip once per call and per row;
// a kernel gets a span that is valid as a whole and only copies, samples and compares.
// Source pixels equal to `key` leave the destination pixel as it is.

#include <cstdint>

namespace kelvane {

// dst[i] = src[i], i = 0..count-1.
void CopyRow(uint32_t* dst, const uint32_t* src, int32_t count);
void CopyRowKeyed(uint32_t* dst, const uint32_t* src, int32_t count, uint32_t key);

// Scaled row along the source row: dst[i] = srcRow[(sx + i * ax) >> 16]. Every sample
// position must lie inside srcRow.
void ScaleRow(uint32_t* dst, const uint32_t* srcRow, int32_t count, int64_t sx, int64_t ax);
void ScaleRowKeyed(uint32_t* dst, const uint32_t* srcRow, int32_t count, int64_t sx, int64_t ax,
                   uint32_t key);

// Rotated row: dst[i] = picture[((sy + i * ay) >> 16) * stride + ((sx + i * ax) >> 16)], every
// sample position inside the picture.
void SampleRow(uint32_t* dst, const uint32_t* picture, int32_t stride, int32_t count, int64_t sx, int64_t sy,
               int64_t ax, int64_t ay);
void SampleRowKeyed(uint32_t* dst, const uint32_t* picture, int32_t stride, int32_t count, int64_t sx,
                    int64_t sy, int64_t ax, int64_t ay, uint32_t key);

}  // namespace kelvane
