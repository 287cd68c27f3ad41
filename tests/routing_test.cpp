// The skips around the pages that may not apply, as one table; and the
// conditions read from the installation.
#include "wizard/routing.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "framework/framework.h"
#include "res/resource.h"
#include "store/globals.h"
#include "tests/support/counting_files.h"

namespace {

using routing::Move;

constexpr int kInOrder = kWizardInOrder, kBg = IDD_BACKGROUNDS, kMenu = IDD_APPMENU,
              kWelcome = IDD_WMENU, kVisualMap = IDD_VICONS;
// Menu Next, Welcome Page Next, Visual Map Back, Backgrounds Back; then
// moves that always keep the sheet's order.
constexpr std::pair<unsigned, Move> kMoves[] = {
    {IDD_APPMENU, Move::Next},     {IDD_WMENU, Move::Next},   {IDD_VICONS, Move::Back},
    {IDD_BACKGROUNDS, Move::Back}, {IDD_APPMENU, Move::Back}, {IDD_VICONS, Move::Next},
    {IDD_LBBUTTON, Move::Back},    {IDD_SPLASH, Move::Back}};

struct Row {
  const char* name;
  routing::Conditions when;  // v35, fourth menu, Visual Map; the button key below
  int to[4];                 // the first four moves
};
// clang-format off
const Row kRows[] = {
    {"3.0", {false, false, false}, {kBg, kBg, kMenu, kMenu}},
    {"3.0 Visual Map", {false, false, true}, {kVisualMap, kInOrder, kMenu, kVisualMap}},
    // A fourth-menu flag left in the map file means nothing to version 3.0.
    {"3.0 flag left", {false, true, false}, {kBg, kBg, kMenu, kMenu}},
    {"3.5", {true, true, false}, {kWelcome, kBg, kWelcome, kWelcome}},
    {"3.5 Visual Map", {true, true, true}, {kWelcome, kInOrder, kWelcome, kVisualMap}},
    {"3.5 no 4th menu", {true, false, false}, {kBg, kBg, kMenu, kMenu}},
    {"3.5 no 4th menu, Visual Map", {true, false, true}, {kVisualMap, kInOrder, kMenu, kVisualMap}},
};
// clang-format on

TEST(Routing, SkipsFollowEditionFourthMenuAndVisualMap) {
  for (const Row& row : kRows) {
    for (bool button : {false, true}) {
      SCOPED_TRACE(row.name + std::string(button ? " with button" : ""));
      routing::Conditions c = row.when;
      c.hardwareButton = button;
      for (std::size_t i = 0; i < std::size(kMoves); ++i)
        EXPECT_EQ(i < 4 ? row.to[i] : kInOrder,
                  routing::Route(kMoves[i].first, kMoves[i].second, c))
            << i;
      EXPECT_EQ(button ? kInOrder : IDD_PACKAGING, routing::Route(IDD_SPLASH, Move::Next, c));
      EXPECT_EQ(button ? kInOrder : IDD_SPLASH, routing::Route(IDD_PACKAGING, Move::Back, c));
    }
  }
}

TEST(Routing, ConditionsAreReadAsTheHelpApplicationSpellsThem) {
  okapi_test::ScopedCountingFiles files;
  const std::pair saved{g_strCsvFile, g_strMapFile};
  g_strCsvFile = "c:\\lumen\\machine-specifics.csv",
  g_strMapFile = "c:\\zantools\\zanhelp\\okapi.ini";
  const struct {
    const std::string& file;
    const char* table;
    bool (*read)();
    bool on;
  } cases[] = {
      {g_strCsvFile, "[menu1]\r\nUSESVISUALMAP=\"isTRUE\"\r\n", routing::UsesVisualMap, true},
      // The value's test is case-sensitive, the key's not.
      {g_strCsvFile, "[MENU1]\r\nusesVisualMap=true\r\n", routing::UsesVisualMap, false},
      {g_strCsvFile, "", routing::UsesVisualMap, false},
      {g_strMapFile, "[Install]\r\nMenu4=True\r\n", routing::FourthMenuEnabled, true},
      {g_strMapFile, "[Install]\r\nMenu4=False\r\n", routing::FourthMenuEnabled, false},
  };
  for (const auto& c : cases) {
    files->AddFile(c.file, c.table);
    EXPECT_EQ(c.on, c.read()) << c.table;
  }
  std::tie(g_strCsvFile, g_strMapFile) = saved;
}

}  // namespace
