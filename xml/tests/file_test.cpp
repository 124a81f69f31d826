// LoadFile and SaveFile: result texts, bytes unchanged, and a failed save
// that leaves the old file as it was.
#include "platform/error_text.h"
#include "platform/file_io.h"
#include "test_support/temp_dir.h"
#include "xml_document.h"
#include "xml_test_util.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

struct LoadCase {
    const char* label;
    std::string bytes;
    bool wellFormed;
    std::string result;
};

class LoadResult : public testing::TestWithParam<LoadCase> {};

TEST_P(LoadResult, SaysTheSizeAndTheMessage) {
    const LoadCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.File("doc.xml");
    WriteBytes(path, c.bytes);
    CXmlDocument doc;
    EXPECT_EQ(doc.LoadFile(path), c.wellFormed);
    EXPECT_EQ(doc.ResultText(), c.result);
    EXPECT_EQ(doc.Text(), c.bytes) << "bytes are read unchanged";
}

const LoadCase kLoadCases[] = {
    {"well_formed", "<root/>\r\n", true, "9 bytes"},
    {"empty_file", "", false, "0 bytes, Empty document"},
    {"root_not_ended", "<?xml version=\"1.0\"?><root>\r\n", false, "29 bytes, Element 'root' at offset 21 not ended"},
    {"two_roots", "<a/><b/>", false, "8 bytes, Root element has sibling"},
    {"byte_order_mark_is_text", "\xEF\xBB\xBF<root/>", true, "10 bytes"},
    {"binary", std::string("\0\x01\xFF<\x80\0", 6), false, "6 bytes, No root element"},
    {"binary_inside_root", std::string("<r>\0\x01<\x80\0", 8), false, "8 bytes, Element tag at offset 5 unterminated"},
};

INSTANTIATE_TEST_SUITE_P(Table, LoadResult, testing::ValuesIn(kLoadCases),
                         [](const testing::TestParamInfo<LoadCase>& info) { return info.param.label; });

TEST(LoadFile, MissingFileGivesTheSystemsErrorText) {
    TempDir dir;
    CXmlDocument doc;
    doc.SetText("<old/>");
    EXPECT_FALSE(doc.LoadFile(dir.File("missing.xml")));
    // The system's own words (on Windows in the user's language), not the C
    // runtime's English.
    const std::string expected = platform::FileErrorText(ENOENT);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(doc.ResultText(), expected);
    EXPECT_EQ(doc.Text(), "") << "nothing of the previous document is left";
    EXPECT_FALSE(doc.FindElement());
}

TEST(SaveFile, WritesTheTextByteForByte) {
    TempDir dir;
    const std::string path = dir.File("out.xml");
    const std::string text = std::string(xmltest::kDeclaration) + "<root t=\"\xD6\xD0\">\r\n\x81\0x</root>\r\n";
    CXmlDocument doc;
    doc.SetText(std::string_view(text));
    ASSERT_TRUE(doc.SaveFile(path));
    EXPECT_EQ(ReadBytes(path), text);
    EXPECT_FALSE(std::filesystem::exists(platform::TemporaryPathFor(path)));

    CXmlDocument reread;
    reread.LoadFile(path);
    EXPECT_EQ(reread.Text(), text);
}

TEST(SaveFile, ReplacesAnExistingFile) {
    TempDir dir;
    const std::string path = dir.File("out.xml");
    WriteBytes(path, "a much longer old content than the new one");
    CXmlDocument doc;
    doc.SetText("<r/>");
    ASSERT_TRUE(doc.SaveFile(path));
    EXPECT_EQ(ReadBytes(path), "<r/>");
}

// Real file calls that fail at one chosen step.
class FailingOps : public platform::FileOps {
public:
    explicit FailingOps(int failAt) : failAt_(failAt) {}
    bool Create(const std::string& path) override { return Step(0) && real_.Create(path); }
    bool Write(const char* data, std::size_t size) override { return Step(1) && real_.Write(data, size); }
    bool Flush() override { return Step(2) && real_.Flush(); }
    bool Close() override { return real_.Close() && Step(3); }
    bool Replace(const std::string& from, const std::string& to) override { return Step(4) && real_.Replace(from, to); }
    bool Remove(const std::string& path) override { return real_.Remove(path); }
    std::string LastError() const override { return "simulated failure"; }

private:
    bool Step(int step) const { return step != failAt_; }
    int failAt_;
    platform::FileOps& real_ = platform::SystemFileOps();
};

TEST(SaveFile, AFailedSaveLeavesTheOldFileUntouched) {
    const std::string old = "<?xml version=\"1.0\"?><root>\r\n<G t=\"keep me\"/>\r\n</root>\r\n";
    for (int failAt = 0; failAt <= 4; ++failAt) {
        TempDir dir;
        const std::string path = dir.File("bookmark.xml");
        WriteBytes(path, old);
        CXmlDocument doc;
        doc.SetText("<root/>");
        FailingOps ops(failAt);
        EXPECT_FALSE(doc.SaveFile(path, ops)) << "step " << failAt;
        EXPECT_EQ(doc.ResultText(), "simulated failure");
        EXPECT_EQ(ReadBytes(path), old) << "step " << failAt;
        EXPECT_FALSE(std::filesystem::exists(platform::TemporaryPathFor(path))) << "step " << failAt;
    }
}

TEST(SaveFile, AMissingFolderIsReportedAsFailure) {
    TempDir dir;
    CXmlDocument doc;
    doc.SetText("<root/>");
    EXPECT_FALSE(doc.SaveFile(dir.File("no such folder/out.xml")));
    EXPECT_NE(doc.ResultText(), "") << "the system's text for the error";
    EXPECT_EQ(doc.Text(), "<root/>") << "the document itself is kept";
}

}  // namespace
