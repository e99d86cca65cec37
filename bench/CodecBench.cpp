// BMP write and read of an A4 page at 300 dpi (2480 x 3508) at 24 and 32 bits, a plain copy of
// the same bytes for scale (also in turn with each read), and JPEG decoding of the file named by INKRA_BENCH_JPEG.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "Bmp.h"
#include "ByteSink.h"
#include "Jpeg.h"

namespace {

constexpr int kWidth = 2480, kHeight = 3508;

const inkra::Bitmap& Page(int bpp) {
  static inkra::Bitmap pages[2] = {[] {
    inkra::Bitmap b(kWidth, kHeight, 24);
    std::mt19937 random(1);
    for (auto& byte : b.Pixels()) byte = std::uint8_t(random());
    return b;
  }(), [] {
    inkra::Bitmap b(kWidth, kHeight, 32);
    std::mt19937 random(2);
    for (auto& byte : b.Pixels()) byte = std::uint8_t(random());
    return b;
  }()};
  return pages[bpp == 24 ? 0 : 1];
}

std::vector<std::uint8_t> Encoded(int bpp) {
  inkra::VectorSink sink;
  inkra::WriteBmp(Page(bpp), sink);
  return sink.data;
}

void WriteBmp(benchmark::State& state) {
  const inkra::Bitmap& page = Page(int(state.range(0)));
  const std::size_t size = Encoded(int(state.range(0))).size();
  for (auto _ : state) {
    inkra::VectorSink sink;
    sink.data.reserve(size);
    inkra::WriteBmp(page, sink);
    benchmark::DoNotOptimize(sink.data.data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(size));
}

void RawCopy(benchmark::State& state) {
  const inkra::Bitmap& page = Page(int(state.range(0)));
  const std::size_t size = Encoded(int(state.range(0))).size();
  for (auto _ : state) {
    std::vector<std::uint8_t> out;
    out.reserve(size);
    out.insert(out.end(), page.Pixels().begin(), page.Pixels().end());  // a memcpy
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(size));
}

void ReadBmp(benchmark::State& state) {
  const auto file = Encoded(int(state.range(0)));
  for (auto _ : state) {
    inkra::Bitmap b = inkra::ReadBmp(file);
    benchmark::DoNotOptimize(b.Pixels().data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(file.size()));
}

// Reading the file into a new picture beside copying its bytes into a new buffer, in turn within
// each iteration, so both meet the allocator in the same state: a buffer above glibc's mmap
// threshold (the 35 MB of a 32-bit page) gets fresh pages every time, one below it may reuse
// pages already touched, and comparing runs in different states measures the allocator.
void ReadBmpVsCopy(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  const auto file = Encoded(int(state.range(0)));
  double read = 0, copy = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    {
      inkra::Bitmap b = inkra::ReadBmp(file);
      benchmark::DoNotOptimize(b.Pixels().data());
    }
    const auto middle = Clock::now();
    {
      std::vector<std::uint8_t> out;
      out.reserve(file.size());
      out.insert(out.end(), file.begin(), file.end());  // a memcpy
      benchmark::DoNotOptimize(out.data());
    }
    read += std::chrono::duration<double, std::milli>(middle - start).count();
    copy += std::chrono::duration<double, std::milli>(Clock::now() - middle).count();
  }
  state.counters["read_ms"] = benchmark::Counter(read, benchmark::Counter::kAvgIterations);
  state.counters["copy_ms"] = benchmark::Counter(copy, benchmark::Counter::kAvgIterations);
}

void DecodeJpeg(benchmark::State& state) {
  const char* path = std::getenv("INKRA_BENCH_JPEG");
  if (!path) {
    state.SkipWithError("INKRA_BENCH_JPEG names no file");
    return;
  }
  const auto file = inkra::ReadFileBytes(path);
  for (auto _ : state) {
    inkra::JpegPicture p = inkra::DecodeJpeg(file);
    benchmark::DoNotOptimize(p.decoded.Pixels().data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(file.size()));
}

BENCHMARK(WriteBmp)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(RawCopy)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadBmp)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadBmpVsCopy)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeJpeg)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
