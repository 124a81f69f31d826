#include "iemenucatch_factory.h"

#include <new>

#include "automation_host.h"
#include "iemenucatch.h"

namespace integration {

CIEMenuCatchFactory::CIEMenuCatchFactory(ITypeInfo* typeInfo) : typeInfo_(typeInfo) {
    if (typeInfo_) typeInfo_->AddRef();
}

CIEMenuCatchFactory::~CIEMenuCatchFactory() {
    if (typeInfo_) typeInfo_->Release();
}

HRESULT CIEMenuCatchFactory::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CIEMenuCatchFactory::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

ULONG CIEMenuCatchFactory::Release() {
    const LONG refs = ::InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
}

HRESULT CIEMenuCatchFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
    return CIEMenuCatch::Create(outer, typeInfo_, riid, object);
}

HRESULT CIEMenuCatchFactory::LockServer(BOOL lock) {
    if (ProcessLock* processLock = GetProcessLock()) {
        if (lock) processLock->Lock();
        else processLock->Unlock();
    }
    return S_OK;
}

namespace {

DWORD g_classCookie = 0;

}  // namespace

HRESULT RegisterClassObjects() {
    if (g_classCookie) return S_OK;
    ITypeInfo* typeInfo = nullptr;
    LoadIEMenuCatchTypeInfo(&typeInfo);  // without it, calls through IDispatch fail
    CIEMenuCatchFactory* factory = new (std::nothrow) CIEMenuCatchFactory(typeInfo);
    if (typeInfo) typeInfo->Release();
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = ::CoRegisterClassObject(CLSID_IEMenuCatch, static_cast<IClassFactory*>(factory),
                                         CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED,
                                         &g_classCookie);
    factory->Release();  // COM holds it while registered
    if (FAILED(hr)) {
        g_classCookie = 0;
        return hr;
    }
    return ::CoResumeClassObjects();
}

void RevokeClassObjects() {
    if (!g_classCookie) return;
    ::CoRevokeClassObject(g_classCookie);
    g_classCookie = 0;
}

}  // namespace integration
