#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "media/Dib.h"

namespace kelvane::fuzz {

namespace {

bool Matches(std::string_view message, std::string_view pattern) {
    const size_t star = pattern.find('*');
    if (star == std::string_view::npos) return message == pattern;
    const std::string_view head = pattern.substr(0, star), tail = pattern.substr(star + 1);
    return message.size() >= head.size() + tail.size() && message.substr(0, head.size()) == head &&
           message.substr(message.size() - tail.size()) == tail;
}

}  // namespace

FuzzFolder::FuzzFolder(const char* prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) Fail("cannot create the fuzz game folder");
    root_ = pattern;
}

FuzzFolder::~FuzzFolder() {
    std::error_code error;
    std::filesystem::remove_all(root_, error);
}

void FuzzFolder::Write(const std::string& relative, std::string_view bytes) const {
    const std::filesystem::path path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Fail(const std::string& what) {
    throw Finding{what};
}

bool MessageMatches(std::string_view message, Patterns patterns) {
    for (std::string_view pattern : patterns)
        if (Matches(message, pattern)) return true;
    return false;
}

void ExpectMessage(const std::runtime_error& error, Patterns patterns) {
    if (!MessageMatches(error.what(), patterns)) throw;
}

void CheckPicture(const Bitmap& picture) {
    Check(picture.Width >= 0 && picture.Height >= 0, "picture with a negative side");
    Check(picture.Width <= MaxPictureSide && picture.Height <= MaxPictureSide,
          "picture above the side limit");
    Check(picture.Pixels.size() == static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height),
          "pixel count does not match the picture's size");
    for (uint32_t pixel : picture.Pixels) Check(pixel <= 0xFFFFFFu, "pixel with bits above the colour");
}

bool SamePicture(const Bitmap& a, const Bitmap& b) {
    if (a.Empty() || b.Empty()) return a.Empty() && b.Empty();
    return a.Width == b.Width && a.Height == b.Height && a.Pixels == b.Pixels;
}

int RunFuzzEntry(void (*entry)(const uint8_t*, size_t), const uint8_t* data, size_t size) {
    try {
        entry(data, size);
    } catch (const Finding& finding) {
        std::fprintf(stderr, "==FINDING== %s\n", finding.What.c_str());
        std::abort();
    }
    return 0;
}

}  // namespace kelvane::fuzz
