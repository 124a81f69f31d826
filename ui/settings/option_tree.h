// A tree view whose items stand for options: check boxes, radio buttons,
// groups and value items, told apart by their pictures (bitmap 236). A
// click on an item or the space bar changes a check box or selects a radio
// button; a value item is edited in place by the editor of its class.
//
// Each item keeps its label apart from its value: the caption is made from
// the two, so a label holding ": " is never cut.
#pragma once

#include "framework/unique_handle.h"
#include "in_place_editors.h"

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>

namespace settings {

class COptionTree {
public:
    COptionTree() = default;
    ~COptionTree();
    COptionTree(const COptionTree&) = delete;
    COptionTree& operator=(const COptionTree&) = delete;

    // Takes over the tree control `tree`: its pictures from `resources`,
    // its clicks and keys.
    bool Attach(HWND tree, HINSTANCE resources);
    HWND Hwnd() const { return tree_; }

    HTREEITEM AddGroup(const std::string& text, int image, HTREEITEM parent = TVI_ROOT);
    HTREEITEM AddCheck(const std::string& text, HTREEITEM parent, bool checked);
    HTREEITEM AddRadio(const std::string& text, HTREEITEM parent, bool checked);
    bool IsChecked(HTREEITEM item) const;
    // Enables or disables a check box, keeping its state.
    void EnableCheck(HTREEITEM item, bool enabled);
    // Selects a radio button; its siblings become unchecked radio buttons.
    void SelectRadio(HTREEITEM item);
    // Position among `parent`'s children of the selected radio button; -1
    // when none is.
    int SelectedRadio(HTREEITEM parent) const;
    // Makes `item` a value item edited by an editor of `editorClass`.
    void AttachInPlaceClass(HTREEITEM item, InPlaceClass editorClass);
    void SetValueText(HTREEITEM item, const std::string& value);
    std::string GetValueText(HTREEITEM item) const;
    void Expand(HTREEITEM item);

    int Image(HTREEITEM item) const;
    std::string Label(HTREEITEM item) const;
    // The open editor's window; none when no item is being edited.
    HWND Editor() const { return editor_ ? editor_->Hwnd() : nullptr; }
    HTREEITEM EditedItem() const { return editor_ ? edited_ : nullptr; }
    // Closes the open editor, its value written back to its item.
    void CloseEditor();

    // The tree's notifications, handed on by the page; true when taken.
    bool OnNotify(const NMHDR& header, LRESULT& result);

private:
    // Posted by an editor that lost the focus; wParam: its serial number.
    static constexpr UINT kCloseEditorRequest = WM_APP + 40;

    struct ItemData {
        std::string label;
        std::string value;
        InPlaceClass editorClass = nullptr;
    };

    HTREEITEM Insert(const std::string& text, int image, HTREEITEM parent);
    void SetImage(HTREEITEM item, int image);
    void SetCaption(HTREEITEM item, const std::string& caption);
    const ItemData* Data(HTREEITEM item) const;
    // A click or the space bar on `item`.
    void Activate(HTREEITEM item);
    void OpenEditor(HTREEITEM item);
    bool OnTreeMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT OnLeftButtonDown(WPARAM wParam, LPARAM lParam);

    HWND tree_ = nullptr;
    WNDPROC original_ = nullptr;
    HIMAGELIST images_ = nullptr;  // destroyed with the tree object
    std::map<HTREEITEM, ItemData> items_;
    std::unique_ptr<CInPlaceEditor> editor_;
    HTREEITEM edited_ = nullptr;
    WPARAM editorSerial_ = 0;
};

}  // namespace settings
