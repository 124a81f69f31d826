// The settings dialog in this test process: settings from a file of the
// test's own, a homepage group in a temporary folder, the browser's toolbar
// button read back from the registry, and the dialog run with a script.
#pragma once

#include "browser_registration.h"
#include "dialog_test_driver.h"
#include "homepage_group.h"
#include "language.h"
#include "setting.h"
#include "settings_dialog.h"
#include "settings_test_support.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

namespace settings_test {

class SettingsDialogTest : public testing::Test {
protected:
    void SetUp() override {
        Pump();
        CLanguage::DestroyInstance();
        LoadSettings("");
        group_.Load(dir_.File("HomepageGroup.xml"));
    }
    void TearDown() override {
        CLanguage::DestroyInstance();
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, integration::kToolbarButtonKey);
        Pump();
    }

    // setting.xml holding `body` (keys in the program's order), loaded.
    void LoadSettings(const std::string& body) {
        const std::string path = dir_.File("setting.xml");
        testing_support::WriteBytes(path, "<?xml version=\"1.0\" encoding=\"utf-8\"?><settings>" + body + "</settings>");
        CSetting::Instance()->Load(path);
    }

    // A language pack holding `body` after its [Info] section, made active.
    void UsePack(const std::string& body) {
        const std::string folder = dir_.File("Language");
        ::CreateDirectoryA(folder.c_str(), nullptr);
        testing_support::WriteBytes(folder + "\\Tester.ini", "[Info]\r\nLanguage=Tester\r\n" + body);
        CLanguage::DestroyInstance();
        ASSERT_TRUE(CLanguage::Instance()->Init(folder, "Tester"));
        ASSERT_TRUE(CLanguage::Instance()->IsActive());
    }

    // Runs the dialog; `act` runs once it is up and ends it (IDOK, IDCANCEL).
    settings::SettingsOutcome Run(const std::function<void(HWND sheet)>& act) {
        dialog_test::DialogScript script;
        script.OnDialogWith(IDC_OPTIONS_BANNER, [&](HWND sheet) { act(sheet); });
        const settings::SettingsOutcome outcome = settings::RunSettingsDialog(nullptr, &group_);
        EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
        Pump();
        return outcome;
    }

    // A value of the browser's toolbar button; false when it is not there.
    static bool ButtonValue(const char* name, std::string* data = nullptr) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, integration::kToolbarButtonKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        char buffer[1024] = "";
        DWORD size = sizeof buffer;
        const bool found =
            ::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
        ::RegCloseKey(key);
        if (found && data) *data = buffer;
        return found;
    }

    testing_support::TempDir dir_;
    CHomepageGroup group_;
};

}  // namespace settings_test
