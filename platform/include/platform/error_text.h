// Why a file call failed, as the user reads it.
#pragma once

#include <string>

namespace platform {

// The reason for the failure of the C runtime's file call just made, which
// set `errnoValue`: on Windows the system's own text for its error code, in
// the user's language (the C runtime's texts are English only); elsewhere
// the C library's text.
std::string FileErrorText(int errnoValue);

}  // namespace platform
