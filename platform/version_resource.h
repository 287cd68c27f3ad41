// Finding the fixed file information in an executable's bytes, for backends
// that have no version API of their own.
#pragma once

#include <optional>
#include <string_view>

#include "platform/platform.h"

namespace platform {

// nullopt when the bytes are not an executable or carry no version
// resource; a version resource without fixed information gives an empty
// VersionInfo.
std::optional<VersionInfo> FindVersionResource(std::string_view bytes);

}  // namespace platform
