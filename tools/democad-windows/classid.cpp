#include "tools/democad-windows/classid.h"

namespace democad {

namespace {

// FNV-1a over the UTF-16 units, ASCII letters folded to lower case.
std::uint64_t hash(std::u16string_view text, std::uint64_t basis) {
    std::uint64_t value = basis;
    for (char16_t c : text) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
        for (const auto byte : {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8)}) {
            value ^= byte;
            value *= 0x100000001B3ULL;
        }
    }
    return value;
}

}  // namespace

ClassId classIdForProgId(std::u16string_view progId) {
    const std::uint64_t high = hash(progId, 0xCBF29CE484222325ULL);
    const std::uint64_t low = hash(progId, 0x6F7276616E654443ULL);
    ClassId id;
    id.data1 = static_cast<std::uint32_t>(high >> 32);
    id.data2 = static_cast<std::uint16_t>(high >> 16);
    id.data3 = static_cast<std::uint16_t>((high & 0x0FFF) | 0x8000);
    for (std::size_t i = 0; i < id.data4.size(); ++i) {
        id.data4[i] = static_cast<std::uint8_t>(low >> (56 - 8 * i));
    }
    id.data4[0] = static_cast<std::uint8_t>((id.data4[0] & 0x3F) | 0x80);
    return id;
}

std::u16string classIdText(const ClassId& id) {
    static constexpr char16_t hexDigits[] = u"0123456789ABCDEF";
    std::u16string text = u"{";
    const auto put = [&text](std::uint64_t value, int digits) {
        for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) text += hexDigits[(value >> shift) & 0xF];
    };
    put(id.data1, 8);
    text += u'-';
    put(id.data2, 4);
    text += u'-';
    put(id.data3, 4);
    text += u'-';
    put(id.data4[0], 2);
    put(id.data4[1], 2);
    text += u'-';
    for (std::size_t i = 2; i < id.data4.size(); ++i) put(id.data4[i], 2);
    return text + u'}';
}

}  // namespace democad
