// The way back: `okapi.exe /restore` puts the help application's files and
// the hardware button's application back as the backup of first contents
// holds them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace restore {

// The one switch the program takes; blanks and letter case do not matter.
bool IsRestoreCommand(const std::string& commandLine);

struct FilePlan {
  std::string name;    // the bare file name
  std::string backup;  // its copy in the backup
  std::string target;  // the help application's file
  bool inBackup = false;
  // Entries (INI files) or lines (the machine table) that differ now.
  int differing = 0;
  // The file is there but cannot be read (another program holds it, or it is
  // a folder): nothing is counted, since every entry would seem to differ.
  bool unreadable = false;
};

struct Plan {
  std::vector<FilePlan> files;
  // The application the button started before the first run, when the
  // backup's registry script names one and the button key exists.
  std::optional<std::string> buttonApplication;
  std::optional<std::string> currentButtonApplication;

  bool HasBackup() const;
  // What will be put back, as the confirmation shows it.
  std::string Describe() const;
};

// Needs the global paths (the installation found first).
Plan MakePlan();

struct Outcome {
  std::vector<std::string> restored;  // file names, and "the Larkbook button"
  std::vector<std::string> missing;   // not in the backup
  std::vector<std::string> failed;    // with the reason
  std::string Describe() const;
};

// Writes every file back atomically, sets the registry value back and adds
// a dated line to customization\restore.log. The backup is left as it is.
Outcome Apply(const Plan& plan);

// The whole command with its message boxes; the process's exit code.
int RunRestore();
// The same once this process holds the wizard's mutex.
int ConfirmAndRestore();

}  // namespace restore
