#pragma once
// The picture preview beside the open dialog: a child template placed right of the dialog's
// standard controls, and a hook that decodes the selected file and shows it scaled down, with its
// pixel size under it.
#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "GdiCanvas.h"

namespace inkra::board::win {

// Controls of the preview template (in the child dialog, whose parent is the open dialog).
inline constexpr int kPreviewImageId = 0x5A0;
inline constexpr int kPreviewSizeId = 0x5A1;
// Larger files are not decoded for the preview, so a huge file cannot hold up the dialog.
inline constexpr std::uintmax_t kPreviewMaxBytes = std::uintmax_t(64) << 20;
// The size label when there is no picture to show.
inline constexpr wchar_t kNoPreviewText[] = L"(无)";

// A picture with more pixels than this is not previewed: a small file may declare any size, and
// the dialog runs inside the host's (perhaps 32-bit) process.
inline constexpr std::uint64_t kPreviewMaxPixels = std::uint64_t(1) << 26;  // 64 megapixels
// A JPEG is decoded reduced, to about this many pixels on its longer side.
inline constexpr int kPreviewFitSide = 256;

struct PreviewPicture {
  int width = 0, height = 0;  // of the picture in the file
  Bitmap shown;               // its pixels, reduced for a large JPEG
};

// The picture in a BMP or JPEG file, or nullopt for a missing, oversized or undecodable file.
std::optional<PreviewPicture> LoadPreviewPicture(const std::filesystem::path& path,
                                                 std::uintmax_t maxBytes = kPreviewMaxBytes);
// Where a width x height picture goes in `box`: shrunk to fit when larger, never enlarged, aspect
// kept, centred.
RECT FitPreview(int width, int height, const RECT& box);
// "602 x 258", or kNoPreviewText.
std::wstring PreviewSizeText(const PreviewPicture* picture);

// One per open dialog; must outlive it.
class PicturePreview {
 public:
  PicturePreview();
  PicturePreview(const PicturePreview&) = delete;
  PicturePreview& operator=(const PicturePreview&) = delete;

  // Adds the template, the hook and their flags to the dialog's settings.
  void Attach(OPENFILENAMEW& ofn);

 private:
  static UINT_PTR CALLBACK Hook(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
  void Show(HWND child, const std::wstring& path);
  void Layout(HWND child) const;
  void Draw(const DRAWITEMSTRUCT& item) const;

  std::vector<WORD> template_;  // DLGTEMPLATE and items, DWORD aligned
  std::optional<PreviewPicture> picture_;
  std::unique_ptr<inkra::win::GdiCanvas> canvas_;  // picture_ ready for blitting
};

}  // namespace inkra::board::win
