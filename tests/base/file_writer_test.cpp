// Files are written whole or not at all: a full disk, a missing folder or a name taken
// leaves whatever stood there before, and no temporary behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "FullDisk.h"
#include "base/FileError.h"
#include "base/FileWriter.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

struct TempFolder {
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "kelvane-writer-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        Root = pattern;
    }
    ~TempFolder() {
        std::error_code error;
        fs::remove_all(Root, error);
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(Root)) names.insert(entry.path().filename().string());
        return names;
    }
    fs::path Root;
};

std::string Read(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The error of a write that must fail: it names the path and carries the system's reason.
FileError FailureOf(const std::function<void()>& write) {
    try {
        write();
    } catch (const FileError& error) {
        return error;
    }
    ADD_FAILURE() << "the write did not fail";
    return FileError("", "", FileError::Action::Reading);
}

TEST(FileWriter, AFileAppearsWholeOnlyWhenCommitted) {
    TempFolder folder;
    const fs::path path = folder.Root / "shot.png";
    std::ofstream(path) << "old";
    {
        FileWriter writer(path.string());
        writer.Write("new ");
        writer.Write(std::string(200000, 'x'));  // more than is held back at once
        EXPECT_EQ(Read(path), "old");            // not yet
        writer.Commit();
    }
    EXPECT_EQ(Read(path), "new " + std::string(200000, 'x'));
    EXPECT_EQ(folder.Names(), std::set<std::string>{"shot.png"});

    {
        FileWriter abandoned(path.string());
        abandoned.Write("half");
    }
    EXPECT_EQ(Read(path).substr(0, 4), "new ");
    EXPECT_EQ(folder.Names(), std::set<std::string>{"shot.png"});
}

TEST(FileWriter, FailuresNameThePathWithTheSystemsReason) {
    TempFolder folder;
    fs::create_directory(folder.Root / "sub");
    const struct {
        std::string what;
        std::string path;
        int code;
    } cases[] = {
        {"a full device, written directly", "/dev/full", ENOSPC},
        {"a missing folder", (folder.Root / "missing" / "a.json").string(), ENOENT},
        {"a folder in the way", (folder.Root / "sub").string(), EISDIR},
    };
    for (const auto& c : cases) {
        const FileError error = FailureOf([&] { WriteFile(c.path, "{}\n"); });
        EXPECT_EQ(error.Path(), c.path) << c.what;
        EXPECT_EQ(error.Doing(), FileError::Action::Writing) << c.what;
        EXPECT_EQ(error.Code().value(), c.code) << c.what;
        EXPECT_EQ(std::string(error.what()), "cannot write " + c.path + ": " + std::strerror(c.code)) << c.what;
    }
    struct stat device {};
    ASSERT_EQ(stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode));  // written through, never replaced
    EXPECT_EQ(folder.Names(), std::set<std::string>{"sub"});
}

TEST(FileWriter, KeepNeverTakesANameTwice) {
    TempFolder folder;
    const fs::path path = folder.Root / "kelvane-1.png";
    WriteFile(path.string(), "first", FileWriter::Existing::Keep);
    EXPECT_EQ(FailureOf([&] { WriteFile(path.string(), "second", FileWriter::Existing::Keep); }).Code().value(),
              EEXIST);
    // Taken between opening and committing: the commit refuses too.
    FileWriter late((folder.Root / "kelvane-2.png").string(), FileWriter::Existing::Keep);
    late.Write("late");
    std::ofstream(folder.Root / "kelvane-2.png") << "other";
    EXPECT_EQ(FailureOf([&] { late.Commit(); }).Code().value(), EEXIST);
    EXPECT_EQ(Read(path), "first");
    EXPECT_EQ(Read(folder.Root / "kelvane-2.png"), "other");
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"kelvane-1.png", "kelvane-2.png"}));
}

TEST(FileWriter, ALinkIsFollowedAndStaysALink) {
    TempFolder folder;
    fs::create_directory(folder.Root / "real");
    std::ofstream(folder.Root / "real" / "settings.ini") << "old";
    fs::create_symlink(folder.Root / "real" / "settings.ini", folder.Root / "settings.ini");
    WriteFile((folder.Root / "settings.ini").string(), "new");
    EXPECT_TRUE(fs::is_symlink(folder.Root / "settings.ini"));
    EXPECT_EQ(Read(folder.Root / "real" / "settings.ini"), "new");
}

TEST(FileWriter, AFullDiskKeepsWhatWasThereAndLeavesNoTemporary) {
    testing::FullDisk disk(std::map<std::string, std::string>{{"kept.json", "before"}});
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
    for (const std::string name : {"kept.json", "new.json"}) {
        const std::string path = (disk.Root() / name).string();
        const FileError error = FailureOf([&] { WriteFile(path, std::string(5000, 'x')); });
        EXPECT_EQ(error.Code().value(), ENOSPC) << name;
        EXPECT_EQ(error.Path(), path);
    }
    EXPECT_EQ(Read(disk.Root() / "kept.json"), "before");
    EXPECT_EQ(disk.Left(), std::set<std::string>{"kept.json"});
}

}  // namespace
}  // namespace kelvane
