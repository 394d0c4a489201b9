#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane::app {

// The environment variable that gives the panel another program folder, so
// that one installed executable can serve a folder of lists and settings per
// user.
inline constexpr char kProgramFolderVariable[] = "ORVANE_PROGRAM_DIR";

// A program folder that cannot be used; the message is for standard error.
class ProgramFolderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The program path the panel runs with. Without a folder (null or empty) it
// is the executable's path; with one, that folder joined with the
// executable's file name, so the title and the settings file keep their
// names. A relative folder is taken from the current directory. Throws
// ProgramFolderError when the folder is missing or not a folder.
std::u16string programPathIn(std::u16string_view executablePath, const char* folder);

}  // namespace orvane::app
