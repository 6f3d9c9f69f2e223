#pragma once
// Writing a file so that it is whole or not there at all: the bytes go into a private
// temporary beside it, every write, the last flush and the close are checked, and only
// then is the temporary renamed into place. A full disk, a missing folder or a file
// system that fails at the close never leaves a cut file under the real name, and what
// stood there before stays. A path that is no regular file (/dev/null, a terminal, a
// pipe) is written directly; a symbolic link is followed, so the file it points to is
// the one replaced. Every failure is a FileError (writing) naming the path with the
// system's reason, its Code() the system's error.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

class FileWriter {
public:
    // Keep: Commit fails ("File exists") rather than replace what stands at the path, so
    // that a name chosen as free is never taken twice (screenshots, recordings).
    enum class Existing { Replace, Keep };

    explicit FileWriter(const std::string& path, Existing existing = Existing::Replace);
    // Without Commit, the temporary is removed and nothing at the path changes.
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    void Write(std::string_view bytes);
    // Writes out what is held, closes and renames: only now is the file there.
    void Commit();

    const std::string& Path() const { return path_; }

private:
    void WriteOut(std::string_view bytes);
    [[noreturn]] void Fail(int code);
    void Discard();

    std::string path_;       // as given, for messages
    std::string target_;     // where the file ends up: the path, or the file its link points to
    std::string temporary_;  // empty when the target is written directly
    Existing existing_;
    int descriptor_ = -1;
    std::string held_;  // bytes not yet handed to the system
};

// A whole file at once, through a FileWriter.
void WriteFile(const std::string& path, std::string_view bytes,
               FileWriter::Existing existing = FileWriter::Existing::Replace);
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes,
               FileWriter::Existing existing = FileWriter::Existing::Replace);

// Text on standard output, flushed and checked. A FileError naming "standard output"
// when it cannot be written; what did not get out is dropped, so it is reported once.
void WriteStandardOutput(std::string_view text);

}  // namespace kelvane
