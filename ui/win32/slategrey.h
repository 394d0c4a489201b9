#pragma once

#include <windows.h>

namespace orvane::ui::win32 {

// The "Windows10 SlateGray" colours, for native windows and controls.
namespace slategrey {

inline constexpr COLORREF kWindow = RGB(0x5b, 0x67, 0x70);
inline constexpr COLORREF kWindowText = RGB(0xf2, 0xf4, 0xf5);
// Fields and lists.
inline constexpr COLORREF kBase = RGB(0x41, 0x4b, 0x53);
inline constexpr COLORREF kText = RGB(0xff, 0xff, 0xff);
inline constexpr COLORREF kHighlight = RGB(0x6f, 0x8f, 0xaf);
inline constexpr COLORREF kHighlightedText = RGB(0xff, 0xff, 0xff);
inline constexpr COLORREF kDisabledText = RGB(0x98, 0xa2, 0xaa);
// The menu bar's entries are drawn in the system's menu text colour, which
// is dark: they get the palette's light shade behind them.
inline constexpr COLORREF kMenuBar = RGB(0x7d, 0x89, 0x93);

// Solid brushes of those colours, made once and kept for the process.
HBRUSH windowBrush();
HBRUSH baseBrush();
HBRUSH highlightBrush();
HBRUSH menuBarBrush();

// Answers WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT,
// WM_CTLCOLORLISTBOX and WM_CTLCOLORBTN: sets the text and background
// colours on the device context and gives the background brush; nullptr for
// any other message.
HBRUSH controlColour(UINT message, HDC dc);

}  // namespace slategrey

}  // namespace orvane::ui::win32
