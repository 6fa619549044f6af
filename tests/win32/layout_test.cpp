// Every dialog of Kirasoe's in both languages: each control's text measured
// in the control's own font against its rectangle, and the title against the
// title bar. Runs at the scale of its Wine prefix (96 and 144 dpi).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/frame_dialogs.h"
#include "app/hotkey_dialog.h"
#include "app/version_dialog.h"
#include "core/texts.h"

namespace {

std::vector<std::wstring> g_cutOff;  // what did not fit, "dialog: control text"
int g_measured = 0;

std::wstring Text(HWND h) {
  wchar_t text[512] = {};
  ::GetWindowTextW(h, text, 512);
  return text;
}

// The size `text` takes in `h`'s font; words wrap at `wrapWidth` when it is
// not 0.
SIZE Needed(HWND h, const std::wstring& text, int wrapWidth) {
  HDC dc = ::GetDC(h);
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
  RECT r{0, 0, wrapWidth ? wrapWidth : 10000, 0};
  ::DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | (wrapWidth ? DT_WORDBREAK : DT_SINGLELINE));
  if (old) ::SelectObject(dc, old);
  ::ReleaseDC(h, dc);
  return {r.right, r.bottom};
}

BOOL CALLBACK MeasureControl(HWND child, LPARAM dialog) {
  wchar_t cls[32] = {};
  ::GetClassNameW(child, cls, 32);
  const std::wstring text = Text(child), kind = cls;
  if (text.empty() || (kind != L"Button" && kind != L"Static")) return TRUE;
  RECT client{};
  ::GetClientRect(child, &client);
  // A button's text keeps clear of its edge; a label may wrap between words.
  const bool button = kind == L"Button";
  const int room = client.right - (button ? 2 * ::GetSystemMetrics(SM_CXEDGE) + 2 : 0);
  const SIZE needed = Needed(child, text, button ? 0 : room);
  ++g_measured;
  if (needed.cx > room || needed.cy > client.bottom)
    g_cutOff.push_back(Text(reinterpret_cast<HWND>(dialog)) + L": " + text + L" needs " + std::to_wstring(needed.cx) +
                       L"x" + std::to_wstring(needed.cy) + L", has " + std::to_wstring(room) + L"x" +
                       std::to_wstring(client.bottom));
  return TRUE;
}

// The title fits beside the close button.
void MeasureTitle(HWND dialog) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = ::CreateFontIndirectW(&metrics.lfCaptionFont);
  HDC dc = ::GetDC(dialog);
  HGDIOBJ old = ::SelectObject(dc, font);
  const std::wstring title = Text(dialog);
  SIZE size{};
  ::GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(dialog, dc);
  ::DeleteObject(font);
  RECT r{};
  ::GetWindowRect(dialog, &r);
  const int room = r.right - r.left - 2 * metrics.iCaptionWidth - 8;
  ++g_measured;
  if (size.cx > room) g_cutOff.push_back(L"title " + title + L" needs " + std::to_wstring(size.cx));
}

// Measures the window of ours that shows next, then closes it.
void CALLBACK MeasureShown(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND shown = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND h, LPARAM found) {
    if (::IsWindowVisible(h) && ::GetWindow(h, GW_OWNER) != nullptr) *reinterpret_cast<HWND*>(found) = h;
    return TRUE;
  }, reinterpret_cast<LPARAM>(&shown));
  if (!shown) {
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND h, LPARAM found) {
      wchar_t cls[32] = {};
      ::GetClassNameW(h, cls, 32);
      if (::IsWindowVisible(h) && (std::wstring(cls) == L"#32770" || std::wstring(cls) == L"Kirasoe.Version"))
        *reinterpret_cast<HWND*>(found) = h;
      return TRUE;
    }, reinterpret_cast<LPARAM>(&shown));
  }
  if (!shown) return;
  ::KillTimer(nullptr, timer);
  MeasureTitle(shown);
  ::EnumChildWindows(shown, MeasureControl, reinterpret_cast<LPARAM>(shown));
  ::PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
}

void Measure(const std::function<void()>& show) {
  ::SetTimer(nullptr, 0, 300, MeasureShown);
  show();
}

TEST(Layout, EveryDialogHoldsItsTextsInBothLanguages) {
  for (texts::Language language : {texts::Language::Japanese, texts::Language::English}) {
    Measure([&] { AskPositionAndSize(nullptr, {10, 10, 110, 60}, {{0, 0, 1024, 768}}, language); });
    Measure([&] { AskFrameName(nullptr, language); });
    // Every combination taken: the longest texts the dialog shows.
    HotKeyChoice taken;
    taken.taken.fill(true);
    Measure([&] { AskHotKeys(nullptr, taken, [&](const HotKeyChoice&) { return taken; }, language); });
    Measure([&] { VersionDialog(texts::Get(texts::Id::AboutTitle, language)).ShowModal({}); });
  }
  EXPECT_GE(g_measured, 2 * (7 + 4 + 7 + 2));
  std::wstring all;
  for (const auto& c : g_cutOff) all += c + L"\n";
  EXPECT_TRUE(g_cutOff.empty()) << std::string(all.begin(), all.end());
}

}  // namespace
