#include "demo/installation.h"

#include <cstdint>

#include "pages/tcolor_swatches.h"

namespace demo {

// Generated at build time from the MinGW-made executables.
std::string_view EmbeddedExecutable(std::string_view tag);

namespace {

std::string Crlf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

constexpr char kConfig[] = R"([Global Options]
OPTION1=1024
OPTION2=true
OPTION3=__SHOW_SPLASH__,true
OPTION4=lumen.ico
OPTION5=__BACKGROUND_COLOR__,"#ffffff"
OPTION6=0
OPTION7=__PLAY_SOUND__,true
OPTION8=help\lumen.chm
OPTION9=__DEFAULT_BACKGROUND_IMAGE__,ocean.jpg
OPTION10=ENU
OPTION11=__MENU1_BACKGROUND__,sky.jpg
OPTION12=__MENU2_BACKGROUND__,forest.jpg
OPTION13=__MENU3_BACKGROUND__,ocean.jpg
OPTION14=__MENU4_BACKGROUND__,ocean.jpg
OPTION15=false
OPTION16=__SPLASH_ANIMATION__,lumen.avi
OPTION17=__SOUND_FILE__,lumen.wav
OPTION18=30
OPTION19=__WELCOME_IMAGE__,welcome.gif
OPTION20=
OPTION21=menu.xml
OPTION22=__DEFAULT_MENU__,MENU1
OPTION25=visualmap.xml

[Small Styles]
STYLE1=body {font-family: Tahoma; font-size: 8pt;}
STYLE2=.menuTitle {font-size: 10pt; color: #003366;}
STYLE3=.sysInfoHeader{font-weight: bold;}
STYLE4=.tab {padding: 2px;}
STYLE7=.sysInfo {color: #003366; cursor: hand;}
STYLE8=a:hover {color: #ff6600;}

[Large Styles]
STYLE1=body {font-family: Tahoma; font-size: 10pt;}
STYLE2=.menuTitle {font-size: 12pt; color: #003366;}
STYLE5=.tab {padding: 4px;}
STYLE9=.sysinfo {color: #003366; cursor: hand;}
STYLE10=a:hover {color: #ff6600;}

; Values the help application falls back to on "Revert to Default".
[OEM Defaults]
TAB1_DEFAULT=Ocean
TAB2_DEFAULT=Sky
TAB3_DEFAULT=Forest
TAB4_DEFAULT=Ocean
Sound=true
Splash=true

[Backgrounds]
BACK1=ocean.jpg
BACK2=sky.jpg
BACK3=forest.jpg
BACK4=On_the_Web.jpg

[Menu Parts]
MORE_INFORMATION=images\LumenHelp.gif,120,32
Configure=images\LBConfig.gif,120,32

[Other]
MOUSE_OVER_COLOR=#ff6600
REGULAR_TEXT_COLOR=#000000
MAIN_MENU_TEXT_COLOR=#003366
Version=LB3.50
VersionCM=0
)";

constexpr char kText[] = R"([Lumen Text]
TEXT1=__TITLE__,"Lumen Larkbook Help and Information"
TEXT2=__MENU1_TITLE__,"<u>G</u>etting Started"
TEXT3=__MENU2_TITLE__,"<u>H</u>elp and Support"
TEXT4=__MENU3_TITLE__,"<u>T</u>ools"
TEXT5=__SYSTEM_INFORMATION__,"System <u>D</u>etails"
TEXT6="Click a menu to begin"
TEXT7="Print"
TEXT8=__MENU1_ALT_KEY__,G
TEXT9=__MENU2_ALT_KEY__,H
TEXT10="Close"
TEXT11=__MENU3_ALT_KEY__,T
TEXT12=__ABOUT_ALT_KEY__,A
TEXT13="About Lumen"
TEXT14=__MENU4_TITLE__,"<u>W</u>elcome"
TEXT15=__MENU4_ALT_KEY__,W
TEXT16="Back"
TEXT17=__SYS_INFO__,"System information"
TEXT18="Search"
TEXT20=__MORE_INFORMATION_TEXT__,"More Information"
TEXT21=__CONFIGURE_TEXT__,"Configure"
TEXT22="Visual Map"
TEXT23=__TAB1_DESCRIPTION__,"<b>Getting Started</b> Learn the basics of your notebook"
TEXT24=__TAB2_DESCRIPTION__,"<b>Help and Support</b> Answers to common questions"
TEXT25=__TAB3_DESCRIPTION__,"<b>Tools</b> Keep your notebook in shape"
TEXT26="Next"
TEXT27=__WELCOME_INTRO__,"Welcome to your new notebook."
TEXT28=__WELCOME_CLOSING__,"We hope you enjoy it."
TEXT30=__SYSINFO_ALT_KEY__,D
TEXT31="Copyright ZAN"
TEXT105=__MENU1_TITLE__,"Beyond the slots the program scans"

[Backgrounds]
BACK1TEXT=Ocean
BACK2TEXT=Sky
BACK3TEXT=Forest
BACK4TEXT=On the Web
DEFAULTBACKGROUND=Ocean

[Other]
Language=ENU
)";

// A 1x1 transparent GIF.
constexpr unsigned char kSpacerGif[] = {
    'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0xff, 0xff,
    0xff, 0x00, 0x00, 0x00, '!',  0xf9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, ',',  0x00, 0x00,
    0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 'D',  0x01, 0x00, ';'};

void Put16(std::string& out, std::uint16_t value) {
  out += static_cast<char>(value & 0xff);
  out += static_cast<char>(value >> 8);
}
void Put32(std::string& out, std::uint32_t value) {
  Put16(out, static_cast<std::uint16_t>(value & 0xffff));
  Put16(out, static_cast<std::uint16_t>(value >> 16));
}

// A 24-bit bitmap that LoadImage accepts; colour(x, y) gives red, green and
// blue of each pixel, top row first.
template <class Colour>
std::string Bitmap24(int width, int height, Colour colour) {
  const std::uint32_t row = static_cast<std::uint32_t>((width * 3 + 3) & ~3);
  const std::uint32_t pixels = row * static_cast<std::uint32_t>(height);
  std::string bmp = "BM";
  Put32(bmp, 14 + 40 + pixels);
  Put32(bmp, 0);
  Put32(bmp, 14 + 40);
  Put32(bmp, 40);
  Put32(bmp, static_cast<std::uint32_t>(width));
  Put32(bmp, static_cast<std::uint32_t>(height));
  Put16(bmp, 1);
  Put16(bmp, 24);
  Put32(bmp, 0);  // BI_RGB
  Put32(bmp, pixels);
  Put32(bmp, 2835);
  Put32(bmp, 2835);
  Put32(bmp, 0);
  Put32(bmp, 0);
  for (int y = height - 1; y >= 0; --y) {  // bottom-up
    std::string line;
    for (int x = 0; x < width; ++x) {
      const auto [r, g, b] = colour(x, y);
      line += {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
    }
    line.resize(row, '\0');
    bmp += line;
  }
  return bmp;
}

// The tool's own palette picture for the colour page: the swatches on white,
// each framed on the bounds that stop picking it.
std::string PaletteBitmap() {
  struct Rgb {
    unsigned char r, g, b;
  };
  return Bitmap24(tcolor::kPaletteWidth, tcolor::kPaletteHeight, [](int x, int y) {
    const int px = x + tcolor::kPaletteLeft;
    const int py = y + tcolor::kPaletteTop;
    for (const auto& s : tcolor::kSwatches) {
      if (px < s.left || px > s.right || py < s.top || py > s.bottom) continue;
      if (px == s.left || px == s.right || py == s.top || py == s.bottom) return Rgb{96, 96, 96};
      return Rgb{s.red, s.green, s.blue};
    }
    return Rgb{255, 255, 255};
  });
}

// Enough of a JPEG for everything that only copies and lists it.
std::string Jpeg(std::string_view name, std::string_view size) {
  std::string jpeg = "\xff\xd8\xff\xe0";
  Put16(jpeg, 16);
  jpeg += std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14);
  jpeg += "\xff\xfe";
  std::string comment = std::string(size) + " " + std::string(name);
  jpeg += static_cast<char>((comment.size() + 2) >> 8);
  jpeg += static_cast<char>((comment.size() + 2) & 0xff);
  jpeg += comment;
  jpeg += "\xff\xd9";
  return jpeg;
}

// Collects the first failure of a sequence of steps.
class Steps {
 public:
  void Check(bool ok, const std::string& what) {
    if (!ok && status_) status_ = platform::Status::Fail(what);
  }
  void Check(const platform::Status& status) {
    if (!status && status_) status_ = status;
  }
  platform::Status Result() const { return status_; }

 private:
  platform::Status status_;
};

platform::Status Write(const std::string& path, std::string_view bytes) {
  return platform::Os().files->WriteFileAtomic(path, bytes);
}

}  // namespace

std::string_view ExecutableBytes(Exe exe) {
  switch (exe) {
    case Exe::V3_5_0_0:
      return EmbeddedExecutable("3.5.0.0");
    case Exe::V3_5_2_7:
      return EmbeddedExecutable("3.5.2.7");
    case Exe::V3_0_1_0:
      return EmbeddedExecutable("3.0.1.0");
    case Exe::V3_6_0_0:
      return EmbeddedExecutable("3.6.0.0");
    case Exe::NoVersionResource:
      return EmbeddedExecutable("none");
  }
  return {};
}

std::string DemoConfigFile() { return Crlf(kConfig); }
std::string DemoTextFile() { return Crlf(kText); }

std::string DemoMachineTable(std::optional<bool> usesVisualMap) {
  std::string table =
      "Model,Description,Screen,Keyboard\n"
      "\"LB3000\",\"Lumen Larkbook 3000\",\"1024,768\",US\n"
      "LB3500,\"Larkbook 3500, with dock\",\"1280,800\",\"UK\"\n"
      "ZN200,ZAN Notebook 200,\"800,600\",\n";
  if (usesVisualMap) {
    table += "\n[MENU1]\nusesVisualMap=";
    table += *usesVisualMap ? "TRUE" : "FALSE";
    table += "\nicon=menu1.gif\n";
  }
  return Crlf(table);
}

bool RemoveTree(const std::string& path) { return RemoveTree(*platform::Os().files, path); }

bool RemoveTree(platform::FileSystem& files, const std::string& path) {
  if (!files.Exists(path)) return true;
  if (!files.IsDirectory(path)) {
    (void)files.SetAttributesNormal(path);  // the delete below reports
    return files.Remove(path);
  }
  bool ok = true;
  for (const std::string& name : files.Find(path + "\\*"))
    ok = RemoveTree(files, path + "\\" + name) && ok;
  (void)files.SetAttributesNormal(path);
  return files.RemoveEmptyDirectory(path) && ok;
}

platform::Status MakeDirectories(const std::string& path) {
  auto& files = *platform::Os().files;
  std::string trimmed = path;
  while (trimmed.size() > 3 && (trimmed.back() == '\\' || trimmed.back() == '/')) {
    trimmed.pop_back();
  }
  if (files.IsDirectory(trimmed)) return platform::Status::Ok();
  std::size_t cut = trimmed.find_last_of("\\/");
  if (cut != std::string::npos && cut > 2) {
    if (auto parent = MakeDirectories(trimmed.substr(0, cut)); !parent) return parent;
  }
  if (!files.MakeDirectory(trimmed) && !files.IsDirectory(trimmed)) {
    return platform::Status::Fail("cannot create " + trimmed);
  }
  return platform::Status::Ok();
}

platform::Status ResetMachine() {
  Steps steps;
  auto& files = *platform::Os().files;
  auto& registry = *platform::Os().registry;
  if (files.Exists("c:\\zantools")) {
    steps.Check(RemoveTree("c:\\zantools"), "cannot remove c:\\zantools");
  }
  steps.Check(registry.DeleteTree(platform::Hive::LocalMachine, "Software\\ZAN"),
              "cannot remove HKLM\\Software\\ZAN");
  return steps.Result();
}

platform::Status LayInstallation(const Installation& installation) {
  Steps steps;
  auto& registry = *platform::Os().registry;
  using platform::Hive;

  if (installation.registryInstallDir) {
    steps.Check(registry.CreateAndSet(Hive::LocalMachine, kInstallKey, "InstallDir",
                                      *installation.registryInstallDir),
                "cannot set InstallDir");
  }
  if (installation.hotkeyFile) {
    steps.Check(
        registry.CreateAndSet(Hive::LocalMachine, kHotkeyKey, "File", *installation.hotkeyFile),
        "cannot set the hardware-button key");
  }

  const std::string helpRoot = "c:\\zantools\\zanhelp";
  steps.Check(MakeDirectories(helpRoot + "\\customization"));
  steps.Check(
      Write(helpRoot + "\\spacer.gif",
            std::string_view(reinterpret_cast<const char*>(kSpacerGif), sizeof kSpacerGif)));
  steps.Check(Write(helpRoot + "\\customization\\white.bmp", PaletteBitmap()));
  if (installation.helpFile) {
    steps.Check(MakeDirectories(helpRoot + "\\customization\\docs"));
    steps.Check(platform::Os().files->Copy(*installation.helpFile, kHelpFile, false),
                "cannot copy the help file " + *installation.helpFile);
  }

  std::string dir = installation.directory;
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  steps.Check(MakeDirectories(dir));
  if (installation.llb3) steps.Check(Write(dir + "llb3.exe", ExecutableBytes(*installation.llb3)));
  if (installation.lzan) steps.Check(Write(dir + "lzan.exe", ExecutableBytes(*installation.lzan)));

  if (installation.dataFiles) {
    steps.Check(Write(dir + "lumen-config.ini", DemoConfigFile()));
    steps.Check(Write(dir + "lumen-text.ini", DemoTextFile()));
    steps.Check(Write(dir + "machine-specifics.csv", DemoMachineTable(installation.usesVisualMap)));
    for (const char* size : {"small", "large"}) {
      const std::string images = dir + "images\\" + size;
      steps.Check(MakeDirectories(images));
      for (const char* image : kDemoImages)
        steps.Check(Write(images + "\\" + image, Jpeg(image, size)));
    }
  }
  return steps.Result();
}

platform::Status LayDemoInstallation() {
  if (auto reset = ResetMachine(); !reset) return reset;
  return LayInstallation(Installation{});
}

}  // namespace demo
