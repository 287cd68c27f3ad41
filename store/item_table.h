// Every item the pages read and write, named once: where the map file finds
// its slot (or its fixed key), which file and section hold it, which page
// writes it, how the seeding finds its slot and how the changes report files
// it. Pages read and write items by name; the sentinel and its rules live
// here and in items.cpp.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace store {

enum class File { Config, Text, Map, MachineTable };

// The path of one of the files (the global paths, set at start).
const std::string& PathOf(File file);

// The largest value the profile functions give back: an entry read "whole".
inline constexpr std::size_t kWholeValue = 0x10000;

struct Item {
  // Empty: `key` is the entry's own key. Else the map file's section in which
  // `key` (a marker) names the slot that holds the entry.
  std::string_view mapSection;
  std::string_view key;
  File file = File::Config;
  std::string_view section;
  // The read buffer where a cut is part of the item's meaning.
  std::size_t readSize = kWholeValue;

  // The same file and section under another fixed key (numbered families
  // such as "Back7"); the caller keeps `otherKey` alive.
  constexpr Item WithKey(std::string_view otherKey) const {
    return {{}, otherKey, file, section, readSize};
  }
  // The same item read into a buffer of `size` characters.
  constexpr Item CutTo(std::size_t size) const { return {mapSection, key, file, section, size}; }
};

// The key that holds the item: its fixed key, or the slot the map file names;
// nullopt when the map file names none (or "Error", or an empty name).
std::optional<std::string> SlotOf(const Item& item);

// The entry, or nullopt when it is missing: no slot, or no such file,
// section or key (the profile functions' "Error").
std::optional<std::string> Read(const Item& item);

// What the help application's own files take as a missing value: a value
// that contains the sentinel anywhere.
bool HoldsSentinel(std::string_view value);

// What a write did. NoSlot: the map file names no slot for the item, so
// nothing was written or told; Failed: the write was refused and the store
// has told the user. Tests as true only when written.
struct WriteResult {
  enum Kind { Written, NoSlot, Failed } kind = Written;
  explicit operator bool() const { return kind == Written; }
  bool operator==(Kind other) const { return kind == other; }
};

// Writes the entry (nullopt deletes it).
[[nodiscard]] WriteResult Write(const Item& item, std::optional<std::string_view> value);
// The same for several items of one file in one write of the file, read back
// once: a failure is told once. The items with a slot are written even when
// another has none (NoSlot then); Failed when the write failed.
[[nodiscard]] WriteResult WriteAll(const std::vector<std::pair<Item, std::string>>& writes);

// While one lives, Write and WriteAll write nothing and tell nothing, and
// give Failed: a run that only looks (an export, a verify) goes through the
// pages' loads, which keep first values, without changing a file.
class WritesHeld {
 public:
  WritesHeld();
  ~WritesHeld();
  WritesHeld(const WritesHeld&) = delete;
  WritesHeld& operator=(const WritesHeld&) = delete;
};

// A marker entry as the help application reads it: the marker, a comma and
// the value. The help application takes the value from its place, after as
// many characters as the marker and the comma have, whatever they say.
std::string EncodeEntry(std::string_view marker, std::string_view value);
// The value of a marker entry; nullopt when the entry is missing or ends
// before its value's place (an empty value is "").
std::optional<std::string> DecodeEntry(std::string_view marker,
                                       const std::optional<std::string>& entry);
// The same through a marker item's own marker.
std::optional<std::string> ReadValue(const Item& item);
[[nodiscard]] WriteResult WriteValue(const Item& item, std::string_view value);

// Which values count as a first value worth keeping and putting back.
enum class FirstValue {
  NonEmpty,  // an empty entry is none
  AnyText,   // an empty entry is one too
};
// Keeps the first values of entries a page is about to change: each copy's
// `first` gets `from` unless it holds a first value already (a copy kept by
// an earlier run is the older one). `flag` is set once every copy is in
// place; unset, it lets a later run take the copies still missing. False
// when a copy could not be written (told by the store).
[[nodiscard]] bool KeepFirstValues(const Item& flag,
                                   const std::vector<std::pair<Item, Item>>& fromFirst,
                                   FirstValue kind = FirstValue::NonEmpty);

// An entry that does not read back from disk as it was written: another
// program changed the file, or the system did not keep the write.
struct ReadBackMismatch {
  std::string name;  // the marker, or the fixed key
  std::string file;
  std::optional<std::string> written;  // nullopt: deleted
  std::optional<std::string> found;    // nullopt: missing
};
// What the user is told of them, in one message however many there are.
std::string Describe(const std::vector<ReadBackMismatch>& mismatches);
// One entry's line of that message: "NAME in FILE: "found" instead of "written"".
std::string DescribeEntry(const ReadBackMismatch& mismatch);
using ReadBackReporter = std::function<void(const std::vector<ReadBackMismatch>&)>;
// Told once about the mismatches found right after a write; by default nobody is.
void SetReadBackReporter(ReadBackReporter reporter);
// Every item written in this run, read back from disk now.
std::vector<ReadBackMismatch> CheckWrittenItems();
// Starts a new run's list (tests).
void ForgetWrittenItems();

namespace item {

inline constexpr std::string_view kLumenText = "Lumen Text";
inline constexpr std::string_view kGlobalOptions = "Global Options";
// The map file's sections of slots, as the seeding writes them.
inline constexpr std::string_view kTextSlots = "TEXT";
inline constexpr std::string_view kOptionSlots = "OPTIONS";

constexpr Item TextItem(std::string_view marker, std::size_t size = kWholeValue) {
  return {kTextSlots, marker, File::Text, kLumenText, size};
}
constexpr Item OptionItem(std::string_view marker, std::size_t size = kWholeValue) {
  return {kOptionSlots, marker, File::Config, kGlobalOptions, size};
}
constexpr Item Fixed(File file, std::string_view section, std::string_view key) {
  return {{}, key, file, section};
}

// Text file, slots named in the map file's "Text".
inline constexpr Item kTitle = TextItem("__TITLE__", 1024);
inline constexpr Item kMenu1Title = TextItem("__MENU1_TITLE__");
inline constexpr Item kMenu2Title = TextItem("__MENU2_TITLE__");
inline constexpr Item kMenu3Title = TextItem("__MENU3_TITLE__");
inline constexpr Item kMenu4Title = TextItem("__MENU4_TITLE__");
inline constexpr Item kMenu1AltKey = TextItem("__MENU1_ALT_KEY__");
inline constexpr Item kMenu2AltKey = TextItem("__MENU2_ALT_KEY__");
inline constexpr Item kMenu3AltKey = TextItem("__MENU3_ALT_KEY__");
inline constexpr Item kMenu4AltKey = TextItem("__MENU4_ALT_KEY__");
inline constexpr Item kAboutAltKey = TextItem("__ABOUT_ALT_KEY__");
// Spelt as the help application writes it; map keys compare without case.
inline constexpr Item kSystemInformation = TextItem("__System_Information__");
inline constexpr Item kSysInfoAltKey = TextItem("__SYSINFO_ALT_KEY__");
// Seeded only: no page reads it.
inline constexpr Item kSysInfo = TextItem("__SYS_INFO__");
inline constexpr Item kConfigureText = TextItem("__CONFIGURE_TEXT__");
inline constexpr Item kMoreInformationText = TextItem("__MORE_INFORMATION_TEXT__");
inline constexpr Item kTab1Description = TextItem("__TAB1_DESCRIPTION__");
inline constexpr Item kTab2Description = TextItem("__TAB2_DESCRIPTION__");
inline constexpr Item kTab3Description = TextItem("__TAB3_DESCRIPTION__");
inline constexpr Item kWelcomeIntro = TextItem("__WELCOME_INTRO__");
inline constexpr Item kWelcomeClosing = TextItem("__WELCOME_CLOSING__");

// Config file, slots named in the map file's "Options".
inline constexpr Item kBackgroundColor = OptionItem("__BACKGROUND_COLOR__");
inline constexpr Item kDefaultBackgroundImage = OptionItem("__DEFAULT_BACKGROUND_IMAGE__");
inline constexpr Item kMenu1Background = OptionItem("__MENU1_BACKGROUND__");
inline constexpr Item kMenu2Background = OptionItem("__MENU2_BACKGROUND__");
inline constexpr Item kMenu3Background = OptionItem("__MENU3_BACKGROUND__");
inline constexpr Item kMenu4Background = OptionItem("__MENU4_BACKGROUND__");
inline constexpr Item kShowSplash = OptionItem("__SHOW_SPLASH__");
inline constexpr Item kSplashAnimation = OptionItem("__SPLASH_ANIMATION__");
inline constexpr Item kPlaySound = OptionItem("__PLAY_SOUND__");
inline constexpr Item kSoundFile = OptionItem("__SOUND_FILE__");
inline constexpr Item kWelcomeImage = OptionItem("__WELCOME_IMAGE__");
inline constexpr Item kDefaultMenu = OptionItem("__DEFAULT_MENU__");

// Config file, the System Details styles, slots named under "SysInfo".
inline constexpr Item kSmallSysInfoStyle{"Small Styles", "SysInfo", File::Config, "Small Styles"};
inline constexpr Item kLargeSysInfoStyle{"Large Styles", "SysInfo", File::Config, "Large Styles"};

// Config file, fixed keys.
inline constexpr Item kWelcomeImageOrg = Fixed(File::Config, kGlobalOptions, "WELCOME_IMAGE_org");
inline constexpr Item kSmallSysInfoOrg = Fixed(File::Config, "Small Styles", "sysInfo_org");
inline constexpr Item kLargeSysInfoOrg = Fixed(File::Config, "Large Styles", "sysInfo_org");
inline constexpr Item kOemTab1Default = Fixed(File::Config, "OEM Defaults", "TAB1_DEFAULT");
inline constexpr Item kOemTab2Default = Fixed(File::Config, "OEM Defaults", "TAB2_DEFAULT");
inline constexpr Item kOemTab3Default = Fixed(File::Config, "OEM Defaults", "TAB3_DEFAULT");
inline constexpr Item kOemTab4Default = Fixed(File::Config, "OEM Defaults", "TAB4_DEFAULT");
inline constexpr Item kOemSound = Fixed(File::Config, "OEM Defaults", "Sound");
inline constexpr Item kOemSplash = Fixed(File::Config, "OEM Defaults", "Splash");
// One key per background entry: `kConfigBackgrounds.WithKey("Back7")`.
inline constexpr Item kConfigBackgrounds = Fixed(File::Config, "Backgrounds", {});
inline constexpr Item kMenuPartsConfigure = Fixed(File::Config, "Menu Parts", "Configure");
inline constexpr Item kMenuPartsMoreInformation =
    Fixed(File::Config, "Menu Parts", "MORE_INFORMATION");
inline constexpr Item kMenuPartsConfigureOrg = Fixed(File::Config, "Menu Parts", "Configure_org");
inline constexpr Item kMenuPartsMoreInformationOrg =
    Fixed(File::Config, "Menu Parts", "MORE_INFORMATION_org");
inline constexpr Item kMouseOverColor = Fixed(File::Config, "Other", "MOUSE_OVER_COLOR");
inline constexpr Item kRegularTextColor = Fixed(File::Config, "Other", "REGULAR_TEXT_COLOR");
inline constexpr Item kMainMenuTextColor = Fixed(File::Config, "Other", "MAIN_MENU_TEXT_COLOR");
inline constexpr Item kVersion = Fixed(File::Config, "Other", "Version");
inline constexpr Item kVersionCM = Fixed(File::Config, "Other", "VersionCM");
inline constexpr Item kConfigSaved = Fixed(File::Config, "Other", "Config_saved");
inline constexpr Item kMoreSaved = Fixed(File::Config, "Other", "More_saved");
inline constexpr Item kWelcomeImageSaved = Fixed(File::Config, "Other", "WelcomeImage_saved");

// Text file, fixed keys.
inline constexpr Item kFirstTitle = Fixed(File::Text, kLumenText, "Text1_org").CutTo(1024);
inline constexpr Item kText5Org = Fixed(File::Text, kLumenText, "TEXT5_org");
inline constexpr Item kText30Org = Fixed(File::Text, kLumenText, "TEXT30_org");
inline constexpr Item kText20 = Fixed(File::Text, kLumenText, "TEXT20");
inline constexpr Item kText21 = Fixed(File::Text, kLumenText, "TEXT21");
inline constexpr Item kText20Org = Fixed(File::Text, kLumenText, "TEXT20_org");
inline constexpr Item kText21Org = Fixed(File::Text, kLumenText, "TEXT21_org");
// One key per background text, and "DEFAULTBACKGROUND".
inline constexpr Item kTextBackgrounds = Fixed(File::Text, "Backgrounds", {});
inline constexpr Item kDefaultBackgroundText =
    Fixed(File::Text, "Backgrounds", "DEFAULTBACKGROUND");
inline constexpr Item kSysDetailsSaved = Fixed(File::Text, "Other", "SysDetails_saved");

// The machine table, read as a profile file.
inline constexpr Item kUsesVisualMap = Fixed(File::MachineTable, "MENU1", "usesVisualMap");

// The tool's own entries in the map file.
inline constexpr Item kMenu4Enabled = Fixed(File::Map, "Install", "Menu4");
// One key per background slot, "BACK" n "TEXT".
inline constexpr Item kFreeSlots = Fixed(File::Map, "OKAPI", {});
// "File1" to "File3": the menus' background images.
inline constexpr Item kMenuBackgroundFiles = Fixed(File::Map, "BG_Files", {});

}  // namespace item

// The wizard's pages that write items, in the wizard's order; Other: none
// that the changes report names.
enum class Page {
  ModifiedBy,
  Menu,
  WelcomePage,
  VisualMapButtons,
  Backgrounds,
  Color,
  Sounds,
  AnimationScreen,
  Packaging,
  Other,
};

// How the changes report tells an item's entries from the rest, when no
// marker at the start of the entry has told it already.
enum class Listed {
  ByMarker,   // by that marker only
  ByKey,      // by its section and key
  BySection,  // by its section: any key no other row names
  No,         // not by itself
};

// What the seeding does with an item.
enum class Seed {
  No,
  Marker,     // finds the slots holding its marker
  FirstSlot,  // the same; in several slots the help application uses the first
  Alias,      // finds the slots holding `seekAs`, recorded under the item's key
};

struct ItemRow {
  Item item;
  Page page = Page::Other;
  Listed listed = Listed::No;
  Seed seed = Seed::No;
  std::string_view seekAs = {};
};

// Every item once (an alias searched by the seeding is a row of its own).
// The seeding searches the rows of one file section in this order: a slot
// holding two markers counts for the first row's.
extern const std::span<const ItemRow> kItemRows;

// What the seeding looks for in a row's slots, in capitals (every slot value
// is compared in capitals); empty when it does not look.
std::string SeekOf(const ItemRow& row);
// The key the seeding records a row's slot under in the map file.
std::string SeededKeyOf(const ItemRow& row);
// The help application numbers the slots of a section of marker entries
// from PREFIX1 upwards.
std::string_view SlotPrefixOf(const Item& item);

// The page whose entries these are, as the changes report groups them: by the
// marker the entry starts with (any case), else by section and key.
Page PageOfEntry(std::string_view section, std::string_view key, std::string_view marker);

}  // namespace store
