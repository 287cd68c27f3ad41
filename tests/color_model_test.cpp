// The colour page's rules without its window: what a stored entry shows,
// what Next writes back, where a picked colour goes, which swatch is hit.
#include "pages/color_model.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
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
  ColorModelTest() {
    g_strMapFile = "c:\\zantools\\zanhelp\\okapi.ini";
    g_strConfigFile = kConfig;
  }
  ~ColorModelTest() override {
    g_strMapFile = savedMap_;
    g_strConfigFile = savedConfig_;
  }
  // The config file with at most the row's entry; the background's slot is
  // OPTION5 unless the map file names none.
  void Lay(Row row, const std::optional<std::string>& entry, bool slot = true) {
    files->AddFile(g_strMapFile, slot ? "[OPTIONS]\r\n__BACKGROUND_COLOR__=OPTION5\r\n" : "");
    files->AddFile(kConfig, "[Other]\r\n[Global Options]\r\n");
    ASSERT_TRUE(store::WriteString(Section(row), Key(row), entry, kConfig));
  }
  static const char* Section(Row row) {
    return row == Row::Background ? "Global Options" : "Other";
  }
  static std::string Key(Row row) {
    return row == Row::Background ? "OPTION5" : std::string(ColorModel::ItemOf(row).key);
  }
  static std::string Stored(Row row) {
    return store::ReadString(Section(row), Key(row), "<none>", 256, kConfig);
  }

  const std::string savedMap_ = g_strMapFile;
  const std::string savedConfig_ = g_strConfigFile;
  okapi_test::ScopedCountingFiles files;
};

TEST_F(ColorModelTest, StoredColoursShowAndOnlyRealOnesAreWrittenBackInLowerCase) {
  const std::string background = "__BACKGROUND_COLOR__,\"#102030\"";
  const struct {
    const char* name;
    Row row;
    std::optional<std::string> stored;
    Rgb shown;
    std::optional<Rgb> typed;
    std::string written;
    bool slot = true;
  } rows[] = {
      // clang-format off
      {"either case, more after", Row::ToolBar, "#FF09aA;x", Rgb{255, 9, 170}, {}, "#ff09aa"},
      {"background entry", Row::Background, background, Rgb{16, 32, 48}, {}, background},
      {"missing", Row::Menu, std::nullopt, Rgb{}, {}, "<none>"},
      {"missing, then typed", Row::Menu, std::nullopt, Rgb{}, Rgb{1, 2, 3}, "#010203"},
      {"read, then typed black", Row::MouseOver, "#0f0f0f", Rgb{15, 15, 15}, Rgb{}, "#000000"},
      {"sentinel", Row::MouseOver, "Error", Rgb{}, {}, "Error"},
      {"short", Row::MouseOver, "#fff", Rgb{}, {}, "#fff"},
      {"not hexadecimal", Row::MouseOver, "#12345g", Rgb{}, {}, "#12345g"},
      {"background unquoted", Row::Background, "__BACKGROUND_COLOR__,#102030", Rgb{}, {},
       "__BACKGROUND_COLOR__,#102030"},
      {"background without a slot, typed", Row::Background, background, Rgb{}, Rgb{1, 2, 3},
       background, false},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay(row.row, row.stored, row.slot);
    ColorModel model;
    model.Load();
    EXPECT_EQ(row.shown, model.Color(row.row));
    if (row.typed) model.Color(row.row) = *row.typed;
    EXPECT_TRUE(model.Save());
    EXPECT_EQ(row.written, Stored(row.row));
  }
}

TEST_F(ColorModelTest, AFailedWriteIsToldOnceAndStopsTheSave) {
  Lay(Row::MouseOver, "#0A0B0C");  // written back in lower case
  ColorModel model;
  model.Load();
  ASSERT_TRUE(files->SetReadOnly(kConfig));
  const std::string before = files->Contents(kConfig);
  std::vector<std::string> told;
  store::SetWriteFailureReporter([&](const std::string& file, auto&) { told.push_back(file); });
  EXPECT_FALSE(model.Save());
  store::SetWriteFailureReporter(nullptr);
  EXPECT_EQ(std::vector<std::string>{kConfig}, told);
  EXPECT_EQ(before, files->Contents(kConfig));
}

TEST_F(ColorModelTest, APickGoesOnceToTheLastRowChosenAndIsWrittenEvenBlack) {
  const struct {
    const char* name;
    std::vector<Row> chosen;
    std::optional<Row> into;
  } rows[] = {
      {"no row chosen", {}, std::nullopt},
      {"one row", {Row::ToolBar}, Row::ToolBar},
      {"the last label chosen", {Row::Background, Row::Menu}, Row::Menu},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Lay(Row::MouseOver, std::nullopt);
    ColorModel model;
    model.Load();
    for (Row chosen : row.chosen) model.Target(chosen);
    EXPECT_EQ(row.into, model.Pick({}));
    EXPECT_EQ(std::nullopt, model.Pick({1, 1, 1})) << "a second pick goes nowhere";
    EXPECT_TRUE(model.Save());
    for (Row r : {Row::MouseOver, Row::Menu, Row::ToolBar, Row::Background})
      EXPECT_EQ(r == row.into ? "#000000" : "<none>", Stored(r));
  }
}

TEST(ColorSwatches, PickInsideTheirBoundsAtTheScreensDpi) {
  const struct {
    int dpi, x, y;
    std::optional<Rgb> picked;
  } rows[] = {
      // clang-format off
      {96, 44, 115, {}}, {96, 45, 115, Rgb{255, 255, 255}}, {96, 60, 123, Rgb{255, 255, 255}},
      {96, 61, 115, {}}, {96, 50, 109, {}}, {96, 50, 124, {}},
      {96, 220, 110, Rgb{0, 255, 255}}, {96, 237, 146, Rgb{64, 128, 128}}, {120, 55, 140, {}},
      {120, 56, 140, Rgb{255, 255, 255}}, {120, 56, 170, Rgb{}},
      // clang-format on
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.picked, SwatchAt(row.x, row.y, row.dpi))
        << row.dpi << " dpi " << row.x << "," << row.y;
}

}  // namespace
