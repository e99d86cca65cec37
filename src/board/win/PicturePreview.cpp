#include "PicturePreview.h"

#include <dlgs.h>

#include <algorithm>
#include <cwctype>
#include <span>
#include <system_error>

#include "Bmp.h"
#include "ByteSink.h"
#include "Jpeg.h"

namespace inkra::board::win {
namespace {

// Template layout in dialog units. Both preview controls start left of stc32's bottom edge so the
// dialog moves them right of its standard controls, not below them; Layout then lines them up
// with the file list.
constexpr short kPaneWidth = 110;
constexpr short kMargin = 6;
constexpr short kLabelHeight = 10;

// Appends words to a template under construction.
class TemplateWriter {
 public:
  explicit TemplateWriter(std::vector<WORD>& out) : out_(out) {}
  void Word(WORD w) { out_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const wchar_t* s) {
    do Word(WORD(*s)); while (*s++);
  }
  void Align() {
    if (out_.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, const wchar_t* text) {
    Align();
    Dword(style | WS_CHILD);
    Dword(0);  // extended style
    for (short v : {x, y, cx, cy}) Word(WORD(v));
    Word(id);
    Word(0xFFFF);
    Word(0x0082);  // the static class
    Text(text);
    Word(0);  // no creation data
  }

 private:
  std::vector<WORD>& out_;
};

std::vector<WORD> BuildTemplate() {
  std::vector<WORD> words;
  TemplateWriter w(words);
  w.Dword(WS_CHILD | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL | DS_SETFONT);
  w.Dword(0);  // extended style
  w.Word(3);   // items
  for (short v : {short(0), short(0), short(kPaneWidth + 2 * kMargin + 4), short(120)}) w.Word(WORD(v));
  w.Word(0);  // no menu
  w.Word(0);  // the dialog class
  w.Word(0);  // no title
  w.Word(8);
  w.Text(L"MS Shell Dlg");
  w.Item(0, 0, 0, 4, 120, stc32, L"");
  w.Item(SS_OWNERDRAW | WS_VISIBLE, 4 + kMargin, 4, kPaneWidth, 96, kPreviewImageId, L"");
  w.Item(SS_CENTER | SS_NOPREFIX | WS_VISIBLE, 4 + kMargin, 104, kPaneWidth, kLabelHeight,
         kPreviewSizeId, kNoPreviewText);
  return words;
}

RECT RectIn(HWND control, HWND of) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, of, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool IsJpegName(const std::filesystem::path& path) {
  std::wstring ext = path.extension().wstring();
  for (wchar_t& c : ext) c = wchar_t(std::towlower(c));
  return ext == L".jpg" || ext == L".jpeg";
}

// The pixel count a BMP file's header declares (0 when it has no readable header).
std::uint64_t BmpPixelCount(std::span<const std::uint8_t> file) {
  if (file.size() < 26) return 0;
  auto field = [&](std::size_t at, int bytes) {
    std::int64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | file[at + std::size_t(i)];
    if (bytes == 4 && v >= 0x80000000LL) v -= 0x100000000LL;  // top-down pictures are negative
    return v < 0 ? -v : v;
  };
  const bool core = field(14, 4) == 12;  // the old 12-byte header has 16-bit sides
  return std::uint64_t(core ? field(18, 2) : field(18, 4)) * std::uint64_t(core ? field(20, 2) : field(22, 4));
}

}  // namespace

std::optional<PreviewPicture> LoadPreviewPicture(const std::filesystem::path& path, std::uintmax_t maxBytes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > maxBytes) return std::nullopt;
  try {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    if (LooksLikeJpeg(bytes) || IsJpegName(path)) {
      JpegPreview jpeg = DecodeJpegPreview(bytes, kPreviewFitSide, kPreviewMaxPixels);
      return PreviewPicture{jpeg.width, jpeg.height, std::move(jpeg.reduced)};
    }
    // A bitmap is read whole, so its declared size is checked first: run-length data lets a
    // small file declare a huge picture.
    if (BmpPixelCount(bytes) > kPreviewMaxPixels) return std::nullopt;
    Bitmap bitmap = ReadBmp(bytes);
    const int w = bitmap.Width(), h = bitmap.Height();
    return PreviewPicture{w, h, std::move(bitmap)};
  } catch (...) {
    // Anything the file or the codecs refuse simply leaves the preview empty.
    return std::nullopt;
  }
}

RECT FitPreview(int width, int height, const RECT& box) {
  const int boxW = std::max(0L, box.right - box.left), boxH = std::max(0L, box.bottom - box.top);
  int w = width, h = height;
  if (w > boxW || h > boxH) {
    // Scale by the tighter of the two ratios, in integers: w/width vs boxW/width.
    if (std::int64_t(boxW) * height <= std::int64_t(boxH) * width) {
      w = boxW;
      h = int(std::int64_t(height) * boxW / width);
    } else {
      h = boxH;
      w = int(std::int64_t(width) * boxH / height);
    }
    w = std::max(w, 1);
    h = std::max(h, 1);
  }
  const int left = box.left + (boxW - w) / 2, top = box.top + (boxH - h) / 2;
  return {left, top, left + w, top + h};
}

std::wstring PreviewSizeText(const PreviewPicture* picture) {
  if (!picture) return kNoPreviewText;
  return std::to_wstring(picture->width) + L" x " + std::to_wstring(picture->height);
}

PicturePreview::PicturePreview() : template_(BuildTemplate()) {}

void PicturePreview::Attach(OPENFILENAMEW& ofn) {
  ofn.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
  // With OFN_ENABLETEMPLATEHANDLE this field carries the template itself.
  ofn.hInstance = reinterpret_cast<HINSTANCE>(template_.data());
  ofn.lpfnHook = &PicturePreview::Hook;
  ofn.lCustData = reinterpret_cast<LPARAM>(this);
}

UINT_PTR CALLBACK PicturePreview::Hook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* ofn = reinterpret_cast<const OPENFILENAMEW*>(lParam);
    SetWindowLongPtrW(child, DWLP_USER, ofn->lCustData);
    return TRUE;
  }
  auto* self = reinterpret_cast<PicturePreview*>(GetWindowLongPtrW(child, DWLP_USER));
  if (!self) return FALSE;
  try {
    switch (message) {
      case WM_SIZE:
        self->Layout(child);
        return FALSE;
      case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != UINT(kPreviewImageId)) return FALSE;
        self->Draw(*item);
        return TRUE;
      }
      case WM_NOTIFY: {
        const auto* note = reinterpret_cast<const OFNOTIFYW*>(lParam);
        if (note->hdr.code == CDN_INITDONE) {
          self->Layout(child);
        } else if (note->hdr.code == CDN_SELCHANGE) {
          std::vector<wchar_t> path(32768, L'\0');
          const LRESULT n = SendMessageW(GetParent(child), CDM_GETFILEPATH, WPARAM(path.size()),
                                         reinterpret_cast<LPARAM>(path.data()));
          self->Show(child, n > 0 ? std::wstring(path.data()) : std::wstring());
        }
        return FALSE;
      }
      default:
        return FALSE;
    }
  } catch (...) {
    // No exception leaves a dialog procedure; a failed preview shows nothing.
    self->picture_.reset();
    self->canvas_.reset();
    return FALSE;
  }
}

void PicturePreview::Show(HWND child, const std::wstring& path) {
  canvas_.reset();
  picture_ = path.empty() ? std::nullopt : LoadPreviewPicture(std::filesystem::path(path));
  if (picture_) canvas_ = std::make_unique<inkra::win::GdiCanvas>(picture_->shown);
  SetDlgItemTextW(child, kPreviewSizeId, PreviewSizeText(picture_ ? &*picture_ : nullptr).c_str());
  InvalidateRect(GetDlgItem(child, kPreviewImageId), nullptr, TRUE);
}

void PicturePreview::Layout(HWND child) const {
  // Beside the file list, as tall as it: the picture above, its size below.
  HWND list = GetDlgItem(GetParent(child), lst1);
  HWND standard = GetDlgItem(child, stc32);
  if (!list || !standard) return;
  const RECT l = RectIn(list, child);
  RECT units{kMargin, kLabelHeight + 2, kPaneWidth, 0};
  MapDialogRect(child, &units);
  const int left = std::max(l.right, RectIn(standard, child).right) + units.left;
  const int labelHeight = units.top;
  const int height = std::max(1L, l.bottom - l.top - labelHeight);
  SetWindowPos(GetDlgItem(child, kPreviewImageId), nullptr, left, l.top, units.right, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(GetDlgItem(child, kPreviewSizeId), nullptr, left, l.top + height + 2, units.right,
               labelHeight - 2, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PicturePreview::Draw(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
  FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  if (!canvas_) return;
  const RECT inner{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
  const RECT to = FitPreview(canvas_->Width(), canvas_->Height(), inner);
  const int oldMode = SetStretchBltMode(dc, HALFTONE);
  POINT oldOrigin{};
  SetBrushOrgEx(dc, 0, 0, &oldOrigin);
  StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, canvas_->Dc(), 0, 0,
             canvas_->Width(), canvas_->Height(), SRCCOPY);
  SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  SetStretchBltMode(dc, oldMode);
}

}  // namespace inkra::board::win
