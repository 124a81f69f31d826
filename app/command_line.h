// The switches of the program's command line. Portable: the scan works on the
// bytes of the ANSI code page and steps over double-byte characters whole.
#pragma once

#include <string_view>

namespace app {

enum class StartMode {
    Normal,       // run the program (also for "Automation" and "Embedding")
    RegServer,    // write the server registration and end
    UnregServer,  // remove it and end
};

struct CommandLineSwitches {
    StartMode mode = StartMode::Normal;
    bool startHidden = false;  // "hide"
};

// Scans the whole command line (program path included) for "-" or "/". The
// text from the character after it to the end of the line is the switch, so a
// switch counts only when it is the last thing on the line. Names compare
// without regard to ASCII letter case.
CommandLineSwitches ScanCommandLine(std::string_view line);

}  // namespace app
