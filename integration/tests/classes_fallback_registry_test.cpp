// Refused writes to the classes root land in the user's own classes.
#include <gtest/gtest.h>

#include "classes_fallback_registry.h"
#include "memory_registry.h"
#include "registry_script.h"
#include "test_support/temp_dir.h"

using integration::ClassesFallbackRegistry;
using integration::RegistryRoot;
using integration_test::MemoryRegistry;

namespace {

constexpr RegistryRoot kCR = RegistryRoot::ClassesRoot;
constexpr RegistryRoot kCU = RegistryRoot::CurrentUser;

std::string ServerScripts() {
    const std::string dir = QUORVA_AUTOMATION_RES_DIR;
    return testing_support::ReadBytes(dir + "/app_registration.rgs") +
           testing_support::ReadBytes(dir + "/iemenucatch.rgs");
}

const integration::ScriptReplacements kModule = {{"MODULE", "\"C:\\q\\quorva.exe\""}};

// The dump of a registry with "HKCU\Software\Classes" shown as "HKCR".
std::vector<std::string> AsClassesRoot(const std::vector<std::string>& dump) {
    std::vector<std::string> out;
    const std::string prefix = "HKCU\\Software\\Classes\\";
    for (const std::string& line : dump) {
        if (line.compare(0, prefix.size(), prefix) == 0) out.push_back("HKCR\\" + line.substr(prefix.size()));
    }
    return out;
}

TEST(ClassesFallbackRegistry, WritableClassesRootIsUsedAlone) {
    MemoryRegistry memory;
    ClassesFallbackRegistry reg(memory);
    ASSERT_EQ(reg.SetStringValue(kCR, "k\\sub", "n", "v"), 0);
    EXPECT_EQ(memory.Value(kCR, "k\\sub", "n"), "v");
    EXPECT_FALSE(memory.KeyExists(kCU, "Software\\Classes"));
}

TEST(ClassesFallbackRegistry, RefusedClassesRootRegistersTheServerForTheUser) {
    MemoryRegistry reference;
    ASSERT_EQ(integration::ApplyRegistryScript(reference, ServerScripts(), kModule, true), 0);

    MemoryRegistry memory;
    memory.DenyWritesUnder(kCR, "");
    ClassesFallbackRegistry reg(memory);
    ASSERT_EQ(integration::ApplyRegistryScript(reg, ServerScripts(), kModule, true), 0);
    EXPECT_EQ(AsClassesRoot(memory.Dump()), reference.Dump());
    // Registering again finds its own keys through the merged view.
    ASSERT_EQ(integration::ApplyRegistryScript(reg, ServerScripts(), kModule, true), 0);
    EXPECT_EQ(AsClassesRoot(memory.Dump()), reference.Dump());

    ASSERT_EQ(integration::ApplyRegistryScript(reg, ServerScripts(), kModule, false), 0);
    const std::vector<std::string> roots = {"HKCR\\AppID", "HKCR\\CLSID"};
    EXPECT_EQ(AsClassesRoot(memory.Dump()), roots);
}

TEST(ClassesFallbackRegistry, PartlyRefusedClassesRootIsReadAsOne) {
    MemoryRegistry memory;
    ASSERT_EQ(memory.CreateKey(kCR, "CLSID\\{theirs}"), 0);
    memory.DenyWritesUnder(kCR, "CLSID");
    ClassesFallbackRegistry reg(memory);
    ASSERT_EQ(reg.CreateKey(kCR, "CLSID\\{ours}\\LocalServer32"), 0);
    ASSERT_EQ(reg.CreateKey(kCR, "Elsewhere"), 0);
    EXPECT_TRUE(memory.KeyExists(kCU, "Software\\Classes\\CLSID\\{ours}\\LocalServer32"));
    EXPECT_TRUE(memory.KeyExists(kCR, "Elsewhere"));
    EXPECT_FALSE(memory.KeyExists(kCU, "Software\\Classes\\Elsewhere"));
    EXPECT_TRUE(reg.KeyExists(kCR, "CLSID\\{ours}"));
    EXPECT_TRUE(reg.KeyExists(kCR, "CLSID\\{theirs}"));
    EXPECT_TRUE(reg.HasSubkeys(kCR, "CLSID\\{ours}"));
    EXPECT_FALSE(reg.KeyExists(kCR, "CLSID\\{nobody}"));
    EXPECT_FALSE(reg.KeyExists(kCR, ""));
}

TEST(ClassesFallbackRegistry, DeletesClearBothPlaces) {
    MemoryRegistry memory;
    ASSERT_EQ(memory.SetStringValue(kCR, "k", "v", "machine"), 0);
    ASSERT_EQ(memory.SetStringValue(kCU, "Software\\Classes\\k", "v", "user"), 0);
    ClassesFallbackRegistry reg(memory);
    EXPECT_EQ(reg.DeleteValue(kCR, "k", "v"), 0);
    EXPECT_EQ(memory.Value(kCR, "k", "v"), "<none>");
    EXPECT_EQ(memory.Value(kCU, "Software\\Classes\\k", "v"), "<none>");
    EXPECT_EQ(reg.DeleteValue(kCR, "k", "v"), integration::kRegistryNotFound);

    EXPECT_EQ(reg.DeleteTree(kCR, "k"), 0);
    EXPECT_FALSE(memory.KeyExists(kCR, "k"));
    EXPECT_FALSE(memory.KeyExists(kCU, "Software\\Classes\\k"));
    EXPECT_TRUE(memory.KeyExists(kCU, "Software\\Classes"));
    EXPECT_EQ(reg.DeleteTree(kCR, "k"), integration::kRegistryNotFound);
    // Only in the user's classes: still found and removed.
    ASSERT_EQ(memory.CreateKey(kCU, "Software\\Classes\\u"), 0);
    EXPECT_EQ(reg.DeleteTree(kCR, "u"), 0);
    EXPECT_FALSE(memory.KeyExists(kCU, "Software\\Classes\\u"));
}

TEST(ClassesFallbackRegistry, RefusalEverywhereIsReported) {
    MemoryRegistry memory;
    memory.DenyWritesUnder(kCR, "");
    memory.DenyWritesUnder(kCU, "");
    ClassesFallbackRegistry reg(memory);
    EXPECT_EQ(reg.CreateKey(kCR, "k"), integration::kRegistryAccessDenied);
    EXPECT_EQ(reg.SetStringValue(kCR, "k", "", "v"), integration::kRegistryAccessDenied);
    EXPECT_EQ(integration::ApplyRegistryScript(reg, ServerScripts(), kModule, true),
              integration::ScriptResultFromRegistryError(integration::kRegistryAccessDenied));
    EXPECT_TRUE(memory.Dump().empty());
}

TEST(ClassesFallbackRegistry, OtherRootsHaveNoSecondPlace) {
    MemoryRegistry memory;
    memory.DenyWritesUnder(RegistryRoot::LocalMachine, "");
    ClassesFallbackRegistry reg(memory);
    EXPECT_EQ(reg.CreateKey(RegistryRoot::LocalMachine, "k"), integration::kRegistryAccessDenied);
    EXPECT_TRUE(memory.Dump().empty());
    ASSERT_EQ(reg.CreateKey(kCU, "k"), 0);
    EXPECT_EQ(reg.DeleteTree(kCU, "k"), 0);
    EXPECT_EQ(reg.DeleteTree(kCU, "k"), integration::kRegistryNotFound);
}

}  // namespace
