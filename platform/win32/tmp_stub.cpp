#include "platform/platform.h"
namespace platform {
std::unique_ptr<Services> MakeNativeServices(const std::string&) { return std::make_unique<Services>(); }
}
