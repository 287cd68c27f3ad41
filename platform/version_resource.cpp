#include "platform/version_resource.h"

#include <cstdint>

namespace platform {
namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::size_t kFixedSize = 52;  // sizeof(VS_FIXEDFILEINFO)

std::uint32_t Little(std::string_view bytes, std::size_t at, std::size_t width) {
  std::uint32_t value = 0;
  for (std::size_t i = width; i-- > 0;) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

bool FixedAt(std::string_view bytes, std::size_t at) {
  return at + kFixedSize <= bytes.size() && Little(bytes, at, 4) == kFixedSignature;
}

VersionInfo FixedFrom(std::string_view bytes, std::size_t at) {
  // dwSignature, dwStrucVersion, then dwFileVersionMS and dwFileVersionLS.
  return VersionInfo{FileVersion{Little(bytes, at + 8, 4), Little(bytes, at + 12, 4)}};
}

}  // namespace

std::optional<VersionInfo> FindVersionResource(std::string_view bytes) {
  if (bytes.substr(0, 2) != "MZ") return std::nullopt;

  // VS_VERSIONINFO: wLength, wValueLength, wType, the key in UTF-16 with its
  // terminating zero, padding to a 32-bit boundary, then the fixed info.
  static constexpr char kKey[] = "V\0S\0_\0V\0E\0R\0S\0I\0O\0N\0_\0I\0N\0F\0O\0\0";
  constexpr std::string_view key(kKey, sizeof kKey);  // the array's own zero ends the wide zero
  for (std::size_t pos = bytes.find(key); pos != std::string_view::npos;
       pos = bytes.find(key, pos + 1)) {
    if (pos < 6) continue;
    std::size_t start = pos - 6;
    std::uint32_t valueLength = Little(bytes, start + 2, 2);
    std::size_t fixed = start + 40;
    if (valueLength == 0) return VersionInfo{};
    if (valueLength >= kFixedSize && FixedAt(bytes, fixed)) return FixedFrom(bytes, fixed);
  }
  // A resource laid out otherwise: the signature alone still marks the block.
  for (std::size_t at = 0; at + kFixedSize <= bytes.size(); at += 4) {
    if (FixedAt(bytes, at)) return FixedFrom(bytes, at);
  }
  return std::nullopt;
}

}  // namespace platform
