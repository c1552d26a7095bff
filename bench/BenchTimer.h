// The benchmarks' one timing harness: a high-resolution clock in seconds, the best of several
// runs, and the median of samples. Figures are only printed; nothing here decides a pass.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace xbench {

// Seconds since an arbitrary start, from the performance counter.
inline double Now() {
  static const LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Seconds of one run of f: the best of runs runs, so a busy machine slows no figure.
template <class F>
double Best(int runs, F f) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const double t0 = Now();
    f();
    best = std::min(best, Now() - t0);
  }
  return best;
}

// Microseconds per call of f, from the best of runs batches of n calls.
template <class F>
double BestMicros(int runs, int n, F f) {
  return Best(runs, [&] {
           for (int k = 0; k < n; ++k) f();
         }) *
         1e6 / n;
}

// The middle sample (the upper middle of an even count); 0 for none.
inline double Median(std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

}  // namespace xbench
