#include "browser_registration.h"

#include "memory_registry.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using integration::RegistryRoot;
using integration_test::MemoryRegistry;

const std::string kMenuText = "添加到岚舟链匣中";
const std::string kKey = integration::ContextMenuKey(kMenuText);

TEST(BrowserRegistration, PathsCompareIgnoringOnlyAsciiCase) {
    EXPECT_TRUE(integration::SameIgnoringAsciiCase("C:\\Program Files\\q\\Bm_Link.htm", "c:\\PROGRAM FILES\\Q\\bm_link.HTM"));
    EXPECT_FALSE(integration::SameIgnoringAsciiCase("C:\\q\\a.htm", "C:\\q\\a.htm "));
    // "\x81\x61" is one character whose trail byte is 'a': not the same as "\x81\x41".
    EXPECT_FALSE(integration::SameIgnoringAsciiCase("C:\\\x81\x61", "C:\\\x81\x41"));
    EXPECT_TRUE(integration::SameIgnoringAsciiCase("C:\\书签\\a", "c:\\书签\\A"));
    const std::string longPath = "C:\\" + std::string(400, 'x') + "\\Bm_Link.htm";
    EXPECT_TRUE(integration::SameIgnoringAsciiCase(longPath, longPath));
}

TEST(BrowserRegistration, TheContextMenuIsWrittenOnceAndTheHintFollowsOnlyASuccessfulWrite) {
    MemoryRegistry registry;
    std::set<std::string> files = {"C:\\new\\Bm_Link.htm"};
    auto exists = [&](const std::string& path) { return files.count(path) != 0; };

    // First start: written, hint.
    auto update = integration::UpdateContextMenu(registry, kMenuText, "C:\\new\\Bm_Link.htm", exists);
    EXPECT_TRUE(update.written);
    EXPECT_TRUE(update.hint);
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, kKey), "C:\\new\\Bm_Link.htm");
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, kKey, "contexts"), "dword:243");

    // Next start, the same path in other letters: nothing written.
    registry.SetStringValue(RegistryRoot::CurrentUser, kKey, "", "c:\\NEW\\bm_link.htm");
    const int writes = registry.writeCount;
    update = integration::UpdateContextMenu(registry, kMenuText, "C:\\new\\Bm_Link.htm", exists);
    EXPECT_FALSE(update.written);
    EXPECT_FALSE(update.hint);
    EXPECT_EQ(registry.writeCount, writes);

    // A long path is read whole, so it still counts as the same.
    const std::string longPage = "C:\\" + std::string(300, 'd') + "\\Bm_Link.htm";
    files.insert(longPage);
    integration::UpdateContextMenu(registry, kMenuText, longPage, exists);
    update = integration::UpdateContextMenu(registry, kMenuText, longPage, exists);
    EXPECT_FALSE(update.written);

    // Another folder whose old page still exists: rewritten without a hint.
    update = integration::UpdateContextMenu(registry, kMenuText, "C:\\new\\Bm_Link.htm", exists);
    EXPECT_TRUE(update.written);
    EXPECT_FALSE(update.hint);

    // Moved away from a folder that is gone: rewritten, hint again.
    files = {"C:\\moved\\Bm_Link.htm"};
    update = integration::UpdateContextMenu(registry, kMenuText, "C:\\moved\\Bm_Link.htm", exists);
    EXPECT_TRUE(update.written);
    EXPECT_TRUE(update.hint);

    // A refused write: no hint, although the entry is wrong.
    MemoryRegistry locked;
    locked.DenyWritesUnder(RegistryRoot::CurrentUser, "");
    update = integration::UpdateContextMenu(locked, kMenuText, "C:\\new\\Bm_Link.htm", exists);
    EXPECT_FALSE(update.written);
    EXPECT_FALSE(update.hint);
}

TEST(BrowserRegistration, TheToolbarButtonHasItsValuesInOrderAndGoesWhenSwitchedOff) {
    MemoryRegistry registry;
    ASSERT_EQ(integration::RegisterToolbarButton(registry, "C:\\q\\quorva.exe", "岚舟链匣"), 0);
    const std::string key = integration::kToolbarButtonKey;
    EXPECT_EQ(registry.Value(RegistryRoot::LocalMachine, key, "ButtonText"), "zevLinkarbor");
    EXPECT_EQ(registry.Value(RegistryRoot::LocalMachine, key, "CLSID"), "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}");
    EXPECT_EQ(registry.Value(RegistryRoot::LocalMachine, key, "Default Visible"), "Yes");
    EXPECT_EQ(registry.Value(RegistryRoot::LocalMachine, key, "Exec"), "C:\\q\\quorva.exe");
    EXPECT_EQ(registry.Value(RegistryRoot::LocalMachine, key, "Icon"), "C:\\q\\quorva.exe,128");
    EXPECT_EQ(registry.Value(RegistryRoot::LocalMachine, key, "HotIcon"), "C:\\q\\quorva.exe,128");
    EXPECT_EQ(registry.Value(RegistryRoot::LocalMachine, key, "MenuText"), "zevLinkarbor(岚舟链匣)");
    EXPECT_EQ(registry.Value(RegistryRoot::LocalMachine, key, "MenuStatusBar"), "zevLinkarbor(岚舟链匣)");
    EXPECT_EQ(integration::RemoveToolbarButton(registry), 0);
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, key));
    EXPECT_EQ(integration::RemoveToolbarButton(registry), integration::kRegistryNotFound);
}

TEST(BrowserRegistration, TheRunValueIsQuotedWrittenWhenDifferentAndDeletedWhenOff) {
    EXPECT_EQ(integration::RunCommand("C:\\q\\quorva.exe", false), "C:\\q\\quorva.exe");
    EXPECT_EQ(integration::RunCommand("C:\\Program Files\\q\\quorva.exe", true),
              "\"C:\\Program Files\\q\\quorva.exe\" /hide");

    MemoryRegistry registry;
    const std::string exe = "C:\\Program Files\\q\\quorva.exe";
    // An old unquoted value is rewritten once.
    registry.SetStringValue(RegistryRoot::CurrentUser, integration::kRunKey, "quorva", exe);
    EXPECT_EQ(integration::ApplyAutoRun(registry, exe, true, false), 0);
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, integration::kRunKey, "quorva"), "\"" + exe + "\"");
    // The same in other letters: left alone.
    registry.SetStringValue(RegistryRoot::CurrentUser, integration::kRunKey, "quorva", "\"c:\\program files\\Q\\QUORVA.EXE\"");
    const int writes = registry.writeCount;
    EXPECT_EQ(integration::ApplyAutoRun(registry, exe, true, false), 0);
    EXPECT_EQ(registry.writeCount, writes);
    EXPECT_EQ(integration::ApplyAutoRun(registry, exe, true, true), 0);
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, integration::kRunKey, "quorva"), "\"" + exe + "\" /hide");
    EXPECT_EQ(integration::ApplyAutoRun(registry, exe, false, true), 0);
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, integration::kRunKey, "quorva"), "<none>");
    EXPECT_EQ(integration::ApplyAutoRun(registry, exe, false, false), 0) << "nothing to delete is no error";
}

}  // namespace
