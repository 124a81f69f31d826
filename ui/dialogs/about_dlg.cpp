#include "about_dlg.h"

#include "platform/executable_path.h"
#include "resource.h"

#include <vector>

namespace dialogs {

std::string ReadProductVersion(const std::string& path) {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return {};
    std::vector<char> data(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO) || info->dwSignature != 0xFEEF04BD) {
        return {};
    }
    return FormatProductVersion(info->dwProductVersionMS, info->dwProductVersionLS);
}

CAboutDlg::CAboutDlg() : CTranslatedDialog(IDD_ABOUT, kAboutSection) {}

bool CAboutDlg::OnOpen() {
    const std::string path = versionSource.empty() ? platform::ExecutablePath() : versionSource;
    SetItemText(IDC_VERSION, std::string(kVersionLinePrefix) + ReadProductVersion(path));
    link.Attach(Item(IDC_HOMEPAGE_LINK), kHomepageUrl);
    return true;
}

}  // namespace dialogs
