#pragma once

#include <string_view>

namespace democad {

// The members the demo serves by itself.
inline constexpr std::u16string_view hwndMember = u"HWND";
inline constexpr std::u16string_view fullNameMember = u"FullName";
inline constexpr std::u16string_view pathMember = u"Path";
inline constexpr std::u16string_view activeDocumentMember = u"ActiveDocument";
inline constexpr std::u16string_view stateMembers[] = {u"GetAcadState", u"GetGcadState", u"GetZcadState"};
inline constexpr std::u16string_view sendCommandMember = u"SendCommand";
inline constexpr std::u16string_view isQuiescentMember = u"IsQuiescent";

}  // namespace democad
