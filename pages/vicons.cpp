#include "pages/vicons.h"

#include <string>
#include <string_view>
#include <vector>

#include "res/resource.h"
#include "store/item_table.h"
#include "wizard/routing.h"

namespace {

namespace item = store::item;

// What tells the two buttons apart.
struct VisualMapButton {
  std::string_view name;  // in messages
  bool CVIcons::*shown;
  store::Item image;  // "<image>,width,height"; hidden by the placeholder
  store::Item imageOrg;
  store::Item text;  // the caption, in the slot the map file names
  store::Item textOrg;
  store::Item saved;  // set once both copies are taken
  std::string_view shownImage;
  std::string_view hiddenText;
};

const VisualMapButton kMoreInformation{.name = "More Information",
                                       .shown = &CVIcons::m_bShowMoreInfo,
                                       .image = item::kMenuPartsMoreInformation,
                                       .imageOrg = item::kMenuPartsMoreInformationOrg,
                                       .text = item::kMoreInformationText,
                                       .textOrg = item::kText20Org,
                                       .saved = item::kMoreSaved,
                                       .shownImage = "LumenHelp.gif",
                                       .hiddenText = "__MORE_INFORMATION_TEXT__,\"\""};
const VisualMapButton kConfigure{.name = "Configure",
                                 .shown = &CVIcons::m_bShowConfigure,
                                 .image = item::kMenuPartsConfigure,
                                 .imageOrg = item::kMenuPartsConfigureOrg,
                                 .text = item::kConfigureText,
                                 .textOrg = item::kText21Org,
                                 .saved = item::kConfigSaved,
                                 .shownImage = "LBConfig.gif",
                                 .hiddenText = "__CONFIGURE_TEXT__,\"\""};

constexpr std::string_view kPlaceholder = "spacer.gif";

std::string FileName(const store::Item& entry) {
  const std::string& path = store::PathOf(entry.file);
  return path.substr(path.find_last_of('\\') + 1);
}

// Where an entry lives, for the user: its key (or the marker that names
// its slot) and its file.
std::string Where(const store::Item& entry) {
  if (!entry.mapSection.empty())
    return "entry marked " + std::string(entry.key) + " in " + FileName(entry);
  return std::string(entry.key) + " in " + FileName(entry);
}

// False when a first value could not be written. A copy already there is
// kept, even an empty one: a second copy could take what OKAPI itself wrote
// (a hidden button) for a first value.
bool SaveCopies(const VisualMapButton& button) {
  return store::KeepFirstValues(button.saved,
                                {{button.image, button.imageOrg}, {button.text, button.textOrg}},
                                store::FirstValue::AnyText);
}

std::string ReplaceAll(std::string value, std::string_view from, std::string_view to) {
  for (auto at = value.find(from); at != std::string::npos; at = value.find(from, at + to.size())) {
    value.replace(at, from.size(), to);
  }
  return value;
}

// What a click had to leave as it was, and why.
struct Left {
  std::string_view part;  // "image" or "text"
  std::string why;
};

std::vector<Left> Hide(const VisualMapButton& button) {
  std::vector<Left> left;
  if (!store::SlotOf(button.text))
    left.push_back({"text", "there is no " + Where(button.text)});
  else
    (void)store::Write(button.text, button.hiddenText);  // a failure is reported
  if (const auto image = store::Read(button.image))
    (void)store::Write(button.image, ReplaceAll(*image, button.shownImage, kPlaceholder));
  else
    left.push_back({"image", "there is no " + Where(button.image)});
  return left;
}

std::vector<Left> Show(const VisualMapButton& button) {
  std::vector<Left> left;
  // A missing first value is never written back: the help application would
  // take the sentinel for an image or a caption.
  if (const auto image = store::Read(button.imageOrg))
    (void)store::Write(button.image, *image);
  else
    left.push_back({"image", "its first value (" + Where(button.imageOrg) + ") is missing"});
  if (!store::SlotOf(button.text))
    left.push_back({"text", "there is no " + Where(button.text)});
  else if (const auto text = store::Read(button.textOrg))
    (void)store::Write(button.text, *text);
  else
    left.push_back({"text", "its first value (" + Where(button.textOrg) + ") is missing"});
  return left;
}

void Toggle(CVIcons& page, const VisualMapButton& button) {
  page.UpdateData(true);
  // First values not kept at start are kept before the writes they guard:
  // a hidden button written over them would pass for its first look.
  if (!SaveCopies(button)) {
    page.*button.shown = !(page.*button.shown);
    page.UpdateData(false);
    return;
  }
  const auto left = page.*button.shown ? Show(button) : Hide(button);
  std::string told;
  for (const Left& l : left) {
    if (!told.empty()) told += "\n\n";
    told += "The " + std::string(button.name) + " button's " + std::string(l.part) +
            " was left as it is: " + l.why + ".";
  }
  if (!told.empty()) page.MessageBox(told, "Information", MB_OK);
}

}  // namespace

CVIcons::CVIcons()
    : COkapiPage(IDD_VICONS,
                 {.titleId = IDC_VICONS_HEADING,
                  .helpButtonId = IDC_VICONS_HELP,
                  .helpTopic = "::/W04.htm",
                  .buttonsOnActivate = 0,
                  .white = {IDC_VICONS_HEADING, IDC_VICONS_MORE_INFO, IDC_VICONS_CONFIGURE}}) {}

void CVIcons::DoDataExchange(CDataExchange* pDX) {
  COkapiPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_VICONS_MORE_INFO_COMBO, m_cboMoreInfo);
  DDX_Control(pDX, IDC_VICONS_CONFIGURE_COMBO, m_cboConfigure);
  DDX_Check(pDX, IDC_VICONS_MORE_INFO, m_bShowMoreInfo);
  DDX_Check(pDX, IDC_VICONS_CONFIGURE, m_bShowConfigure);
}

bool CVIcons::OnCommand(int id, unsigned code) {
  static const CommandEntry<CVIcons> kCommands[] = {
      {IDC_VICONS_MORE_INFO, BN_CLICKED, &CVIcons::OnShowMoreInfo},
      {IDC_VICONS_CONFIGURE, BN_CLICKED, &CVIcons::OnShowConfigure},
  };
  return DispatchCommand(*this, kCommands, id, code) || COkapiPage::OnCommand(id, code);
}

int CVIcons::OnWizardBack() { return routing::RouteFrom(IDD_VICONS, routing::Move::Back); }

void CVIcons::LoadPage() {
  SaveFirstValues();
  LoadButtonStates();
}

void CVIcons::SaveFirstValues() {
  // A refusal has been told; a click tries again.
  (void)SaveCopies(kConfigure);
  (void)SaveCopies(kMoreInformation);
}

void CVIcons::LoadButtonStates() {
  for (CComboBox* box : {&m_cboConfigure, &m_cboMoreInfo}) {
    box->AddString("TRUE");
    box->AddString("FALSE");
  }
  // A missing entry counts as shown: the help application shows its own image.
  for (const VisualMapButton* button : {&kConfigure, &kMoreInformation}) {
    const auto image = store::Read(button->image);
    this->*button->shown = !image || image->find(kPlaceholder) == std::string::npos;
  }
  UpdateData(false);
}

void CVIcons::OnShowMoreInfo() { Toggle(*this, kMoreInformation); }

void CVIcons::OnShowConfigure() { Toggle(*this, kConfigure); }
