#pragma once
// The atlas on Windows: a top-level window "Atlas" of its own (with its own
// taskbar button), its menus, a status bar, and a back buffer the size of the
// picture into which the atlas's logic composes each frame and over which the
// window writes the places' names. It decides nothing itself: input goes to
// the logic, pictures come from it.

#include <windows.h>

#include <atomic>
#include <string>
#include <unordered_map>

#include "ui/AtlasForm.h"
#include "ui/win32/Window.h"

namespace wf::ui::win32 {

class TAtlasWindow : public TWindow, public IAtlasWindow {
 public:
  static constexpr wchar_t kClassName[] = L"WayfarerAtlasWindow";
  // At the default DPI; the window's DPI scales them.
  static constexpr int kMinClientWidth = 320;
  static constexpr int kMinClientHeight = 200;
  static constexpr int kDefaultWidth = 960;
  static constexpr int kDefaultHeight = 680;
  static constexpr UINT kTileReady = WM_APP + 1;
  // The menus' commands.
  enum : UINT {
    kIdZoomIn = 1, kIdZoomOut, kIdHome,
    kIdPlaces, kIdGrid, kIdFollow, kIdOnTop, kIdOpacity100, kIdOpacity85, kIdOpacity70, kIdOpacity55,
    kIdGoTo, kIdNewPlace, kIdClear, kIdFriends, kIdFriendsList,
  };
  // Draws what friends' messages held back and who faded (TAtlasForm::FriendsTimer).
  static constexpr UINT_PTR kFriendsTimer = 1;
  static constexpr UINT kFriendsTimerMs = 100;

  TAtlasWindow() = default;
  ~TAtlasWindow() override;

  // The logic that gets the window's input and paints its picture.
  void Bind(TAtlasForm* form) { form_ = form; }
  // Safe on any thread (the picture engine's workers call it): the picture
  // is to be composed again. Calls between two paints make one message.
  void TileReady() noexcept;
  void Destroy() { DestroyHandle(); }

  void Open(const std::optional<TWindowPlacement>& placement) override;
  bool IsOpen() const override { return Handle() != nullptr; }
  TWindowPlacement Placement() const override;
  void Redraw() override;
  void SetStatusText(const std::string& text) override;
  TDragDistance DragDistance() const override;
  void ShowOptions(const TAtlasOptions& options) override;
  std::optional<std::string> AskGoTo(const std::string& previous) override;
  std::optional<int> ChooseOne(const std::string& caption, const std::string& prompt,
                               const std::vector<std::string>& items) override;
  atlas::TLabelSize LabelSize(const std::string& text) override;

  HWND StatusBar() const { return status_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateContent();
  void ApplyDpi(UINT dpi);
  void Layout();
  void PaintContent(HDC dc);
  void WriteNames(HDC memory);
  void FreeBuffer();
  // The atlas moves only while no other handler waits in a modal box: one
  // that is remaking the maps may be under way.
  static bool InputAllowed();

  // The font for a text: the control font, or the wide one where the text
  // holds letters the code page lacks.
  HFONT FontFor(const std::wstring& text) const;

  TAtlasForm* form_ = nullptr;
  HWND status_ = nullptr;
  HFONT statusFont_ = nullptr;
  // The desktop's message font at the control font's size: it covers more
  // scripts, and Windows links it to fonts for the rest (a friend's name).
  HFONT wideFont_ = nullptr;
  bool statusWide_ = false;
  // Where names are measured, in the status bar's font, and what they measured.
  HDC measure_ = nullptr;
  std::unordered_map<std::string, atlas::TLabelSize> sizes_;
  UINT dpi_ = 96;
  HBITMAP buffer_ = nullptr;
  void* bits_ = nullptr;
  int bufferWidth_ = 0;
  int bufferHeight_ = 0;
  bool trackingLeave_ = false;
  std::atomic<HWND> target_{nullptr};
  std::atomic<bool> tilePosted_{false};
};

}  // namespace wf::ui::win32
