#include "command_line.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using app::ScanCommandLine;
using app::StartMode;

struct ScanCase {
    const char* name;
    std::string line;
    StartMode mode;
    bool hidden;
};

void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }

class CommandLineScan : public testing::TestWithParam<ScanCase> {};

TEST_P(CommandLineScan, FindsTheSwitchAtTheEndOfTheLine) {
    const ScanCase& c = GetParam();
    const app::CommandLineSwitches s = ScanCommandLine(c.line);
    EXPECT_EQ(s.mode, c.mode) << c.line;
    EXPECT_EQ(s.startHidden, c.hidden) << c.line;
}

const std::string kExe = "\"C:\\Program Files\\quorva\\quorva.exe\"";

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineScan,
    testing::Values(
        ScanCase{"NoSwitch", kExe, StartMode::Normal, false},
        ScanCase{"Empty", "", StartMode::Normal, false},
        ScanCase{"HideSlash", kExe + " /hide", StartMode::Normal, true},
        ScanCase{"HideDash", kExe + " -hide", StartMode::Normal, true},
        ScanCase{"HideUpper", kExe + " /HIDE", StartMode::Normal, true},
        ScanCase{"HideMixed", kExe + " -HiDe", StartMode::Normal, true},
        ScanCase{"HideFollowedByText", kExe + " /hide x", StartMode::Normal, false},
        ScanCase{"HideFollowedBySpace", kExe + " /hide ", StartMode::Normal, false},
        ScanCase{"HideThenOtherSwitch", kExe + " /hide /Embedding", StartMode::Normal, false},
        ScanCase{"OtherSwitchThenHide", kExe + " /x /hide", StartMode::Normal, true},
        ScanCase{"HideWithoutMarker", kExe + " hide", StartMode::Normal, false},
        ScanCase{"HideRightAfterMarker", kExe + "/hide", StartMode::Normal, true},
        ScanCase{"DoubledMarker", kExe + " --hide", StartMode::Normal, true},
        ScanCase{"RegServer", kExe + " /RegServer", StartMode::RegServer, false},
        ScanCase{"RegServerLower", kExe + " -regserver", StartMode::RegServer, false},
        ScanCase{"UnregServer", kExe + " /UnregServer", StartMode::UnregServer, false},
        ScanCase{"UnregServerUpper", kExe + " -UNREGSERVER", StartMode::UnregServer, false},
        ScanCase{"RegServerThenText", kExe + " /RegServer now", StartMode::Normal, false},
        ScanCase{"Automation", kExe + " /Automation", StartMode::Normal, false},
        ScanCase{"Embedding", kExe + " -Embedding", StartMode::Normal, false},
        ScanCase{"UnknownSwitch", kExe + " /foo", StartMode::Normal, false},
        // A "-" inside the program path starts a candidate that matches nothing.
        ScanCase{"DashInPath", "C:\\my-tools\\quorva.exe", StartMode::Normal, false},
        ScanCase{"DashInPathThenHide", "C:\\my-tools\\quorva.exe /hide", StartMode::Normal, true},
        ScanCase{"PathEndsLikeSwitch", "C:\\x-hide", StartMode::Normal, true},
        ScanCase{"SlashPath", "C:/bin/quorva.exe -RegServer", StartMode::RegServer, false},
        // Double-byte characters whose trail byte is "/" (0x2F) or "-" (0x2D)
        // are stepped over whole and never start a switch.
        ScanCase{"TrailSlash", "C:\\\x81\x2Fhide", StartMode::Normal, false},
        ScanCase{"TrailDash", "C:\\\x81\x2DRegServer", StartMode::Normal, false},
        ScanCase{"TrailByteThenRealSwitch", "C:\\\x81\x2Fx /hide", StartMode::Normal, true},
        ScanCase{"ChineseFolder", "C:\\\xCA\xE9\xC7\xA9\\quorva.exe /hide", StartMode::Normal, true},
        // A lead byte as the very last byte must not step past the end.
        ScanCase{"DanglingLeadByte", kExe + " /hide\x81", StartMode::Normal, false},
        ScanCase{"MarkerAtEnd", kExe + " /", StartMode::Normal, false}),
    [](const testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.name); });

}  // namespace
