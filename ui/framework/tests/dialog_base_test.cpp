#include "framework/callback_guard.h"
#include "framework/centring.h"
#include "framework/data_exchange.h"
#include "framework/dialog_base.h"

#include "dialog_test_driver.h"
#include "framework_test_ids.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using dialog_test::DialogScript;

class TestDialog : public framework::CDialogBase {
public:
    TestDialog() : CDialogBase(IDD_FRAMEWORK_TEST) {}

    bool throwOnInit = false;
    HWND seenAtInit = nullptr;
    LONG_PTR userDataAtInit = 0;
    std::string text;

protected:
    bool OnInitDialog() override {
        if (throwOnInit) throw std::runtime_error("init failed");
        seenAtInit = Hwnd();
        userDataAtInit = ::GetWindowLongPtrA(Hwnd(), DWLP_USER);
        framework::CDataExchange dx(Hwnd(), false);
        dx.Text(IDC_TEST_EDIT, text);
        return true;
    }
    bool OnCommand(WORD id, WORD code, HWND control) override {
        if (id == IDC_TEST_OTHER) {
            EndDialog(77);
            return true;
        }
        return CDialogBase::OnCommand(id, code, control);
    }
    void OnOK() override {
        framework::CDataExchange dx(Hwnd(), true);
        if (dx.Text(IDC_TEST_EDIT, text)) EndDialog(IDOK);
    }
};

TEST(DialogBase, ObjectIsConnectedAtInitAndOkReadsTheField) {
    TestDialog dialog;
    dialog.text = "before";
    std::string shown;
    DialogScript script;
    script.OnDialogWith(IDC_TEST_EDIT, [&](HWND d) {
        shown = dialog_test::ItemText(d, IDC_TEST_EDIT);
        ::SetDlgItemTextA(d, IDC_TEST_EDIT, "书签 after");
        dialog_test::Click(d, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(shown, "before");
    EXPECT_EQ(dialog.text, "书签 after");
    EXPECT_NE(dialog.seenAtInit, nullptr);
    EXPECT_EQ(dialog.userDataAtInit, reinterpret_cast<LONG_PTR>(&dialog));
    EXPECT_EQ(dialog.Hwnd(), nullptr) << "the object lets go of its window when it is destroyed";
}

TEST(DialogBase, EndCodesOfCancelEscapeAndOtherCommands) {
    struct Case {
        const char* what;
        std::function<void(HWND)> act;
        INT_PTR expected;
    };
    const Case cases[] = {
        {"cancel button", [](HWND d) { dialog_test::Click(d, IDCANCEL); }, IDCANCEL},
        {"escape", [](HWND d) { dialog_test::PressKey(d, VK_ESCAPE); }, IDCANCEL},
        {"close box", [](HWND d) { ::PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
        {"own command", [](HWND d) { dialog_test::Click(d, IDC_TEST_OTHER); }, 77},
        {"enter on the edit", [](HWND d) { dialog_test::PressKey(d, VK_RETURN); }, IDOK},
    };
    for (const auto& c : cases) {
        TestDialog dialog;
        DialogScript script;
        script.OnDialogWith(IDC_TEST_EDIT, c.act);
        EXPECT_EQ(dialog.DoModal(nullptr), c.expected) << c.what;
        EXPECT_TRUE(script.AllStepsRan()) << c.what << ": " << script.Failure();
    }
}

TEST(DialogBase, ExceptionDuringInitCancelsTheDialog) {
    TestDialog dialog;
    dialog.throwOnInit = true;
    const long before = framework::CallbackExceptionCount();
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    EXPECT_EQ(framework::CallbackExceptionCount(), before + 1);
}

TEST(DialogBase, MissingTemplateFails) {
    class NoTemplate : public framework::CDialogBase {
    public:
        NoTemplate() : CDialogBase(31999) {}
    } dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), -1);
}

TEST(DataExchange, WholeTextIsReadWithoutALengthLimit) {
    TestDialog dialog;
    const std::string longText(70000, 'x');
    dialog.text = longText;
    DialogScript script;
    script.OnDialogWith(IDC_TEST_EDIT, [&](HWND d) { dialog_test::Click(d, IDOK); });
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(dialog.text.size(), longText.size());
    EXPECT_EQ(dialog.text, longText);
}

class ExchangeFailureDialog : public TestDialog {
public:
    bool firstResult = true;
    bool laterResult = true;
    int failedId = 0;

protected:
    void OnOK() override {
        framework::CDataExchange dx(Hwnd(), true);
        std::string value;
        firstResult = dx.Text(4242, value);  // no such control
        laterResult = dx.Text(IDC_TEST_EDIT, value);
        failedId = dx.FailedId();
    }
};

TEST(DataExchange, FailedControlShowsTheMessageAndStopsTheExchange) {
    ExchangeFailureDialog dialog;
    std::string boxText, boxCaption;
    int boxesSeen = 0;
    DialogScript script;
    script.OnDialogWith(IDC_TEST_EDIT, [](HWND d) { dialog_test::Click(d, IDOK); })
        .OnMessageBox([&](HWND box) {
            ++boxesSeen;
            boxText = dialog_test::MessageBoxText(box);
            boxCaption = dialog_test::Text(box);
            dialog_test::Click(box, IDOK);
        })
        .OnDialogWith(IDC_TEST_EDIT, [](HWND d) { dialog_test::Click(d, IDCANCEL); });
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(boxesSeen, 1);
    EXPECT_EQ(boxText, "DDX error during exchange with control: 4242");
    EXPECT_EQ(boxCaption, "警告");
    EXPECT_FALSE(dialog.firstResult);
    EXPECT_FALSE(dialog.laterResult) << "no second message after the first failure";
    EXPECT_EQ(dialog.failedId, 4242);
}

TEST(Centring, OriginCentresAndStaysInTheWorkArea) {
    struct Case {
        RECT window, over, work;
        POINT expected;
    };
    const RECT work{0, 0, 1000, 700};
    const Case cases[] = {
        {{0, 0, 200, 100}, {100, 100, 500, 400}, work, {200, 200}},
        {{50, 50, 250, 150}, {100, 100, 500, 400}, work, {200, 200}},   // own position is irrelevant
        {{0, 0, 200, 100}, {900, 650, 1100, 750}, work, {800, 600}},    // pushed back in at the bottom right
        {{0, 0, 200, 100}, {-300, -300, -100, -100}, work, {0, 0}},     // and at the top left
        {{0, 0, 1200, 900}, {0, 0, 1000, 700}, work, {0, 0}},           // larger than the work area
        {{0, 0, 200, 100}, {0, 0, 1000, 100}, {0, 40, 1000, 700}, {400, 40}},     // below a taskbar on top
    };
    for (const auto& c : cases) {
        const POINT p = framework::CentredOrigin(c.window, c.over, c.work);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
    }
}

TEST(Centring, DialogIsCentredOnItsOwner) {
    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 80, 600, 400, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    TestDialog dialog;
    RECT placed{};
    DialogScript script;
    script.OnDialogWith(IDC_TEST_EDIT, [&](HWND d) {
        framework::CenterWindow(d);
        ::GetWindowRect(d, &placed);
        dialog_test::Click(d, IDCANCEL);
    });
    dialog.DoModal(owner);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    const int cx = (placed.left + placed.right) / 2;
    const int cy = (placed.top + placed.bottom) / 2;
    EXPECT_NEAR(cx, 400, 1);
    EXPECT_NEAR(cy, 280, 1);
    ::DestroyWindow(owner);
}

}  // namespace
