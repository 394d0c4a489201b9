#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/inifile_bytes.h"
#include "core/platform/platform.h"

namespace orvane {

// The settings path: the program path with its extension changed to ".ini".
std::u16string settingsPath(std::u16string_view programPath);

// The INI settings file object of one sequence, with the rules of the
// private-profile functions. Opening reads the file once, under a lock that
// keeps other panels' updates out for that moment; every read looks up that
// copy, so a whole start-up costs one read of the file.
class SettingsFile {
public:
    explicit SettingsFile(std::u16string path);

    const std::u16string& path() const noexcept { return path_; }

    std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view fallback) const;
    std::int32_t ReadInteger(std::u16string_view section, std::u16string_view key,
                             std::int32_t fallback) const;
    bool ReadBool(std::u16string_view section, std::u16string_view key, bool fallback) const;

protected:
    // Reads the file under the lock given, which the object keeps.
    SettingsFile(std::u16string path, platform::FileLock lock);

    std::u16string path_;
    platform::FileLock lock_;
    // Missing when the file exists but cannot be read.
    std::optional<ini::IniDocument> document_;
};

// The settings file opened for the shutdown's writes: one read-modify-write.
// It stays locked from the read until it is released, so that panels closing
// together take turns and each keeps the other's keys; the writes edit the
// copy, and save() writes the file once, with the bytes that writing key by
// key would have left.
class SettingsUpdate : public SettingsFile {
public:
    explicit SettingsUpdate(std::u16string path);

    // Each throws Error("%s に書き込めません") when the file exists but cannot
    // be read (it is never replaced then: its other keys would be lost), or
    // when the text cannot be stored without loss; the writes before it are
    // saved first, as writing key by key would have stored them.
    void WriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value);
    void WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value);
    void WriteBool(std::u16string_view section, std::u16string_view key, bool value);

    // Writes the file once when anything was written; throws
    // Error("%s に書き込めません") when the write is refused.
    void save();

private:
    bool written_ = false;
};

}  // namespace orvane
