#include "ui/Form2.h"

#include "app/Settings.h"
#include "resources/resource.h"
#include "shape/mod_RGN_UserFunction.h"
#include "toolkit/App.h"
#include "toolkit/Numbers.h"
#include "toolkit/Twips.h"

namespace kirasoe {

namespace uf = mod_RGN_UserFunction;

Form2Class& Form2 = *new Form2Class;

Form2Class::Form2Class()
    : tk::Form({.name = L"Form2", .caption = L"Kirasoe", .border = tk::BorderStyle::FixedDialog, .iconId = IDI_KIRASOE}) {}

void Form2Class::Form_Load() {
  const auto stored = settings::ReadPreviewPosition(
      [](const std::wstring& key) { return uf::ReadIni(settings::kSection, key); });
  Left(stored.left);
  Top(stored.top);
  // A position stored on a monitor that is gone would leave the preview
  // where nobody sees it.
  tk::Screen::BringOnScreen(*this);
}

void Form2Class::Form_QueryUnload(int& /*cancel*/, int /*mode*/) {
  auto text = [](float v) {
    std::string s = num::SingleToText(v);
    return std::wstring(s.begin(), s.end());
  };
  uf::WriteIni(settings::kSection, L"X2", text(Left()));
  uf::WriteIni(settings::kSection, L"Y2", text(Top()));
}

void Form2Class::SetImage(tk::UniqueBitmap picture) {
  image_ = std::move(picture);
  BITMAP bm{};
  if (image_ && ::GetObjectW(image_.get(), sizeof bm, &bm)) {
    imageWidth_ = static_cast<float>(twips::FromPixels(bm.bmWidth, tk::Screen::TwipsPerPixelX()));
    imageHeight_ = static_cast<float>(twips::FromPixels(bm.bmHeight, tk::Screen::TwipsPerPixelY()));
  }
  if (Loaded()) ::InvalidateRect(hWnd(), nullptr, TRUE);
}

void Form2Class::FitClientToImage() {
  BITMAP bm{};
  if (!image_ || !::GetObjectW(image_.get(), sizeof bm, &bm)) return;
  RECT client{}, outer{};
  ::GetClientRect(hWnd(), &client);
  ::GetWindowRect(hWnd(), &outer);
  const int dw = bm.bmWidth - client.right, dh = bm.bmHeight - client.bottom;
  if (dw == 0 && dh == 0) return;
  ::SetWindowPos(hWnd(), nullptr, 0, 0, outer.right - outer.left + dw, outer.bottom - outer.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form2Class::DrawControls(HDC dc) {
  if (!image_) return;
  BITMAP bm{};
  ::GetObjectW(image_.get(), sizeof bm, &bm);
  tk::MemoryDC src(::CreateCompatibleDC(dc));
  tk::SelectedObject sel(src.get(), image_.get());
  ::BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY);
}

}  // namespace kirasoe
