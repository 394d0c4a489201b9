#include "core/settingsfile.h"

#include "core/error.h"
#include "core/inifile_parse.h"
#include "core/linefile.h"
#include "core/paths.h"
#include "core/platform/platform.h"
#include "core/text.h"

namespace orvane {

namespace {

// The lines of the settings file; nothing when it is missing or unreadable.
LineFileContent readSettings(const std::u16string& path) {
    if (!platform::fileExists(path)) return {};
    try {
        return readLineFile(path);
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
    const LineFileContent content = readSettings(path_);
    return ini::findValue(content.lines, section, key).value_or(std::u16string(fallback));
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
    LineFileContent content;
    // An existing file that cannot be read is not replaced: its other keys
    // would be lost.
    if (platform::fileExists(path_)) {
        try {
            content = readLineFile(path_);
        } catch (const Error&) {
            failWrite(path_);
        }
    }
    ini::setValue(content.lines, section, key, value);
    try {
        writeLineFile(path_, content.lines, content.encoding);
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
