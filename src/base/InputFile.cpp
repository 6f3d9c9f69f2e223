#include "base/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>


namespace kelvane {
namespace {

// What a file that is no regular file is, for the refusal.
const char* KindOfFile(mode_t mode) {
    if (S_ISDIR(mode)) return "it is a folder, not a file";
    if (S_ISFIFO(mode)) return "it is a FIFO (named pipe), not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a regular file";
    if (S_ISSOCK(mode)) return "it is a socket, not a regular file";
    return "it is not a regular file";
}

std::string TooLarge(uint64_t size, const FileLimit& limit) {
    // Just over the limit, rounding would hide the difference: then the bytes themselves.
    const std::string held = size / 11 * 10 < limit.Bytes ? std::to_string(size) + " bytes" : ByteSizeText(size);
    return "it holds " + held + ", more than the " + ByteSizeText(limit.Bytes) + " " + limit.What + " may take";
}

}  // namespace

std::string CannotOpenFileText(const std::string& path, const std::string& reason) {
    return "Cannot open file " + path + ": " + reason;
}

std::string ByteSizeText(uint64_t bytes) {
    constexpr const char* Units[] = {"KiB", "MiB", "GiB", "TiB"};
    if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    double value = static_cast<double>(bytes) / 1024;
    int unit = 0;
    while (value >= 1024 && unit < 3) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    // Whole units as they are ("64 MiB"); anything else with one decimal ("3.0 GiB").
    if (bytes % (uint64_t{1} << (10 * (unit + 1))) == 0) std::snprintf(text, sizeof text, "%.0f %s", value, Units[unit]);
    else std::snprintf(text, sizeof text, "%.1f %s", value, Units[unit]);
    return text;
}

InputFile::InputFile(const std::string& path, FileLimit limit, Accept accept) : path_(path), limit_(limit) {
    using Refusal = InputFileError::Refusal;
    // Looked at before it is opened: opening a FIFO or a device can itself wait or act.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) Fail(Refusal::System, std::strerror(errno), errno);
    const bool stream = accept == Accept::Streams && (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode));
    if (!S_ISREG(status.st_mode) && !stream) Fail(Refusal::NotRegular, KindOfFile(status.st_mode));
    if (static_cast<uint64_t>(status.st_size) > limit.Bytes)
        Fail(Refusal::TooLarge, TooLarge(static_cast<uint64_t>(status.st_size), limit));
    // Without blocking all the same, should the name have been swapped for a FIFO meanwhile.
    do {
        descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | (stream ? 0 : O_NONBLOCK));
    } while (descriptor_ < 0 && errno == EINTR);
    if (descriptor_ < 0) Fail(Refusal::System, std::strerror(errno), errno);
    if (::fstat(descriptor_, &status) != 0) Fail(Refusal::System, std::strerror(errno), errno);
    if (!S_ISREG(status.st_mode) && !stream) Fail(Refusal::NotRegular, KindOfFile(status.st_mode));
    size_ = S_ISREG(status.st_mode) ? static_cast<uint64_t>(status.st_size) : 0;
    if (size_ > limit.Bytes) Fail(Refusal::TooLarge, TooLarge(size_, limit));
    stream_ = stream;
}

InputFile::~InputFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

InputFile::InputFile(InputFile&& other) noexcept
    : path_(std::move(other.path_)),
      limit_(other.limit_),
      descriptor_(other.descriptor_),
      size_(other.size_),
      read_(other.read_),
      stream_(other.stream_) {
    other.descriptor_ = -1;
}

void InputFile::Fail(InputFileError::Refusal why, const std::string& reason, int systemError) {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
    throw InputFileError(CannotOpenFileText(path_, reason), path_, reason, why, systemError);
}

size_t InputFile::Read(char* buffer, size_t size) {
    const size_t got = ReadAt(read_, buffer, size);
    read_ += got;
    return got;
}

size_t InputFile::ReadAt(uint64_t offset, char* buffer, size_t size) const {
    // One byte beyond the limit is asked for, so that a file grown past it is noticed.
    if (offset > limit_.Bytes) offset = limit_.Bytes + 1;
    const uint64_t allowed = limit_.Bytes + 1 - offset;
    if (size > allowed) size = static_cast<size_t>(allowed);
    ssize_t got;
    do {
        // A stream has no places to read at: it is read in order, from where it has got to.
        got = stream_ ? ::read(descriptor_, buffer, size) : ::pread(descriptor_, buffer, size, static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        const int code = errno;
        const std::string reason = std::strerror(code);
        throw InputFileError("Cannot read file " + path_ + ": " + reason, path_, reason, InputFileError::Refusal::System,
                             code);
    }
    if (offset + static_cast<uint64_t>(got) > limit_.Bytes) {
        const std::string reason = "it has grown past the " + ByteSizeText(limit_.Bytes) + " " + limit_.What + " may take";
        throw InputFileError(CannotOpenFileText(path_, reason), path_, reason, InputFileError::Refusal::TooLarge, 0);
    }
    return static_cast<size_t>(got);
}

std::string InputFile::ReadRest() {
    std::string text;
    // The size seen at open is only a hint: the file may have changed since.
    if (size_ > read_) text.reserve(static_cast<size_t>(size_ - read_));
    char chunk[65536];
    while (const size_t got = Read(chunk, sizeof chunk)) text.append(chunk, got);
    return text;
}

std::string ReadFileText(const std::string& path, FileLimit limit, InputFile::Accept accept) {
    return InputFile(path, limit, accept).ReadRest();
}

std::vector<uint8_t> ReadFileBytes(const std::string& path, FileLimit limit) {
    InputFile file(path, limit);
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(file.Size()));
    char chunk[65536];
    while (const size_t got = file.Read(chunk, sizeof chunk)) bytes.insert(bytes.end(), chunk, chunk + got);
    return bytes;
}

}  // namespace kelvane
