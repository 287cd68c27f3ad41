#include "pages/lb_button.h"

#include "app/globals.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/backup.h"
#include "store/profile.h"

namespace {

std::string ReadButtonApplication() {
  auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, kButtonKey,
                                           platform::Access::Read);
  if (!key) return {};
  return key->QueryString("File", 255).value_or("");
}

// Registry scripts escape backslashes.
std::string DoubleBackslashes(const std::string& path) {
  std::string out;
  for (char c : path) {
    out += c;
    if (c == '\\') out += c;
  }
  return out;
}

}  // namespace

bool HardwareButtonPresent() {
  return platform::Os().registry->Open(platform::Hive::LocalMachine, kButtonKey,
                                       platform::Access::Read) != nullptr;
}

CLBButton::CLBButton()
    : COkapiPage(IDD_LBBUTTON,
                 {.titleId = IDC_LBBUTTON_HEADING,
                  .helpButtonId = IDC_LBBUTTON_HELP,
                  .helpTopic = "::/W09.htm",
                  .buttonsOnActivate = PSWIZB_BACK | PSWIZB_NEXT,
                  .white = {IDC_LBBUTTON_HEADING, IDC_LBBUTTON_LABEL, IDC_LBBUTTON_PATH}}) {}

void CLBButton::LoadButtonApplication() {
  SetDlgItemText(IDC_LBBUTTON_PATH, ReadButtonApplication());
}

void CLBButton::OnOK() {
  CFileDialog dialog(true, "exe", "*.exe", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     "Executable files (*.exe)|*.exe|");
  if (dialog.DoModal() != IDOK) return;
  const std::string path = dialog.GetPathName();

  auto& files = *platform::Os().files;
  const std::string script = g_strHelpRoot + "\\lbbutton.reg";
  const std::string package = g_strHelpRoot + "\\customization\\package";
  // A failed write has been shown by the store; the package must not then
  // get the old script as if it were the new one.
  bool packaged = false;
  if (store::WriteProfileString(kButtonScriptSection, kButtonScriptKey,
                                "\"" + DoubleBackslashes(path) + "\"", script)) {
    (void)files.CreateDirectory(package);  // usually there already
    (void)files.CreateDirectory(package + "\\reg");
    packaged = files.CopyFile(script, package + "\\reg\\lbbutton.reg", false);
    if (!packaged) {
      MessageBox("The registry script could not be copied to " + package +
                 "\\reg\\lbbutton.reg.\n\nThe package will not change the Larkbook button.");
    }
  }

  auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, kButtonKey,
                                           platform::Access::Write);
  const bool changed = key && key->SetString("File", path);
  if (!changed) {
    MessageBox(
        "The Larkbook button of this computer was not changed: Windows did not allow "
        "OKAPI to write to the registry key HKEY_LOCAL_MACHINE\\" +
        std::string(kButtonKey) + "." +
        (packaged ? "\n\nThe registry script in the package does start " + path + "."
                  : std::string()) +
        "\n\nTo change this computer, run OKAPI as an administrator.");
  }
  // The label tells what the button really starts.
  SetDlgItemText(IDC_LBBUTTON_PATH, changed ? path : ReadButtonApplication());
  COkapiPage::OnOK();
}
