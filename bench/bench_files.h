// Files shaped like the help application's: the config file with its 300
// numbered style and option slots and the text file with its 100 text slots,
// and synthetic files of a given number of lines.
#pragma once

#include <string>

namespace bench {

inline std::string ConfigFile() {
  std::string s = "; Lumen configuration\r\n[Global Options]\r\n";
  for (int i = 1; i <= 100; ++i) {
    s += "OPTION" + std::to_string(i) + "=__OPTION_" + std::to_string(i) + "__,true\r\n";
  }
  for (const char* section : {"Small Styles", "Large Styles"}) {
    s += "\r\n[" + std::string(section) + "]\r\n";
    for (int i = 1; i <= 100; ++i) {
      s += "STYLE" + std::to_string(i) + "=__STYLE_" + std::to_string(i) +
           "__,Tahoma,8,0x00FFFFFF,0x00000000,bold\r\n";
    }
  }
  s += "\r\n[OEM Defaults]\r\nTAB1_DEFAULT=bg1.jpg\r\nTAB2_DEFAULT=bg2.jpg\r\nSound=chime.wav\r\n";
  s += "\r\n[Backgrounds]\r\n";
  for (int i = 1; i <= 30; ++i) {
    s += "BACK" + std::to_string(i) + "=background" + std::to_string(i) + ".jpg\r\n";
  }
  s += "\r\n[Other]\r\nVersion=3.5.0\r\nMOUSE_OVER_COLOR=\"0x000000FF\"\r\n";
  return s;
}

inline std::string TextFile() {
  std::string s = "[Lumen Text]\r\n";
  for (int i = 1; i <= 100; ++i) {
    s += "TEXT" + std::to_string(i) + "=__TEXT_" + std::to_string(i) +
         "__,\"A menu or window text of an ordinary length, number " + std::to_string(i) + "\"\r\n";
  }
  s += "\r\n[Backgrounds]\r\nDEFAULTBACKGROUND=\"Default\"\r\n\r\n[Other]\r\nSysDetails_saved="
       "TRUE\r\n";
  return s;
}

// About a hundred keys per section, a comment now and then.
inline std::string FileOfLines(int lines) {
  std::string s;
  s.reserve(static_cast<std::size_t>(lines) * 40);
  for (int i = 0; i < lines; ++i) {
    if (i % 100 == 0) {
      s += "[Section" + std::to_string(i / 100) + "]\r\n";
    } else if (i % 37 == 0) {
      s += "; comment " + std::to_string(i) + "\r\n";
    } else {
      s += "KEY" + std::to_string(i % 100) + "=__VALUE_" + std::to_string(i) + "__,payload\r\n";
    }
  }
  return s;
}

// The seeding's 400 slot reads: each slot of each numbered section.
template <class Read>
void SeedingReads(const std::string& config, const std::string& text, Read read) {
  for (int i = 1; i <= 100; ++i) read(config, "Global Options", "OPTION" + std::to_string(i));
  for (int i = 1; i <= 100; ++i) read(config, "Small Styles", "STYLE" + std::to_string(i));
  for (int i = 1; i <= 100; ++i) read(config, "Large Styles", "STYLE" + std::to_string(i));
  for (int i = 1; i <= 100; ++i) read(text, "Lumen Text", "TEXT" + std::to_string(i));
}

}  // namespace bench
