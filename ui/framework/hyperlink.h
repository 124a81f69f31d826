// A static control turned into a link: underlined dialog font in the link
// colour (the visited colour once opened), a hand cursor and a tool tip with
// the target over the text. A click on the text, or Enter or Space while it has
// the focus, opens the target.
#pragma once

#include "framework/unique_handle.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace framework {

struct LinkColors {
    COLORREF link = RGB(0, 0, 255);
    COLORREF visited = RGB(128, 0, 128);
};

// "r,g,b": three decimal numbers from 0 to 255 separated by commas, blanks
// around each allowed. False (and `colour` untouched) for anything else.
bool ParseAnchorColor(std::string_view text, COLORREF& colour);

// The browser's link colours: values "Anchor Color" and "Anchor Color Visited"
// of `subKey` under `root`; blue and purple for a value missing or malformed.
inline constexpr const char kBrowserSettingsKey[] = "Software\\Microsoft\\Internet Explorer\\Settings";
LinkColors ReadLinkColors(HKEY root = HKEY_CURRENT_USER, const char* subKey = kBrowserSettingsKey);

class CHyperLink {
public:
    // Opens a target; true on success. The default asks the shell ("open").
    using Opener = std::function<bool(const std::string& target)>;

    CHyperLink();
    ~CHyperLink();
    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;

    // Makes `label` (a static control of a dialog) a link to `target`. The
    // colours are read from the registry unless SetColors was called.
    bool Attach(HWND label, std::string target);
    void SetColors(const LinkColors& colors);
    void SetOpener(Opener opener) { opener_ = std::move(opener); }

    // Opens the target; on success the label turns to the visited colour.
    bool Open();

    HWND Label() const { return label_; }
    HWND Tooltip() const { return tooltip_; }
    const std::string& Target() const { return target_; }
    bool Visited() const { return visited_; }
    const LinkColors& Colors() const { return colors_; }
    COLORREF TextColor() const { return visited_ ? colors_.visited : colors_.link; }
    // Where the text is drawn, in the label's client coordinates.
    RECT TextRect() const;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Draw(HDC dc);
    bool OnText(LPARAM point) const;
    void Detach();

    HWND label_ = nullptr;
    HWND tooltip_ = nullptr;
    std::string target_;
    LinkColors colors_;
    bool colorsSet_ = false;
    bool visited_ = false;
    bool pressed_ = false;
    UniqueFont font_;
    HCURSOR hand_ = nullptr;
    Opener opener_;
};

}  // namespace framework
