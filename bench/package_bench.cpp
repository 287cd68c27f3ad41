// Finish against the platform's plain copy of the same files, and the
// machine-table filter against reading and writing the table unchanged,
// side by side in one run. Natively with Google Benchmark (posix services
// on a scratch folder); under Wine, where there is no Google Benchmark for
// MinGW, the same cases timed by a median harness on the prefix's c:\.
#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#ifdef OKAPI_GOOGLE_BENCHMARK
#include <benchmark/benchmark.h>
#endif

#include "app/answers_run.h"
#include "app/discovery.h"
#include "demo/installation.h"
#include "package/finish.h"
#include "package/images.h"
#include "package/machine_table.h"
#include "package/package_tree.h"
#include "platform/platform.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/item_table.h"
#include "store/profile.h"
#include "store/seed.h"

namespace {

void Fail(const std::string& what) {
  std::fprintf(stderr, "package_bench: %s\n", what.c_str());
  std::exit(1);
}

platform::FileSystem& Files() { return *platform::Os().files; }

// About 100 bytes a line, quoted fields with and without commas.
std::string Table(int lines) {
  std::string s = "Model,Description,Screen,Keyboard,Font,Dock,Lid,Slots,Path\r\n";
  s.reserve(static_cast<std::size_t>(lines) * 104);
  for (int i = 1; i < lines; ++i) {
    const std::string n = std::to_string(100000 + i);
    s += "\"LB" + n + "\",\"Lumen Larkbook " + n + "\",\"1024,768\",US,\"Tahoma\",yes,no,12,";
    s += "\"c:\\models\\" + n + "\"\r\n";
  }
  return s;
}

constexpr int kImageNames = 100;  // File1-File3 and Back1-Back97, in both sizes
const std::string kImage(30 * 1024, 'j');

// Names and keys appended piece by piece: g++ 12 at -O3 warns (wrongly) of
// overlapping copies in "literal" + std::string.
std::string Numbered(const char* prefix, int n, const char* suffix = "") {
  std::string s(prefix);
  s += std::to_string(n);
  s += suffix;
  return s;
}

std::string ImageName(int i) { return Numbered("background", i, ".jpg"); }

void LayFinishFixture(const std::string& table) {
  if (!demo::LayDemoInstallation()) Fail("cannot lay the demo installation");
  DiscoverInstallation();
  package::PrepareTree();
  if (!Files().WriteFileAtomic(g_strCsvFile, table)) Fail("cannot write the table");
  for (int i = 1; i <= kImageNames; ++i) {
    for (auto size : {package::ImageSize::Small, package::ImageSize::Large}) {
      if (!Files().WriteFileAtomic(package::InstallationImages(size) + "\\" + ImageName(i), kImage))
        Fail("cannot write an image");
    }
    const std::string key = (i <= 3 ? "File" : "Back") + std::to_string(i <= 3 ? i : i - 3);
    const auto& family =
        i <= 3 ? store::item::kMenuBackgroundFiles : store::item::kConfigBackgrounds;
    if (!store::Write(family.WithKey(key), ImageName(i))) Fail("cannot list an image");
  }
}

const package::Tell kNobody = [](const std::string& text, const std::string&) {
  Fail("told: " + text);
};

// The same files as Finish copies, with the platform's copy.
void CopyLoop() {
  auto& files = Files();
  bool ok = files.Copy(g_strCsvFile, package::PathIn("\\machine-specifics.csv"), false);
  ok = files.Copy(g_strTextFile, package::PathIn("\\lumen-text.ini"), false) && ok;
  ok = files.Copy(g_strConfigFile, package::PathIn("\\lumen-config.ini"), false) && ok;
  for (int i = 1; i <= kImageNames; ++i) {
    for (auto size : {package::ImageSize::Small, package::ImageSize::Large}) {
      const std::string name = Numbered("\\background", i, ".jpg");
      ok = files.Copy(package::InstallationImages(size) + name, package::PackageImages(size) + name,
                      false) &&
           ok;
    }
  }
  if (!ok) Fail("a plain copy failed");
}

// One case: what is timed, and what puts the files back before each run.
struct Case {
  std::string name;
  std::function<void()> prepare;
  std::function<void()> work;
  int lines = 0;
};

std::vector<Case> Cases(const std::string& scratch) {
  static std::string finishTable = Table(100000);
  std::vector<Case> cases;
  const auto restoreTable = [] {
    if (!Files().WriteFileAtomic(g_strCsvFile, finishTable)) Fail("cannot restore the table");
  };
  cases.push_back({"Finish", restoreTable, [] {
                     if (!package::Finish(kNobody)) Fail("Finish did not complete");
                   }});
  // As the packaging page finishes: after the package, every item written in
  // the run read back from disk (here the 100 image entries of the fixture).
  // Timed on its own: as the difference of two timings near 80 ms each it
  // swung by 40% with the machine's load. One Finish before the first run
  // leaves what every later read-back reads.
  const auto finished = std::make_shared<bool>(false);
  cases.push_back({"ReadBack",
                   [restoreTable, finished] {
                     if (*finished) return;
                     restoreTable();
                     if (!package::Finish(kNobody)) Fail("Finish did not complete");
                     *finished = true;
                   },
                   [] {
                     if (!store::CheckWrittenItems().empty()) Fail("an item did not read back");
                   }});
  cases.push_back({"CopyLoop", [] {}, CopyLoop});
  // What Finish cannot avoid: the table read once and written back in place
  // as atomically as every edit, then every file copied once.
  cases.push_back({"Floor", restoreTable, [] {
                     auto table = Files().ReadFile(g_strCsvFile);
                     if (!table || !Files().WriteFileAtomic(g_strCsvFile, *table))
                       Fail("cannot rewrite the table");
                     CopyLoop();
                   }});
  // A fleet's computer: the package's answers applied with Finish, against
  // the wizard's own start-up work and Finish on the same installation.
  const std::string answers = scratch + "\\answers.ini";
  if (answers::RunAlone({answers::Command::Verb::Export, answers, true, false}) !=
      answers::Exit::Done)
    Fail("cannot export the answers");
  cases.push_back({"StartUpFinish", restoreTable, [] {
                     if (!CheckInstallation([](const std::string& text) { Fail(text); }))
                       Fail("no installation");
                     BackupHelpFiles();
                     SeedMapFile();
                     package::PrepareTree();
                     if (!package::Finish(kNobody)) Fail("Finish did not complete");
                   }});
  cases.push_back({"ApplyPackage", restoreTable, [answers] {
                     if (answers::RunAlone({answers::Command::Verb::Apply, answers, true, true}) !=
                         answers::Exit::Done)
                       Fail("the answers were not applied");
                   }});
  for (int lines : {10000, 100000, 1000000}) {
    const std::string n = Numbered("/", lines);
    const auto table = std::make_shared<std::string>(Table(lines));
    const std::string path = scratch + "\\table" + std::to_string(lines) + ".csv";
    if (!Files().WriteFileAtomic(path, *table)) Fail("cannot write " + path);
    // The filter takes the table as Finish gives it, fresh from a read:
    // the copy that stands for the read is not timed.
    const auto read = std::make_shared<std::string>();
    cases.push_back({"Filter" + n, [table, read] { *read = *table; },
                     [table, read] {
                       if (package::FilterMachineTable(std::move(*read)).text.size() >=
                           table->size())
                         Fail("nothing filtered");
                     },
                     lines});
    cases.push_back({"ReadFilterWrite" + n, [] {},
                     [path] {
                       auto bytes = Files().ReadFile(path);
                       if (!bytes) Fail("cannot read " + path);
                       const auto out = package::FilterMachineTable(std::move(*bytes)).text;
                       if (!Files().WriteFileAtomic(path + ".out", out)) Fail("cannot write");
                     },
                     lines});
    cases.push_back({"ReadWrite" + n, [] {},
                     [path] {
                       auto bytes = Files().ReadFile(path);
                       if (!bytes || !Files().WriteFileAtomic(path + ".out", *bytes))
                         Fail("cannot copy " + path);
                     },
                     lines});
  }
  return cases;
}

void PrintRatios(const std::map<std::string, double>& us) {
  const auto at = [&](const std::string& name) {
    auto it = us.find(name);
    return it == us.end() ? 0.0 : it->second;
  };
  std::printf("Finish (100000-line table, %d images x 2 sizes): %10.0f us\n", kImageNames,
              at("Finish"));
  std::printf("read-back of the written items, after Finish:    %10.0f us\n", at("ReadBack"));
  std::printf("platform copy of the same files:                 %10.0f us\n", at("CopyLoop"));
  std::printf("floor: table read, rewritten in place, all copied:%9.0f us\n", at("Floor"));
  std::printf("  ratio with read-back / Finish: %.2f (goal <= 1.1)\n",
              (at("Finish") + at("ReadBack")) / at("Finish"));
  std::printf("  ratio Finish / floor:          %.2f (goal <= 1.3)\n", at("Finish") / at("Floor"));
  std::printf("  ratio Finish / copy loop:      %.2f\n", at("Finish") / at("CopyLoop"));
  std::printf("/apply /package of the answers:                  %10.0f us\n", at("ApplyPackage"));
  std::printf("start-up work and Finish:                        %10.0f us\n", at("StartUpFinish"));
  std::printf("  ratio /apply / (start-up + Finish): %.2f (goal <= 1.5)\n",
              at("ApplyPackage") / at("StartUpFinish"));
  std::printf("%9s %12s %14s %12s %14s %14s %12s\n", "lines", "filter us", "read+filt+wr us",
              "read+wr us", "filter/rw", "rfw/rw (<=2)", "us/1000 ln");
  for (int lines : {10000, 100000, 1000000}) {
    const std::string n = Numbered("/", lines);
    const double rw = at("ReadWrite" + n);
    std::printf("%9d %12.0f %15.0f %12.0f %14.2f %14.2f %12.1f\n", lines, at("Filter" + n),
                at("ReadFilterWrite" + n), rw, at("Filter" + n) / rw,
                at("ReadFilterWrite" + n) / rw, 1000 * at("ReadFilterWrite" + n) / lines);
  }
  std::printf("  filter us per line, 1000000 lines / 10000 lines: %.2f (goal <= 1.5)\n",
              at("Filter/1000000") / 100 / at("Filter/10000"));
}

#ifdef OKAPI_GOOGLE_BENCHMARK
// Keeps each case's CPU time as well as printing it.
class Keeper : public benchmark::ConsoleReporter {
 public:
  // No colours: their codes would hide the summary's first line from run.sh.
  Keeper() : ConsoleReporter(OO_None) {}
  std::map<std::string, double> cpu, wall;  // microseconds, the unit set
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      cpu[run.run_name.function_name] = run.GetAdjustedCPUTime();
      wall[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
};
#else
// Median microseconds of each case, and the fastest run in `fastest`. The
// cases take turns, round by round, so that a change in the machine's load
// falls on all of them alike.
std::map<std::string, double> MedianUs(const std::vector<Case>& cases, int rounds,
                                       std::map<std::string, double>& fastest) {
  std::map<std::string, std::vector<double> > times;
  for (int round = 0; round < rounds; ++round) {
    for (const Case& c : cases) {
      if (c.lines >= 1000000 && round % 3) continue;  // a third of the rounds
      c.prepare();
      const auto start = std::chrono::steady_clock::now();
      c.work();
      times[c.name].push_back(
          std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
              .count());
    }
  }
  std::map<std::string, double> us;
  for (auto& [name, t] : times) {
    std::nth_element(t.begin(), t.begin() + t.size() / 2, t.end());
    us[name] = t[t.size() / 2];
    fastest[name] = *std::min_element(t.begin(), t.end());
  }
  return us;
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  (void)argc;
  (void)argv;
  if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
    Fail("runs only under Wine (it lays a demo installation on c:\\)");
  const std::string scratch = "c:\\okapi-package-bench";
#else
  const std::string root =
      (std::filesystem::temp_directory_path() / ("okapi-package-bench-" + std::to_string(getpid())))
          .string();
  std::filesystem::create_directories(root + "/c");
  (void)platform::ReplaceOs(platform::MakeNativeServices(root));
  const std::string scratch = "c:\\scratch";
#endif
  (void)demo::RemoveTree(scratch);
  if (!demo::MakeDirectories(scratch)) Fail("cannot make " + scratch);
  LayFinishFixture(Table(100000));
  std::vector<Case> cases = Cases(scratch);

#ifdef OKAPI_GOOGLE_BENCHMARK
  for (const Case& c : cases) {
    auto* b = benchmark::RegisterBenchmark(c.name.c_str(), [c](benchmark::State& state) {
      for (auto _ : state) {
        state.PauseTiming();
        c.prepare();
        state.ResumeTiming();
        c.work();
      }
    });
    b->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  Keeper keeper;
  benchmark::RunSpecifiedBenchmarks(&keeper);
  benchmark::Shutdown();
  // CPU time holds still on a shared machine; wall time adds what the disk
  // makes the program wait for (the atomic writes flush their files).
  std::printf("-- CPU time\n");
  PrintRatios(keeper.cpu);
  std::printf("-- wall time\n");
  PrintRatios(keeper.wall);
#else
  std::printf("-- wall time, median\n");
  std::map<std::string, double> fastest;
  PrintRatios(MedianUs(cases, 15, fastest));
  // The runs least disturbed by the machine's other work.
  std::printf(
      "  filter us per line, fastest runs, 1000000 lines / 10000 lines: %.2f (goal <= 1.5)\n",
      fastest["Filter/1000000"] / 100 / fastest["Filter/10000"]);
#endif

  (void)demo::RemoveTree(scratch);
#ifndef _WIN32
  std::filesystem::remove_all(root);
#endif
  return 0;
}
