// The ink model's figures, each measured in turn with its anchor in the same iteration:
//   InkStrokeStep: one step of the smooth anti-aliased nib on a 2480 x 3508 layer against the
//     same step on a 602 x 258 layer (the board at its first size);
//   InkTipStep: one step on the 602 x 258 layer with the pen's tip giving the widths (a sample
//     every 8 ms, as a mouse reports) against the same step at the chosen width;
//   PngEncode: a 2480 x 3508 layer holding a signature at its print scale, written as PNG by
//     WritePng against libpng called directly with the same settings, and the file's size
//     against libpng's default level.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

#include <png.h>
#include <zlib.h>

#include "Handwriting.h"
#include "InkPen.h"
#include "PenTip.h"
#include "Png.h"
#include "PrintOutput.h"

namespace {

using Clock = std::chrono::steady_clock;
using inkra::ink::InkLayer;
using inkra::ink::InkPen;
using inkra::ink::InkSample;

constexpr int kPageWidth = 2480, kPageHeight = 3508, kBoardWidth = 602, kBoardHeight = 258;

std::vector<InkSample> Handwriting(double left, double top, double scale) {
  std::vector<InkSample> samples;
  for (const auto& p : inkra::bench::Handwriting(left, top, scale)) samples.push_back({p.x, p.y, inkra::ink::kNoPressure});
  return samples;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Each iteration draws one step on each layer; a stroke restarts every 40 steps so that the
// steps measured are those of an ordinary stroke, not of one growing without end.
void InkStrokeStep(benchmark::State& state) {
  InkLayer page(kPageWidth, kPageHeight), board(kBoardWidth, kBoardHeight);
  InkPen onPage, onBoard;
  const auto samples = Handwriting(0, 0, 1);
  std::size_t next = 0;
  double pageTime = 0, boardTime = 0;
  for (auto _ : state) {
    if (next % inkra::bench::kStepsPerStroke == 0) {
      state.PauseTiming();
      onPage.Up(), onBoard.Up();
      onPage.Down(page, samples[next], 3, {255, 0, 0}), onBoard.Down(board, samples[next], 3, {255, 0, 0});
      next = (next + 1) % samples.size();
      state.ResumeTiming();
    }
    // Which layer goes first alternates, so neither gains from the other's warm caches.
    const bool pageFirst = next % 2 == 0;
    InkPen& first = pageFirst ? onPage : onBoard;
    InkPen& second = pageFirst ? onBoard : onPage;
    const auto t0 = Clock::now();
    benchmark::DoNotOptimize(first.Move(samples[next]));
    const auto t1 = Clock::now();
    benchmark::DoNotOptimize(second.Move(samples[next]));
    const auto t2 = Clock::now();
    (pageFirst ? pageTime : boardTime) += Seconds(t1 - t0);
    (pageFirst ? boardTime : pageTime) += Seconds(t2 - t1);
    next = (next + 1) % samples.size();
  }
  const double n = double(state.iterations());
  state.counters["page_us"] = pageTime / n * 1e6;
  state.counters["board_us"] = boardTime / n * 1e6;
}

// The handwriting as the tip gives it to the pen: the same positions, each with its width.
std::vector<InkSample> Tipped(const std::vector<InkSample>& plain) {
  inkra::ink::PenTip tip;
  std::vector<InkSample> out;
  tip.Start(plain[0].x, plain[0].y, 0, 96);
  for (std::size_t i = 1; i < plain.size(); ++i) tip.Add(plain[i].x, plain[i].y, std::uint32_t(i * 8), out);
  tip.Finish(std::uint32_t(plain.size() * 8), out);
  return out;
}

void InkTipStep(benchmark::State& state) {
  InkLayer plainLayer(kBoardWidth, kBoardHeight), tipLayer(kBoardWidth, kBoardHeight);
  InkPen plainPen, tipPen;
  const auto plain = Handwriting(0, 0, 1), tipped = Tipped(plain);
  std::size_t next = 0;
  double plainTime = 0, tipTime = 0;
  for (auto _ : state) {
    if (next % inkra::bench::kStepsPerStroke == 0) {
      state.PauseTiming();
      plainPen.Up(), tipPen.Up();
      plainPen.Down(plainLayer, plain[next], 3, {255, 0, 0}), tipPen.Down(tipLayer, tipped[next], 3, {255, 0, 0});
      next = (next + 1) % plain.size();
      state.ResumeTiming();
    }
    const auto t0 = Clock::now();
    benchmark::DoNotOptimize(plainPen.Move(plain[next]));
    const auto t1 = Clock::now();
    benchmark::DoNotOptimize(tipPen.Move(tipped[next]));
    const auto t2 = Clock::now();
    plainTime += Seconds(t1 - t0), tipTime += Seconds(t2 - t1);
    next = (next + 1) % plain.size();
  }
  const double n = double(state.iterations());
  state.counters["plain_us"] = plainTime / n * 1e6;
  state.counters["tip_us"] = tipTime / n * 1e6;
}

InkLayer& Signature() {
  static InkLayer layer = [] {
    InkLayer l(kPageWidth, kPageHeight);
    InkPen pen;
    // A signature written on the board at 96 dpi and drawn again at its print scale, from the
    // page's left edge: four times the board's width only just fits the page's.
    const double scale = inkra::board::PrintScale({kBoardWidth, kBoardHeight}, 96);
    const auto samples = Handwriting(10, 2600, scale);
    for (std::size_t start = 0; start + 60 <= samples.size(); start += 60) {
      pen.Down(l, samples[start], 3 * scale, {0, 0, 0});
      for (std::size_t i = start + 1; i < start + 60; ++i) pen.Move(samples[i]);
      pen.Up();
    }
    return l;
  }();
  return layer;
}

// libpng called directly: the rows as they are, the given level and filters, into memory.
std::vector<std::uint8_t> LibpngEncode(const inkra::PngRows& rows, int level, int filters, bool runLength) {
  std::vector<std::uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, [](png_structp p, png_bytep d, png_size_t n) {
    auto& o = *static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
    o.insert(o.end(), d, d + n);
  }, nullptr);
  png_set_IHDR(png, info, png_uint_32(rows.width), png_uint_32(rows.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (level >= 0) png_set_compression_level(png, level);
  if (filters >= 0) png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
  if (runLength) png_set_compression_strategy(png, Z_RLE);
  png_write_info(png, info);
  for (int y = 0; y < rows.height; ++y) png_write_row(png, rows.bits + std::size_t(y) * rows.stride);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

void PngEncode(benchmark::State& state) {
  const inkra::PngRows rows = Signature().Rgba();
  const inkra::PngSettings settings;
  const int filters = settings.filter == inkra::PngFilter::Up ? PNG_FILTER_UP : PNG_ALL_FILTERS;
  double ours = 0, theirs = 0;
  std::size_t size = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    inkra::VectorSink sink;
    inkra::WritePng(rows, sink, settings);
    const auto t1 = Clock::now();
    const auto direct = LibpngEncode(rows, settings.compressionLevel, filters, settings.runLength);
    const auto t2 = Clock::now();
    ours += Seconds(t1 - t0), theirs += Seconds(t2 - t1);
    size = sink.data.size();
    benchmark::DoNotOptimize(direct.data());
  }
  const double n = double(state.iterations());
  state.counters["ours_ms"] = ours / n * 1e3;
  state.counters["libpng_ms"] = theirs / n * 1e3;
  state.counters["ours_kb"] = double(size) / 1024;
  state.counters["default_kb"] = double(LibpngEncode(rows, -1, -1, false).size()) / 1024;
}

BENCHMARK(InkStrokeStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(InkTipStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(PngEncode)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
