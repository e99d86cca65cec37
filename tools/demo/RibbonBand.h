#pragma once
// The ribbon of the Word or Excel stand-in, as Office 2007 and later show it: a row of tabs with
// the Insert tab open, and on it the groups that the loaded add-ins' custom UI adds, each button
// large with the image its getImage gave. A press calls the button's onAction as Office does.
#include <windows.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "ComPtr.h"
#include "Handle.h"
#include "hostdouble/Ribbon.h"

namespace inkra::demo {

class RibbonBand {
 public:
  static constexpr int kHeight = 104;

  explicit RibbonBand(test::office::HostDouble& host) : host_(host) {}  // not owned

  // The add-in's buttons on the Insert tab of the host's main ribbon (its image read once here).
  void Add(IUnknown* addIn, const test::office::Ribbon& ribbon);
  bool Empty() const { return buttons_.empty(); }

  // Draws the band at `top` across `width`; `hot` and `pressed` are button indexes or -1.
  void Paint(HDC dc, int top, int width, HFONT font, int hot, int pressed);
  int HitButton(int x, int y) const;
  // Button `index` in client coordinates of the last paint; null past the last.
  const RECT* ButtonRect(int index) const {
    return index < int(buttons_.size()) ? &buttons_[size_t(index)].rect : nullptr;
  }
  const std::wstring& Label(int index) const { return buttons_.at(size_t(index)).button.label; }
  const std::wstring& ScreenTip(int index) const { return buttons_.at(size_t(index)).button.screentip; }
  // Office's press of the button: onAction through the add-in's IDispatch.
  HRESULT Press(int index);

 private:
  struct Button {
    win::ComPtr<IUnknown> addIn;
    test::office::RibbonButton button;
    win::ComPtr<IPicture> image;  // may be null: the label alone is drawn
    RECT rect{};
  };

  test::office::HostDouble& host_;
  std::vector<Button> buttons_;
};

}  // namespace inkra::demo
