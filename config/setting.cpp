#include "setting.h"

namespace {
CSetting* g_instance = nullptr;
}

CSetting* CSetting::Instance() {
    if (!g_instance) g_instance = new CSetting;
    return g_instance;
}

void CSetting::DestroyInstance() {
    delete g_instance;
    g_instance = nullptr;
}

// The order is the order of the elements in "setting.xml".
void CSetting::RegisterItems() {
    ClearItems();
    StartHidden = false;
    AddItem("General.Language", ST_STRING, General_Language, "");
    AddItem("General.AutoRun", ST_BOOL, General_AutoRun, 1);
    AddItem("General.AutoRunMinToTry", ST_BOOL, General_AutoRunMinToTry, 1);
    AddItem("General.CheckVerMode", ST_INT, General_CheckVerMode, 2);
    AddItem("GUI.MainFrameType", ST_INT, GUI_MainFrameType, 5);
    AddItem("GUI.MainFrameX1", ST_INT, GUI_MainFrameX1, -1);
    AddItem("GUI.MainFrameY1", ST_INT, GUI_MainFrameY1, -1);
    AddItem("GUI.MainFrameX2", ST_INT, GUI_MainFrameX2, -1);
    AddItem("GUI.MainFrameY2", ST_INT, GUI_MainFrameY2, -1);
    AddItem("GUI.MainFrameShowCmd", ST_INT, GUI_MainFrameShowCmd, -1);
    AddItem("GUI.MainFrameFlags", ST_INT, GUI_MainFrameFlags, -1);
    AddItem("GUI.ShowToolBar", ST_BOOL, GUI_ShowToolBar, 1);
    AddItem("GUI.ShowStatusBar", ST_BOOL, GUI_ShowStatusBar, 1);
    AddItem("GUI.ShowClassView", ST_BOOL, GUI_ShowClassView, 1);
    AddItem("GUI.ShowRemarkView", ST_BOOL, GUI_ShowRemarkView, 1);
    AddItem("GUI.ShowDragWindow", ST_BOOL, GUI_ShowDragWindow, 0);
    AddItem("GUI.DragWindowX1", ST_INT, GUI_DragWindowX1, -1);
    AddItem("GUI.DragWindowY1", ST_INT, GUI_DragWindowY1, -1);
    AddItem("GUI.VerSplitterPos", ST_INT, GUI_VerSplitterPos, 200);
    AddItem("GUI.HorSplitterPos", ST_INT, GUI_HorSplitterPos, 300);
    AddItem("GUI.BookmarkCol0Width", ST_INT, GUI_BookmarkCol0Width, 200);
    AddItem("GUI.BookmarkCol1Show", ST_BOOL, GUI_BookmarkCol1Show, 1);
    AddItem("GUI.BookmarkCol1Width", ST_INT, GUI_BookmarkCol1Width, 200);
    AddItem("GUI.BookmarkViewFullRowSel", ST_BOOL, GUI_BookmarkViewFullRowSel, 1);
    AddItem("GUI.BoolmarkViewShowLine", ST_BOOL, GUI_BoolmarkViewShowLine, 0);
    AddItem("GUI.DefaultToolbarData", ST_STRING, GUI_DefaultToolbarData,
            "0,1,32770,32820,32795,0,32805,32825,32815,0,32855,32870,0,32800,32940,0,57664");
    AddItem("GUI.ToolbarData", ST_STRING, GUI_ToolbarData, "");
    AddItem("GUI.ToolbarSkin", ST_STRING, GUI_ToolbarSkin, "");
    AddItem("Other.CloseToTray", ST_BOOL, Other_CloseToTray, 1);
    AddItem("Other.TopMost", ST_BOOL, Other_TopMost, 0);
    AddItem("Other.RandOpenCount", ST_INT, Other_RandOpenCount, 10);
    AddItem("Other.InDefaultBookmark", ST_BOOL, Other_InDefaultBookmark, 1);
    AddItem("Other.InIEBookmark", ST_BOOL, Other_InIEBookmark, 1);
    AddItem("Other.PromptWhenDelClass", ST_BOOL, Other_PromptWhenDelClass, 1);
    AddItem("Other.PromptWhenDelBookmark", ST_BOOL, Other_PromptWhenDelBookmark, 1);
    AddItem("Other.DisplayAddBookmarkDlg", ST_BOOL, Other_DisplayAddBookmarkDlg, 1);
    AddItem("Other.IEToolbarButton", ST_BOOL, Other_IEToolbarButton, 1);
}
