#include "ui/win32/FriendsListWindow.h"

#include <commctrl.h>

#include "ui/win32/Dpi.h"
#include "ui/win32/Font.h"
#include "ui/win32/Text.h"

namespace wf::ui::win32 {

namespace {

constexpr int kListId = 1, kGoToId = 2, kTravelId = 3;
constexpr int kColumns = 6;
// At the default DPI.
constexpr int kWidth = 620, kHeight = 300, kButtonWidth = 80, kButtonHeight = 24, kGap = 6;
constexpr struct {
  const wchar_t* Title;
  int Width;
} kColumnTitles[kColumns] = {{L"Name", 130}, {L"Map", 70}, {L"X Y", 80}, {L"Sextant", 120}, {L"Distance", 110},
                             {L"Heard", 60}};

std::vector<std::wstring> Cells(const TFriendRow& row) {
  return {Widen(row.Name, CP_UTF8),     Widen(row.Facet, CP_UTF8),    Widen(row.Cell, CP_UTF8),
          Widen(row.Sextant, CP_UTF8),  Widen(row.Distance, CP_UTF8), Widen(row.Heard, CP_UTF8)};
}

}  // namespace

TFriendsListWindow::~TFriendsListWindow() {
  form_ = nullptr;
  DestroyHandle();
}

void TFriendsListWindow::Open() {
  if (Handle()) {
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(Handle());
    return;
  }
  static const bool controlsReady = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)controlsReady;
  RegisterWindowClass({.name = kClassName, .background = GetSysColorBrush(COLOR_BTNFACE)});
  const HWND owner = owner_ ? owner_->Handle() : nullptr;
  const UINT dpi = owner ? DpiOfWindow(owner) : kDefaultDpi;
  CreateHandle({.className = kClassName,
                .title = L"Friends",
                .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                .exStyle = WS_EX_TOOLWINDOW,
                .width = Scaled(kWidth, dpi),
                .height = Scaled(kHeight, dpi),
                .parent = owner});
  ShowWindow(Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(Handle());
  SetFocus(list_);
}

void TFriendsListWindow::CreateContent() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0,
                          0, 0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, nullptr);
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  const UINT dpi = DpiOfWindow(Handle());
  for (int i = 0; i < kColumns; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(kColumnTitles[i].Title);
    column.cx = Scaled(kColumnTitles[i].Width, dpi);
    SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  goTo_ = CreateWindowExW(0, L"BUTTON", L"&Go to", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                          Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kGoToId)), instance, nullptr);
  travel_ = CreateWindowExW(0, L"BUTTON", L"&Travel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                            Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTravelId)), instance, nullptr);
  // Names come in any script: the desktop's message font covers more of them
  // than the map window's, and falls back to other fonts where it lacks one.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    font_ = CreateFontIndirectW(&metrics.lfMessageFont);
  for (HWND control : {list_, goTo_, travel_})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_ ? font_ : ControlFont()), FALSE);
}

void TFriendsListWindow::Layout() {
  RECT client{};
  GetClientRect(Handle(), &client);
  const UINT dpi = DpiOfWindow(Handle());
  const int gap = Scaled(kGap, dpi), buttonWidth = Scaled(kButtonWidth, dpi), buttonHeight = Scaled(kButtonHeight, dpi);
  const int buttonsTop = client.bottom - gap - buttonHeight;
  MoveWindow(list_, gap, gap, std::max(0, static_cast<int>(client.right) - 2 * gap),
             std::max(0, buttonsTop - 2 * gap), TRUE);
  MoveWindow(goTo_, gap, buttonsTop, buttonWidth, buttonHeight, TRUE);
  MoveWindow(travel_, 2 * gap + buttonWidth, buttonsTop, buttonWidth, buttonHeight, TRUE);
}

// Rows are written in place, and only the cells that changed: the list keeps
// its scroll position and does not flicker at ten updates a second.
void TFriendsListWindow::ShowRows(const std::vector<TFriendRow>& rows, int selected) {
  if (!list_) return;
  filling_ = true;
  const int count = static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
  for (int i = count; i < static_cast<int>(rows.size()); ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<wchar_t*>(L"");
    SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  for (int i = count - 1; i >= static_cast<int>(rows.size()); --i) SendMessageW(list_, LVM_DELETEITEM, i, 0);
  shown_.resize(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    std::vector<std::wstring> cells = Cells(rows[i]);
    shown_[i].resize(kColumns);
    for (int column = 0; column < kColumns; ++column) {
      if (static_cast<int>(i) < count && shown_[i][static_cast<size_t>(column)] == cells[static_cast<size_t>(column)])
        continue;
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = cells[static_cast<size_t>(column)].data();
      SendMessageW(list_, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
      shown_[i][static_cast<size_t>(column)] = std::move(cells[static_cast<size_t>(column)]);
    }
  }
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = 0;
  SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  if (selected >= 0 && selected < static_cast<int>(rows.size())) {
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&state));
  }
  filling_ = false;
}

int TFriendsListWindow::Chosen() const {
  return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

LRESULT TFriendsListWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateContent();
      return 0;

    case WM_SIZE:
      Layout();
      return 0;

    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom != list_ || !form_) break;
      if (header->code == LVN_ITEMCHANGED && !filling_) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED))
          form_->FriendsListSelect(change->iItem);
        return 0;
      }
      if (header->code == NM_DBLCLK || header->code == NM_RETURN) {
        form_->FriendsListGoTo(Chosen());
        return 0;
      }
      break;
    }

    case WM_COMMAND:
      if (!form_ || HIWORD(wParam) != BN_CLICKED) break;
      if (LOWORD(wParam) == kGoToId) {
        form_->FriendsListGoTo(Chosen());
        return 0;
      }
      if (LOWORD(wParam) == kTravelId) {
        form_->FriendsListTravel(Chosen());
        return 0;
      }
      break;

    case WM_CLOSE:
      DestroyHandle();
      return 0;

    case WM_DESTROY:
      list_ = goTo_ = travel_ = nullptr;
      shown_.clear();
      if (font_) DeleteObject(font_);
      font_ = nullptr;
      return 0;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace wf::ui::win32
