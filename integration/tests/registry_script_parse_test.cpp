// Reading registration scripts: structure, quoting, keywords, replacement of
// %NAME%, and every kind of malformed script.
#include <gtest/gtest.h>

#include "registry_script.h"

using integration::ParseRegistryScript;
using integration::RegistryRoot;
using integration::RegistryScript;
using integration::ScriptKey;
using integration::ScriptReplacements;

namespace {

RegistryScript MustParse(const std::string& text, const ScriptReplacements& repl = {}) {
    RegistryScript script;
    EXPECT_TRUE(ParseRegistryScript(text, repl, script)) << text;
    return script;
}

TEST(RegistryScriptParse, ReadsKeysFlagsDefaultAndNamedValues) {
    RegistryScript s = MustParse(
        "HKCR\n{\n"
        "  NoRemove CLSID\n  {\n"
        "    ForceRemove '{1-2}' = s 'Class name'\n    {\n"
        "      val AppID = s 'app'\n"
        "      ForceRemove 'Programmable'\n"
        "      LocalServer32 = s 'x.exe'\n"
        "    }\n"
        "  }\n"
        "  Delete Old\n"
        "}\n");
    ASSERT_EQ(s.roots.size(), 1u);
    EXPECT_EQ(s.roots[0].root, RegistryRoot::ClassesRoot);
    ASSERT_EQ(s.roots[0].keys.size(), 2u);

    const ScriptKey& clsid = s.roots[0].keys[0];
    EXPECT_EQ(clsid.name, "CLSID");
    EXPECT_EQ(clsid.flag, ScriptKey::Flag::NoRemove);
    EXPECT_FALSE(clsid.hasDefault);
    ASSERT_EQ(clsid.subkeys.size(), 1u);

    const ScriptKey& cls = clsid.subkeys[0];
    EXPECT_EQ(cls.name, "{1-2}");
    EXPECT_EQ(cls.flag, ScriptKey::Flag::ForceRemove);
    EXPECT_TRUE(cls.hasDefault);
    EXPECT_EQ(cls.defaultValue, "Class name");
    ASSERT_EQ(cls.values.size(), 1u);
    EXPECT_EQ(cls.values[0].name, "AppID");
    EXPECT_EQ(cls.values[0].data, "app");
    ASSERT_EQ(cls.subkeys.size(), 2u);
    EXPECT_EQ(cls.subkeys[0].name, "Programmable");
    EXPECT_EQ(cls.subkeys[0].flag, ScriptKey::Flag::ForceRemove);
    EXPECT_FALSE(cls.subkeys[0].hasDefault);
    EXPECT_EQ(cls.subkeys[1].name, "LocalServer32");
    EXPECT_EQ(cls.subkeys[1].flag, ScriptKey::Flag::Normal);
    EXPECT_EQ(cls.subkeys[1].defaultValue, "x.exe");

    EXPECT_EQ(s.roots[0].keys[1].name, "Old");
    EXPECT_EQ(s.roots[0].keys[1].flag, ScriptKey::Flag::Delete);
}

TEST(RegistryScriptParse, KeywordsAndRootNamesIgnoreCase) {
    RegistryScript s = MustParse(
        "hkey_current_user { noremove A { VAL x = S 'y' } } "
        "HKLM { forceremove B } hkcr { dElEtE C }");
    ASSERT_EQ(s.roots.size(), 3u);
    EXPECT_EQ(s.roots[0].root, RegistryRoot::CurrentUser);
    EXPECT_EQ(s.roots[1].root, RegistryRoot::LocalMachine);
    EXPECT_EQ(s.roots[2].root, RegistryRoot::ClassesRoot);
    EXPECT_EQ(s.roots[0].keys[0].flag, ScriptKey::Flag::NoRemove);
    EXPECT_EQ(s.roots[0].keys[0].values[0].data, "y");
    EXPECT_EQ(s.roots[1].keys[0].flag, ScriptKey::Flag::ForceRemove);
    EXPECT_EQ(s.roots[2].keys[0].flag, ScriptKey::Flag::Delete);
}

TEST(RegistryScriptParse, QuotingKeepsBracesSpacesKeywordsAndQuotes) {
    RegistryScript s = MustParse(
        "HKCR { 'a {b} = c' = s 'it''s { here }' { 'val' = s '' val '' = s 'default by name' } }");
    const ScriptKey& k = s.roots[0].keys[0];
    EXPECT_EQ(k.name, "a {b} = c");
    EXPECT_EQ(k.defaultValue, "it's { here }");
    ASSERT_EQ(k.subkeys.size(), 1u);
    EXPECT_EQ(k.subkeys[0].name, "val");  // quoted: a key, not the keyword
    EXPECT_TRUE(k.subkeys[0].hasDefault);
    EXPECT_EQ(k.subkeys[0].defaultValue, "");
    ASSERT_EQ(k.values.size(), 1u);
    EXPECT_EQ(k.values[0].name, "");
    EXPECT_EQ(k.values[0].data, "default by name");
}

TEST(RegistryScriptParse, DoubleByteCharactersStayWholeInUnquotedNames) {
    // 0x81 0x7B is one GBK character whose trail byte is '{'.
    RegistryScript s = MustParse("HKCR { k\x81\x7B = s 'v' }");
    ASSERT_EQ(s.roots[0].keys.size(), 1u);
    EXPECT_EQ(s.roots[0].keys[0].name, "k\x81\x7B");
    EXPECT_EQ(s.roots[0].keys[0].defaultValue, "v");
}

TEST(RegistryScriptParse, ReplacesVariablesAfterSplittingTokens) {
    const ScriptReplacements repl = {
        {"MODULE", "\"C:\\Bob's {tools}\\\xCA\xE9 q.exe\""},
        {"NAME", "n"},
    };
    RegistryScript s = MustParse(
        "HKCR { 'k%NAME%' = s '%MODULE%' { val 'v%NAME%' = s '100%% %NAME%%NAME%' } }", repl);
    const ScriptKey& k = s.roots[0].keys[0];
    EXPECT_EQ(k.name, "kn");
    EXPECT_EQ(k.defaultValue, "\"C:\\Bob's {tools}\\\xCA\xE9 q.exe\"");
    EXPECT_EQ(k.values[0].name, "vn");
    EXPECT_EQ(k.values[0].data, "100% nn");
}

TEST(RegistryScriptParse, EmptyScriptHasNoRoots) {
    EXPECT_TRUE(MustParse("").roots.empty());
    EXPECT_TRUE(MustParse(" \r\n\t ").roots.empty());
    EXPECT_TRUE(MustParse("HKCR { }").roots[0].keys.empty());
}

TEST(RegistryScriptParse, RejectsMalformedScripts) {
    const char* const cases[] = {
        "HKCR {",                          // body never closed
        "HKCR { A { }",                    // inner body closed, outer not
        "HKCR { A }}",                     // stray closing brace
        "HKXX { A }",                      // unknown root
        "'HKCR' { A }",                    // root must be a bare word
        "HKCR A",                          // root without body
        "HKCR { val A = s 'x' }",          // named value with no key to hold it
        "HKCR { A = x 'y' }",              // unknown value type
        "HKCR { A = d '5' }",              // numbers are not supported
        "HKCR { A = s }",                  // type without data
        "HKCR { A = }",                    // nothing after '='
        "HKCR { A { val B s 'x' } }",      // '=' missing
        "HKCR { A { val = s 'x' } }",      // value name missing
        "HKCR { '' = s 'x' }",             // empty key name
        "HKCR { 'a\\b' = s 'x' }",         // a key name is one key
        "HKCR { a\\b }",                   // also unquoted
        "HKCR { A = s 'open }",            // quote never closed
        "HKCR { NoRemove }",               // flag without name
        "HKCR { NoRemove { } }",           // flag followed by a body
        "HKCR { = s 'x' }",                // value without key
        "HKCR { A = s '%UNKNOWN%' }",      // variable without value
        "HKCR { A = s '%MODULE' }",        // variable never closed
        "HKCR { '%UNKNOWN%' }",            // also in names
    };
    const ScriptReplacements repl = {{"MODULE", "m"}};
    for (const char* text : cases) {
        RegistryScript s;
        EXPECT_FALSE(ParseRegistryScript(text, repl, s)) << text;
    }
}

TEST(RegistryScriptParse, RejectsNestingBeyondTheLimitButNotBelowIt) {
    auto nested = [](int depth) {
        std::string text = "HKCR { ";
        for (int i = 0; i < depth; ++i) text += "k { ";
        for (int i = 0; i < depth; ++i) text += "} ";
        return text + "}";
    };
    RegistryScript s;
    EXPECT_TRUE(ParseRegistryScript(nested(60), {}, s));
    EXPECT_FALSE(ParseRegistryScript(nested(5000), {}, s));
}

}  // namespace
