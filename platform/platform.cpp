#include "platform/platform.h"

namespace platform {
namespace {
std::unique_ptr<Services>& Current() {
  static std::unique_ptr<Services> services;
  return services;
}
}  // namespace

Services& Os() {
  auto& services = Current();
  if (!services) services = MakeNativeServices();
  return *services;
}

std::unique_ptr<Services> ReplaceOs(std::unique_ptr<Services> next) {
  auto& services = Current();
  std::swap(services, next);
  return next;
}

}  // namespace platform
