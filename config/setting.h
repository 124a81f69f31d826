// The settings store: every preference of the program as a typed member of
// CSetting, kept in "setting.xml" beside the executable.
//
// CSettingBase knows how to copy, format, parse, read and write named, typed
// items but knows no key; CSetting registers every key with its default.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

enum SettingType : std::uint8_t {
    ST_CHAR = 0,
    ST_BOOL = 1,
    ST_WORD = 2,
    ST_INT = 3,
    ST_FLOAT = 4,
    ST_DOUBLE = 5,
    ST_STRING = 6,
};

struct SettingItem {
    std::string name;
    std::uint8_t type;
    void* value;  // the CSetting member; never owned
};

class CSettingBase {
public:
    CSettingBase() = default;
    virtual ~CSettingBase() = default;
    // Each item points at a member of this object: a copy would keep reading
    // and writing the original's members.
    CSettingBase(const CSettingBase&) = delete;
    CSettingBase& operator=(const CSettingBase&) = delete;

    // Registers every key (defaults), then reads the file. False when the file
    // is missing, unreadable, not well-formed or has another root element.
    bool Load(const std::string& path);
    // Rebuilds the file from scratch at the path given to Load.
    bool Save();

    const std::vector<SettingItem>& Items() const { return items_; }
    const std::string& Path() const { return path_; }

protected:
    virtual void RegisterItems() = 0;
    virtual void CopyValue(std::uint8_t type, void* dest, const void* src, std::size_t size);
    virtual std::string ValueToText(const SettingItem& item);
    virtual void TextToValue(SettingItem& item, const std::string& text);

    void ClearItems() { items_.clear(); }
    template <typename T>
    void AddItem(const char* name, std::uint8_t type, T& member,
                 const std::type_identity_t<T>& defaultValue) {
        CopyValue(type, &member, &defaultValue, sizeof(T));
        items_.push_back(SettingItem{name, type, &member});
    }

private:
    std::vector<SettingItem> items_;
    std::string path_;
};

// One member per key of "setting.xml", named after the key with its dot
// replaced by an underscore ("GUI.ShowToolBar" -> GUI_ShowToolBar).
class CSetting : public CSettingBase {
public:
    static CSetting* Instance();
    static void DestroyInstance();

    // Every member holds its default from the start.
    CSetting() { RegisterItems(); }

    std::string General_Language;
    std::uint8_t General_AutoRun = 0;
    std::uint8_t General_AutoRunMinToTry = 0;
    std::int32_t General_CheckVerMode = 0;
    std::int32_t GUI_MainFrameType = 0;
    std::int32_t GUI_MainFrameX1 = 0;
    std::int32_t GUI_MainFrameY1 = 0;
    std::int32_t GUI_MainFrameX2 = 0;
    std::int32_t GUI_MainFrameY2 = 0;
    std::int32_t GUI_MainFrameShowCmd = 0;
    std::int32_t GUI_MainFrameFlags = 0;
    std::uint8_t GUI_ShowToolBar = 0;
    std::uint8_t GUI_ShowStatusBar = 0;
    std::uint8_t GUI_ShowClassView = 0;
    std::uint8_t GUI_ShowRemarkView = 0;
    std::uint8_t GUI_ShowDragWindow = 0;
    std::int32_t GUI_DragWindowX1 = 0;
    std::int32_t GUI_DragWindowY1 = 0;
    std::int32_t GUI_VerSplitterPos = 0;
    std::int32_t GUI_HorSplitterPos = 0;
    std::int32_t GUI_BookmarkCol0Width = 0;
    std::uint8_t GUI_BookmarkCol1Show = 0;
    std::int32_t GUI_BookmarkCol1Width = 0;
    std::uint8_t GUI_BookmarkViewFullRowSel = 0;
    std::uint8_t GUI_BoolmarkViewShowLine = 0;  // the key's own spelling
    std::string GUI_DefaultToolbarData;
    std::string GUI_ToolbarData;
    std::string GUI_ToolbarSkin;
    std::uint8_t Other_CloseToTray = 0;
    std::uint8_t Other_TopMost = 0;
    std::int32_t Other_RandOpenCount = 0;
    std::uint8_t Other_InDefaultBookmark = 0;
    std::uint8_t Other_InIEBookmark = 0;
    std::uint8_t Other_PromptWhenDelClass = 0;
    std::uint8_t Other_PromptWhenDelBookmark = 0;
    std::uint8_t Other_DisplayAddBookmarkDlg = 0;
    std::uint8_t Other_IEToolbarButton = 0;

    // Set by start-up for the "hide" switch; never stored.
    bool StartHidden = false;

    void RegisterItems() override;
};
