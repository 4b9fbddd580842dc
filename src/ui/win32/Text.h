#pragma once
// Text between the program's single-byte strings and the wide-character API.

#include <windows.h>

#include <string>
#include <string_view>

namespace wf::ui::win32 {

// Fixed texts of the window are written in code page 1252 ("\xC4ndern"); made
// wide from that code page they show correctly whatever the desktop's own.
constexpr UINT kFixedTextCodePage = 1252;

std::wstring Widen(std::string_view bytes, UINT codePage = kFixedTextCodePage);

// A window's text in the system code page, as the window's logic handles it.
std::string WindowTextA(HWND window);

}  // namespace wf::ui::win32
