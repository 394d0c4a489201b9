#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace orvane::testing {

// A new directory of the user's own under the system's temporary folder,
// named with the prefix and a random tail.
inline std::filesystem::path makeScratchDirectory(const std::string& prefix) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (;;) {
        const auto candidate =
            std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            std::filesystem::permissions(candidate, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::replace);
            return candidate;
        }
    }
}

// Removes a scratch directory with its content, also where a test took
// permissions away.
inline void removeScratchDirectory(const std::filesystem::path& path) {
    std::error_code ignored;
#ifdef _WIN32
    // Windows removes no read-only file.
    std::filesystem::recursive_directory_iterator entry(path, ignored);
    for (; !ignored && entry != std::filesystem::recursive_directory_iterator();
         entry.increment(ignored)) {
        std::error_code unchanged;
        std::filesystem::permissions(entry->path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, unchanged);
    }
#endif
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path, ignored);
}

// A fresh directory under the system's temporary folder, removed with its
// content at the end of the test.
class ScratchDir {
public:
    ScratchDir() : path_(makeScratchDirectory("orvane-")) {}
    ~ScratchDir() { removeScratchDirectory(path_); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace orvane::testing
