#include "platform/codepage.h"

#include <windows.h>

namespace platform {

bool IsLeadByte(unsigned char c) { return ::IsDBCSLeadByte(c) != 0; }

}  // namespace platform
