// The straddle seal: the picture cut into vertical slices, one on the right edge of each page,
// so that the pages laid fanned out show the whole seal across their edges.
#include <filesystem>

#include "ByteSink.h"
#include "Dispatch.h"
#include "HandOffFile.h"
#include "HostTexts.h"
#include "PictureCut.h"
#include "ToolbarAddIn.h"
#include "WordPlacement.h"

namespace inkra::addin {

using win::ComPtr;

namespace {

// The slice files, named after the hand-off file in the temporary folder (the root of drive C
// may refuse them): each is gone when this is, whatever happened.
class SliceFiles {
 public:
  explicit SliceFiles(const std::wstring& handOff) : stem_(win::TempFolderPathFor(handOff)) {}
  ~SliceFiles() {
    for (const std::wstring& file : written_) DeleteFileW(file.c_str());
  }
  SliceFiles(const SliceFiles&) = delete;
  SliceFiles& operator=(const SliceFiles&) = delete;

  std::wstring Write(int page, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::path file = stem_;
    file.replace_filename(stem_.stem().wstring() + L"-" + std::to_wstring(page) + stem_.extension().wstring());
    written_.push_back(file.wstring());
    WriteFileBytes(file, bytes);
    return file.wstring();
  }
  void Remove(const std::wstring& file) { DeleteFileW(file.c_str()); }

 private:
  std::filesystem::path stem_;
  std::vector<std::wstring> written_;
};

// Slices already in the document go again unless the whole seal got in.
class AllOrNone {
 public:
  ~AllOrNone() {
    if (kept_) return;
    for (auto& shape : shapes_) {
      try {
        win::Call(shape.Get(), L"Delete");
      } catch (const std::exception&) {
        // the document refuses: nothing more can be done for this slice
      }
    }
  }
  std::vector<ComPtr<IDispatch>>& Shapes() { return shapes_; }
  std::vector<ComPtr<IDispatch>> Keep() {
    kept_ = true;
    return std::move(shapes_);
  }

 private:
  std::vector<ComPtr<IDispatch>> shapes_;
  bool kept_ = false;
};

}  // namespace

std::vector<ComPtr<IDispatch>> InsertStraddle(IDispatch* document, IDispatch* shapes, const Insertion& insertion) {
  const int pages = win::Call(document, L"ComputeStatistics", wdStatisticPages).ToInt32();
  if (pages < 2) throw PictureRefused(kStraddleNeedsPages);
  const PictureColumns picture(ReadFileBytes(std::filesystem::path(insertion.path)));
  const PictureBox& box = insertion.box;
  // Sliced in the view's pixels, so each slice has the width in points it has at the view's
  // resolution, then cut where those columns lie in a file drawn larger.
  const int across = box.viewPixels > 0 ? box.viewPixels : picture.Width();
  const double pointsPerPixel = box.width / across;
  const std::vector<Slice> slices = StraddleSlices(pages, across, MaxPagesPerPicture(box.width, kNarrowestSlice));

  SliceFiles files(insertion.path);
  AllOrNone inserted;
  for (const Slice& slice : slices) {
    const int left = PixelAt(slice.x, across, picture.Width());
    const std::wstring file =
        files.Write(slice.page, picture.Cut(left, PixelAt(slice.x + slice.width, across, picture.Width()) - left));
    const double width = slice.width * pointsPerPixel;
    ComPtr<IDispatch> anchor = win::Call(document, L"GoTo", wdGoToPage, wdGoToAbsolute, slice.page).ToDispatch();
    const PageSize page = PageOf(anchor.Get());
    const Position at = AtRightEdge(page.width, page.height, width, box.height);
    ComPtr<IDispatch> shape = AddPicture(shapes, file, at.left, at.top, width, box.height, win::Variant(anchor.Get()));
    if (!shape) win::ThrowFailure(E_POINTER, L"AddPicture");
    inserted.Shapes().push_back(shape);
    files.Remove(file);  // Word has embedded it
    PinToPage(shape.Get(), at);
  }
  return inserted.Keep();
}

}  // namespace inkra::addin
