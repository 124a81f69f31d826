// CPaneContainer: a pane with a title bar above its one client window and a
// close button at the title's right end. The close button sends
// WM_COMMAND kCloseCommand, with the container's window in lParam, to the
// window given at creation; the container does not hide itself.
#pragma once

#include "framework/window_base.h"

#include <windows.h>

#include <string>

namespace framework {

class CPaneContainer : public CWindowBase {
public:
    static constexpr const char kClassName[] = "quorva_PaneContainer";
    static constexpr WORD kCloseCommand = 57682;
    static constexpr std::size_t kMaxTitleBytes = 80;

    HWND CreatePane(HWND parent, HWND commandTarget, const std::string& title);
    // The window below the title; it fills the rest of the pane.
    void SetClient(HWND client);
    HWND Client() const { return client_; }
    // At most kMaxTitleBytes bytes, cut between characters.
    void SetTitle(const std::string& title);
    const std::string& Title() const { return title_; }
    RECT CloseButtonRect() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int TitleHeight() const;
    void Layout();
    void Paint();
    bool OverCloseButton(LPARAM clientPoint) const;

    HWND commandTarget_ = nullptr;
    HWND client_ = nullptr;
    std::string title_;
    bool pressed_ = false;
};

}  // namespace framework
