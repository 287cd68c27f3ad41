#include "app/dated_log.h"

#include <ctime>

#include "platform/platform.h"

std::string Now() {
  const std::time_t now = std::time(nullptr);
  char text[32] = {};
  if (const std::tm* local = std::localtime(&now)) {
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  }
  return text;
}

bool AppendDatedLines(const std::string& path, const std::vector<std::string>& lines,
                      std::string* why) {
  auto& files = *platform::Os().files;
  std::string bytes = files.ReadFile(path).value_or("");
  const std::string now = Now();
  for (const std::string& line : lines) bytes += now + " " + line + "\r\n";
  const auto status = files.WriteFileAtomic(path, bytes);
  if (!status && why) *why = status.reason;
  return static_cast<bool>(status);
}
