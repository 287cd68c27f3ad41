#include "wizard/routing.h"

#include "framework/framework.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/installation.h"
#include "store/item_table.h"

namespace routing {

int Route(unsigned pageId, Move move, const Conditions& c) {
  const bool welcomePage = c.version35 && c.fourthMenu;
  const bool next = move == Move::Next;
  switch (pageId) {
    case IDD_APPMENU:
      if (next) return welcomePage ? IDD_WMENU : c.visualMap ? IDD_VICONS : IDD_BACKGROUNDS;
      break;
    case IDD_WMENU:
      if (next) return c.visualMap ? kWizardInOrder : IDD_BACKGROUNDS;
      break;
    case IDD_VICONS:
      // Back retraces Next: the welcome page only where Menu's Next led there.
      if (!next) return welcomePage ? IDD_WMENU : IDD_APPMENU;
      break;
    case IDD_BACKGROUNDS:
      if (!next) return c.visualMap ? IDD_VICONS : welcomePage ? IDD_WMENU : IDD_APPMENU;
      break;
    case IDD_SPLASH:
      if (next && !c.hardwareButton) return IDD_PACKAGING;
      break;
    case IDD_PACKAGING:
      if (!next && !c.hardwareButton) return IDD_SPLASH;
      break;
    default:
      break;
  }
  return kWizardInOrder;
}

Conditions Current() {
  return {.version35 = g_bVersion35,
          .fourthMenu = FourthMenuEnabled(),
          .visualMap = UsesVisualMap(),
          .hardwareButton = HardwareButtonPresent()};
}

int RouteFrom(unsigned pageId, Move move) { return Route(pageId, move, Current()); }

bool UsesVisualMap() {
  const auto value = store::Read(store::item::kUsesVisualMap);
  return value && value->find("TRUE") != std::string::npos;
}

bool FourthMenuEnabled() {
  const auto value = store::Read(store::item::kMenu4Enabled);
  return value && value->find("True") != std::string::npos;
}

bool HardwareButtonPresent() { return layout::ReadButtonApplication().has_value(); }

}  // namespace routing
