#include "app/qt/programfolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "core/paths.h"
#include "core/utf.h"

namespace orvane::app {

namespace {

std::string currentDirectory() {
    std::vector<char> buffer(256);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

std::string absoluteFolder(std::string folder) {
    if (folder.front() != '/') {
        folder = currentDirectory() + '/' + folder;
    }
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

[[noreturn]] void refuse(const std::string& folder, int error) {
    throw ProgramFolderError(std::string(kProgramFolderVariable) + ": cannot use \"" + folder +
                             "\" as the program folder: " + std::strerror(error));
}

}  // namespace

std::u16string programPathIn(std::u16string_view executablePath, const char* folder) {
    if (folder == nullptr || *folder == '\0') {
        return std::u16string(executablePath);
    }
    const std::string absolute = absoluteFolder(folder);
    struct stat status {};
    if (stat(absolute.c_str(), &status) != 0) {
        refuse(folder, errno);
    }
    if (!S_ISDIR(status.st_mode)) {
        refuse(folder, ENOTDIR);
    }
    const std::string separator = absolute == "/" ? "" : "/";
    return fromFileNameBytes(absolute + separator) + extractFileName(executablePath);
}

}  // namespace orvane::app
