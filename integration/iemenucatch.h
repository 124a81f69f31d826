// CIEMenuCatch, the object behind the automation class IEMenuCatch: AddURL
// queues a link for the bookmark list and tells the main window. IDispatch
// is served through the type library's description of IIEMenuCatch, so
// scripts can call it and have their arguments converted. The object can be
// aggregated. While it lives it holds one lock on the process.
#pragma once

#include <windows.h>

#include <string>

#include "quorva_automation.h"

namespace integration {

// Posted to the main window after a link was queued (its UWM_LINKS_PENDING).
constexpr UINT kLinksPendingMessage = WM_USER + 103;

class CIEMenuCatch final : public IIEMenuCatch {
public:
    // Makes an object and returns the interface `riid` of it. With an outer
    // object only IUnknown may be asked for (CLASS_E_NOAGGREGATION).
    // `typeInfo` (may be null: then IDispatch calls fail) describes IIEMenuCatch.
    static HRESULT Create(IUnknown* outer, ITypeInfo* typeInfo, REFIID riid, void** object);

    // IUnknown, delegating to the outer object when aggregated.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    // IIEMenuCatch. S_OK once the link is queued; E_INVALIDARG for a title or
    // URL over the limit, E_OUTOFMEMORY while the queue is full (the limits
    // of PendingLinkQueue).
    HRESULT STDMETHODCALLTYPE AddURL(BSTR url, BSTR title, LONG flag) override;

private:
    // The object's own IUnknown, which an aggregating object holds.
    class Inner final : public IUnknown {
    public:
        explicit Inner(CIEMenuCatch& owner) : owner_(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;

    private:
        CIEMenuCatch& owner_;
    };

    CIEMenuCatch(IUnknown* outer, ITypeInfo* typeInfo);
    ~CIEMenuCatch();

    Inner inner_;
    IUnknown* outer_;  // the aggregating object, or inner_
    ITypeInfo* typeInfo_;
    LONG refs_ = 1;
};

// The text of a BSTR. A null string is empty; the text ends at an embedded
// NUL, as it would for the system's own string calls.
std::u16string BstrText(BSTR text);

// The description of IIEMenuCatch from the type library in the program's
// executable.
HRESULT LoadIEMenuCatchTypeInfo(ITypeInfo** info);

}  // namespace integration
