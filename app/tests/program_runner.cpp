#include "program_runner.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace program_test {

namespace {
constexpr char kMainFrameClass[] = "quorva_MainFrame";
constexpr DWORD kPollMs = 20;
}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount64() >= deadline) return false;
        ::Sleep(kPollMs);
    }
}

std::string WindowsPath(const std::string& path) {
    std::string result = path;
    for (char& c : result) {
        if (c == '/') c = '\\';
    }
    if (!path.empty() && path[0] == '/') result = "Z:" + result;
    return result;
}

std::string BuiltProgram() { return WindowsPath(QUORVA_EXE_PATH); }

std::map<std::string, std::string> FolderContents(const std::string& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        contents[entry.path().filename().string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return contents;
}

namespace {

// The position just after "<settings>", or npos.
std::size_t SettingsBody(const std::string& xml) {
    const std::size_t root = xml.find("<settings>");
    return root == std::string::npos ? root : root + 10;
}

}  // namespace

std::vector<std::string> SettingElementNames(const std::string& xml) {
    std::vector<std::string> names;
    std::size_t pos = SettingsBody(xml);
    while (pos != std::string::npos) {
        pos = xml.find('<', pos);
        if (pos == std::string::npos) break;
        const std::size_t end = xml.find('>', pos);
        if (end == std::string::npos) break;
        std::string tag = xml.substr(pos + 1, end - pos - 1);
        pos = end + 1;
        if (tag == "/settings") break;
        if (!tag.empty() && tag[0] == '/') continue;  // closing tag
        if (!tag.empty() && tag.back() == '/') tag.pop_back();
        names.push_back(tag);
    }
    return names;
}

std::string SettingValue(const std::string& xml, const std::string& name) {
    const std::size_t body = SettingsBody(xml);
    if (body == std::string::npos) return "";
    const std::string open = "<" + name + ">";
    const std::size_t start = xml.find(open, body);
    if (start == std::string::npos) return "";
    const std::size_t end = xml.find("</" + name + ">", start);
    if (end == std::string::npos) return "";
    return xml.substr(start + open.size(), end - start - open.size());
}

RunningProgram::~RunningProgram() {
    if (!info_.hProcess) return;
    // A failed test may leave the program running: end it the way a user
    // would, and only if that fails for good, by force.
    if (Running() && !Close(10000)) ::TerminateProcess(info_.hProcess, 99);
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
}

bool RunningProgram::Start(const std::string& exe, const std::string& arguments) {
    if (info_.hProcess) return false;
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    const std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
    return ::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &info_) != 0;
}

std::string TextOf(HWND window) {
    char text[512] = "";
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

namespace {

// The first top-level window of class `className` owned by process `pid`.
HWND TopLevelWindowOf(DWORD pid, const char* className, bool visibleOnly) {
    struct Search {
        DWORD pid;
        const char* className;
        bool visibleOnly;
        HWND found;
    } search{pid, className, visibleOnly, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            char name[64] = "";
            ::GetClassNameA(hwnd, name, sizeof name);
            if (pid == s->pid && std::string(name) == s->className && (!s->visibleOnly || ::IsWindowVisible(hwnd))) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

HWND MainWindowOf(DWORD pid) { return TopLevelWindowOf(pid, kMainFrameClass, false); }

HWND DialogOf(DWORD pid) { return TopLevelWindowOf(pid, "#32770", true); }

HWND RunningProgram::FindMainWindow() const { return MainWindowOf(info_.dwProcessId); }

HWND RunningProgram::WaitForMainWindow(DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindMainWindow()) != nullptr || !Running(); }, timeoutMs);
    return found;
}

bool RunningProgram::Running() const {
    return info_.hProcess && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool RunningProgram::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!info_.hProcess || ::WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    ::GetExitCodeProcess(info_.hProcess, &code);
    if (exitCode) *exitCode = code;
    return true;
}

bool AnswerQuestionsOf(DWORD pid, DWORD quietMs) {
    bool answered = false;
    while (WaitUntil([&] { return DialogOf(pid) != nullptr; }, quietMs)) {
        HWND dialog = DialogOf(pid);
        if (!dialog) break;
        const int button = ::GetDlgItem(dialog, IDNO) ? IDNO : ::GetDlgItem(dialog, IDCANCEL) ? IDCANCEL : IDOK;
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        WaitUntil([&] { return !::IsWindow(dialog); }, quietMs);
        answered = true;
    }
    return answered;
}

bool RunningProgram::AnswerQuestions(DWORD quietMs) { return Running() && AnswerQuestionsOf(Pid(), quietMs); }

// As a user would: a question still open (the first-run offers) keeps the
// window, so it is answered first.
bool RunningProgram::Close(DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (::GetTickCount64() < deadline) {
        AnswerQuestions(200);
        HWND window = FindMainWindow();
        if (window) ::PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForExit(1000, nullptr)) return true;
    }
    return WaitForExit(0, nullptr);
}

}  // namespace program_test
