// What a script learns from a refused AddURL through IDispatch::Invoke, and
// the list of live objects the end of the program disconnects.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

#include "add_url_errors.h"
#include "iemenucatch.h"
#include "language.h"
#include "live_objects.h"
#include "pending_link_queue.h"

using integration::CIEMenuCatch;

namespace {

void DrainQueue() {
    while (PendingLinkQueue::Instance().PopFront()) {
    }
}

std::string Narrow(BSTR text) {
    if (!text) return {};
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1) ::WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

class ScriptErrors : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        ASSERT_EQ(integration::LoadIEMenuCatchTypeInfo(&typeInfo), S_OK);
        DrainQueue();
        ASSERT_EQ(CIEMenuCatch::Create(nullptr, typeInfo, IID_IDispatch, reinterpret_cast<void**>(&object)), S_OK);
    }
    void TearDown() override {
        if (object) object->Release();
        if (typeInfo) typeInfo->Release();
        DrainQueue();
        CLanguage::DestroyInstance();
        ::CoUninitialize();
    }

    // AddURL(url, title, 0) through Invoke, as a script calls it.
    HRESULT Call(const std::wstring& url, const std::wstring& title, EXCEPINFO* exception) {
        VARIANT args[3];
        args[0].vt = VT_I4;
        args[0].lVal = 0;
        args[1].vt = VT_BSTR;
        args[1].bstrVal = ::SysAllocStringLen(title.data(), static_cast<UINT>(title.size()));
        args[2].vt = VT_BSTR;
        args[2].bstrVal = ::SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
        DISPPARAMS params{args, nullptr, 3, 0};
        VARIANT result;
        ::VariantInit(&result);
        const HRESULT hr = object->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                                          exception, nullptr);
        ::VariantClear(&result);
        ::SysFreeString(args[1].bstrVal);
        ::SysFreeString(args[2].bstrVal);
        return hr;
    }

    ITypeInfo* typeInfo = nullptr;
    IDispatch* object = nullptr;
};

TEST_F(ScriptErrors, ARefusalCarriesTheRealCodeAndAText) {
    struct Case {
        const char* name;
        std::size_t urlLength;
        std::size_t queued;  // links waiting before the call
        HRESULT code;        // in the exception information; S_OK: none
    };
    const Case cases[] = {
        {"accepted", 20, 0, S_OK},
        {"URL over the limit", 70000, 0, E_INVALIDARG},
        {"queue full", 20, kMaxPendingLinks, E_OUTOFMEMORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DrainQueue();
        for (std::size_t i = 0; i < c.queued; ++i) {
            PendingLink link;
            link.title = "t";
            link.url = "http://waiting/" + std::to_string(i);
            PendingLinkQueue::Instance().Push(std::move(link));
        }
        EXCEPINFO exception{};
        const HRESULT hr = Call(L"http://" + std::wstring(c.urlLength, L'u'), L"title", &exception);
        if (c.code == S_OK) {
            EXPECT_EQ(hr, S_OK);
            EXPECT_EQ(exception.scode, S_OK);
            continue;
        }
        EXPECT_EQ(hr, DISP_E_EXCEPTION);
        EXPECT_EQ(exception.scode, c.code);
        EXPECT_EQ(exception.wCode, 0);
        EXPECT_EQ(Narrow(exception.bstrDescription), integration::AddUrlErrorText(c.code));
        EXPECT_EQ(Narrow(exception.bstrSource), "quorva.IEMenuCatch");
        ::SysFreeString(exception.bstrSource);
        ::SysFreeString(exception.bstrDescription);
        ::SysFreeString(exception.bstrHelpFile);
        // Without room for the information the code still comes back.
        EXPECT_EQ(Call(L"http://" + std::wstring(c.urlLength, L'u'), L"title", nullptr), DISP_E_EXCEPTION);
    }
}

TEST_F(ScriptErrors, TextsAreTheBuiltInChineseWithoutAPack) {
    EXPECT_EQ(integration::AddUrlErrorText(E_INVALIDARG), "网址或标题太长(超过 64 KiB),链接没有被收下。");
    EXPECT_EQ(integration::AddUrlErrorText(E_OUTOFMEMORY), "等待收藏的链接太多(或内存不足),链接没有被收下。");
    EXPECT_EQ(integration::AddUrlErrorText(E_UNEXPECTED), "链接没有被收下。");
}

TEST_F(ScriptErrors, LiveObjectsAreListedUntilTheyEnd) {
    const std::size_t before = integration::LiveObjectCount();
    IUnknown* second = nullptr;
    ASSERT_EQ(CIEMenuCatch::Create(nullptr, typeInfo, IID_IUnknown, reinterpret_cast<void**>(&second)), S_OK);
    EXPECT_EQ(integration::LiveObjectCount(), before + 1);
    // Never handed to another process: disconnecting leaves it to its holder.
    integration::DisconnectLiveObjects();
    EXPECT_EQ(integration::LiveObjectCount(), before + 1);
    second->Release();
    EXPECT_EQ(integration::LiveObjectCount(), before);
}

}  // namespace
