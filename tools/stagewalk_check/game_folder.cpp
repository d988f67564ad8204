#include "stagewalk_check/game_folder.h"

#include <filesystem>
#include <system_error>

namespace StagewalkCheck {

GameFolder::GameFolder(std::string folder) : root(std::move(folder)) {}

std::string GameFolder::Resolve(const std::string& path) const {
    if (root.empty() || root == "." || (!path.empty() && path.front() == '/')) return path;
    return root.back() == '/' ? root + path : root + "/" + path;
}

bool GameFolder::IsFile(const std::string& path) const {
    std::error_code error;
    return std::filesystem::is_regular_file(Resolve(path), error);
}

bool GameFolder::IsDirectory(const std::string& path) const {
    std::error_code error;
    return std::filesystem::is_directory(Resolve(path), error);
}

std::string GameFolder::AsWritten(const std::string& message, const std::string& path) const {
    const std::string resolved = Resolve(path);
    if (resolved == path || resolved.empty()) return message;
    std::string text = message;
    for (size_t at = text.find(resolved); at != std::string::npos;
         at = text.find(resolved, at + path.size())) {
        text.replace(at, resolved.size(), path);
    }
    return text;
}

}  // namespace StagewalkCheck
