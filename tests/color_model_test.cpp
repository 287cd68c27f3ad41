// The colour page's rules without its window: what a stored entry shows,
// what Next writes back, where a picked colour goes, which swatch is hit.
#include "pages/color_model.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/counting_files.h"

namespace {

using Row = ColorModel::Row;
using Rgb = ColorModel::Rgb;

constexpr char kConfig[] = "c:\\lumen\\lumen-config.ini";

class ColorModelTest : public testing::Test {
 protected:
  ColorModelTest() { g_strMapFile = "c:\\zantools\\zanhelp\\okapi.ini", g_strConfigFile = kConfig; }
  ~ColorModelTest() override { g_strMapFile = saved_[0], g_strConfigFile = saved_[1]; }
  // The config file with at most the row's entry; the background's slot is
  // OPTION5 unless the map file names none.
  void Lay(Row row, const std::optional<std::string>& entry, bool slot = true) {
    files->AddFile(g_strMapFile, slot ? "[OPTIONS]\r\n__BACKGROUND_COLOR__=OPTION5\r\n" : "");
    files->AddFile(kConfig, "[Other]\r\n[Global Options]\r\n");
    ASSERT_TRUE(store::WriteString(At(row).first, At(row).second, entry, kConfig));
  }
  static std::pair<const char*, std::string> At(Row row) {
    if (row == Row::Background) return {"Global Options", "OPTION5"};
    return {"Other", std::string(ColorModel::ItemOf(row).key)};
  }
  static std::string Stored(Row row) {
    return store::ReadString(At(row).first, At(row).second, "<none>", 256, kConfig);
  }

  const std::string saved_[2] = {g_strMapFile, g_strConfigFile};
  okapi_test::ScopedCountingFiles files;
};

// Picks go to the last row chosen, and once; a read-only file: the write is
// told once, nothing changes.
TEST_F(ColorModelTest, StoredColoursShowAndOnlyRealOnesAreWrittenBackInLowerCase) {
  const std::string background = "__BACKGROUND_COLOR__,\"#102030\"";
  const struct {
    const char* name;
    Row row;
    std::optional<std::string> stored;
    Rgb shown;
    std::optional<Rgb> picked;
    std::string written;
    bool slot = true, readOnly = false;
  } rows[] = {
      // clang-format off
      {"either case, more after", Row::ToolBar, "#FF09aA;x", Rgb{255, 9, 170}, {}, "#ff09aa"},
      {"background entry", Row::Background, background, Rgb{16, 32, 48}, {}, background},
      {"missing", Row::Menu, std::nullopt, Rgb{}, {}, "<none>"},
      {"read, then picked black", Row::MouseOver, "#0f0f0f", Rgb{15, 15, 15}, Rgb{}, "#000000"},
      {"not hexadecimal", Row::MouseOver, "#12345g", Rgb{}, {}, "#12345g"},
      {"background, no slot", Row::Background, background, Rgb{}, Rgb{1, 2, 3}, background, false},
      {"read-only", Row::Menu, "#0A0B0C", Rgb{10, 11, 12}, {}, "#0A0B0C", true, true},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay(row.row, row.stored, row.slot);
    ColorModel model;
    model.Load();
    EXPECT_EQ(row.shown, model.Color(row.row));
    if (row.picked) {
      model.Target(Row::Background), model.Target(row.row);
      EXPECT_EQ(row.row, model.Pick(*row.picked));
      EXPECT_EQ(std::nullopt, model.Pick({1, 1, 1})) << "a second pick goes nowhere";
    }
    ASSERT_TRUE(!row.readOnly || files->SetReadOnly(kConfig));
    std::vector<std::string> told;
    store::SetWriteFailureReporter([&](const std::string& file, auto&) { told.push_back(file); });
    EXPECT_EQ(!row.readOnly, model.Save());
    store::SetWriteFailureReporter(nullptr);
    EXPECT_EQ(row.readOnly ? std::vector<std::string>{kConfig} : std::vector<std::string>{}, told);
    for (Row r : {Row::MouseOver, Row::Menu, Row::ToolBar, Row::Background})
      EXPECT_EQ(r == row.row ? row.written : "<none>", Stored(r));
  }
}

TEST(ColorSwatches, PickInsideTheirBoundsAtTheScreensDpi) {
  using Hit = std::tuple<int, int, int, std::optional<Rgb>>;  // dpi, x, y, colour
  const Rgb white = {255, 255, 255};
  for (const auto& [dpi, x, y, picked] :
       {Hit{96, 44, 115, {}}, Hit{96, 45, 115, white}, Hit{96, 60, 123, white},
        Hit{96, 61, 115, {}}, Hit{96, 237, 146, Rgb{64, 128, 128}}, Hit{120, 55, 140, {}},
        Hit{120, 56, 170, Rgb{}}})
    EXPECT_EQ(picked, SwatchAt(x, y, dpi)) << dpi << " dpi " << x << "," << y;
}

}  // namespace
