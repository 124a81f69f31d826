// The automation object in this process: its interfaces, the calls a script
// makes through IDispatch, the links it queues and the lock it holds.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "automation_host.h"
#include "iemenucatch.h"
#include "iemenucatch_factory.h"
#include "pending_link_queue.h"

using integration::CIEMenuCatch;

namespace {

class CountingLock : public integration::ProcessLock {
public:
    void Lock() override { ++count; }
    void Unlock() override { --count; }
    int count = 0;
};

// A BSTR owned for the length of a test.
class Bstr {
public:
    explicit Bstr(const wchar_t* text) : s_(text ? ::SysAllocString(text) : nullptr) {}
    Bstr(const wchar_t* text, UINT length) : s_(::SysAllocStringLen(text, length)) {}
    ~Bstr() { ::SysFreeString(s_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR Get() const { return s_; }

private:
    BSTR s_;
};

std::vector<PendingLink> DrainQueue() {
    std::vector<PendingLink> links;
    while (auto link = PendingLinkQueue::Instance().PopFront()) links.push_back(std::move(*link));
    return links;
}

class AutomationObject : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        integration::SetProcessLock(&lock);
        window = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        integration::SetLinkWindow(window);
        ASSERT_EQ(integration::LoadIEMenuCatchTypeInfo(&typeInfo), S_OK);
        DrainQueue();
        ASSERT_EQ(CIEMenuCatch::Create(nullptr, typeInfo, IID_IIEMenuCatch, reinterpret_cast<void**>(&object)),
                  S_OK);
    }

    void TearDown() override {
        if (object) object->Release();
        if (typeInfo) typeInfo->Release();
        integration::SetLinkWindow(nullptr);
        integration::SetProcessLock(nullptr);
        ::DestroyWindow(window);
        DrainQueue();
        ::CoUninitialize();
    }

    // Takes every queued "links pending" message of the window; their number.
    int TakeLinkMessages() {
        int n = 0;
        MSG msg;
        while (::PeekMessageA(&msg, window, integration::kLinksPendingMessage, integration::kLinksPendingMessage,
                              PM_REMOVE)) {
            EXPECT_EQ(msg.wParam, 0u);
            EXPECT_EQ(msg.lParam, 0);
            ++n;
        }
        return n;
    }

    // AddURL through IDispatch::Invoke, the way a script calls it.
    HRESULT InvokeAddUrl(std::vector<VARIANT> argsInCallOrder, UINT* argError = nullptr) {
        std::vector<VARIANT> reversed(argsInCallOrder.rbegin(), argsInCallOrder.rend());
        DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        VARIANT result;
        ::VariantInit(&result);
        UINT err = 0;
        HRESULT hr = object->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr,
                                    &err);
        if (argError) *argError = err;
        ::VariantClear(&result);
        return hr;
    }

    CountingLock lock;
    HWND window = nullptr;
    ITypeInfo* typeInfo = nullptr;
    IIEMenuCatch* object = nullptr;
};

VARIANT Str(const Bstr& s) {
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = s.Get();
    return v;
}

VARIANT Int(LONG n) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

TEST_F(AutomationObject, AnswersItsThreeInterfacesWithOneIdentity) {
    IUnknown* identity = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    for (REFIID iid : {IID_IDispatch, IID_IIEMenuCatch, IID_IUnknown}) {
        IUnknown* p = nullptr;
        ASSERT_EQ(object->QueryInterface(iid, reinterpret_cast<void**>(&p)), S_OK);
        IUnknown* again = nullptr;
        ASSERT_EQ(p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)), S_OK);
        EXPECT_EQ(again, identity);
        again->Release();
        p->Release();
    }
    for (REFIID iid : {IID_IClassFactory, IID_IPersist, IID_IMarshal}) {
        void* p = reinterpret_cast<void*>(1);
        EXPECT_EQ(object->QueryInterface(iid, &p), E_NOINTERFACE);
        EXPECT_EQ(p, nullptr);
    }
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    identity->Release();
}

TEST_F(AutomationObject, HoldsOneProcessLockWhileItLives) {
    EXPECT_EQ(lock.count, 1);
    IIEMenuCatch* second = nullptr;
    ASSERT_EQ(CIEMenuCatch::Create(nullptr, typeInfo, IID_IIEMenuCatch, reinterpret_cast<void**>(&second)), S_OK);
    EXPECT_EQ(lock.count, 2);
    second->AddRef();
    EXPECT_EQ(second->Release(), 1u);
    EXPECT_EQ(lock.count, 2);
    EXPECT_EQ(second->Release(), 0u);
    EXPECT_EQ(lock.count, 1);
    object->Release();
    object = nullptr;
    EXPECT_EQ(lock.count, 0);
}

TEST_F(AutomationObject, AddUrlQueuesTheLinkInAnsiBytesAndTellsTheWindow) {
    ASSERT_EQ(::GetACP(), 936u) << "the tests run with the GBK code page";
    struct Case {
        const wchar_t* url;
        UINT urlLength;  // with embedded characters; 0: up to the terminator
        const wchar_t* title;
        LONG flag;
        std::string wantUrl;
        std::string wantTitle;
    };
    const Case cases[] = {
        {L"http://example.com/", 0, L"Example", 0, "http://example.com/", "Example"},
        {L"http://\x4E66.cn/", 0, L"\x4E66\x7B7E", 1, "http://\xCA\xE9.cn/", "\xCA\xE9\xC7\xA9"},  // 书签
        {nullptr, 0, nullptr, -1, "", ""},
        {L"", 0, L"", INT_MAX, "", ""},
        {L"a\0b", 3, L"only url", INT_MIN, "a", "only url"},
        {L"x", 0, L"\xD800 lone \xDC00", 7, "x", "？ lone ？"},
        // Outside the code page: the address percent-encoded, the title's
        // characters shown as stand-ins, its colon full-width.
        {L"https://ko.wikipedia.org/wiki/\xB300\xD55C", 0, L"\xB300\xD55C: wiki", 0,
         "https://ko.wikipedia.org/wiki/%EB%8C%80%ED%95%9C", "？？： wiki"},
    };
    for (const Case& c : cases) {
        Bstr url = c.urlLength ? Bstr(c.url, c.urlLength) : Bstr(c.url);
        Bstr title(c.title);
        EXPECT_EQ(object->AddURL(url.Get(), title.Get(), c.flag), S_OK);
    }
    const std::vector<PendingLink> links = DrainQueue();
    ASSERT_EQ(links.size(), std::size(cases));
    for (size_t i = 0; i < links.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(links[i].url, cases[i].wantUrl);
        EXPECT_EQ(links[i].title, cases[i].wantTitle);
        EXPECT_EQ(links[i].target, nullptr);
    }
    EXPECT_EQ(TakeLinkMessages(), static_cast<int>(std::size(cases)));
}

// Texts up to the limit are queued whole; one byte more, in either text, is
// refused with nothing queued and nobody told. The limit counts the bytes of
// the converted text: 32,768 Chinese characters fill it exactly.
TEST_F(AutomationObject, TextsUpToTheLimitAreQueuedWholeAndLongerOnesRefused) {
    struct Case {
        const char* name;
        std::size_t urlUnits;
        wchar_t urlChar;
        std::size_t titleUnits;
        wchar_t titleChar;
        HRESULT expected;
    };
    const Case cases[] = {
        {"both at the limit", 65536, L'u', 32768, L'\x4E66', S_OK},
        {"URL one byte over", 65537, L'u', 1, L't', E_INVALIDARG},
        {"title two bytes over", 10, L'u', 32769, L'\x4E66', E_INVALIDARG},
        {"ten megabytes", 10 * 1024 * 1024, L'u', 10 * 1024 * 1024, L'\x4E66', E_INVALIDARG},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring url(c.urlUnits, c.urlChar);
        const std::wstring title(c.titleUnits, c.titleChar);
        Bstr u(url.c_str(), static_cast<UINT>(url.size()));
        Bstr t(title.c_str(), static_cast<UINT>(title.size()));
        EXPECT_EQ(object->AddURL(u.Get(), t.Get(), 0), c.expected);
        const std::vector<PendingLink> links = DrainQueue();
        if (c.expected != S_OK) {
            EXPECT_TRUE(links.empty());
            EXPECT_EQ(TakeLinkMessages(), 0);
            continue;
        }
        ASSERT_EQ(links.size(), 1u);
        EXPECT_EQ(links[0].url.size(), url.size());
        EXPECT_EQ(links[0].title.size(), title.size() * 2);
        EXPECT_EQ(links[0].title.substr(0, 4), "\xCA\xE9\xCA\xE9");
        EXPECT_EQ(TakeLinkMessages(), 1);
    }
}

// What the object itself spends on a 100 MB URL (a script's call adds the
// transfer of the string between the processes). Printed, not limited.
TEST_F(AutomationObject, AHundredMegabyteUrlIsRefusedWithoutConvertingIt) {
    const std::wstring url(100 * 1024 * 1024, L'u');
    Bstr u(url.c_str(), static_cast<UINT>(url.size()));
    Bstr t(L"title");
    LARGE_INTEGER frequency{}, start{}, end{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    const HRESULT hr = object->AddURL(u.Get(), t.Get(), 0);
    ::QueryPerformanceCounter(&end);
    EXPECT_EQ(hr, E_INVALIDARG);
    EXPECT_TRUE(DrainQueue().empty());
    std::printf("AddURL refused a 100 MB URL in %.3f ms\n",
                1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
}

TEST_F(AutomationObject, AFullQueueRefusesUntilALinkIsTaken) {
    Bstr url(L"http://a/");
    Bstr title(L"A");
    for (std::size_t i = 0; i < kMaxPendingLinks; ++i) {
        ASSERT_EQ(object->AddURL(url.Get(), title.Get(), 0), S_OK) << i;
    }
    EXPECT_EQ(object->AddURL(url.Get(), title.Get(), 0), E_OUTOFMEMORY);
    EXPECT_EQ(PendingLinkQueue::Instance().Size(), kMaxPendingLinks);
    ASSERT_TRUE(PendingLinkQueue::Instance().PopFront());
    EXPECT_EQ(object->AddURL(url.Get(), title.Get(), 0), S_OK);
    EXPECT_EQ(DrainQueue().size(), kMaxPendingLinks);
}

TEST_F(AutomationObject, WithoutAMainWindowTheLinkWaitsInTheQueue) {
    integration::SetLinkWindow(nullptr);
    Bstr url(L"http://a/");
    Bstr title(L"A");
    EXPECT_EQ(object->AddURL(url.Get(), title.Get(), 0), S_OK);
    ::DestroyWindow(window);  // a window that is gone: the post fails quietly
    integration::SetLinkWindow(window);
    EXPECT_EQ(object->AddURL(url.Get(), title.Get(), 0), S_OK);
    EXPECT_EQ(DrainQueue().size(), 2u);
}

TEST_F(AutomationObject, DispatchNamesResolveThroughTheTypeLibrary) {
    UINT count = 0;
    EXPECT_EQ(object->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ITypeInfo* info = nullptr;
    EXPECT_EQ(object->GetTypeInfo(1, 0, &info), DISP_E_BADINDEX);
    ASSERT_EQ(object->GetTypeInfo(0, 0, &info), S_OK);
    EXPECT_EQ(info, typeInfo);
    info->Release();

    struct Case {
        const wchar_t* name;
        HRESULT want;
        DISPID id;
    };
    const Case cases[] = {
        {L"AddURL", S_OK, 1},
        {L"addurl", S_OK, 1},
        {L"AddUrl2", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
        {L"QueryInterface", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},  // inherited: not for scripts
        {L"Release", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
        {L"Invoke", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
    };
    for (const Case& c : cases) {
        LPOLESTR name = const_cast<LPOLESTR>(c.name);
        DISPID id = 12345;
        EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), c.want) << c.name;
        EXPECT_EQ(id, c.id) << c.name;
    }
    LPOLESTR name = const_cast<LPOLESTR>(L"AddURL");
    DISPID id = 0;
    EXPECT_EQ(object->GetIDsOfNames(IID_IUnknown, &name, 1, 0, &id), DISP_E_UNKNOWNINTERFACE);
}

// An object whose default value is an address, as a page may pass its
// location object.
class DefaultValueObject : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** p) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
            *p = this;
            AddRef();
            return S_OK;
        }
        *p = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (id != DISPID_VALUE || !result) return DISP_E_MEMBERNOTFOUND;
        result->vt = VT_BSTR;
        result->bstrVal = ::SysAllocString(L"http://location/");
        return S_OK;
    }
    ULONG refs = 1;
};

TEST_F(AutomationObject, InvokeConvertsScriptArgumentsToTheDeclaredTypes) {
    Bstr url(L"http://u/");
    Bstr title(L"T");
    Bstr flagText(L"42");
    DefaultValueObject location;
    VARIANT locationArg;
    locationArg.vt = VT_DISPATCH;
    locationArg.pdispVal = &location;
    VARIANT number;
    number.vt = VT_R8;
    number.dblVal = 2.5;

    EXPECT_EQ(InvokeAddUrl({Str(url), Str(title), Int(0)}), S_OK);
    EXPECT_EQ(InvokeAddUrl({Int(12345), Str(title), Str(flagText)}), S_OK);
    EXPECT_EQ(InvokeAddUrl({locationArg, number, Int(-5)}), S_OK);

    const std::vector<PendingLink> links = DrainQueue();
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[0].url, "http://u/");
    EXPECT_EQ(links[0].title, "T");
    EXPECT_EQ(links[1].url, "12345");
    EXPECT_EQ(links[2].url, "http://location/");
    EXPECT_EQ(links[2].title, "2.5");
    EXPECT_EQ(location.refs, 1u);  // borrowed, not kept
    EXPECT_EQ(TakeLinkMessages(), 3);
}

TEST_F(AutomationObject, InvokeRefusesWhatCannotBeAnAddUrlCall) {
    Bstr url(L"http://u/");
    Bstr notANumber(L"many");
    UINT argError = 99;
    EXPECT_EQ(InvokeAddUrl({Str(url), Str(url)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(InvokeAddUrl({Str(url), Str(url), Int(0), Int(0)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(InvokeAddUrl({Str(url), Str(url), Str(notANumber)}, &argError), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 0u);  // the last argument comes first in the array

    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(object->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    // The inherited operations have ids in the type library; none may be called.
    for (DISPID inherited : {0x60000000, 0x60000001, 0x60000002, 0x60010000, 0x60010003}) {
        EXPECT_EQ(object->Invoke(inherited, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
                  DISP_E_MEMBERNOTFOUND);
    }
    EXPECT_EQ(object->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(object->Invoke(1, IID_IUnknown, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
    EXPECT_TRUE(DrainQueue().empty());
}

TEST_F(AutomationObject, TypeLibraryDescribesTheDualInterface) {
    ITypeLib* library = nullptr;
    UINT index = 0;
    ASSERT_EQ(typeInfo->GetContainingTypeLib(&library, &index), S_OK);
    BSTR name = nullptr;
    BSTR help = nullptr;
    ASSERT_EQ(library->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
    EXPECT_STREQ(name, L"quorvaLib");
    EXPECT_STREQ(help, L"quorva 1.0 Type Library");
    ::SysFreeString(name);
    ::SysFreeString(help);
    TLIBATTR* libAttr = nullptr;
    ASSERT_EQ(library->GetLibAttr(&libAttr), S_OK);
    EXPECT_EQ(libAttr->wMajorVerNum, 1);
    EXPECT_EQ(libAttr->wMinorVerNum, 0);
    EXPECT_TRUE(IsEqualGUID(libAttr->guid, LIBID_quorvaLib));
    library->ReleaseTLibAttr(libAttr);

    ITypeInfo* coclass = nullptr;
    ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_IEMenuCatch, &coclass), S_OK);
    ASSERT_EQ(coclass->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr), S_OK);
    EXPECT_STREQ(name, L"IEMenuCatch");
    EXPECT_STREQ(help, L"IEMenuCatch Class");
    ::SysFreeString(name);
    ::SysFreeString(help);
    coclass->Release();
    library->Release();

    // The vtable side of the dual interface: AddURL after IUnknown's three
    // and IDispatch's four operations, with the declared parameter types.
    HREFTYPE ref = 0;
    ASSERT_EQ(typeInfo->GetRefTypeOfImplType(-1, &ref), S_OK);
    ITypeInfo* vtable = nullptr;
    ASSERT_EQ(typeInfo->GetRefTypeInfo(ref, &vtable), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(vtable->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    ASSERT_EQ(attr->cFuncs, 1);
    vtable->ReleaseTypeAttr(attr);
    FUNCDESC* func = nullptr;
    ASSERT_EQ(vtable->GetFuncDesc(0, &func), S_OK);
    EXPECT_EQ(func->memid, 1);
    EXPECT_EQ(func->oVft, static_cast<SHORT>(7 * sizeof(void*)));
    ASSERT_EQ(func->cParams, 3);
    EXPECT_EQ(func->lprgelemdescParam[0].tdesc.vt, VT_BSTR);
    EXPECT_EQ(func->lprgelemdescParam[1].tdesc.vt, VT_BSTR);
    EXPECT_EQ(func->lprgelemdescParam[2].tdesc.vt, VT_I4);
    EXPECT_EQ(func->elemdescFunc.tdesc.vt, VT_HRESULT);
    vtable->ReleaseFuncDesc(func);
    vtable->Release();
}

// An outer object that counts the references passed on to it.
class OuterObject : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** p) override {
        ++queries;
        if (IsEqualIID(riid, IID_IUnknown)) {
            *p = this;
            AddRef();
            return S_OK;
        }
        if (inner) return inner->QueryInterface(riid, p);
        *p = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    IUnknown* inner = nullptr;
    ULONG refs = 1;
    int queries = 0;
};

TEST_F(AutomationObject, AggregatedObjectDelegatesToItsOuterObject) {
    OuterObject outer;
    void* refused = reinterpret_cast<void*>(1);
    EXPECT_EQ(CIEMenuCatch::Create(&outer, typeInfo, IID_IDispatch, &refused), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(lock.count, 1);  // nothing was made

    ASSERT_EQ(CIEMenuCatch::Create(&outer, typeInfo, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)), S_OK);
    EXPECT_EQ(lock.count, 2);
    IIEMenuCatch* catcher = nullptr;
    ASSERT_EQ(outer.inner->QueryInterface(IID_IIEMenuCatch, reinterpret_cast<void**>(&catcher)), S_OK);
    EXPECT_EQ(outer.refs, 2u);  // the inner object's interfaces count on the outer one

    IUnknown* viaCatcher = nullptr;
    ASSERT_EQ(catcher->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaCatcher)), S_OK);
    EXPECT_EQ(viaCatcher, static_cast<IUnknown*>(&outer));
    EXPECT_GE(outer.queries, 1);
    viaCatcher->Release();

    Bstr url(L"http://agg/");
    EXPECT_EQ(catcher->AddURL(url.Get(), url.Get(), 0), S_OK);
    catcher->Release();
    EXPECT_EQ(outer.refs, 1u);
    EXPECT_EQ(outer.inner->Release(), 0u);
    EXPECT_EQ(lock.count, 1);
    EXPECT_EQ(DrainQueue().size(), 1u);
}

TEST_F(AutomationObject, WithoutTypeLibraryOnlyDispatchFails) {
    IIEMenuCatch* bare = nullptr;
    ASSERT_EQ(CIEMenuCatch::Create(nullptr, nullptr, IID_IIEMenuCatch, reinterpret_cast<void**>(&bare)), S_OK);
    UINT count = 9;
    EXPECT_EQ(bare->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    LPOLESTR name = const_cast<LPOLESTR>(L"AddURL");
    DISPID id = 0;
    EXPECT_TRUE(FAILED(bare->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)));
    Bstr url(L"u");
    EXPECT_EQ(bare->AddURL(url.Get(), url.Get(), 0), S_OK);
    bare->Release();
    EXPECT_EQ(DrainQueue().size(), 1u);
}

TEST_F(AutomationObject, ClassFactoryMakesObjectsAndPassesOnServerLocks) {
    IClassFactory* factory = new integration::CIEMenuCatchFactory(typeInfo);
    IUnknown* asUnknown = nullptr;
    ASSERT_EQ(factory->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&asUnknown)), S_OK);
    asUnknown->Release();
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->QueryInterface(IID_IDispatch, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(lock.count, 1);  // a class object holds no lock

    IDispatch* made = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&made)), S_OK);
    EXPECT_EQ(lock.count, 2);
    made->Release();
    EXPECT_EQ(lock.count, 1);

    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(lock.count, 2);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(lock.count, 1);

    OuterObject outer;
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IIEMenuCatch, reinterpret_cast<void**>(&made)),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, nullptr), E_POINTER);
    EXPECT_EQ(factory->Release(), 0u);
}

}  // namespace
