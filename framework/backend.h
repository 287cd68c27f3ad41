// What a framework backend provides. Pages never see this; the framework's
// classes call it, and main or a test chooses the backend.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "framework/framework.h"

namespace fw {

// One live window: a dialog, a page or the sheet. Control ids address its
// controls; CWnd::kSelf addresses the window itself.
class WindowHost {
 public:
  virtual ~WindowHost() = default;

  virtual bool HasControl(int id) = 0;
  virtual std::string GetText(int id) = 0;
  virtual void SetText(int id, const std::string& text) = 0;
  virtual int GetCheck(int id) = 0;
  virtual void SetCheck(int id, int check) = 0;
  virtual bool IsEnabled(int id) = 0;
  virtual void Enable(int id, bool enable) = 0;
  virtual bool IsVisible(int id) = 0;
  virtual void Show(int id, bool show) = 0;
  virtual CRect GetRect(int id) = 0;
  // Dialog units of the window's font in pixels (MapDialogRect).
  virtual CRect MapDialogUnits(const CRect& units) = 0;
  virtual void SetPos(int id, int x, int y, int cx, int cy, unsigned flags) = 0;
  virtual void SetFont(int id, const CFont& font, bool redraw) = 0;
  virtual void SetFocus(int id) = 0;
  virtual void LimitText(int id, int maxChars) = 0;
  virtual void SetSel(int id, int start, int end) = 0;
  // cx, cy 0: the image's own size.
  virtual bool SetBitmapFromFile(int id, const std::string& path, int cx, int cy) = 0;
  virtual bool SetBitmapFromResource(int id, unsigned resourceId, int cx, int cy) = 0;

  // List box or combo box items; results as LB_/CB_ messages give them.
  virtual int ListAdd(int id, const std::string& text) = 0;
  virtual int ListInsert(int id, int index, const std::string& text) = 0;
  virtual int ListDelete(int id, int index) = 0;
  virtual void ListReset(int id) = 0;
  virtual int ListCount(int id) = 0;
  virtual int ListGetCurSel(int id) = 0;
  virtual int ListSetCurSel(int id, int index) = 0;
  virtual std::optional<std::string> ListGetText(int id, int index) = 0;

  virtual int ShowMessageBox(const std::string& text, const std::string& caption,
                             unsigned flags) = 0;
  // The system menu of the window's top-level window.
  virtual bool HasSystemMenu() = 0;
  virtual bool AppendSystemMenu(unsigned flags, unsigned id, const std::string& text) = 0;
  virtual void SetIcon(unsigned iconResourceId) = 0;
  // Modal dialogs.
  virtual void EndDialog(int result) = 0;
  // Pages: posts the buttons message to their sheet. Sheet: to itself.
  virtual void PostWizardButtons(unsigned flags) = 0;
  // Sheet: shows the page (as PSM_SETCURSEL does).
  virtual bool SetActivePage(int index) = 0;
  // Sheet: the title override changed.
  virtual void TitleOverrideChanged() = 0;
  // The C++ object went while its window still existed.
  virtual void OwnerDestroyed() {}
};

class Backend {
 public:
  virtual ~Backend() = default;

  // Modal; IDOK after Finish, IDCANCEL after Cancel.
  virtual int RunSheet(CPropertySheet& sheet) = 0;
  // Modal; the EndDialog result.
  virtual int RunDialog(CDialog& dialog) = 0;
  // A message box without an owner dialog.
  virtual int ShowMessageBox(const std::string& text, const std::string& caption,
                             unsigned flags) = 0;
  // nullopt when the user cancels.
  virtual std::optional<std::string> OpenFile(const CFileDialog::Options& options) = 0;
  virtual std::optional<COLORREF> PickColor(const CColorDialog::Options& options,
                                            COLORREF* customColors) = 0;
  virtual LogFont MessageFont() = 0;
  virtual int LogPixelsY() = 0;
  // 0 on failure.
  virtual std::uintptr_t MakeFont(const LogFont& font) = 0;
  virtual void ReleaseFont(std::uintptr_t font) = 0;
  virtual std::string LoadResourceString(unsigned id) = 0;
};

// The backend in use; main or a test sets it first (none is there by default).
Backend& CurrentBackend();
// Replaces the backend; returns the previous one.
std::unique_ptr<Backend> ReplaceBackend(std::unique_ptr<Backend> next);

}  // namespace fw
