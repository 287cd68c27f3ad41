#include "pages/visual_map_model.h"

#include <iterator>
#include <string_view>
#include <vector>

#include "pages/entry_words.h"
#include "store/item_table.h"

namespace {

namespace item = store::item;
using Button = VisualMapModel::Button;
using entry_words::Where;

// What tells the two buttons apart.
struct VisualMapButton {
  std::string_view name;  // in messages
  store::Item image;      // "<image>,width,height"; hidden by the placeholder
  store::Item imageOrg;
  store::Item text;  // the caption, in the slot the map file names
  store::Item textOrg;
  store::Item saved;  // set once both copies are taken
  std::string_view shownImage;
};

// By Button.
const VisualMapButton kButtons[] = {
    {.name = "More Information",
     .image = item::kMenuPartsMoreInformation,
     .imageOrg = item::kMenuPartsMoreInformationOrg,
     .text = item::kMoreInformationText,
     .textOrg = item::kText20Org,
     .saved = item::kMoreSaved,
     .shownImage = "LumenHelp.gif"},
    {.name = "Configure",
     .image = item::kMenuPartsConfigure,
     .imageOrg = item::kMenuPartsConfigureOrg,
     .text = item::kConfigureText,
     .textOrg = item::kText21Org,
     .saved = item::kConfigSaved,
     .shownImage = "LBConfig.gif"},
};
static_assert(std::size(kButtons) == 2, "one row a button, by Button");

const VisualMapButton& Of(Button button) { return kButtons[static_cast<std::size_t>(button)]; }

constexpr std::string_view kPlaceholder = "spacer.gif";
// A hidden button's caption: empty, in its quotes.
constexpr std::string_view kHiddenCaption = "\"\"";

// False when a first value could not be written. A copy already there is
// kept, even an empty one: a second copy could take what OKAPI itself wrote
// (a hidden button) for a first value.
bool KeepFirstLook(const VisualMapButton& button) {
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

struct Left {
  std::string_view part;  // "image" or "text"
  std::string why;
};

std::vector<Left> Hide(const VisualMapButton& button) {
  std::vector<Left> left;
  if (!store::SlotOf(button.text))
    left.push_back({"text", "there is no " + Where(button.text)});
  else
    (void)store::WriteValue(button.text, kHiddenCaption);  // a failure is told by the store
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

}  // namespace

void VisualMapModel::Load() {
  // A refusal has been told; showing or hiding tries again.
  (void)KeepFirstLook(Of(Button::Configure));
  (void)KeepFirstLook(Of(Button::MoreInformation));
  // A missing entry counts as shown: the help application shows its own image.
  for (Button button : {Button::Configure, Button::MoreInformation}) {
    const auto image = store::Read(Of(button).image);
    m_shown[Index(button)] = !image || image->find(kPlaceholder) == std::string::npos;
  }
}

VisualMapModel::Outcome VisualMapModel::Set(Button button, bool shown) {
  const VisualMapButton& b = Of(button);
  // First values not kept at start are kept before the writes they guard:
  // a hidden button written over them would pass for its first look.
  if (!KeepFirstLook(b)) return {.applied = false, .told = std::nullopt};
  m_shown[Index(button)] = shown;
  std::string told;
  for (const Left& l : shown ? Show(b) : Hide(b)) {
    if (!told.empty()) told += "\n\n";
    told += "The " + std::string(b.name) + " button's " + std::string(l.part) +
            " was left as it is: " + l.why + ".";
  }
  if (told.empty()) return {};
  return {.applied = true, .told = Told{told, "Information"}};
}
