#include "core/settingsfile.h"

#include "core/error.h"
#include "core/inifile_bytes.h"
#include "core/inifile_parse.h"
#include "core/paths.h"
#include "core/platform/platform.h"
#include "core/text.h"

namespace orvane {

namespace {

// The lines of the settings file; nothing when it is missing or unreadable.
std::vector<std::u16string> readSettings(const std::u16string& path) {
    if (!platform::fileExists(path)) return {};
    try {
        return ini::splitIniBytes(platform::readWholeFile(path)).lines;
    } catch (const Error&) {
        return {};
    }
}

[[noreturn]] void failWrite(const std::u16string& path) {
    throw Error(formatMessage(u"%s に書き込めません", {path}));
}

}  // namespace

std::u16string settingsPath(std::u16string_view programPath) {
    return changeFileExt(programPath, u".ini");
}

SettingsFile::SettingsFile(std::u16string path) : path_(std::move(path)) {}

std::u16string SettingsFile::ReadString(std::u16string_view section, std::u16string_view key,
                                        std::u16string_view fallback) const {
    return ini::findValue(readSettings(path_), section, key).value_or(std::u16string(fallback));
}

std::int32_t SettingsFile::ReadInteger(std::u16string_view section, std::u16string_view key,
                                       std::int32_t fallback) const {
    return strToIntDef(ReadString(section, key, u""), fallback);
}

bool SettingsFile::ReadBool(std::u16string_view section, std::u16string_view key,
                            bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void SettingsFile::WriteString(std::u16string_view section, std::u16string_view key,
                               std::u16string_view value) {
    std::string bytes;
    // An existing file that cannot be read is not replaced: its other keys
    // would be lost.
    if (platform::fileExists(path_)) {
        try {
            bytes = platform::readWholeFile(path_);
        } catch (const Error&) {
            failWrite(path_);
        }
    }
    const std::optional<std::string> written = ini::withValue(bytes, section, key, value);
    if (!written) failWrite(path_);
    try {
        platform::replaceWholeFile(path_, *written);
    } catch (const Error&) {
        failWrite(path_);
    }
}

void SettingsFile::WriteInteger(std::u16string_view section, std::u16string_view key,
                                std::int32_t value) {
    WriteString(section, key, intToText(value));
}

void SettingsFile::WriteBool(std::u16string_view section, std::u16string_view key, bool value) {
    WriteString(section, key, value ? u"1" : u"0");
}

}  // namespace orvane
