#include "core/settingsfile.h"

#include "core/error.h"
#include "core/paths.h"
#include "core/text.h"

namespace orvane {

namespace {

// The file's bytes; empty when it is missing, nullopt when it is unreadable.
std::optional<ini::IniDocument> readDocument(const std::u16string& path) {
    if (!platform::fileExists(path)) return ini::IniDocument(std::string());
    try {
        return ini::IniDocument(platform::readWholeFile(path));
    } catch (const Error&) {
        return std::nullopt;
    }
}

[[noreturn]] void failWrite(const std::u16string& path) {
    throw Error(formatMessage(u"%s に書き込めません", {path}));
}

}  // namespace

std::u16string settingsPath(std::u16string_view programPath) {
    return changeFileExt(programPath, u".ini");
}

SettingsFile::SettingsFile(std::u16string path)
    : SettingsFile(path, platform::lockForReading(path)) {
    // Reading is done; holding on would only keep updates waiting.
    lock_ = {};
}

SettingsFile::SettingsFile(std::u16string path, platform::FileLock lock)
    : path_(std::move(path)), lock_(std::move(lock)), document_(readDocument(path_)) {}

std::u16string SettingsFile::ReadString(std::u16string_view section, std::u16string_view key,
                                        std::u16string_view fallback) const {
    if (!document_) return std::u16string(fallback);
    return document_->value(section, key).value_or(std::u16string(fallback));
}

std::int32_t SettingsFile::ReadInteger(std::u16string_view section, std::u16string_view key,
                                       std::int32_t fallback) const {
    return strToIntDef(ReadString(section, key, u""), fallback);
}

bool SettingsFile::ReadBool(std::u16string_view section, std::u16string_view key,
                            bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

SettingsUpdate::SettingsUpdate(std::u16string path)
    : SettingsFile(path, platform::lockForUpdate(path)) {}

void SettingsUpdate::WriteString(std::u16string_view section, std::u16string_view key,
                                 std::u16string_view value) {
    if (!document_) failWrite(path_);
    if (!document_->setValue(section, key, value)) {
        save();
        failWrite(path_);
    }
    written_ = true;
}

void SettingsUpdate::WriteInteger(std::u16string_view section, std::u16string_view key,
                                  std::int32_t value) {
    WriteString(section, key, intToText(value));
}

void SettingsUpdate::WriteBool(std::u16string_view section, std::u16string_view key, bool value) {
    WriteString(section, key, value ? u"1" : u"0");
}

void SettingsUpdate::save() {
    if (!written_) return;
    try {
        platform::replaceWholeFile(path_, document_->bytes());
    } catch (const Error&) {
        failWrite(path_);
    }
    written_ = false;
}

}  // namespace orvane
