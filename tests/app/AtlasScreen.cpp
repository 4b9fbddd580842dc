#include "AtlasScreen.h"

#include <gtest/gtest.h>

#include "atlas/AtlasView.h"
#include "mapdata/Map.h"
#include "ui/win32/InputDialog.h"

namespace wf::testing {

bool WaitUntil(const std::function<bool()>& done, int seconds) {
  for (int i = 0; i < seconds * 10; ++i, Sleep(100))
    if (done()) return true;
  return done();
}

std::vector<uint32_t> ScreenPatch(HWND window, int left, int top, int width, int height) {
  POINT at{left, top};
  ClientToScreen(window, &at);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows from the top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, screen, at.x, at.y, SRCCOPY);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + width * height);
  for (uint32_t& p : pixels) p &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

SIZE AtlasPictureSize(HWND atlasWindow, HWND statusBar) {
  RECT client{}, bar{};
  GetClientRect(atlasWindow, &client);
  GetWindowRect(statusBar, &bar);
  return {client.right, client.bottom - (bar.bottom - bar.top)};
}

atlas::TAtlasFrame FittedFrame(HWND atlasWindow, HWND statusBar) {
  const SIZE picture = AtlasPictureSize(atlasWindow, statusBar);
  return atlas::Fitted({1448, 1448}, picture.cx, picture.cy);
}

uint32_t BoxColour(const atlas::TAtlasFrame& frame, int64_t x, int64_t y) {
  const int64_t k = atlas::Scales[frame.Scale].CellsPerPixel;
  int64_t sum[3] = {}, count = 0;
  for (int64_t cy = (frame.OriginY + y) * k; cy < (frame.OriginY + y + 1) * k; ++cy)
    for (int64_t cx = (frame.OriginX + x) * k; cx < (frame.OriginX + x + 1) * k; ++cx) {
      if (cx < 0 || cy < 0 || cx >= 1448 || cy >= 1448) continue;
      const TColor32 c = RadarColorToColor32(static_cast<uint16_t>(1 + (cx / 24 + 7 * (cy / 24)) % 900));
      for (int i = 0; i < 3; ++i) sum[i] += (c >> (16 - 8 * i)) & 0xFF;
      ++count;
    }
  return static_cast<uint32_t>((sum[0] / count) << 16 | (sum[1] / count) << 8 | sum[2] / count);
}

void Answer(const ProgramRun& program, const char* caption, const std::string& text) {
  HWND box = program.Box(caption);
  ASSERT_NE(box, nullptr) << caption;
  SendMessageA(GetDlgItem(box, ui::win32::TInputDialog::kEditId), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(text.c_str()));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(50);
}

}  // namespace wf::testing
