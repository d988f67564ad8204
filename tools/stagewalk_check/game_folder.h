// The game folder being checked: the game resolves every path relative to its working directory,
// so the checker resolves the same paths relative to this folder, and shows them as typed.
// A plain value; any thread.
#pragma once

#include <string>

namespace StagewalkCheck {

class GameFolder {
public:
    explicit GameFolder(std::string root);  // `root` as given on the command line ("." for here)

    // Where `path`, as written in config.tml or the manifest, lies for this process.
    std::string Resolve(const std::string& path) const;
    // True when `path` names a regular file (or a link to one).
    bool IsFile(const std::string& path) const;
    // True when `path` names a directory.
    bool IsDirectory(const std::string& path) const;
    // `message` with the resolved form of `path` put back as the user wrote it, so that texts of
    // the game's loaders read as they would when the game runs in the folder.
    std::string AsWritten(const std::string& message, const std::string& path) const;

private:
    std::string root;
};

}  // namespace StagewalkCheck
