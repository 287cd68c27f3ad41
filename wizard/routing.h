// Which page follows which: the pages that may be skipped, decided in one
// place from what the installation offers. Each page's Next and Back ask here.
#pragma once

namespace routing {

// What decides the skips.
struct Conditions {
  bool version35 = false;       // the edition with the welcome page
  bool fourthMenu = false;      // the fourth menu (the welcome page's) is enabled
  bool visualMap = false;       // the machine table asks for the Visual Map
  bool hardwareButton = false;  // the notebook's button key exists
};

enum class Move { Next, Back };

// The result of the page's Next or Back: 0 for the sheet's own order, or
// the template id of the page to go to.
int Route(unsigned pageId, Move move, const Conditions& conditions);

// The conditions as the installation holds them now.
Conditions Current();
// Route() with the current conditions.
int RouteFrom(unsigned pageId, Move move);

// The machine table's "usesVisualMap" of section "MENU1" holds "TRUE".
bool UsesVisualMap();
// The map file records the fourth menu as enabled ("True" under "Menu4").
bool FourthMenuEnabled();
// The hardware button's registry key opens.
bool HardwareButtonPresent();

}  // namespace routing
