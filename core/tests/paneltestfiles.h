#pragma once

// A temporary program directory for the panel core's tests.

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/tests/scratch_dir.h"
#include "core/utf.h"

namespace orvane::testing {

inline const std::string kUtf8Mark = "\xEF\xBB\xBF";

class ProgramDirectory {
public:
    ProgramDirectory() : path_(makeScratchDirectory("orvane-panel-")) {}
    ~ProgramDirectory() {
#ifdef _WIN32
        for (HANDLE holder : holders_) CloseHandle(holder);
#endif
        removeScratchDirectory(path_);
    }
    ProgramDirectory(const ProgramDirectory&) = delete;
    ProgramDirectory& operator=(const ProgramDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The directory as the core sees it: ending with the separator.
    std::u16string directory() const { return (path_ / "").u16string(); }
    std::u16string programPath() const { return (path_ / "Orvane").u16string(); }
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
#ifdef _WIN32
    // A file that exists yet cannot be opened while the directory lives: it
    // is held open without sharing.
    void makeUnreadable(const std::string& name) {
        write(name, "");
        const HANDLE holder = CreateFileW((path_ / name).c_str(), GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (holder == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold " + name);
        holders_.push_back(holder);
    }
    // Lets every held file go and gives this one the bytes.
    void makeReadableAgain(const std::string& name, const std::string& bytes) {
        for (HANDLE holder : holders_) CloseHandle(holder);
        holders_.clear();
        write(name, bytes);
    }
#else
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
    // Replaces the unreadable entry with a file of these bytes.
    void makeReadableAgain(const std::string& name, const std::string& bytes) const {
        std::filesystem::remove(path_ / name);
        write(name, bytes);
    }
#endif

private:
    std::filesystem::path path_;
#ifdef _WIN32
    std::vector<HANDLE> holders_;
#endif
};

}  // namespace orvane::testing
