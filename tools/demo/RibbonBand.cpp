#include "RibbonBand.h"

namespace inkra::demo {
namespace {

constexpr int kTabRowHeight = 24;
constexpr int kButtonWidth = 64;
constexpr int kImageSize = 32;
constexpr int kGroupLabelHeight = 18;
// The tab row of Word and Excel 2007 (Excel's "公式" and "数据" stand in Word's "引用" and "邮件").
constexpr const wchar_t* kWordTabs[] = {L"开始", L"插入", L"页面布局", L"引用", L"邮件", L"审阅", L"视图"};
constexpr const wchar_t* kExcelTabs[] = {L"开始", L"插入", L"页面布局", L"公式", L"数据", L"审阅", L"视图"};
constexpr int kInsertTab = 1;

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// The picture's bitmap drawn with its alpha channel over what is there.
void DrawImage(HDC dc, IPicture* picture, int x, int y) {
  OLE_HANDLE handle = 0;
  if (!picture || FAILED(picture->get_Handle(&handle))) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, x, y, kImageSize, kImageSize, source, 0, 0, kImageSize, kImageSize, blend);
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace

void RibbonBand::Add(IUnknown* addIn, const test::office::Ribbon& ribbon) {
  for (const test::office::RibbonButton& button : ribbon.buttons) {
    if (button.tabIdMso != L"TabInsert") continue;  // the stand-in opens the Insert tab only
    Button entry{addIn, button, nullptr, {}};
    HRESULT hr = S_OK;
    if (!button.getImage.empty()) {
      win::ComPtr<IPictureDisp> image = test::office::RibbonButtonImage(host_, addIn, button, hr);
      if (image) image.As(&entry.image);
    }
    buttons_.push_back(entry);
  }
}

void RibbonBand::Paint(HDC dc, int top, int width, HFONT font, int hot, int pressed) {
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  RECT band{0, top, width, top + kHeight};
  FillSolid(dc, band, RGB(223, 233, 245));
  // The tabs, the Insert tab open.
  const bool excel = host_.kind() == test::office::HostKind::Excel;
  int x = 8;
  for (int i = 0; i < 7; ++i) {
    const wchar_t* name = excel ? kExcelTabs[i] : kWordTabs[i];
    SIZE size{};
    GetTextExtentPoint32W(dc, name, int(wcslen(name)), &size);
    RECT tab{x, top + 3, x + size.cx + 20, top + kTabRowHeight};
    if (i == kInsertTab) {
      FillSolid(dc, tab, RGB(245, 249, 255));
      DrawEdge(dc, &tab, BDR_RAISEDINNER, BF_LEFT | BF_TOP | BF_RIGHT);
    }
    SetTextColor(dc, RGB(21, 66, 139));
    DrawTextW(dc, name, -1, &tab, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    x = tab.right + 2;
  }
  RECT body{2, top + kTabRowHeight, width - 2, top + kHeight - 3};
  FillSolid(dc, body, RGB(245, 249, 255));
  DrawEdge(dc, &body, BDR_RAISEDINNER, BF_RECT);

  // One group per add-in group, its buttons large: the image over the label.
  x = 8;
  for (size_t i = 0; i < buttons_.size();) {
    const std::wstring group = buttons_[i].button.groupLabel;
    const int start = x;
    for (; i < buttons_.size() && buttons_[i].button.groupLabel == group; ++i) {
      Button& b = buttons_[i];
      b.rect = {x, body.top + 4, x + kButtonWidth, body.bottom - kGroupLabelHeight - 2};
      if (int(i) == pressed || int(i) == hot) {
        FillSolid(dc, b.rect, int(i) == pressed ? RGB(255, 189, 105) : RGB(255, 231, 162));
        DrawEdge(dc, &b.rect, int(i) == pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
      }
      DrawImage(dc, b.image.Get(), (b.rect.left + b.rect.right - kImageSize) / 2, b.rect.top + 4);
      RECT label{b.rect.left, b.rect.top + kImageSize + 6, b.rect.right, b.rect.bottom};
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      DrawTextW(dc, b.button.label.c_str(), -1, &label, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
      x = b.rect.right + 2;
    }
    RECT groupLabel{start, body.bottom - kGroupLabelHeight - 2, x + 6, body.bottom - 2};
    SetTextColor(dc, RGB(62, 106, 170));
    DrawTextW(dc, group.c_str(), -1, &groupLabel, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    RECT separator{x + 8, body.top + 4, x + 9, body.bottom - 4};
    FillSolid(dc, separator, RGB(197, 210, 223));
    x += 14;
  }
  SelectObject(dc, oldFont);
}

int RibbonBand::HitButton(int x, int y) const {
  const POINT p{x, y};
  for (size_t i = 0; i < buttons_.size(); ++i)
    if (PtInRect(&buttons_[i].rect, p)) return int(i);
  return -1;
}

HRESULT RibbonBand::Press(int index) {
  const Button& b = buttons_.at(size_t(index));
  return test::office::PressRibbonButton(host_, b.addIn.Get(), b.button);
}

}  // namespace inkra::demo
