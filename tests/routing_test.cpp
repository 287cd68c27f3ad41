// The skips around the pages that may not apply, as one table; and the
// conditions read from the installation.
#include "wizard/routing.h"

#include <gtest/gtest.h>

#include "framework/framework.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/profile.h"
#include "tests/support/counting_files.h"

namespace {

using routing::Move;

constexpr int kInOrder = kWizardInOrder;
constexpr int kBg = IDD_BACKGROUNDS, kMenu = IDD_APPMENU;

struct Row {
  const char* name;
  routing::Conditions when;
  // Results for Menu Next, Welcome Page Next, Visual Map Back, Backgrounds Back.
  int menuNext, welcomeNext, visualMapBack, backgroundsBack;
};

// v35, fourth menu, Visual Map; the button key is checked on its own below.
// clang-format off
const Row kRows[] = {
    {"3.0", {false, false, false}, kBg, kBg, kMenu, kMenu},
    {"3.0 Visual Map", {false, false, true}, IDD_VICONS, kInOrder, kMenu, IDD_VICONS},
    // A fourth-menu flag left in the map file means nothing to version 3.0.
    {"3.0 flag left", {false, true, false}, kBg, kBg, kMenu, kMenu},
    {"3.5", {true, true, false}, IDD_WMENU, kBg, IDD_WMENU, IDD_WMENU},
    {"3.5 Visual Map", {true, true, true}, IDD_WMENU, kInOrder, IDD_WMENU, IDD_VICONS},
    {"3.5 no 4th menu", {true, false, false}, kBg, kBg, kMenu, kMenu},
    {"3.5 no 4th menu, Visual Map", {true, false, true}, IDD_VICONS, kInOrder, kMenu, IDD_VICONS},
};
// clang-format on

TEST(Routing, SkipsFollowEditionFourthMenuAndVisualMap) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    for (bool button : {false, true}) {
      routing::Conditions c = row.when;
      c.hardwareButton = button;
      EXPECT_EQ(row.menuNext, routing::Route(IDD_APPMENU, Move::Next, c));
      EXPECT_EQ(row.welcomeNext, routing::Route(IDD_WMENU, Move::Next, c));
      EXPECT_EQ(row.visualMapBack, routing::Route(IDD_VICONS, Move::Back, c));
      EXPECT_EQ(row.backgroundsBack, routing::Route(IDD_BACKGROUNDS, Move::Back, c));
      EXPECT_EQ(button ? kInOrder : IDD_PACKAGING, routing::Route(IDD_SPLASH, Move::Next, c));
      EXPECT_EQ(button ? kInOrder : IDD_SPLASH, routing::Route(IDD_PACKAGING, Move::Back, c));
      // Everything else keeps the sheet's order.
      EXPECT_EQ(kInOrder, routing::Route(IDD_APPMENU, Move::Back, c));
      EXPECT_EQ(kInOrder, routing::Route(IDD_VICONS, Move::Next, c));
      EXPECT_EQ(kInOrder, routing::Route(IDD_LBBUTTON, Move::Back, c));
      EXPECT_EQ(kInOrder, routing::Route(IDD_SPLASH, Move::Back, c));
    }
  }
}

TEST(Routing, ConditionsAreReadAsTheHelpApplicationSpellsThem) {
  okapi_test::ScopedCountingFiles files;
  const std::string savedCsv = g_strCsvFile, savedMap = g_strMapFile;
  g_strCsvFile = "c:\\lumen\\machine-specifics.csv";
  g_strMapFile = "c:\\zantools\\zanhelp\\okapi.ini";
  struct Case {
    const char* table;
    bool visualMap;
  } cases[] = {
      {"[MENU1]\r\nusesVisualMap=TRUE\r\n", true},
      {"[menu1]\r\nUSESVISUALMAP=\"isTRUE\"\r\n", true},
      {"[MENU1]\r\nusesVisualMap=true\r\n", false},  // the test is case-sensitive
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table);
    files->AddFile(g_strCsvFile, c.table);
    EXPECT_EQ(c.visualMap, routing::UsesVisualMap());
  }
  for (const char* menu4 : {"True", "False", "Error"}) {
    SCOPED_TRACE(menu4);
    files->AddFile(g_strMapFile, std::string("[Install]\r\nMenu4=") + menu4 + "\r\n");
    EXPECT_EQ(std::string(menu4) == "True", routing::FourthMenuEnabled());
  }
  g_strCsvFile = savedCsv;
  g_strMapFile = savedMap;
}

}  // namespace
