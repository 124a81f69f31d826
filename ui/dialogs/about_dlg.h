// The About box (resource 100): the program's version from its own version
// resource and a link to the program's web page.
#pragma once

#include "framework/hyperlink.h"
#include "translated_dialog.h"

#include <string>

namespace dialogs {

// The maker's web page the About box links to.
inline constexpr const char kHomepageUrl[] = "https://quorva.github.io/";

// The product version of the file's version resource as "a.b.c.d"; empty
// when the file has none.
std::string ReadProductVersion(const std::string& path);

class CAboutDlg : public CTranslatedDialog {
public:
    CAboutDlg();

    // Where the version comes from; the running program when empty.
    std::string versionSource;
    // The link, to be adjusted (colours, opener) before DoModal.
    framework::CHyperLink link;

protected:
    bool OnOpen() override;
};

}  // namespace dialogs
