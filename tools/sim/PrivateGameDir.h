#pragma once
// A game directory of the run's own: links to everything in the real one, except that its
// Data folder is a folder of its own (of links) without Ships.dxg. Loading writes
// Data/Ships.dxg at every start; here it writes into this copy, so that tournament runs
// sharing one installation (shards side by side, a read-only cluster install) neither
// race on that file nor need to write there.

#include <string>

namespace kelvane::sim {

class PrivateGameDir {
public:
    // Throws std::runtime_error when no folder can be made for it.
    explicit PrivateGameDir(const std::string& gameDir);
    ~PrivateGameDir();
    PrivateGameDir(const PrivateGameDir&) = delete;
    PrivateGameDir& operator=(const PrivateGameDir&) = delete;

    // Ends in '/', as the game wants it.
    const std::string& Path() const { return path_; }
    // The text with this directory's path put back to the real one, for messages.
    std::string Real(std::string text) const;

private:
    std::string real_;
    std::string path_;
};

}  // namespace kelvane::sim
