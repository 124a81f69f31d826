// CSplitter: two panes beside each other (a vertical bar between them) or
// one above the other (a horizontal bar), and the bar the user drags. The
// position is the size of the first pane in pixels, always kept inside the
// splitter's client area. When the splitter itself is resized, one pane
// keeps its size: the first (left) one, or the second (bottom) one when
// asked. Either pane may be shown alone.
#pragma once

#include "framework/window_base.h"

#include <windows.h>

namespace framework {

class CSplitter : public CWindowBase {
public:
    enum class Orientation { kVertical, kHorizontal };  // vertical: left | right
    enum class Panes { kBoth, kFirstOnly, kSecondOnly };
    static constexpr const char kClassName[] = "quorva_Splitter";
    static constexpr int kBarSize = 4;

    CSplitter(Orientation orientation, bool secondKeepsSize)
        : orientation_(orientation), secondKeepsSize_(secondKeepsSize) {}

    HWND CreateSplitter(HWND parent, const RECT& rect);
    void SetPanes(HWND first, HWND second);
    HWND Pane(int index) const { return index == 0 ? first_ : second_; }

    // Size of the first pane, clamped into the client area.
    void SetPosition(int pixels);
    int Position() const { return position_; }
    void SetPanesShown(Panes panes);
    Panes PanesShown() const { return shown_; }
    // The pane that had the focus last (0 or 1).
    void SetActivePane(int index) { active_ = index == 0 ? 0 : 1; }
    int ActivePane() const { return active_; }
    // Places the panes in the client area as the position and mode say.
    void UpdateLayout();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int Extent() const;  // client width (vertical) or height (horizontal)
    int Clamp(int position) const;
    void OnSize(int extent);
    void DragTo(LPARAM clientPoint);

    const Orientation orientation_;
    const bool secondKeepsSize_;
    HWND first_ = nullptr;
    HWND second_ = nullptr;
    int position_ = 0;
    int extent_ = 0;  // the client extent the position was last fitted to
    Panes shown_ = Panes::kBoth;
    int active_ = 0;
    bool dragging_ = false;
    int grabOffset_ = 0;  // where on the bar the mouse took it
};

}  // namespace framework
