#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace democad {

// A class identifier in the fields of a GUID.
struct ClassId {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};
};

// The demo's class for a ProgID, derived from its text so that every start
// under one ProgID finds the same class and two ProgIDs never share one. The
// registry does not tell ProgIDs apart by the case of ASCII letters, so
// neither does this. A version 8 (custom) UUID.
ClassId classIdForProgId(std::u16string_view progId);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", as the registry writes it.
std::u16string classIdText(const ClassId& id);

}  // namespace democad
