#include "platform/codepage.h"

namespace platform {

// The host build stands in for a GBK (code page 936) system.
bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace platform
