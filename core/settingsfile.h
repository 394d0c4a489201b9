#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// The settings path: the program path with its extension changed to ".ini".
std::u16string settingsPath(std::u16string_view programPath);

// The INI settings file, read and written one key per call with the rules of
// the private-profile functions. No cache: every call acts on the file.
class SettingsFile {
public:
    explicit SettingsFile(std::u16string path);

    const std::u16string& path() const noexcept { return path_; }

    std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view fallback) const;
    std::int32_t ReadInteger(std::u16string_view section, std::u16string_view key,
                             std::int32_t fallback) const;
    bool ReadBool(std::u16string_view section, std::u16string_view key, bool fallback) const;

    // Each throws Error("%s に書き込めません") when the write is refused.
    void WriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value);
    void WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value);
    void WriteBool(std::u16string_view section, std::u16string_view key, bool value);

private:
    std::u16string path_;
};

}  // namespace orvane
