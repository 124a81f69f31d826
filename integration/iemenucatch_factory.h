// The class object of IEMenuCatch: makes CIEMenuCatch objects (aggregation
// allowed) and passes the lock requests of clients on to the process.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace integration {

class CIEMenuCatchFactory final : public IClassFactory {
public:
    // Takes its own reference on `typeInfo` (may be null). Starts with one
    // reference, the caller's.
    explicit CIEMenuCatchFactory(ITypeInfo* typeInfo);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    ~CIEMenuCatchFactory();

    ITypeInfo* typeInfo_;
    LONG refs_ = 1;
};

// Start-up: registers the class object for local-server use, multiple use,
// suspended, then resumes the process's class objects. Everything an
// incoming call needs is made before the registration, since some systems
// deliver calls at once.
HRESULT RegisterClassObjects();
// The end: withdraws the class object. Safe when nothing was registered.
void RevokeClassObjects();

}  // namespace integration
