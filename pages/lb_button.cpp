#include "pages/lb_button.h"

#include "package/package_tree.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "store/backup.h"
#include "store/globals.h"
#include "store/profile.h"

namespace {

std::string ReadButtonApplication() {
  auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, kButtonKey,
                                           platform::Access::Read);
  if (!key) return {};
  return key->QueryString("File", 255).value_or("");
}

}  // namespace

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
  const bool packaged = PackageButtonScript(path);
  const bool changed = SetButtonApplication(path);
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

bool CLBButton::PackageButtonScript(const std::string& path) {
  const std::string script = g_strHelpRoot + "\\lbbutton.reg";
  // A failed write has been shown by the store; the package must not then
  // get the old script as if it were the new one.
  if (!WriteButtonScript(script, path)) return false;
  if (package::CopyInto(script, "\\reg", "lbbutton.reg")) return true;
  MessageBox("The registry script could not be copied to " + package::PathIn("\\reg") +
             "\\lbbutton.reg.\n\nThe package will not change the Larkbook button.");
  return false;
}

bool CLBButton::SetButtonApplication(const std::string& path) {
  auto key = platform::Os().registry->Open(platform::Hive::LocalMachine, kButtonKey,
                                           platform::Access::Write);
  return key && key->SetString("File", path);
}
