// The in-memory backend the native tests drive the wizard through. Controls
// are records; message boxes and the file-open and colour dialogs are answered
// from what the test queued. It keeps the real property sheet's order of
// events: a page is initialised at its first activation, Next/Back results
// jump by template id, posted wizard buttons take effect when the current
// handler has returned.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/backend.h"
#include "framework/framework.h"

namespace fw::headless {

enum class Kind { Unknown, PushButton, CheckBox, RadioButton, Edit, Static, ListBox, ComboBox };

// A control of a dialog template.
struct ControlSpec {
  int id = 0;
  Kind kind = Kind::Unknown;
  std::string text{};
  bool sorted = false;  // LBS_SORT / CBS_SORT
  bool visible = true;
  bool enabled = true;
  CRect rect{};
  bool readOnly = false;  // ES_READONLY
  bool notify = false;    // SS_NOTIFY
};

// A live control as a record. Controls a dialog has not declared (see
// DefineFromResourceScript) come into being when first used, with the kind
// their first use implies.
struct Control : ControlSpec {
  int check = 0;
  std::optional<LogFont> font{};
  int limit = 0;  // EM_LIMITTEXT; 0: none
  std::vector<std::string> items{};
  int curSel = -1;
  std::string image{};  // bitmap shown by a static: a file, or "#149" for a resource
  int imageWidth = 0;   // the size it was asked for; 0: its own
  int imageHeight = 0;
};

// A dialog template: once defined, the dialog has exactly these controls and
// using another id is a fault the backend records (Faults()).
struct DialogSpec {
  unsigned templateId = 0;
  std::string caption{};
  std::vector<ControlSpec> controls{};
  CRect rect{};  // the dialog's box, in dialog units
};

struct MessageRecord {
  std::string text{};
  std::string caption{};
};

class HeadlessBackend;
class Window;
struct SheetState;

// A live dialog or page.
class DialogDriver {
 public:
  DialogDriver(HeadlessBackend& backend, Window& window) : m_backend(&backend), m_window(&window) {}

  unsigned TemplateId() const;
  // The record, made when missing (a fault when the dialog is defined).
  const Control& Get(int id) const;
  std::string Text(int id) const { return Get(id).text; }
  int Check(int id) const { return Get(id).check; }
  bool Enabled(int id) const { return Get(id).enabled; }
  bool Visible(int id) const { return Get(id).visible; }

  // What a user can do; false, with nothing done, when the control is missing,
  // disabled or hidden.
  // Push button or SS_NOTIFY static: BN_CLICKED/STN_CLICKED (a static without
  // it refuses). Check box: the check toggles, then BN_CLICKED. Radio button:
  // checked, then BN_CLICKED.
  bool Click(int id);
  // Edit, unless ES_READONLY: the text is replaced (cut to the limit), then
  // EN_CHANGE.
  bool Type(int id, const std::string& text);
  // List or combo box: the selection, then LBN_SELCHANGE/CBN_SELCHANGE.
  bool Select(int id, int index);
  void Paint();

 private:
  Control* Usable(int id, Kind implied) const;
  bool Notify(int id, unsigned code);

  HeadlessBackend* m_backend;
  Window* m_window;
};

// A running wizard.
class SheetDriver {
 public:
  SheetDriver(HeadlessBackend& backend, std::shared_ptr<SheetState> state)
      : m_backend(&backend), m_state(std::move(state)) {}

  // The buttons; false when the button is disabled or hidden (nothing happens)
  // or the sheet is closed.
  bool PressNext();
  bool PressBack();
  bool PressFinish();
  bool PressCancel();

  bool IsOpen() const;
  CPropertySheet& Sheet() const;
  unsigned ActiveTemplateId() const;
  CPropertyPage* ActivePage() const;
  // PSWIZB_ flags in effect (posted messages already delivered).
  unsigned Buttons() const;
  std::string Title() const;
  DialogDriver Page() const;  // the active page

 private:
  bool Press(int step);  // Next (1) or Back (-1)

  HeadlessBackend* m_backend;
  std::shared_ptr<SheetState> m_state;
};

class HeadlessBackend : public Backend {
 public:
  HeadlessBackend();
  ~HeadlessBackend() override;

  // Answers, used in the order queued. A message box with no answer queued
  // gets its first button (IDOK for MB_OK, IDYES for MB_YESNO...); a file or
  // colour dialog with none is cancelled.
  void AnswerMessageBox(int button);
  void AnswerFileDialog(std::optional<std::string> path);
  void AnswerColorDialog(std::optional<COLORREF> color);

  // Run by a sheet's DoModal with the open sheet; when it returns with the
  // sheet still open, Cancel is pressed. Without one, DoModal opens the sheet
  // (first page initialised and activated) and cancels it.
  void OnSheet(std::function<void(SheetDriver&)> script);

  // Opens a sheet without DoModal; the test drives it. Closing the driver's
  // sheet or destroying the backend ends it.
  SheetDriver Open(CPropertySheet& sheet);

  // Defines every dialog of a resource script (its text) and takes its string
  // table; ids are resolved through the header's #defines. Returns the number
  // of dialogs defined.
  int DefineFromResourceScript(const std::string& script, const std::string& header);
  void SetLogPixelsY(int dpi) { m_logPixelsY = dpi; }

  const std::vector<MessageRecord>& Messages() const { return m_messages; }
  // Misuse noticed: controls a defined dialog lacks, fonts released twice...
  const std::vector<std::string>& Faults() const { return m_faults; }
  // Fonts created and not yet deleted.
  int LiveFonts() const { return static_cast<int>(m_fonts.size()); }
  const LogFont* FontOf(std::uintptr_t handle) const;

  // Backend
  int RunSheet(CPropertySheet& sheet) override;
  int RunDialog(CDialog& dialog) override;
  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
  std::optional<std::string> OpenFile(const CFileDialog::Options& options) override;
  std::optional<COLORREF> PickColor(const CColorDialog::Options& options,
                                    COLORREF* customColors) override;
  LogFont MessageFont() override { return m_messageFont; }
  int LogPixelsY() override { return m_logPixelsY; }
  std::uintptr_t MakeFont(const LogFont& font) override;
  void ReleaseFont(std::uintptr_t font) override;
  std::string LoadResourceString(unsigned id) override;

  // Internal to the backend's windows.
  const DialogSpec* SpecOf(unsigned templateId) const;
  void Fault(std::string what) { m_faults.push_back(std::move(what)); }
  void DeliverPosted();
  void Post(std::function<void()> message) { m_posted.push_back(std::move(message)); }

 private:
  std::deque<int> m_messageAnswers;
  std::deque<std::optional<std::string>> m_fileAnswers;
  std::deque<std::optional<COLORREF>> m_colorAnswers;
  std::function<void(SheetDriver&)> m_sheetScript;
  std::map<unsigned, DialogSpec> m_specs;
  std::map<unsigned, std::string> m_strings;
  std::map<std::uintptr_t, LogFont> m_fonts;
  std::uintptr_t m_nextFont = 0x100;
  int m_logPixelsY = 96;
  LogFont m_messageFont;
  std::vector<MessageRecord> m_messages;
  std::vector<std::string> m_faults;
  std::deque<std::function<void()>> m_posted;
  std::vector<std::shared_ptr<SheetState>> m_sheets;
};

// Installs a new headless backend for a scope (a test) and puts the previous
// backend back at the end.
class ScopedHeadless {
 public:
  ScopedHeadless();
  ~ScopedHeadless();
  ScopedHeadless(const ScopedHeadless&) = delete;
  ScopedHeadless& operator=(const ScopedHeadless&) = delete;
  HeadlessBackend& operator*() const { return *m_backend; }
  HeadlessBackend* operator->() const { return m_backend; }

 private:
  HeadlessBackend* m_backend;
  std::unique_ptr<Backend> m_previous;
};

}  // namespace fw::headless
