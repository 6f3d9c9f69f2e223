#include "base/FileWriter.h"

#include <fcntl.h>
#include <stdio_ext.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/FileError.h"

namespace kelvane {
namespace {

// Small writes (a PNG's chunks) are gathered into system calls of this size.
constexpr size_t HeldBytes = 65536;

// Temporaries of one process never share a name, whichever thread makes them.
std::atomic<unsigned> temporaries{0};

[[noreturn]] void ThrowWriting(const std::string& path, int code) {
    const std::error_code error(code, std::generic_category());
    throw FileError("cannot write " + path + ": " + error.message(), path, FileError::Action::Writing, error);
}

// Puts the finished temporary in place. Keep: never over an existing file, on file
// systems without an exclusive rename through a second link.
int Place(const std::string& temporary, const std::string& target, FileWriter::Existing existing) {
    if (existing == FileWriter::Existing::Replace) return std::rename(temporary.c_str(), target.c_str());
    if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    if (link(temporary.c_str(), target.c_str()) != 0) return -1;
    unlink(temporary.c_str());
    return 0;
}

}  // namespace

FileWriter::FileWriter(const std::string& path, Existing existing) : path_(path), target_(path), existing_(existing) {
    struct stat status {};
    const bool exists = lstat(path.c_str(), &status) == 0;
    if (exists && existing == Existing::Keep) ThrowWriting(path_, EEXIST);
    if (exists && S_ISLNK(status.st_mode)) {
        std::error_code error;
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
        if (!error) target_ = resolved.string();
    }
    if (stat(target_.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        if (S_ISDIR(status.st_mode)) ThrowWriting(path_, EISDIR);
        descriptor_ = open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (descriptor_ < 0) ThrowWriting(path_, errno);
        return;
    }
    // A hidden name beside the file: the same folder (so the rename cannot cross file
    // systems), unseen by picture viewers, and this process's own.
    const std::filesystem::path target(target_);
    const std::string folder = target.has_parent_path() ? target.parent_path().string() + "/" : std::string();
    const std::string stem = folder + "." + target.filename().string() + "." + std::to_string(getpid()) + "-";
    int code = EEXIST;
    for (int attempt = 0; attempt < 100 && code == EEXIST; ++attempt) {
        temporary_ = stem + std::to_string(temporaries++) + ".part";
        descriptor_ = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (descriptor_ >= 0) return;
        code = errno;
    }
    temporary_.clear();
    ThrowWriting(path_, code);
}

FileWriter::~FileWriter() { Discard(); }

void FileWriter::Discard() {
    if (descriptor_ >= 0) close(std::exchange(descriptor_, -1));
    if (!temporary_.empty()) unlink(std::exchange(temporary_, std::string()).c_str());
    held_.clear();
}

void FileWriter::Fail(int code) {
    Discard();
    ThrowWriting(path_, code);
}

void FileWriter::Write(std::string_view bytes) {
    if (descriptor_ < 0) ThrowWriting(path_, EBADF);  // written after Commit or a failure
    if (held_.size() + bytes.size() <= HeldBytes) {
        held_.append(bytes);
        return;
    }
    WriteOut(std::exchange(held_, std::string()));
    if (bytes.size() < HeldBytes) held_.assign(bytes);
    else WriteOut(bytes);
}

void FileWriter::WriteOut(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(descriptor_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) Fail(written < 0 ? errno : EIO);
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

void FileWriter::Commit() {
    if (descriptor_ < 0) ThrowWriting(path_, EBADF);
    WriteOut(std::exchange(held_, std::string()));
    // Some file systems (NFS, a quota) say only at the close that the bytes did not fit.
    if (close(std::exchange(descriptor_, -1)) != 0) Fail(errno);
    if (temporary_.empty()) return;
    if (Place(temporary_, target_, existing_) != 0) Fail(errno);
    temporary_.clear();
}

void WriteFile(const std::string& path, std::string_view bytes, FileWriter::Existing existing) {
    FileWriter file(path, existing);
    file.Write(bytes);
    file.Commit();
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes, FileWriter::Existing existing) {
    WriteFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), existing);
}

void WriteStandardOutput(std::string_view text) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) return;
    const int code = errno != 0 ? errno : EIO;
    __fpurge(stdout);
    std::clearerr(stdout);
    ThrowWriting("standard output", code);
}

}  // namespace kelvane
