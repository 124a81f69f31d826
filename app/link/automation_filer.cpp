#include "automation_filer.h"

#include <windows.h>
#include <oleauto.h>

#include <cstdio>

namespace link_host {
namespace {

constexpr wchar_t kProgId[] = L"quorva.IEMenuCatch";
constexpr DWORD kRetryPauseMs = 500;

// A BSTR of `text` whole (an embedded NUL included), freed at the end of scope.
class Bstr {
public:
    explicit Bstr(const std::u16string& text)
        : s_(::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()))) {}
    ~Bstr() { ::SysFreeString(s_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR Get() const { return s_; }

private:
    BSTR s_;
};

HRESULT CallAddUrl(const std::u16string& url, const std::u16string& title) {
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(kProgId, &clsid);
    if (FAILED(hr)) return hr;
    IDispatch* object = nullptr;
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object));
    if (FAILED(hr)) return hr;
    LPOLESTR name = const_cast<LPOLESTR>(L"AddURL");
    DISPID id = 0;
    hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (SUCCEEDED(hr)) {
        Bstr u(url);
        Bstr t(title);
        if (!u.Get() || !t.Get()) {
            hr = E_OUTOFMEMORY;
        } else {
            VARIANT args[3];  // last argument first
            ::VariantInit(&args[0]);
            args[0].vt = VT_I4;
            args[0].lVal = 0;
            ::VariantInit(&args[1]);
            args[1].vt = VT_BSTR;
            args[1].bstrVal = t.Get();
            ::VariantInit(&args[2]);
            args[2].vt = VT_BSTR;
            args[2].bstrVal = u.Get();
            DISPPARAMS params{args, nullptr, 3, 0};
            hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                                nullptr);
        }
    }
    object->Release();
    return hr;
}

// Activation can fail while the program is starting or ending (two clients
// starting it at once, the old instance still closing).
bool WorthRetrying(HRESULT hr) {
    return hr == E_NOINTERFACE || hr == CO_E_SERVER_EXEC_FAILURE || hr == CO_E_SERVER_STOPPING ||
           hr == RPC_E_DISCONNECTED || hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           hr == RPC_E_SERVERFAULT;
}

}  // namespace

std::string AutomationFiler::File(const std::u16string& url, const std::u16string& title) {
    HRESULT hr = CallAddUrl(url, title);
    if (FAILED(hr) && WorthRetrying(hr)) {
        ::Sleep(kRetryPauseMs);
        hr = CallAddUrl(url, title);
    }
    if (SUCCEEDED(hr)) return {};
    switch (hr) {
    case CO_E_CLASSSTRING:
    case REGDB_E_CLASSNOTREG:
        return "program-not-registered";
    case E_INVALIDARG:
        return "too-long";
    case E_OUTOFMEMORY:
        return "program-busy";
    default: {
        char text[32];
        std::snprintf(text, sizeof text, "failed-0x%08lX", static_cast<unsigned long>(hr));
        return text;
    }
    }
}

}  // namespace link_host
