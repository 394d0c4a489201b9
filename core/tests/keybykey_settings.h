#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/settingsfile.h"

namespace orvane::testing {

// The settings written one key per call, as the shutdown wrote them before it
// read and wrote the file once: each write opens the file, writes the key,
// saves and releases it.
class KeyByKeySettings {
public:
    explicit KeyByKeySettings(std::u16string path) : path_(std::move(path)) {}

    const std::u16string& path() const noexcept { return path_; }

    void WriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value) const {
        SettingsUpdate settings(path_);
        settings.WriteString(section, key, value);
        settings.save();
    }
    void WriteInteger(std::u16string_view section, std::u16string_view key,
                      std::int32_t value) const {
        SettingsUpdate settings(path_);
        settings.WriteInteger(section, key, value);
        settings.save();
    }
    void WriteBool(std::u16string_view section, std::u16string_view key, bool value) const {
        SettingsUpdate settings(path_);
        settings.WriteBool(section, key, value);
        settings.save();
    }

private:
    std::u16string path_;
};

}  // namespace orvane::testing
