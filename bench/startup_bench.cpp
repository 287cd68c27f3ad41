// The wizard's start-up work on the demo installation: discovery, backup,
// seeding, package tree and placeholder copies. The same program runs
// natively (posix services on a scratch folder) and under Wine (the prefix's
// real c:\ and registry). Medians of repeated runs; the shares matter, not
// the absolute times.
#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/discovery.h"
#include "demo/installation.h"
#include "package/package_tree.h"
#include "platform/platform.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/profile.h"
#include "store/seed.h"

namespace {

double Median(int runs, const std::function<void()>& prepare, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[runs / 2];
}

void Fail(const char* what) {
  std::fprintf(stderr, "startup_bench: %s\n", what);
  std::exit(1);
}

}  // namespace

int main() {
#ifdef _WIN32
  // The bench replaces c:\zantools: only in a Wine prefix made for it.
  if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
    Fail("runs only under Wine (it lays a demo installation on c:\\)");
#else
  const std::string root =
      (std::filesystem::temp_directory_path() / ("okapi-startup-bench-" + std::to_string(getpid())))
          .string();
  std::filesystem::create_directories(root + "/c");
  (void)platform::ReplaceOs(platform::MakeNativeServices(root));
#endif
  if (!demo::LayDemoInstallation()) Fail("cannot lay the demo installation");

  const int runs = 31;
  const auto nothing = [] {};
  const auto cold = [] { store::ForgetCachedFiles(); };
  const auto noBackup = [] {
    store::ForgetCachedFiles();
    (void)demo::RemoveTree(g_strHelpRoot + "\\customization\\backup");
  };
  bool missing = false;
  const double discovery =
      Median(runs, nothing, [&] { missing = !CheckInstallation([](const std::string&) {}); });
  if (missing) Fail("the demo installation was not found");
  const double firstBackup = Median(runs, noBackup, [] { BackupHelpFiles(); });
  const double backup = Median(runs, cold, [] { BackupHelpFiles(); });
  const double seeding = Median(runs, cold, [] { SeedMapFile(); });
  const double loadOnce = Median(runs, cold, [] {
    (void)store::ReadString("Global Options", "OPTION1", "Error", 255, g_strConfigFile);
    (void)store::ReadString("Lumen Text", "TEXT1", "Error", 255, g_strTextFile);
  });
  const double tree = Median(runs, nothing, [] { package::PrepareTree(); });
  const double total = Median(runs, cold, [] {
    (void)CheckInstallation([](const std::string&) {});
    BackupHelpFiles();
    SeedMapFile();
    package::PrepareTree();
  });

  std::printf("start-up work, median of %d runs (later runs: backups exist)\n", runs);
  const auto row = [&](const char* name, double us) {
    std::printf("  %-34s %9.0f us  %5.1f%% of start-up\n", name, us, 100 * us / total);
  };
  row("discovery and version check", discovery);
  row("backup (later runs)", backup);
  row("backup (first run)", firstBackup);
  row("seeding (400 reads, one map write)", seeding);
  row("package tree and placeholders", tree);
  row("whole start-up", total);
  // The rest is file copies and folders, which no profile work can shorten.
  std::printf("  seeding / one load of both target files: %.2f (goal <= 3)\n", seeding / loadOnce);

#ifndef _WIN32
  std::filesystem::remove_all(root);
#endif
  return 0;
}
