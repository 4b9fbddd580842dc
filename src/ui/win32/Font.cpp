#include "ui/win32/Font.h"

#include <cwchar>

namespace wf::ui::win32 {

namespace {

constexpr wchar_t kFaceName[] = L"MS Sans Serif";
constexpr LONG kCharacterHeight = 11;

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &query, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

HFONT CreateControlFont() {
  if (FaceInstalled(kFaceName)) {
    LOGFONTW font{};
    font.lfHeight = -kCharacterHeight;  // negative: character height, not cell height
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, kFaceName, LF_FACESIZE - 1);
    if (HFONT made = CreateFontIndirectW(&font)) return made;
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    if (HFONT made = CreateFontIndirectW(&metrics.lfMessageFont)) return made;
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

HFONT ControlFont() {
  static const HFONT font = CreateControlFont();
  return font;
}

bool NeedsWideFont(const std::wstring& text) {
  if (text.empty()) return false;
  BOOL lost = FALSE;
  WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                      &lost);
  return lost != FALSE;
}

HFONT CreateWideFont(LONG height) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  metrics.lfMessageFont.lfHeight = height;
  metrics.lfMessageFont.lfWidth = 0;
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

}  // namespace wf::ui::win32
