#include "pages/lb_button_model.h"

#include "framework/framework.h"
#include "package/package_tree.h"
#include "store/backup.h"
#include "store/installation.h"

void LBButtonModel::Load() { m_application = layout::ReadButtonApplication().value_or(""); }

std::vector<LBButtonModel::Message> LBButtonModel::Select(const std::string& path) {
  std::vector<Message> told;
  // A failed write has been shown by the store; the package must not then
  // get the old script as if it were the new one.
  bool packaged = false;
  if (WriteButtonScript(layout::ButtonScriptPath(), path)) {
    packaged =
        package::CopyInto(layout::ButtonScriptPath(), layout::kPackageReg, layout::kButtonScript);
    if (!packaged) {
      told.push_back({"The registry script could not be copied to " +
                          package::PathIn(layout::kPackageReg) + "\\" + layout::kButtonScript +
                          ".\n\nThe package will not change the Larkbook button.",
                      kAppName});
    }
  }
  if (layout::WriteButtonApplication(path)) {
    m_application = path;
    return told;
  }
  told.push_back(
      {"The Larkbook button of this computer was not changed: Windows did not allow "
       "OKAPI to write to the registry key HKEY_LOCAL_MACHINE\\" +
           std::string(layout::kButtonKey) + "." +
           (packaged ? "\n\nThe registry script in the package does start " + path + "."
                     : std::string()) +
           "\n\nTo change this computer, run OKAPI as an administrator.",
       kAppName});
  // The label tells what the button really starts.
  Load();
  return told;
}
