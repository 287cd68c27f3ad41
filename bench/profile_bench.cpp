// The profile engine natively (Google Benchmark): the seeding's 400 reads
// against one parse of each file, and parsing at growing sizes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "bench/bench_files.h"
#include "platform/platform.h"
#include "store/profile.h"
#include "store/profile_text.h"

namespace {

const std::string kConfig = "c:\\zanhelp\\lumen-config.ini";
const std::string kText = "c:\\zanhelp\\lumen-text.ini";

// The build's file service on a scratch folder, with the two files.
struct Drive {
  Drive() {
    std::string pattern = (std::filesystem::temp_directory_path() / "okapi-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    root = pattern;
    std::filesystem::create_directory(root + "/c");
    (void)platform::ReplaceOs(platform::MakeNativeServices(root));
    auto& files = *platform::Os().files;
    if (!files.MakeDirectory("c:\\zanhelp") ||
        !files.WriteFileAtomic(kConfig, bench::ConfigFile()).ok ||
        !files.WriteFileAtomic(kText, bench::TextFile()).ok) {
      std::abort();
    }
  }
  ~Drive() { std::filesystem::remove_all(root); }
  std::string root;
};

Drive& TheDrive() {
  static Drive drive;
  return drive;
}

// One cold read of each file: what loading (reading and parsing) them costs.
void BM_LoadEachFileOnce(benchmark::State& state) {
  TheDrive();
  for (auto _ : state) {
    store::ForgetCachedFiles();
    benchmark::DoNotOptimize(store::ReadString("Global Options", "OPTION1", "Error", 64, kConfig));
    benchmark::DoNotOptimize(store::ReadString("Lumen Text", "TEXT1", "Error", 64, kText));
  }
}
BENCHMARK(BM_LoadEachFileOnce);

void SeedingReads() {
  bench::SeedingReads(
      kConfig, kText, [](const std::string& file, const char* section, const std::string& key) {
        benchmark::DoNotOptimize(store::ReadString(section, key, "Error", 256, file));
      });
}

// The seeding's 400 reads from cold, as the seeding does them: one load per
// file, then memory.
void BM_SeedingReads(benchmark::State& state) {
  TheDrive();
  for (auto _ : state) {
    store::ForgetCachedFiles();
    store::UnchangedFilesScope scope;
    SeedingReads();
  }
}
BENCHMARK(BM_SeedingReads);

// The same with the file's stamp checked at every read.
void BM_SeedingReadsCheckingEach(benchmark::State& state) {
  TheDrive();
  for (auto _ : state) {
    store::ForgetCachedFiles();
    SeedingReads();
  }
}
BENCHMARK(BM_SeedingReadsCheckingEach);

// Parsing alone, in memory.
void BM_ParseLines(benchmark::State& state) {
  const std::string bytes = bench::FileOfLines(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    // The bytes as a file read gives them: copying them is the reading's
    // cost, not the parse's.
    state.PauseTiming();
    std::string read = bytes;
    state.ResumeTiming();
    store::ProfileText text(std::move(read));
    benchmark::DoNotOptimize(text.RawValue("Section1", "KEY5"));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseLines)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
