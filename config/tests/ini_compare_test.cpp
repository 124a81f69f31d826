// Our ini reader against the system's profile reader (GetPrivateProfileStringA)
// on the same files: every key either reader can see, in several spellings,
// must give the same text.
#include "ini_file.h"

#include "test_support/temp_dir.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#ifndef QUORVA_LANGUAGE_DIR
#error "QUORVA_LANGUAGE_DIR must name the folder of the shipped packs"
#endif

namespace {

using namespace std::string_literals;
using Query = std::pair<std::string, std::string>;

struct FileCase {
    std::string name;
    std::string bytes;
    std::vector<Query> queries;  // asked besides every key found in the file
};

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

const char kDefault[] = "<default>";

std::string SystemLookup(const std::string& path, const Query& q) {
    // Zeroed: where the system reader stops inside a double-byte character it
    // leaves the last byte of the buffer as it was.
    char buffer[260] = {};
    ::GetPrivateProfileStringA(q.first.c_str(), q.second.c_str(), kDefault, buffer, sizeof buffer, path.c_str());
    return buffer;
}

std::string OurLookup(const IniFile& ini, const Query& q) {
    const std::string* v = ini.Find(q.first, q.second);
    return v ? *v : kDefault;
}

std::string Visible(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

std::string Lower(std::string s) {
    for (char& c : s) if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

class TwoReaders : public ::testing::TestWithParam<FileCase> {};

TEST_P(TwoReaders, Agree) {
    const FileCase& c = GetParam();
    testing_support::TempDir dir;
    // A name of its own per file: the system reader caches files by name.
    const std::string path = dir.File(c.name + ".ini");
    testing_support::WriteBytes(path, c.bytes);
    IniFile ini;
    ASSERT_TRUE(ini.Load(path));

    std::set<Query> queries(c.queries.begin(), c.queries.end());
    for (const IniFile::Entry& e : ini.Entries()) {
        if (e.section.empty() || e.key.empty()) continue;  // "" asks the system for a list
        queries.insert({e.section, e.key});
        queries.insert({Lower(e.section), ini_text::FoldCase(e.key)});
        queries.insert({" " + e.section + " ", e.key + "\t"});
    }
    int compared = 0;
    for (const Query& q : queries) {
        if (q.first.empty() || q.second.empty()) continue;
        std::string system = SystemLookup(path, q);
        std::string ours = OurLookup(ini, q);
        EXPECT_EQ(Visible(ours), Visible(system)) << "[" << Visible(q.first) << "] " << Visible(q.second);
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

std::string Repeat(const std::string& unit, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += unit;
    return s;
}

std::string Letters(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
    return s;
}

// Files made of the characters the rules care about, from a fixed seed.
std::vector<FileCase> RandomFiles() {
    const std::vector<std::string> names = {"a", "A", "b", "k y", " a ", "\x81\x61", "\x81\x41", "[x", "x]", ";a", "s", "S"};
    const std::vector<std::string> pieces = {"[", "]", "=", "\"", "'", " ", "\t", "a", "A", "\x81", "\x5C", "\xA1\xA1",
                                             "\x81\x5D", "\x1A", ";", "x", "\xD6\xD0", "\x80", "\xFE\x40", "\\n"};
    const std::vector<std::string> endings = {"\r\n", "\n", "\r", "\r\n\r\n"};
    std::uint32_t seed = 20261207;
    auto next = [&seed](std::size_t n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<std::size_t>((seed >> 8) % n);
    };
    std::vector<FileCase> files;
    for (int f = 0; f < 40; ++f) {
        FileCase c;
        c.name = "random" + std::to_string(f);
        int lines = 3 + static_cast<int>(next(12));
        for (int l = 0; l < lines; ++l) {
            std::string value;
            for (std::size_t n = next(8); n > 0; --n) value += pieces[next(pieces.size())];
            switch (next(5)) {
            case 0: c.bytes += "[" + names[next(names.size())] + "]" + (next(3) == 0 ? value : ""); break;
            case 1: c.bytes += names[next(names.size())] + std::string(next(3), ' ') + "=" + value; break;
            case 2: c.bytes += names[next(names.size())]; break;
            case 3: c.bytes += names[next(names.size())] + "=\"" + value + (next(2) ? "\"" : "'"); break;
            default: c.bytes += value; break;
            }
            c.bytes += endings[next(endings.size())];
        }
        for (const std::string& s : names) {
            for (const std::string& k : names) c.queries.push_back({s, k});
        }
        files.push_back(std::move(c));
    }
    return files;
}

std::string ShippedPack(const char* name) {
    std::string bytes;
    std::FILE* f = std::fopen((std::string(QUORVA_LANGUAGE_DIR) + "/" + name).c_str(), "rb");
    if (!f) return "[missing]\r\nfile=" + std::string(name) + "\r\n";
    char block[4096];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) bytes.append(block, n);
    std::fclose(f);
    return bytes;
}

std::vector<FileCase> Cases() {
    std::vector<FileCase> cases = {
        {"rules",
         "top=0\r\n[A]\r\nx=1\r\nX=2\r\n  sp  =  v a l  \r\nnoeq\r\nnoeq=late\r\n;c=1\r\n#d=2\r\nq1=\"abc\"\r\n"
         "q2='abc'\r\nq3=\"abc'\r\nq4=\"\r\nq5=\"\"\r\nq6=\"a\"b\"\r\nq7= \"abc\" \r\neq=a=b\r\nempty=\r\n"
         "[B] junk\r\ny=2\r\n[ C ]\r\nz=3\r\n[D]]]\r\nw=4\r\n[a]\r\nx=dup\r\nnew=dup\r\n[E\r\ne=5\r\n",
         {{"A", "noeq"}, {"A", "new"}, {"A", "c"}, {"C", "z"}, {"D", "w"}, {"E", "e"}, {"A", "missing"}, {"Z", "x"}}},
        {"lineEnds", "[A]\rcr=1\r\nlf=2\ncrcr=3\r\r\n\nlast=4", {}},
        {"spaces", "[A]\r\n\x0b" "a\x0c=\x1a" "b\x1a\r\n\t[B]\t\r\nc=\xA1\xA1" "d\xA1\xA1\r\n", {{"B", "c"}}},
        {"nuls", "[A]\r\nk\0y=1\r\nv=ab\0cd\r\n[B\0C]\r\nx=1\r\n"s, {{"A", "k"}, {"B", "x"}}},
        {"leadBytes",
         "[A]\r\na=\x81\x7F" "b\r\nb=\x81\x40" "b\r\nc=\x81\xFE" "b\r\nd=\x81\xFF" "b\r\ne=\x81\x80" "b\r\n"
         "f=\x81\x20z\r\ng=\x81\r\nh=\xFF\xFF\x80\r\ni=\x81\x30\x81\x30\r\nx\x81=1\r\n[\x81\x5D\x81\x5D]\r\nk=v\r\n"
         "[L]\nlf=a\x81\nnext=2\nnul=a\x81\0zz\n"s,
         {{"A", "x"}, {"L", "next"}}},
        {"everyByte", [] {
             std::string s = "[A]\r\n";
             for (int i = 1; i < 256; ++i) {
                 if (i == '\r' || i == '\n') continue;
                 s += "k" + std::to_string(i) + "=<" + std::string(1, static_cast<char>(i)) + ">\r\n";
                 s += "p" + std::to_string(i) + "=<\x81" + std::string(1, static_cast<char>(i)) + ">\r\n";
             }
             return s;
         }(), {}},
        {"longValues",
         "[A]\r\na=" + Letters(300) + "\r\nb=" + Repeat("\xD6\xD0", 150) + "\r\nc=a" + Repeat("\xD6\xD0", 150) +
             "\r\nd=\"" + Letters(258) + "\"\r\ne=\"" + Letters(300) + "\"\r\nf=" + std::string(10000, 'z') +
             "\r\ng=x" + Repeat("\xD6\xD0", 129) + "\r\nh=\"" + Repeat("\xD6\xD0", 129) + "xy\"\r\nafter=ok\r\n",
         {}},
        {"utf8Bom", "\xEF\xBB\xBF[A]\r\nx=\xE4\xB8\xAD\xE6\x96\x87\r\nbad=\xD6\xD0z\r\nemoji=\xF0\x9F\x98\x80q\r\n", {}},
        {"utf16Le", "\xFF\xFE[\0A\0]\0\r\0\n\0x\0=\0\x2d\x4e\r\0\n\0s\0=\0\x3d\xd8\x00\xde\x3d\xd8q\0\r\0\n\0"s, {}},
        {"utf16Be", "\xFE\xFF\0[\0A\0]\0\r\0\n\0x\0=\x4e\x2d\0\r\0\n"s, {}},
        {"empty", "", {{"A", "x"}}},
        {"noSections", "x=1\r\ny=2\r\n", {{"A", "x"}}},
        {"manySections", [] {
             std::string s;
             for (int i = 0; i < 300; ++i) s += "[s" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
             return s + "[s5]\r\nk=again\r\n";
         }(), {}},
        {"English", ShippedPack("English.ini"), {}},
        {"Chinese", ShippedPack("Chinese.ini"), {}},
    };
    for (FileCase& c : RandomFiles()) cases.push_back(std::move(c));
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Files, TwoReaders, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<FileCase>& info) { return info.param.name; });

TEST(TwoReadersKnownDifference, QuotedValueOfExactly259Characters) {
    // The system reader drops the last character of such a value (it cuts to
    // the buffer before removing the closing quote); ours keeps it.
    testing_support::TempDir dir;
    const std::string path = dir.File("quoted259.ini");
    const std::string text = Letters(259);
    testing_support::WriteBytes(path, "[A]\r\nd=\"" + text + "\"\r\n");
    IniFile ini;
    ASSERT_TRUE(ini.Load(path));
    EXPECT_EQ(SystemLookup(path, {"A", "d"}), text.substr(0, 258));
    EXPECT_EQ(OurLookup(ini, {"A", "d"}), text);
}

}  // namespace
