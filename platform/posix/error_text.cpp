#include "platform/error_text.h"

#include <cstring>

namespace platform {

std::string FileErrorText(int errnoValue) { return std::strerror(errnoValue); }

}  // namespace platform
