#pragma once
// One measured figure beside its anchor, in the line scripts/bench collects: "figure KEY VALUE ANCHOR".
// The names, units and targets of the keys are scripts/bench's.
#include <cstdio>

inline void PrintFigure(const char* key, double value, double anchor) {
  std::printf("figure %s %.6g %.6g\n", key, value, anchor);
  std::fflush(stdout);
}
