#include "app/ShaderCache.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/InputFile.h"

namespace kelvane {
namespace {

// The driver's cache index alone takes over a megabyte, written as shaders are built.
constexpr uint64_t NeededBytes = uint64_t{16} << 20;
constexpr size_t ProbeBytes = 64 * 1024;

bool IsTrue(const std::optional<std::string>& value) {
    return value && (*value == "1" || *value == "true" || *value == "yes" || *value == "TRUE");
}

std::optional<std::string> Absolute(const std::optional<std::string>& value) {
    if (value && !value->empty() && value->front() == '/') return value;
    return std::nullopt;
}

// A file written to the end and removed: the one test a full disk cannot pass by chance.
std::string TryWriting(const std::string& folder) {
    std::string path = folder + "/.kelvane-shader-probe-XXXXXX";
    const int descriptor = ::mkostemp(path.data(), O_CLOEXEC);
    if (descriptor < 0) return std::strerror(errno);
    std::string problem;
    const std::string bytes(ProbeBytes, '\0');
    for (size_t done = 0; done < bytes.size() && problem.empty();) {
        const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) problem = std::strerror(written < 0 ? errno : EIO);
        else done += static_cast<size_t>(written);
    }
    if (::close(descriptor) != 0 && problem.empty()) problem = std::strerror(errno);
    ::unlink(path.c_str());
    return problem;
}

}  // namespace

ShaderCacheCheck CheckShaderCache(const EnvironmentLookup& environment) {
    ShaderCacheCheck check;
    if (IsTrue(environment("MESA_SHADER_CACHE_DISABLE")) || IsTrue(environment("MESA_GLSL_CACHE_DISABLE"))) return check;
    std::optional<std::string> folder = Absolute(environment("MESA_SHADER_CACHE_DIR"));
    if (!folder) folder = Absolute(environment("MESA_GLSL_CACHE_DIR"));
    if (!folder) folder = Absolute(environment("XDG_CACHE_HOME"));
    if (!folder) {
        const std::optional<std::string> home = Absolute(environment("HOME"));
        if (!home) return check;  // the driver finds no home either
        folder = *home + "/.cache";
    }
    check.Folder = *folder;
    std::error_code error;
    std::filesystem::create_directories(check.Folder, error);
    if (error) {
        check.Problem = error.message();
        return check;
    }
    struct statvfs disk {};
    if (::statvfs(check.Folder.c_str(), &disk) != 0) {
        check.Problem = std::strerror(errno);
        return check;
    }
    if (disk.f_flag & ST_RDONLY) {
        check.Problem = std::strerror(EROFS);
        return check;
    }
    const uint64_t free = static_cast<uint64_t>(disk.f_bavail) * disk.f_frsize;
    if (free < NeededBytes) {
        check.Problem = "only " + ByteSizeText(free) + " free, and the driver wants " + ByteSizeText(NeededBytes);
        return check;
    }
    check.Problem = TryWriting(check.Folder);
    return check;
}

void TurnShaderCacheOff() {
    ::setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    ::setenv("__GL_SHADER_DISK_CACHE", "0", 1);  // NVIDIA's driver keeps one too
}

std::string ShaderCacheOffLine(const ShaderCacheCheck& check) {
    return "the shader cache folder " + check.Folder + " cannot be written (" + check.Problem +
           "): the graphics driver's shader cache is off for this game";
}

}  // namespace kelvane
