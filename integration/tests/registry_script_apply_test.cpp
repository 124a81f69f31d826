// Registering and unregistering scripts against a registry in memory,
// including the program's own server scripts.
#include <gtest/gtest.h>

#include "memory_registry.h"
#include "registry_script.h"
#include "test_support/temp_dir.h"

using integration::ApplyRegistryScript;
using integration::kScriptOk;
using integration::kScriptSyntaxError;
using integration::RegistryRoot;
using integration::ScriptReplacements;
using integration_test::MemoryRegistry;

namespace {

constexpr RegistryRoot kCR = RegistryRoot::ClassesRoot;
constexpr integration::ScriptResult kAccessDenied = static_cast<integration::ScriptResult>(0x80070005);

const char kClsid[] = "{68BEE70A-6039-49E2-9D89-13E7F8773E3B}";
const char kAppId[] = "{F348F773-961D-4E12-880C-D36388906F86}";
const char kLibId[] = "{A8CFD0CB-E980-4A82-8119-156378A05D4C}";
const char kModule[] = "\"C:\\Program Files\\\xC0\xB6\xD6\xDB\\quorva.exe\"";

std::string ServerScript(const char* file) {
    std::string text = testing_support::ReadBytes(std::string(QUORVA_AUTOMATION_RES_DIR) + "/" + file);
    EXPECT_FALSE(text.empty()) << file;
    return text;
}

class ServerScripts : public ::testing::Test {
protected:
    integration::ScriptResult Apply(bool registering) {
        const ScriptReplacements repl = {{"MODULE", kModule}};
        if (registering) {
            if (auto r = ApplyRegistryScript(reg, ServerScript("app_registration.rgs"), repl, true)) return r;
            return ApplyRegistryScript(reg, ServerScript("iemenucatch.rgs"), repl, true);
        }
        auto r1 = ApplyRegistryScript(reg, ServerScript("app_registration.rgs"), repl, false);
        auto r2 = ApplyRegistryScript(reg, ServerScript("iemenucatch.rgs"), repl, false);
        return r1 ? r1 : r2;
    }

    MemoryRegistry reg;
};

TEST_F(ServerScripts, RegisterWritesExactlyTheServerKeys) {
    ASSERT_EQ(Apply(true), kScriptOk);
    const std::string cls = std::string("HKCR\\CLSID\\") + kClsid;
    const std::vector<std::string> expected = {
        "HKCR\\AppID",
        std::string("HKCR\\AppID\\") + kAppId,
        std::string("HKCR\\AppID\\") + kAppId + "|=quorva",
        "HKCR\\AppID\\quorva.EXE",
        std::string("HKCR\\AppID\\quorva.EXE|AppID=") + kAppId,
        "HKCR\\CLSID",
        cls,
        cls + "\\LocalServer32",
        cls + "\\LocalServer32|=" + kModule,
        cls + "\\ProgID",
        cls + "\\ProgID|=quorva.IEMenuCatch.1",
        cls + "\\Programmable",
        cls + "\\TypeLib",
        cls + "\\TypeLib|=" + kLibId,
        cls + "\\VersionIndependentProgID",
        cls + "\\VersionIndependentProgID|=quorva.IEMenuCatch",
        cls + "|=IEMenuCatch Class",
        cls + "|AppID=" + kAppId,
        "HKCR\\quorva.IEMenuCatch",
        "HKCR\\quorva.IEMenuCatch.1",
        "HKCR\\quorva.IEMenuCatch.1\\CLSID",
        std::string("HKCR\\quorva.IEMenuCatch.1\\CLSID|=") + kClsid,
        "HKCR\\quorva.IEMenuCatch.1|=IEMenuCatch Class",
        "HKCR\\quorva.IEMenuCatch\\CLSID",
        std::string("HKCR\\quorva.IEMenuCatch\\CLSID|=") + kClsid,
        "HKCR\\quorva.IEMenuCatch\\CurVer",
        "HKCR\\quorva.IEMenuCatch\\CurVer|=quorva.IEMenuCatch.1",
        "HKCR\\quorva.IEMenuCatch|=IEMenuCatch Class",
    };
    std::vector<std::string> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(reg.Dump(), sorted);
}

TEST_F(ServerScripts, RegisteringTwiceLeavesTheSameKeys) {
    ASSERT_EQ(Apply(true), kScriptOk);
    const auto once = reg.Dump();
    ASSERT_EQ(Apply(true), kScriptOk);
    EXPECT_EQ(reg.Dump(), once);
}

TEST_F(ServerScripts, RegisterReplacesAStaleClassKeyWhole) {
    const std::string cls = std::string("CLSID\\") + kClsid;
    ASSERT_EQ(reg.SetStringValue(kCR, cls + "\\InprocServer32", "", "old.dll"), 0);
    ASSERT_EQ(reg.SetStringValue(kCR, cls, "Stale", "1"), 0);
    ASSERT_EQ(Apply(true), kScriptOk);
    EXPECT_FALSE(reg.KeyExists(kCR, cls + "\\InprocServer32"));
    EXPECT_EQ(reg.Value(kCR, cls, "Stale"), "<none>");
    EXPECT_EQ(reg.Value(kCR, cls + "\\LocalServer32"), kModule);
}

TEST_F(ServerScripts, UnregisterRemovesClassKeysAndKeepsTheRoots) {
    // Keys of other programs under the shared roots.
    ASSERT_EQ(reg.SetStringValue(kCR, "CLSID\\{other}", "", "x"), 0);
    ASSERT_EQ(reg.SetStringValue(kCR, "AppID\\{other}", "", "y"), 0);
    ASSERT_EQ(Apply(true), kScriptOk);
    ASSERT_EQ(Apply(false), kScriptOk);
    const std::vector<std::string> expected = {
        "HKCR\\AppID", "HKCR\\AppID\\{other}", "HKCR\\AppID\\{other}|=y",
        "HKCR\\CLSID", "HKCR\\CLSID\\{other}", "HKCR\\CLSID\\{other}|=x",
    };
    EXPECT_EQ(reg.Dump(), expected);
}

TEST_F(ServerScripts, UnregisterWhenNothingIsRegisteredWritesNothing) {
    EXPECT_EQ(Apply(false), kScriptOk);
    EXPECT_EQ(reg.writeCount, 0);
    EXPECT_TRUE(reg.Dump().empty());
}

TEST_F(ServerScripts, UnregisterKeepsAProgIdKeyThatHoldsForeignSubkeys) {
    ASSERT_EQ(Apply(true), kScriptOk);
    ASSERT_EQ(reg.CreateKey(kCR, "quorva.IEMenuCatch\\Added by someone"), 0);
    ASSERT_EQ(Apply(false), kScriptOk);
    EXPECT_TRUE(reg.KeyExists(kCR, "quorva.IEMenuCatch\\Added by someone"));
    EXPECT_FALSE(reg.KeyExists(kCR, "quorva.IEMenuCatch\\CLSID"));
    EXPECT_FALSE(reg.KeyExists(kCR, "quorva.IEMenuCatch\\CurVer"));
    EXPECT_EQ(reg.Value(kCR, "quorva.IEMenuCatch"), "<none>");
    EXPECT_FALSE(reg.KeyExists(kCR, "quorva.IEMenuCatch.1"));
}

TEST_F(ServerScripts, RefusedWriteStopsRegisteringWithTheSystemError) {
    reg.DenyWritesUnder(kCR, "CLSID");
    EXPECT_EQ(Apply(true), kAccessDenied);
    // Keys before the refused one were written, none after it.
    EXPECT_TRUE(reg.KeyExists(kCR, "quorva.IEMenuCatch\\CurVer"));
    EXPECT_FALSE(reg.KeyExists(kCR, "CLSID"));
}

TEST_F(ServerScripts, RefusedDeleteIsReportedButTheRestIsStillRemoved) {
    ASSERT_EQ(Apply(true), kScriptOk);
    reg.DenyWritesUnder(kCR, "quorva.IEMenuCatch.1");
    EXPECT_EQ(Apply(false), kAccessDenied);
    EXPECT_TRUE(reg.KeyExists(kCR, "quorva.IEMenuCatch.1\\CLSID"));
    EXPECT_FALSE(reg.KeyExists(kCR, "quorva.IEMenuCatch"));
    EXPECT_FALSE(reg.KeyExists(kCR, std::string("CLSID\\") + kClsid));
    EXPECT_FALSE(reg.KeyExists(kCR, std::string("AppID\\") + kAppId));
}

TEST(RegistryScriptApply, SyntaxErrorWritesNothing) {
    MemoryRegistry reg;
    EXPECT_EQ(ApplyRegistryScript(reg, "HKCR { A = s 'a' } HKCR { B = s 'b' ", {}, true), kScriptSyntaxError);
    EXPECT_EQ(ApplyRegistryScript(reg, "HKCR { A = s 'a' } HKCR { B = s 'b' ", {}, false), kScriptSyntaxError);
    EXPECT_EQ(reg.writeCount, 0);
}

TEST(RegistryScriptApply, DeleteKeysGoOnRegisteringAndTheirBodiesAreNotWritten) {
    MemoryRegistry reg;
    ASSERT_EQ(reg.SetStringValue(kCR, "Old\\Sub", "", "x"), 0);
    EXPECT_EQ(ApplyRegistryScript(reg, "HKCR { Delete Old { Sub = s 'y' } Gone = s 'g' }", {}, true), kScriptOk);
    EXPECT_FALSE(reg.KeyExists(kCR, "Old"));
    EXPECT_EQ(reg.Value(kCR, "Gone"), "g");
    // Deleting a key that is not there is no failure.
    EXPECT_EQ(ApplyRegistryScript(reg, "HKCR { Delete Old }", {}, true), kScriptOk);
}

TEST(RegistryScriptApply, UnregisterRemovesNamedValuesFromKeptKeys) {
    MemoryRegistry reg;
    const char* script = "HKCU { NoRemove Soft = s 'keep' { val Mine = s '1' } }";
    ASSERT_EQ(reg.SetStringValue(RegistryRoot::CurrentUser, "Soft", "Theirs", "2"), 0);
    ASSERT_EQ(ApplyRegistryScript(reg, script, {}, true), kScriptOk);
    EXPECT_EQ(reg.Value(RegistryRoot::CurrentUser, "Soft", "Mine"), "1");
    ASSERT_EQ(ApplyRegistryScript(reg, script, {}, false), kScriptOk);
    EXPECT_EQ(reg.Value(RegistryRoot::CurrentUser, "Soft", "Mine"), "<none>");
    EXPECT_EQ(reg.Value(RegistryRoot::CurrentUser, "Soft", "Theirs"), "2");
    EXPECT_EQ(reg.Value(RegistryRoot::CurrentUser, "Soft"), "keep");
}

TEST(RegistryScriptApply, KeyNamesMatchExistingKeysWithoutCase) {
    MemoryRegistry reg;
    ASSERT_EQ(reg.CreateKey(kCR, "CLSID"), 0);
    ASSERT_EQ(ApplyRegistryScript(reg, "HKCR { NoRemove clsid { k = s 'v' } }", {}, true), kScriptOk);
    EXPECT_EQ(reg.Value(kCR, "CLSID\\K"), "v");
    ASSERT_EQ(ApplyRegistryScript(reg, "HKCR { NoRemove Clsid { K = s 'v' } }", {}, false), kScriptOk);
    EXPECT_EQ(reg.Dump(), std::vector<std::string>{"HKCR\\CLSID"});
}

TEST(RegistryScriptApply, ErrorCodesHaveTheSystemLayout) {
    EXPECT_EQ(integration::ScriptResultFromRegistryError(0), 0);
    EXPECT_EQ(integration::ScriptResultFromRegistryError(5), kAccessDenied);
    EXPECT_EQ(static_cast<std::uint32_t>(integration::ScriptResultFromRegistryError(1021)), 0x800703FDu);
}

}  // namespace
