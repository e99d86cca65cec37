// The same ink in every build: a scene of curved, pressed and crossing strokes and canvas shapes,
// rendered here and in the Windows builds (the test is compiled into both), must give the same
// pixels and the same PNG bytes. The hashes were taken from the native build.
#include <gtest/gtest.h>

#include <cstdint>

#include "InkTestSupport.h"
#include "Png.h"

namespace inkra::ink {
namespace {

using namespace testing;

std::uint64_t Fnv1a(const std::uint8_t* bytes, std::size_t size) {
  std::uint64_t h = 14695981039346656037ull;
  for (std::size_t i = 0; i < size; ++i) h = (h ^ bytes[i]) * 1099511628211ull;
  return h;
}

InkLayer& Scene() {
  static InkLayer layer = [] {
    InkLayer l(160, 120);
    DrawStroke(l, {{10, 100}, {25, 20}, {40, 95}, {55, 18}, {70, 98}}, 3, {200, 0, 0});
    DrawStroke(l, {{5, 60, 0.1f}, {50, 40, 0.4f}, {100, 70, 0.9f}, {150, 35, 0.6f}}, 5, {0, 0, 120});
    DrawStroke(l, {{120, 10}, {121.5, 60.25}, {80.75, 110}}, 2, {0, 90, 0});
    InkCanvas canvas(l);
    canvas.SetPenColour(clRed);
    canvas.SetBrushColour(clRed);
    canvas.Ellipse(90, 60, 150, 118);
    canvas.SetBrushColour(clWhite);
    canvas.Ellipse(96, 66, 144, 112);
    const Point star[] = {{120, 70}, {128, 104}, {102, 82}, {138, 82}, {112, 104}};
    canvas.SetBrushColour(clPurple);
    canvas.Polygon(star);
    return l;
  }();
  return layer;
}

TEST(InkGolden, PixelsAreTheSameInEveryBuild) {
  const PngRows rows = Scene().Rgba();
  EXPECT_EQ(Fnv1a(rows.bits, rows.stride * std::size_t(rows.height)), 17248175284957988144ull);
}

TEST(InkGolden, PngBytesAreTheSameInEveryBuild) {
  VectorSink sink;
  WritePng(Scene().Rgba(), sink);
  EXPECT_EQ(Fnv1a(sink.data.data(), sink.data.size()), 10868041395341369361ull);
}

}  // namespace
}  // namespace inkra::ink
