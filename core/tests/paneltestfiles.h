#pragma once

// A temporary program directory for the panel core's tests.

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/utf.h"

namespace orvane::testing {

inline const std::string kUtf8Mark = "\xEF\xBB\xBF";

class ProgramDirectory {
public:
    ProgramDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-panel-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
    }
    ~ProgramDirectory() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ProgramDirectory(const ProgramDirectory&) = delete;
    ProgramDirectory& operator=(const ProgramDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The directory as the core sees it: ending with the separator.
    std::u16string directory() const { return fromUtf8(path_.string() + "/"); }
    std::u16string programPath() const { return fromUtf8((path_ / "Orvane").string()); }
    std::filesystem::path settingsFile() const { return path_ / "Orvane.ini"; }

    void write(const std::string& name, const std::string& bytes) const {
        const auto target = path_ / name;
        std::filesystem::create_directories(target.parent_path());
        std::ofstream(target, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // An entry that exists and is no directory, yet cannot be opened for
    // reading, even by root: a Unix socket.
    void makeUnreadable(const std::string& name) const {
        const std::string target = (path_ / name).string();
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, target.c_str(), sizeof address.sun_path - 1);
        const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        close(fd);
        if (!bound) {
            throw std::runtime_error("bind failed: " + target);
        }
    }

private:
    std::filesystem::path path_;
};

}  // namespace orvane::testing
