// okapi.exe /export, /apply and /verify: the answers file at work without the
// wizard, for the deployment tools that run a program and read its exit code.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace answers {

// The process's exit code, as deployment tools read it.
enum class Exit {
  Done = 0,            // or, for /verify, every answer in place
  Differences = 1,     // /verify found answers not in place
  Refused = 2,         // the answers (or the command line) were refused: nothing written
  NoInstallation = 3,  // no help application found
  WriteFailed = 4,     // a write or copy failed; every entry is either old or new
  AlreadyRunning = 5,  // the wizard or another okapi.exe is running
};

struct Command {
  enum class Verb { Export, Apply, Verify } verb = Verb::Export;
  std::string file;
  bool quiet = false;    // no window, no message box
  bool package = false;  // /apply only: Finish too
};

// What the command line asks for: nothing when it names none of the three
// verbs (the wizard then starts), else the command or why it is refused.
struct Parsed {
  std::optional<Command> command;
  std::string refusal;  // set when a verb is there but the line is not whole
  bool quiet = false;   // /quiet was there, whole line or not
};
Parsed ParseCommandLine(std::string_view commandLine);

// The command line split as Windows programs split it: blanks part words,
// double quotes group them.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace answers
