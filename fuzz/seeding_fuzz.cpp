// Start-up seeding over arbitrary configuration and text files: it never
// changes them, and every slot it writes to the map reads back and holds
// its marker, while every marker in a slot is mapped.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/check.h"
#include "platform/ascii.h"
#include "platform/platform.h"
#include "store/globals.h"
#include "store/item_table.h"
#include "store/profile.h"
#include "store/seed.h"

namespace {

void Setup() {
  std::string root = (std::filesystem::temp_directory_path() / "okapi-fuzz-XXXXXX").string();
  Check(mkdtemp(root.data()) != nullptr, "temporary drive");
  platform::ReplaceOs(platform::MakeNativeServices(root));
  Check(platform::Os().files->MakeDirectory("c:\\h"), "help folder");
  g_strHelpRoot = "c:\\h";
  g_strInstallDir = "c:\\h\\";
  g_strConfigFile = "c:\\h\\lumen-config.ini";
  g_strTextFile = "c:\\h\\lumen-text.ini";
  g_strMapFile = "c:\\h\\okapi.ini";
}

int Underscores(std::string_view value) {
  int pairs = 0;
  for (std::size_t at = value.find("__"); at != std::string_view::npos;
       at = value.find("__", at + 2))
    ++pairs;
  return pairs;
}

struct Scan {
  const std::string* file;
  std::string_view section, prefix, mapSection;
  std::vector<std::string_view> markers;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = (Setup(), true);
  (void)ready;
  auto& files = *platform::Os().files;
  // The two files are split at the first pair of NULs.
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find(std::string_view("\0\0", 2));
  const std::string config(input.substr(0, cut));
  const std::string text(cut == std::string_view::npos ? "" : input.substr(cut + 2));
  store::ForgetCachedFiles();
  (void)files.Remove(g_strMapFile);
  Check(bool(files.WriteFileAtomic(g_strConfigFile, config)), "config written");
  Check(bool(files.WriteFileAtomic(g_strTextFile, text)), "text written");

  SeedMapFile();

  Check(files.ReadFile(g_strConfigFile) == config, "seeding changed the config file");
  Check(files.ReadFile(g_strTextFile) == text, "seeding changed the text file");
  const Scan scans[] = {
      {&g_strConfigFile,
       store::item::kGlobalOptions,
       "OPTION",
       store::item::kOptionSlots,
       {"__BACKGROUND_COLOR__", "__SHOW_SPLASH__", "__SOUND_FILE__", "__DEFAULT_MENU__"}},
      {&g_strTextFile,
       store::item::kLumenText,
       "TEXT",
       store::item::kTextSlots,
       {"__TITLE__", "__MENU1_TITLE__", "__WELCOME_INTRO__", "__SYS_INFO__"}},
  };
  const store::UnchangedFilesScope unchanged;  // the checks below only read
  for (const Scan& scan : scans) {
    for (std::string_view marker : scan.markers) {
      const std::string slot = store::ReadString(scan.mapSection, marker, "", 64, g_strMapFile);
      // A slot holding this marker and no other must be found.
      bool alone = false;
      for (int n = 1; n <= 100 && !alone; ++n) {
        const std::string value = platform::ToUpperAscii(store::ReadString(
            scan.section, std::string(scan.prefix) + std::to_string(n), "Error", 255, *scan.file));
        alone = value.find(marker) != std::string::npos && Underscores(value) == 2;
      }
      if (alone) Check(!slot.empty(), "a marker in a slot is mapped");
      if (slot.empty()) continue;
      const std::string value =
          platform::ToUpperAscii(store::ReadString(scan.section, slot, "Error", 255, *scan.file));
      Check(value.find(marker) != std::string::npos, "the mapped slot holds its marker");
    }
  }
  return 0;
}
