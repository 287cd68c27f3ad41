// The pages' entry parses on arbitrary text: a menu title marked with its
// letter parses back to the title and letter, a welcome text kept as an
// entry reads back as the page showed it, a colour written reads back, an
// image option written as an entry reads back to its file name.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "pages/app_menu.h"
#include "pages/tcolor.h"
#include "pages/wmenu.h"
#include "store/item_table.h"
#include "store/profile_text.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
  }
}

// Line breaks of any kind as the edit control gives them back.
std::string Crlf(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const CTColor::Rgb color{in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegral<std::uint8_t>(),
                           in.ConsumeIntegral<std::uint8_t>()};
  const std::string letter = in.ConsumeBytesAsString(1);
  const std::string title = in.ConsumeRandomLengthString(256);
  const std::string entry = in.ConsumeRemainingBytesAsString();

  // Any entry parses, into a title and at most one letter.
  const MenuTitle parsed = ParseMenuTitle(entry);
  Check(parsed.letter.size() <= 1, "one letter at most");
  // A title as typed (no quotes or markup) with the letter it contains.
  const bool plain = title.find_first_of("\"<") == std::string::npos && letter != "\"";
  if (const auto marked = MarkMenuTitle(title, letter); marked && plain) {
    const MenuTitle back = ParseMenuTitle("__MENU1_TITLE__,\"" + *marked + "\"");
    Check(back.title == title, "a marked title parses back to the title");
    Check(back.letter == letter, "a marked title parses back to its letter");
  }

  // A welcome text is kept on one line and shown again as typed.
  const std::string kept = TextToEntry(title);
  Check(kept.find_first_of("\r\n") == std::string::npos, "an entry is one line");
  if (title.find("<br>") == std::string::npos)
    Check(EntryToText(kept) == Crlf(title), "a welcome text reads back as typed");
  (void)EntryToText(entry);

  for (const store::Item* item :
       {&store::item::kBackgroundColor, &store::item::kMouseOverColor,
        &store::item::kMainMenuTextColor, &store::item::kRegularTextColor}) {
    Check(ParseColor(*item, FormatColor(*item, color)) == color, "a colour written reads back");
    if (const auto read = ParseColor(*item, entry))
      Check(ParseColor(*item, FormatColor(*item, *read)) == read, "a colour read is kept");
  }

  // An image name as the page takes it: typed on one line, no blanks around it.
  const auto& option = store::item::kMenu1Background;
  const std::string stored =
      "[Global Options]\r\nOPTION11=" + store::EncodeEntry(option.key, title) + "\r\n";
  const std::string read =
      store::ProfileText(stored).Read("Global Options", "OPTION11", "", 0x10000);
  // Blanks as the profile functions trim them: space, tab and vertical tab.
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v'; };
  const bool oneLine = !title.empty() &&
                       title.find_first_of(std::string("\r\n\0", 3)) == std::string::npos &&
                       !blank(title.front()) && !blank(title.back());
  if (oneLine) Check(store::DecodeEntry(option.key, read) == title, "an image option reads back");
  const std::string file = store::DecodeEntry(option.key, entry).value_or("");
  Check(entry.ends_with(file), "an option's file name is the end of its entry");
  return 0;
}
