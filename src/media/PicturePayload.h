#pragma once
// The value of a picture item's "Picture.Data": a short string naming the payload
// class, then that class's data. Internal to the archive reader and writer.

#include <cstdint>
#include <vector>

#include "media/PictureItem.h"

namespace kelvane {

// "TDIB": a packed DIB; "TBitmap": a 4-byte count N and a BMP file of N bytes. Data that
// ends right after the class tag (or N = 0) is an empty picture; an unknown class, or
// an empty value, leaves no picture. Class names compare without regard to case.
void ReadPicturePayload(const std::vector<uint8_t>& payload, Picture& into);

// The payload of a picture: "TDIB" and its data as held (a 24-bit DIB of the image when
// it holds none); any other picture as "TBitmap" with a BMP file of its pixels.
std::vector<uint8_t> WritePicturePayload(const Picture& picture);

}  // namespace kelvane
