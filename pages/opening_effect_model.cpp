#include "pages/opening_effect_model.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "pages/entry_words.h"
#include "platform/platform.h"
#include "store/globals.h"
#include "store/installation.h"
#include "store/seed.h"

namespace item = store::item;

const OpeningEffectModel::Effect& OpeningEffectModel::Sound() {
  static const Effect sound{
      .now = item::kPlaySound,
      .afterRevert = item::kOemSound,
      .file = item::kSoundFile,
      .noun = "sound file",
      .folder = "",
  };
  return sound;
}

const OpeningEffectModel::Effect& OpeningEffectModel::Animation() {
  static const Effect animation{
      .now = item::kShowSplash,
      .afterRevert = item::kOemSplash,
      .file = item::kSplashAnimation,
      .noun = "opening animation",
      .folder = layout::kSmallImages,
  };
  return animation;
}

namespace {

// "TRUE" and "true" count; "True" and a missing entry do not.
bool IsSet(const std::optional<std::string>& value) {
  return value &&
         (value->find("TRUE") != std::string::npos || value->find("true") != std::string::npos);
}

std::string_view Word(bool on) { return on ? "true" : "false"; }

std::string NoEntryFor(const store::Item& option) {
  return NoEntryMarked(entry_words::FileName(option), option.key);
}

bool SamePath(std::string a, std::string b) {
  auto lower = [](std::string& s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  };
  lower(a);
  lower(b);
  return a == b;
}

// A file chosen where it is to go is in place already; copying it onto
// itself could only fail or empty it.
bool CopyTo(const std::string& from, const std::string& to) {
  return SamePath(from, to) || platform::Os().files->Copy(from, to, false);
}

// The folders of the tool's own tree that a copy needs (the animation's are
// not made at start).
void MakeToolFolders(std::string_view relative) {
  auto& files = *platform::Os().files;
  (void)files.MakeDirectory(layout::CustomizationDir());
  for (std::size_t at = 0; at < relative.size();) {
    at = std::min(relative.find('\\', at + 1), relative.size());
    (void)files.MakeDirectory(layout::InCustomization(relative.substr(0, at)));
  }  // an existing folder refuses; a missing one shows in the copy
}

std::string Below(std::string_view folder, const std::string& name) {
  return folder.empty() ? name : std::string(folder) + "\\" + name;
}

}  // namespace

std::string OpeningEffectModel::Effect::InInstallation(const std::string& name) const {
  return g_strInstallDir + Below(folder, name);
}

std::string OpeningEffectModel::Effect::InCustomization(const std::string& name) const {
  return layout::InCustomization(Below(folder, name));
}

void OpeningEffectModel::Load() {
  m_afterRevert = IsSet(store::Read(m_effect.afterRevert));
  m_now = IsSet(store::Read(m_effect.now));
}

OpeningEffectModel::Outcome OpeningEffectModel::SetNow(bool on) {
  switch (store::WriteValue(m_effect.now, Word(on)).kind) {
    case store::WriteResult::Written:
      m_now = on;
      return {};
    case store::WriteResult::NoSlot:
      return {.applied = false,
              .told = Told{NoEntryFor(m_effect.now) + ", so the help application's " +
                               std::string(m_effect.noun) + " setting was not changed.",
                           "Information"}};
    case store::WriteResult::Failed:
      break;
  }
  return {.applied = false, .told = std::nullopt};
}

OpeningEffectModel::Outcome OpeningEffectModel::SetAfterRevert(bool on) {
  if (!store::Write(m_effect.afterRevert, Word(on))) return {.applied = false, .told = {}};
  m_afterRevert = on;
  return {};
}

std::optional<OpeningEffectModel::Told> OpeningEffectModel::UseFile(const std::string& path,
                                                                    const std::string& name) {
  MakeToolFolders(m_effect.folder);
  const std::string toolCopy = m_effect.InCustomization(name);
  const std::string installCopy = m_effect.InInstallation(name);
  std::vector<std::string> failed;
  if (!CopyTo(path, toolCopy)) failed.push_back(toolCopy);
  const bool installed = CopyTo(path, installCopy);
  if (!installed) failed.push_back(installCopy);

  std::string told;
  for (const std::string& target : failed)
    told += path + " could not be copied to " + target + ".\n";
  const store::Item& option = m_effect.file;
  if (!installed) {
    // The help application would name a file it does not have.
    told += "\nThe help application's " + std::string(m_effect.noun) + " was not changed.";
  } else if (!store::SlotOf(option)) {
    if (!told.empty()) told += '\n';
    told += NoEntryFor(option) + ", so the help application's " + std::string(m_effect.noun) +
            " was not changed.";
  } else {
    // A failed write has been told by the store.
    const bool named = bool(store::WriteValue(option, name));
    if (named && !told.empty())
      told +=
          "\nThe help application uses the new " + std::string(m_effect.noun) + " all the same.";
  }
  if (told.empty()) return std::nullopt;
  return Told{told, "Information"};
}
