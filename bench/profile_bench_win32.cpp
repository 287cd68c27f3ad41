// The profile engine against GetPrivateProfileStringA on Windows (or Wine),
// side by side in one run. No Google Benchmark for MinGW: a small harness
// takes the median of repeated timings; only the ratios matter.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_files.h"
#include "platform/platform.h"
#include "store/profile.h"
#include "store/profile_text.h"

namespace {

double Seconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

// Median seconds per run of `work`, `prepare` untimed before each.
double Median(
    int runs, const std::function<void()>& work, const std::function<void()>& prepare = [] {}) {
  prepare();
  work();  // warm up
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    prepare();
    const double start = Seconds();
    work();
    times.push_back(Seconds() - start);
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[runs / 2];
}

volatile std::size_t g_sink;

}  // namespace

int main() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string dir =
      std::string(temp) + "okapi-bench-" + std::to_string(GetCurrentProcessId());
  auto& files = *platform::Os().files;
  const std::string config = dir + "\\lumen-config.ini";
  const std::string text = dir + "\\lumen-text.ini";
  if (!files.MakeDirectory(dir) || !files.WriteFileAtomic(config, bench::ConfigFile()).ok ||
      !files.WriteFileAtomic(text, bench::TextFile()).ok) {
    std::fprintf(stderr, "cannot write the bench files in %s\n", dir.c_str());
    return 1;
  }

  const double load = Median(51, [&] {
    store::ForgetCachedFiles();
    g_sink = store::ReadString("Global Options", "OPTION1", "Error", 64, config).size();
    g_sink = store::ReadString("Lumen Text", "TEXT1", "Error", 64, text).size();
  });
  auto engineReads = [&] {
    bench::SeedingReads(config, text,
                        [](const std::string& file, const char* section, const std::string& key) {
                          g_sink = store::ReadString(section, key, "Error", 256, file).size();
                        });
  };
  const double engine = Median(51, [&] {
    store::ForgetCachedFiles();
    store::UnchangedFilesScope scope;
    engineReads();
  });
  const double engineChecking = Median(21, [&] {
    store::ForgetCachedFiles();
    engineReads();
  });
  const double system = Median(5, [&] {
    bench::SeedingReads(config, text,
                        [](const std::string& file, const char* section, const std::string& key) {
                          char buffer[256];
                          g_sink = GetPrivateProfileStringA(section, key.c_str(), "Error", buffer,
                                                            sizeof buffer, file.c_str());
                        });
  });

  std::printf("400 seeding reads, engine:                %10.1f us\n", engine * 1e6);
  std::printf("one load of each file, engine:            %10.1f us\n", load * 1e6);
  std::printf("400 seeding reads, GetPrivateProfileStringA: %7.1f us\n", system * 1e6);
  std::printf("ratio engine reads / one load of each file: %6.2f (goal <= 2)\n", engine / load);
  std::printf("400 reads, stamp checked at each read:     %10.1f us (ratio %.2f)\n",
              engineChecking * 1e6, engineChecking / load);
  std::printf("ratio GetPrivateProfileStringA / engine:    %6.1f (stamp each read: %.1f)\n",
              system / engine, system / engineChecking);

  double previous = 0;
  double perLineAt10000 = 0;
  for (int lines : {1000, 10000, 100000, 1000000}) {
    const std::string bytes = bench::FileOfLines(lines);
    // The parse takes the bytes as a file read gives them: copying them is
    // the reading's cost, not the parse's.
    std::string read;
    const double parse = Median(
        lines >= 1000000  ? 5
        : lines >= 100000 ? 7
                          : 21,
        [&] {
          store::ProfileText parsed(std::move(read));
          g_sink = parsed.RawValue("Section1", "KEY5").has_value();
        },
        [&] { read = bytes; });
    std::printf("parse %6d lines: %10.1f us  (%.3f us per line", lines, parse * 1e6,
                parse * 1e6 / lines);
    if (previous > 0) std::printf(", x%.1f for x10 lines", parse / previous);
    std::printf(")\n");
    previous = parse;
    if (lines == 10000) perLineAt10000 = parse / lines;
  }
  std::printf("parse us per line, 1000000 lines / 10000 lines: %.2f (goal <= 1.5)\n",
              previous / 1000000 / perLineAt10000);

  (void)files.Remove(config);
  (void)files.Remove(text);
  (void)files.RemoveEmptyDirectory(dir);
  return 0;
}
