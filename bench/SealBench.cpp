// The seal layouts without a device: arc placement and the whole drawing onto the recording
// canvas (which measures the layout's own work, not GDI's).
#include <benchmark/benchmark.h>

#include "RecordingCanvas.h"
#include "RoundSeal.h"
#include "SealText.h"
#include "SquareSeal.h"

namespace {

using namespace inkra;

void BM_LayoutArc(benchmark::State& state) {
  const RoundSealGeometry g = ComputeGeometry(RoundSealParams{});
  const int n = int(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(LayoutArc(g, n, 270, 10));
}
BENCHMARK(BM_LayoutArc)->Arg(2)->Arg(10)->Arg(18);

void BM_CheckText(benchmark::State& state) {
  const std::string text = "一二三四五六七八九十甲乙丙丁戊己庚辛";
  for (auto _ : state) benchmark::DoNotOptimize(CheckText(text));
}
BENCHMARK(BM_CheckText);

void BM_DrawRoundSeal(benchmark::State& state) {
  RoundSealParams p;
  if (state.range(0) == 18) {
    p.text = "一二三四五六七八九十甲乙丙丁戊己庚辛";
    p.textSize = 100;
  }
  for (auto _ : state) {
    RecordingCanvas canvas(p.width - 4, p.height - 4);
    DrawRoundSeal(canvas, p);
    benchmark::DoNotOptimize(canvas.Ops().size());
  }
}
BENCHMARK(BM_DrawRoundSeal)->Arg(10)->Arg(18);

void BM_DrawSquareSeal(benchmark::State& state) {
  for (auto _ : state) {
    RecordingCanvas canvas(kSquareSealSide, kSquareSealSide);
    DrawSquareSeal(canvas, SquareSealParams{});
    benchmark::DoNotOptimize(canvas.Ops().size());
  }
}
BENCHMARK(BM_DrawSquareSeal);

}  // namespace

BENCHMARK_MAIN();
