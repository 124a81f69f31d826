// The editors that open over a value item of an option tree: a drop-down
// list or an edit box just right of the item's label. An editor never
// destroys itself: when it loses the keyboard focus to a window other than
// its tree, it posts the tree a request to close it, which the tree honours
// only while that editor is still the open one.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace settings {

class CInPlaceEditor {
public:
    // Pixels at 96 dpi, more on a screen of a larger scale.
    static constexpr int kWidth = 100;
    static constexpr int kListHeight = 100;  // the drop-down list's

    CInPlaceEditor() = default;
    virtual ~CInPlaceEditor();
    CInPlaceEditor(const CInPlaceEditor&) = delete;
    CInPlaceEditor& operator=(const CInPlaceEditor&) = delete;

    // Creates the editor as a child of `tree` with its left edge at `left`,
    // over the row `row` (client coordinates), holding `value`. When the
    // editor loses the focus to another window than the tree, it posts
    // `closeMessage` with `serial` to the tree.
    bool Open(HWND tree, int left, const RECT& row, const std::string& value, UINT closeMessage, WPARAM serial);
    // The value it holds now.
    virtual std::string Text() const = 0;
    HWND Hwnd() const { return hwnd_; }
    // Destroys the window (also done by the destructor).
    void Destroy();

protected:
    // Makes the window; `row` is where it goes.
    virtual HWND CreateControl(HWND tree, int left, const RECT& row) = 0;
    // Shows `value` in the new control.
    virtual void ShowValue(const std::string& value) = 0;

private:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    HWND hwnd_ = nullptr;
    HWND tree_ = nullptr;
    UINT closeMessage_ = 0;
    WPARAM serial_ = 0;
    WNDPROC original_ = nullptr;
};

// A drop-down list; derived classes fill it. Its selection is set to the
// value's text when it has that entry.
class CTreeOptionsCombo : public CInPlaceEditor {
public:
    std::string Text() const override;

protected:
    HWND CreateControl(HWND tree, int left, const RECT& row) override;
    void ShowValue(const std::string& value) override;
    // Adds the entries; the base adds none.
    virtual void Fill(HWND /*combo*/) {}
};

// A one-line edit box that scrolls sideways.
class CTreeOptionsEdit : public CInPlaceEditor {
public:
    std::string Text() const override;

protected:
    HWND CreateControl(HWND tree, int left, const RECT& row) override;
    void ShowValue(const std::string& value) override;
};

// The new-version check's frequency, page "常规设置": the three choices of
// the language pack, the one of "General.CheckVerMode" selected.
class CCheckNewVersionComboBox : public CTreeOptionsCombo {
protected:
    void Fill(HWND combo) override;
};

// The random-open count, page "杂项": any text may be typed.
class CDemoEdit : public CTreeOptionsEdit {};

// How a value item makes its editor.
using InPlaceClass = std::unique_ptr<CInPlaceEditor> (*)();

template <class Editor>
std::unique_ptr<CInPlaceEditor> MakeEditor() {
    return std::make_unique<Editor>();
}

}  // namespace settings
