#include "iemenucatch.h"

#include <cwchar>
#include <new>
#include <utility>

#include "add_url_errors.h"
#include "automation_host.h"
#include "live_objects.h"
#include "platform/executable_path.h"
#include "platform/incoming_text.h"
#include "pending_link_queue.h"

namespace integration {
namespace {

constexpr DISPID kAddUrlId = 1;
constexpr UINT kAddUrlArgs = 3;

}  // namespace

std::u16string BstrText(BSTR text) {
    if (!text) return {};
    const size_t length = ::wcsnlen(text, ::SysStringLen(text));  // stops at an embedded NUL
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

HRESULT LoadIEMenuCatchTypeInfo(ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    const std::wstring path = platform::ExecutablePathWide();
    if (path.empty()) {
        const DWORD error = ::GetLastError();
        return HRESULT_FROM_WIN32(error ? error : ERROR_FILENAME_EXCED_RANGE);
    }
    ITypeLib* library = nullptr;
    HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
    if (FAILED(hr)) return hr;
    hr = library->GetTypeInfoOfGuid(IID_IIEMenuCatch, info);
    library->Release();
    return hr;
}

CIEMenuCatch::CIEMenuCatch(IUnknown* outer, ITypeInfo* typeInfo)
    : inner_(*this), outer_(outer ? outer : &inner_), typeInfo_(typeInfo) {
    if (typeInfo_) typeInfo_->AddRef();
    if (ProcessLock* lock = GetProcessLock()) lock->Lock();
    TrackLiveObject(&inner_);
}

CIEMenuCatch::~CIEMenuCatch() {
    UntrackLiveObject(&inner_);
    if (typeInfo_) typeInfo_->Release();
    if (ProcessLock* lock = GetProcessLock()) lock->Unlock();
}

HRESULT CIEMenuCatch::Create(IUnknown* outer, ITypeInfo* typeInfo, REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer && !IsEqualIID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    CIEMenuCatch* made = new (std::nothrow) CIEMenuCatch(outer, typeInfo);
    if (!made) return E_OUTOFMEMORY;
    HRESULT hr = made->inner_.QueryInterface(riid, object);
    made->inner_.Release();  // the reference of construction
    return hr;
}

HRESULT CIEMenuCatch::Inner::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown)) {
        *object = static_cast<IUnknown*>(this);
    } else if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IIEMenuCatch)) {
        *object = static_cast<IIEMenuCatch*>(&owner_);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*object)->AddRef();
    return S_OK;
}

ULONG CIEMenuCatch::Inner::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&owner_.refs_)); }

ULONG CIEMenuCatch::Inner::Release() {
    const LONG refs = ::InterlockedDecrement(&owner_.refs_);
    if (refs == 0) delete &owner_;
    return static_cast<ULONG>(refs);
}

HRESULT CIEMenuCatch::QueryInterface(REFIID riid, void** object) { return outer_->QueryInterface(riid, object); }
ULONG CIEMenuCatch::AddRef() { return outer_->AddRef(); }
ULONG CIEMenuCatch::Release() { return outer_->Release(); }

HRESULT CIEMenuCatch::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = typeInfo_ ? 1 : 0;
    return S_OK;
}

HRESULT CIEMenuCatch::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    if (!typeInfo_) return E_NOTIMPL;
    typeInfo_->AddRef();
    *info = typeInfo_;
    return S_OK;
}

HRESULT CIEMenuCatch::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (!typeInfo_) return E_NOTIMPL;
    HRESULT hr = ::DispGetIDsOfNames(typeInfo_, names, count, ids);
    if (SUCCEEDED(hr) && count > 0 && ids[0] != kAddUrlId) {
        // The type library also names the inherited IUnknown and IDispatch
        // operations; scripts get none of them.
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT CIEMenuCatch::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* exception, UINT* argError) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (!typeInfo_) return E_NOTIMPL;
    // Only AddURL: calling AddRef or Release through here would let a client
    // upset the reference count from afar.
    if (id != kAddUrlId) return DISP_E_MEMBERNOTFOUND;
    if (!params) return E_INVALIDARG;
    if (params->cArgs > kAddUrlArgs) return DISP_E_BADPARAMCOUNT;  // not every system checks this
    // The type library's Invoke converts the arguments and calls AddURL
    // through this stand-in, which notes what AddURL returned: a refusal
    // reaches the caller as an exception carrying that HRESULT and a text,
    // not as a bare DISP_E_EXCEPTION.
    class RecordingCall final : public IIEMenuCatch {
    public:
        explicit RecordingCall(CIEMenuCatch& owner) : owner_(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
            return owner_.QueryInterface(riid, object);
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return owner_.GetTypeInfoCount(count); }
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
            return owner_.GetTypeInfo(index, lcid, info);
        }
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                                DISPID* ids) override {
            return owner_.GetIDsOfNames(riid, names, count, lcid, ids);
        }
        HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                         UINT*) override {
            return E_NOTIMPL;  // never called by the type library's Invoke
        }
        HRESULT STDMETHODCALLTYPE AddURL(BSTR url, BSTR title, LONG flag) override {
            refusal = owner_.AddURL(url, title, flag);
            return refusal;
        }
        HRESULT refusal = S_OK;

    private:
        CIEMenuCatch& owner_;
    };
    RecordingCall call(*this);
    EXCEPINFO inner{};
    HRESULT hr = typeInfo_->Invoke(static_cast<IIEMenuCatch*>(&call), id, flags, params, result, &inner, argError);
    if (FAILED(call.refusal)) {
        ::SysFreeString(inner.bstrSource);
        ::SysFreeString(inner.bstrDescription);
        ::SysFreeString(inner.bstrHelpFile);
        FillAddUrlException(exception, call.refusal);
        return DISP_E_EXCEPTION;
    }
    if (exception) {
        *exception = inner;
    } else {
        ::SysFreeString(inner.bstrSource);
        ::SysFreeString(inner.bstrDescription);
        ::SysFreeString(inner.bstrHelpFile);
    }
    return hr;
}

HRESULT CIEMenuCatch::AddURL(BSTR url, BSTR title, LONG /*flag: no meaning*/) {
    // A text too long for the limit is refused before it is converted: no
    // UTF-16 unit becomes less than half a byte of the ANSI code page (a
    // surrogate pair becomes one byte at least), so twice the limit in units
    // is over it whatever the text. The exact byte count is checked after
    // the conversion, by the queue.
    if (!LinkTextsFit(::SysStringLen(title) / 2, ::SysStringLen(url) / 2)) return E_INVALIDARG;
    try {
        PendingLink link;
        link.title = platform::NameFromUtf16(BstrText(title));
        link.url = platform::AddressFromUtf16(BstrText(url));
        switch (PendingLinkQueue::Instance().Push(std::move(link))) {
        case PushResult::kTooLong:
            return E_INVALIDARG;
        case PushResult::kQueueFull:
            return E_OUTOFMEMORY;
        case PushResult::kQueued:
            break;
        }
        // Fails quietly while there is no main window; the link waits.
        if (HWND window = GetLinkWindow()) ::PostMessageA(window, kLinksPendingMessage, 0, 0);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
    return S_OK;
}

}  // namespace integration
