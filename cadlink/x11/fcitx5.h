#pragma once

#include "cadlink/x11/imebus.h"
#include "cadlink/x11/inputmethod.h"

namespace orvane::cadlink::x11 {

inline constexpr char kFcitx5Service[] = "org.fcitx.Fcitx5";
inline constexpr char kFcitx5Path[] = "/controller";
inline constexpr char kFcitx5Interface[] = "org.fcitx.Fcitx.Controller1";

// Fcitx 5 through its controller. State() is 0 without an input context,
// 1 inactive, 2 active.
class Fcitx5Framework final : public InputMethodFramework {
public:
    explicit Fcitx5Framework(BusCaller call) : call_(std::move(call)) {}

    std::optional<bool> isOpen() override;
    bool setOpen(bool open) override;

private:
    QDBusMessage call(const char* member) const;

    BusCaller call_;
};

}  // namespace orvane::cadlink::x11
