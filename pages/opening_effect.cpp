#include "pages/opening_effect.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/platform.h"
#include "res/resource.h"
#include "store/globals.h"
#include "store/seed.h"

namespace item = store::item;

// The two pages differ only here.
const OpeningEffect& OpeningEffect::Sound() {
  static const OpeningEffect sound{
      .templateId = IDD_SOUNDS,
      .frame = {.titleId = IDC_SOUNDS_HEADING,
                .helpButtonId = IDC_SOUNDS_HELP,
                .helpTopic = "::/W07.htm",
                .buttonsOnActivate = 0,
                .white = {IDC_SOUNDS_HEADING, IDC_SOUNDS_FILE_LABEL, IDC_SOUNDS_DEFAULT,
                          IDC_SOUNDS_PLAY}},
      .currentCheckId = IDC_SOUNDS_PLAY,
      .defaultCheckId = IDC_SOUNDS_DEFAULT,
      .currentComboId = IDC_SOUNDS_PLAY_COMBO,
      .defaultComboId = IDC_SOUNDS_DEFAULT_COMBO,
      .currentOption = item::kPlaySound,
      .defaultSetting = item::kOemSound,
      .fileOption = item::kSoundFile,
      .noun = "sound file",
      .defExt = "wav",
      .initialName = "*.wav",
      .filter = "Media files (*.wav)|*.wav|",
      .toolFolder = "\\customization\\",
      .installFolder = "",
  };
  return sound;
}

const OpeningEffect& OpeningEffect::Animation() {
  static const OpeningEffect animation{
      .templateId = IDD_SPLASH,
      .frame = {.titleId = IDC_SPLASH_HEADING,
                .helpButtonId = IDC_SPLASH_HELP,
                .helpTopic = "::/W08.htm",
                .buttonsOnActivate = PSWIZB_BACK | PSWIZB_NEXT,
                .white = {IDC_SPLASH_HEADING, IDC_SPLASH_FILE_LABEL, IDC_SPLASH_DEFAULT,
                          IDC_SPLASH_SHOW}},
      .currentCheckId = IDC_SPLASH_SHOW,
      .defaultCheckId = IDC_SPLASH_DEFAULT,
      .currentComboId = IDC_SPLASH_SHOW_COMBO,
      .defaultComboId = IDC_SPLASH_DEFAULT_COMBO,
      .currentOption = item::kShowSplash,
      .defaultSetting = item::kOemSplash,
      .fileOption = item::kSplashAnimation,
      .noun = "opening animation",
      .defExt = "swf",
      .initialName = "*.swf",
      .filter = "Shockwave files (*.swf)|*.swf|",
      .toolFolder = "\\customization\\images\\small\\",
      .installFolder = "images\\small\\",
  };
  return animation;
}

namespace {

// "TRUE" and "true" count; "True" and a missing entry do not.
bool IsSet(const std::optional<std::string>& value) {
  return value &&
         (value->find("TRUE") != std::string::npos || value->find("true") != std::string::npos);
}

std::string FileName(const store::Item& entry) {
  const std::string& path = store::PathOf(entry.file);
  return path.substr(path.find_last_of('\\') + 1);
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
void MakeToolFolders(const std::string& root, std::string_view relative) {
  for (auto at = relative.find('\\', 1); at != std::string_view::npos;
       at = relative.find('\\', at + 1)) {
    (void)platform::Os().files->MakeDirectory(root + std::string(relative.substr(0, at)));
  }  // an existing folder refuses; a missing one shows in the copy
}

}  // namespace

COpeningEffectPage::COpeningEffectPage(const OpeningEffect& effect)
    : COkapiPage(effect.templateId, effect.frame), m_effect(effect) {}

void COpeningEffectPage::DoDataExchange(CDataExchange* pDX) {
  COkapiPage::DoDataExchange(pDX);
  DDX_Control(pDX, m_effect.currentComboId, m_cboCurrent);
  DDX_Control(pDX, m_effect.defaultComboId, m_cboDefault);
  DDX_Check(pDX, m_effect.currentCheckId, m_bCurrent);
  DDX_Check(pDX, m_effect.defaultCheckId, m_bDefault);
}

bool COpeningEffectPage::OnCommand(int id, unsigned code) {
  if (code == BN_CLICKED && id == m_effect.currentCheckId) {
    OnCurrentSetting();
    return true;
  }
  if (code == BN_CLICKED && id == m_effect.defaultCheckId) {
    OnDefaultSetting();
    return true;
  }
  return COkapiPage::OnCommand(id, code);
}

void COpeningEffectPage::LoadStates() {
  for (CComboBox* box : {&m_cboCurrent, &m_cboDefault}) {
    box->AddString("TRUE");
    box->AddString("FALSE");
  }
  m_bDefault = IsSet(store::Read(m_effect.defaultSetting));
  m_bCurrent = IsSet(store::Read(m_effect.currentOption));
  UpdateData(false);
}

void COpeningEffectPage::OnCurrentSetting() {
  UpdateData(true);
  const store::Item& option = m_effect.currentOption;
  if (!store::SlotOf(option)) {
    MessageBox(NoEntryMarked(FileName(option), option.key) + ", so the help application's " +
                   std::string(m_effect.noun) + " setting was not changed.",
               "Information", MB_OK);
    m_bCurrent = !m_bCurrent;
    UpdateData(false);
    return;
  }
  WriteSetting(option, m_bCurrent, std::string(option.key) + (m_bCurrent ? ",true" : ",false"));
}

void COpeningEffectPage::OnDefaultSetting() {
  UpdateData(true);
  WriteSetting(m_effect.defaultSetting, m_bDefault, m_bDefault ? "true" : "false");
}

void COpeningEffectPage::WriteSetting(const store::Item& entry, bool& member,
                                      const std::string& value) {
  if (store::Write(entry, value)) return;
  // Already reported by the store.
  member = !member;
  UpdateData(false);
}

void COpeningEffectPage::OnOK() {
  CFileDialog dialog(true, std::string(m_effect.defExt), std::string(m_effect.initialName),
                     OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, std::string(m_effect.filter));
  if (dialog.DoModal() != IDOK) return;
  UseFile(dialog.GetPathName(), dialog.GetFileName());
  COkapiPage::OnOK();
}

void COpeningEffectPage::UseFile(const std::string& path, const std::string& name) {
  MakeToolFolders(g_strHelpRoot, m_effect.toolFolder);
  const std::string toolCopy = g_strHelpRoot + std::string(m_effect.toolFolder) + name;
  const std::string installCopy = g_strInstallDir + std::string(m_effect.installFolder) + name;
  std::vector<std::string> failed;
  if (!CopyTo(path, toolCopy)) failed.push_back(toolCopy);
  const bool installed = CopyTo(path, installCopy);
  if (!installed) failed.push_back(installCopy);

  std::string told;
  for (const std::string& target : failed)
    told += path + " could not be copied to " + target + ".\n";
  const store::Item& option = m_effect.fileOption;
  if (!installed) {
    // The help application would name a file it does not have.
    told += "\nThe help application's " + std::string(m_effect.noun) + " was not changed.";
  } else if (!store::SlotOf(option)) {
    if (!told.empty()) told += '\n';
    told += NoEntryMarked(FileName(option), option.key) + ", so the help application's " +
            std::string(m_effect.noun) + " was not changed.";
  } else {
    const bool named = bool(store::WriteValue(option, name));
    if (named && !told.empty())
      told +=
          "\nThe help application uses the new " + std::string(m_effect.noun) + " all the same.";
  }
  // A failed write has been shown by the store.
  if (!told.empty()) MessageBox(told, "Information", MB_OK);
}
