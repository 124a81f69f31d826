// Removing a type library's registration by hand.
#include <gtest/gtest.h>

#include "memory_registry.h"
#include "typelib_keys.h"

using integration::RegistryRoot;
using integration::RemoveTypeLibraryKeys;
using integration::TypeLibraryKeys;
using integration_test::MemoryRegistry;

namespace {

constexpr RegistryRoot kCR = RegistryRoot::ClassesRoot;

const TypeLibraryKeys kKeys{"{LIB}", "1.0", {"{IF1}", "{IF2}"}};

void RegisterLikeTheSystem(MemoryRegistry& reg, const std::string& version) {
    ASSERT_EQ(reg.SetStringValue(kCR, "TypeLib\\{LIB}\\" + version, "", "lib"), 0);
    ASSERT_EQ(reg.SetStringValue(kCR, "TypeLib\\{LIB}\\" + version + "\\0\\win64", "", "Z:\\gone\\q.exe"), 0);
    ASSERT_EQ(reg.SetStringValue(kCR, "TypeLib\\{LIB}\\" + version + "\\FLAGS", "", "0"), 0);
    for (const char* id : {"{IF1}", "{IF2}"}) {
        ASSERT_EQ(reg.SetStringValue(kCR, std::string("Interface\\") + id + "\\TypeLib", "", "{LIB}"), 0);
    }
}

TEST(TypeLibraryKeys, RemovesTheLibraryAndItsInterfacesButNothingElse) {
    MemoryRegistry reg;
    RegisterLikeTheSystem(reg, "1.0");
    ASSERT_EQ(reg.CreateKey(kCR, "TypeLib\\{OTHER}\\1.0"), 0);
    ASSERT_EQ(reg.CreateKey(kCR, "Interface\\{IF3}"), 0);
    EXPECT_EQ(RemoveTypeLibraryKeys(reg, kKeys), 0);
    const std::vector<std::string> left = {"HKCR\\Interface", "HKCR\\Interface\\{IF3}", "HKCR\\TypeLib",
                                           "HKCR\\TypeLib\\{OTHER}", "HKCR\\TypeLib\\{OTHER}\\1.0"};
    EXPECT_EQ(reg.Dump(), left);
}

TEST(TypeLibraryKeys, KeepsOtherVersionsOfTheLibrary) {
    MemoryRegistry reg;
    RegisterLikeTheSystem(reg, "1.0");
    ASSERT_EQ(reg.CreateKey(kCR, "TypeLib\\{LIB}\\2.0"), 0);
    EXPECT_EQ(RemoveTypeLibraryKeys(reg, kKeys), 0);
    EXPECT_FALSE(reg.KeyExists(kCR, "TypeLib\\{LIB}\\1.0"));
    EXPECT_TRUE(reg.KeyExists(kCR, "TypeLib\\{LIB}\\2.0"));
}

TEST(TypeLibraryKeys, NothingRegisteredIsNoFailureAndRefusalIsReported) {
    MemoryRegistry empty;
    EXPECT_EQ(RemoveTypeLibraryKeys(empty, kKeys), 0);
    EXPECT_EQ(empty.writeCount, 0);

    MemoryRegistry reg;
    RegisterLikeTheSystem(reg, "1.0");
    reg.DenyWritesUnder(kCR, "Interface\\{IF1}");
    EXPECT_EQ(RemoveTypeLibraryKeys(reg, kKeys), integration::ScriptResultFromRegistryError(5));
    EXPECT_FALSE(reg.KeyExists(kCR, "TypeLib\\{LIB}"));
    EXPECT_FALSE(reg.KeyExists(kCR, "Interface\\{IF2}"));

    EXPECT_EQ(RemoveTypeLibraryKeys(reg, TypeLibraryKeys{}), integration::kScriptSyntaxError);
}

}  // namespace
