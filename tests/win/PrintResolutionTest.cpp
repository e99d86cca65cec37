// The picture a PNG-taking host (version 12 or more) receives is drawn at 300 pixels to the inch
// of its size on the page or more (whole pixels to a view pixel), through the built DLL; its size and place on the page are the view's,
// and averaged back to the view's pixels it is the picture the view shows. Older hosts get the
// view's own pixels. Runs at 96 dpi here, at 144 and 192 under at-dpi.sh.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "AveragedBack.h"
#include "Bmp.h"
#include "BmpFormat.h"
#include "Png.h"
#include "WhiteBorad.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "support/AddInDll.h"
#include "support/BoardDriver.h"
#include "support/ClipboardReader.h"
#include "support/ScreenDpi.h"

namespace inkra::test {
namespace {

using office::HostDouble;
using office::HostKind;

constexpr double kPrintPixelsPerPoint = 300.0 / 72.0;

struct Case {
  const char* name;
  HostKind kind;
  const wchar_t* version;
  bool print;  // drawn at print resolution
};
constexpr Case kCases[] = {
    {"Word 16.0", HostKind::Word, L"16.0", true},
    {"Excel 16.0", HostKind::Excel, L"16.0", true},
    {"Word 11.0", HostKind::Word, L"11.0", false},
};

void EmptyTheClipboard() {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
}

// The clipboard's device-independent bitmap as a picture.
Bitmap ClipboardBitmap() {
  const std::vector<std::uint8_t> dib = ClipboardDib();
  if (dib.size() < 40) return {};
  std::vector<std::uint8_t> file = {'B', 'M'};
  const auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file.push_back(std::uint8_t(v >> (8 * i)));
  };
  put32(std::uint32_t(14 + dib.size()));
  put32(0);
  put32(14 + 40);  // a 24-bit picture over white: no palette
  file.insert(file.end(), dib.begin(), dib.end());
  return ReadBmp(file);
}

// The share of the view's pixels where the larger PNG, laid over white and averaged back to the
// view's size (stretched into the view's box, as the host does), is more than 2/255 from the
// view's picture in some channel.
double ShareOff(const PngImage& big, const Bitmap& view) {
  const int w = view.Width(), h = view.Height();
  const std::vector<double> back =
      AveragedBack(big.width, big.height, double(big.width) / w, double(big.height) / h, w, h, 3, [&](int x, int y, int c) {
        const std::uint8_t* p = &big.pixels[(std::size_t(y) * big.width + x) * std::size_t(big.channels)];
        const double a = big.channels == 4 ? p[3] / 255.0 : 1;
        return p[c] * a + 255 * (1 - a);
      });
  int off = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t rgb = view.PixelRGB(x, y);
      for (int c = 0; c < 3; ++c)
        if (std::abs(back[(std::size_t(y) * w + x) * 3 + c] - double((rgb >> (8 * c)) & 0xFF)) > 2) {
          ++off;
          break;
        }
    }
  return double(off) / (double(w) * h);
}

// The widest run of partly inked pixels (alpha neither 0 nor 255) where rows a quarter and three
// quarters down the picture cross an edge of the stroke.
int WidestEdge(const PngImage& png) {
  int widest = 0;
  for (const int y : {png.height / 4, png.height * 3 / 4}) {
    int run = 0;
    for (int x = 0; x < png.width; ++x) {
      const std::uint8_t a = png.pixels[(std::size_t(y) * png.width + x) * 4 + 3];
      run = a != 0 && a != 255 ? run + 1 : 0;
      widest = std::max(widest, run);
    }
  }
  return widest;
}

class PrintResolution : public ::testing::Test {
 protected:
  // Signs a 45-degree stroke and confirms into a host answering the case's version; when `refuse`,
  // the host refuses the picture and the refusal is answered.
  std::optional<office::ShapeState> Sign(const Case& c, bool refuse) {
    HostDouble host(c.kind);
    host.SetVersion(c.version);
    if (refuse) host.log().FailCall(L"Shapes", L"AddPicture", E_FAIL);
    win::ComPtr<IDTExtensibility2> addIn = dll.Connect(host);
    UiDriver ui(15000);
    ui.Then([refuse](UiDriver& d) {
      HWND board = WaitForBoard(d);
      const int dpi = RequestedDpi() ? RequestedDpi() : 96;
      const auto at = [dpi](int v) { return MulDiv(v, dpi, 96); };
      Stroke(d.Child(board, L"InkraBoardView", nullptr), {{at(60), at(220)}, {at(160), at(120)}, {at(260), at(20)}});
      ClickTool(d.Child(board, TOOLBARCLASSNAMEW, nullptr), board::win::kBtnOK);
      if (refuse) AnswerMessageBox(d, L"手写签名");
      d.WaitUntilGone(board);  // a click that never lands fails here, not in an endless wait
    });
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(office::FireClick(host, *host.profile().Find(L"InkraSoft")->controls.at(0), cancel), S_OK);
    EXPECT_EQ(ui.Join(), std::vector<std::string>{});
    addIn->OnDisconnection(0, nullptr);
    auto& shapes = AddInDll::Shapes(host).items;
    if (shapes.empty()) return std::nullopt;
    return *shapes.at(0);
  }

  // A refused run first puts the PNG and the view's own pixels on the clipboard, which the placed
  // picture is then compared with.
  void Check(int dpi) {
    const double pointsPerPixel = 72.0 / dpi;
    const auto whole = [&](double points) { return std::abs(points / pointsPerPixel - std::round(points / pointsPerPixel)); };
    for (const Case& c : kCases) {
      SCOPED_TRACE(c.name);
      EmptyTheClipboard();
      EXPECT_FALSE(Sign(c, true));
      const Bitmap view = ClipboardBitmap();
      ASSERT_FALSE(view.Empty());
      const std::vector<std::uint8_t> png = ClipboardPng();
      EXPECT_EQ(!png.empty(), c.print);
      const std::optional<office::ShapeState> shape = Sign(c, false);
      ASSERT_TRUE(shape);
      // The size and place on the page are whole view pixels in points, whatever the file holds.
      for (const double points : {double(shape->width), double(shape->height), shape->left - 100.0})
        EXPECT_LT(whole(points), 1e-3) << points;
      EXPECT_FLOAT_EQ(shape->width, float(view.Width() * pointsPerPixel));
      EXPECT_FLOAT_EQ(shape->height, float(view.Height() * pointsPerPixel));
      if (!c.print) {
        EXPECT_FLOAT_EQ(float(shape->pixelWidth * pointsPerPixel), shape->width);
        EXPECT_FLOAT_EQ(float(shape->pixelHeight * pointsPerPixel), shape->height);
        continue;
      }
      EXPECT_GE(shape->pixelWidth / shape->width, kPrintPixelsPerPoint - 1e-3);
      EXPECT_GE(shape->pixelHeight / shape->height, kPrintPixelsPerPoint - 1e-3);
      EXPECT_EQ(shape->picture, png);
      // Whole picture pixels to a view pixel: the ink lies on paper where the view shows it.
      const PngImage big = ReadPng(png);
      ASSERT_EQ(big.channels, 4);  // ink over transparent paper
      EXPECT_LE(ShareOff(big, view), 0.01);
      // Drawn for paper, not the view's pixels stretched: a 45-degree edge stays two pixels across.
      EXPECT_LE(WidestEdge(big), 2);
    }
  }

  Apartment apartment;
  AddInDll dll;
};

TEST_F(PrintResolution, ThePngIsDrawnAt300PerInchInTheViewsSizeAndPlace) {
  ASSERT_TRUE(dll.Loaded());
  Check(96);
}

TEST_F(PrintResolution, AtDpiThePngIsDrawnAt300PerInch) {
  INKRA_ONLY_AT_REQUESTED_DPI();
  ASSERT_TRUE(dll.Loaded());
  Check(RequestedDpi());
}

}  // namespace
}  // namespace inkra::test
