// A signature on transparent paper goes in as the box of its ink, moved so that the ink lands
// where the whole picture put it; the BMP of older hosts goes in whole.
#include "PlacementTestSupport.h"

#include "Bmp.h"
#include "Png.h"

namespace inkra::test {
namespace {

using office::HostDouble;
using office::HostKind;

// A small signature in the board's bottom right corner.
const std::vector<POINT> kCornerStroke = {{500, 200}, {520, 215}, {545, 205}};

struct Extent {
  float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
};

// Where the inked pixels of a placed picture lie on the page, in points: the pixels the BMP
// keeps, or those at least half covered in the PNG (the ones the BMP's threshold keeps).
Extent InkOnPage(const office::ShapeState& shape) {
  Extent e;
  const float sx = shape.width / float(shape.pixelWidth), sy = shape.height / float(shape.pixelHeight);
  const auto add = [&](int x, int y) {
    e.left = std::min(e.left, shape.left + float(x) * sx), e.right = std::max(e.right, shape.left + float(x + 1) * sx);
    e.top = std::min(e.top, shape.top + float(y) * sy), e.bottom = std::max(e.bottom, shape.top + float(y + 1) * sy);
  };
  if (shape.fileName.ends_with(L".png")) {
    const PngImage image = ReadPng(shape.picture);
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        if (image.pixels[(std::size_t(y) * image.width + x) * 4 + 3] >= 128) add(x, y);
  } else {
    const Bitmap image = ReadBmp(shape.picture);
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x)
        if (image.PixelRGB(x, y) != 0xFFFFFFu) add(x, y);
  }
  return e;
}

class InkBoxPlacement : public PlacementThroughDll {
 protected:
  office::ShapeState SignedInto(HostKind kind, const wchar_t* version, int placement) {
    HostDouble host(kind);
    Connect(host, version);
    host.Word().cursor.x = 300, host.Word().cursor.y = 400;
    Sign(host, placement, kCornerStroke);
    addIn->OnDisconnection(0, nullptr);
    EXPECT_EQ(AddInDll::Shapes(host).items.size(), 1u);
    return *AddInDll::Shapes(host).items.at(0);
  }
};

TEST_F(InkBoxPlacement, TheInkLandsWhereTheWholePictureHadItWithinAPixel) {
  ASSERT_TRUE(dll.Loaded());
  for (const HostKind kind : {HostKind::Word, HostKind::Excel}) {
    SCOPED_TRACE(kind == HostKind::Word ? "Word" : "Excel");
    const office::ShapeState whole = SignedInto(kind, L"11.0", 0);
    const office::ShapeState box = SignedInto(kind, L"16.0", 0);
    // The BMP goes whole, as always; the PNG is the box of the ink, in whole board pixels of
    // 0.75 pt, drawn at 300 pixels to the inch.
    EXPECT_EQ(std::tuple(whole.width, whole.height, whole.left), std::tuple(451.5f, 193.5f, 100.0f));
    EXPECT_TRUE(box.width < 451.5f / 8 && box.height < 193.5f / 4) << box.width << " x " << box.height;
    EXPECT_FLOAT_EQ(box.width / 0.75f, std::round(box.width / 0.75f));
    EXPECT_GE(float(box.pixelWidth) / box.width, 300.0f / 72 - 1e-3f);
    const Extent before = InkOnPage(whole), after = InkOnPage(box);
    for (const auto edge : {&Extent::left, &Extent::top, &Extent::right, &Extent::bottom})
      EXPECT_NEAR(after.*edge, before.*edge, 0.75);
  }
  // At the cursor, the box's left edge is the cursor's place, its middle on the cursor's line.
  const office::ShapeState atCursor = SignedInto(HostKind::Word, L"16.0", 1);
  EXPECT_EQ(atCursor.left, 300);
  EXPECT_NEAR(atCursor.top + atCursor.height / 2, 400, 0.01);
}

}  // namespace
}  // namespace inkra::test
