#pragma once
// The one way the game, the runner and the checker open a file for reading. A file is
// looked at before it is read: only a regular file is read (a FIFO, a device or a folder
// is refused at once, so nothing ever waits for a writer that never comes or reads an
// endless device), and a file larger than the limit its kind has is refused before a
// byte of it is read. Reading stops at the limit too, should the file grow meanwhile.
//
// Every refusal is a FileError (reading) naming the file:
//   "Cannot open file PATH: No such file or directory"
//   "Cannot open file PATH: it is a FIFO (named pipe), not a regular file"
//   "Cannot open file PATH: it holds 3.0 GiB, more than the 64 MiB a ship picture may take"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileError.h"

namespace kelvane {

// A file refused before or while reading, with what the caller may want to tell apart.
class InputFileError : public FileError {
public:
    enum class Refusal { System, NotRegular, TooLarge };
    InputFileError(const std::string& message, const std::string& path, std::string reason, Refusal refusal,
                   int systemError)
        : FileError(message, path, Action::Reading), Reason(std::move(reason)), Why(refusal), SystemError(systemError) {}
    std::string Reason;  // the message's words after the file ("No such file or directory")
    Refusal Why;
    int SystemError;     // errno for Refusal::System, else 0
};

// The largest size a kind of file may have, and the words that name the kind in a
// refusal ("a ship picture").
struct FileLimit {
    uint64_t Bytes;
    const char* What;
};

class InputFile {
public:
    // Streams: a file named on the command line may also be a pipe (--scenario /dev/stdin),
    // read as the user asked, waiting for its writer, up to the limit.
    enum class Accept { RegularFiles, Streams };

    // Throws FileError when the file cannot be opened, is no regular file (unless streams
    // are accepted) or is too large.
    InputFile(const std::string& path, FileLimit limit, Accept accept = Accept::RegularFiles);
    ~InputFile();
    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&&) = delete;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Up to `size` bytes into `buffer`; 0 at the end of the file. Throws FileError when
    // the system fails to read or the file has grown past its limit.
    size_t Read(char* buffer, size_t size);
    // Everything from here to the end.
    std::string ReadRest();
    // Up to `size` bytes from `offset` on, wherever Read has got to (the file is read
    // through several times; a stream only in order); 0 at the end. The same errors as Read.
    size_t ReadAt(uint64_t offset, char* buffer, size_t size) const;

    const std::string& Path() const { return path_; }
    // The size when it was opened.
    uint64_t Size() const { return size_; }

private:
    [[noreturn]] void Fail(InputFileError::Refusal why, const std::string& reason, int systemError = 0);

    std::string path_;
    FileLimit limit_;
    int descriptor_ = -1;
    uint64_t size_ = 0;
    uint64_t read_ = 0;
    bool stream_ = false;
};

// A whole file, through an InputFile.
std::string ReadFileText(const std::string& path, FileLimit limit,
                         InputFile::Accept accept = InputFile::Accept::RegularFiles);
std::vector<uint8_t> ReadFileBytes(const std::string& path, FileLimit limit);

// "Cannot open file PATH: REASON", the text every refusal of a file to read has.
std::string CannotOpenFileText(const std::string& path, const std::string& reason);

// A size as people read it: "512 bytes", "64 KiB", "1.5 MiB", "3.0 GiB".
std::string ByteSizeText(uint64_t bytes);

}  // namespace kelvane
