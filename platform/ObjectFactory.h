#pragma once
#include <windows.h>
#include <objbase.h>
#include <string>

class Registry;

// The class factory of one automation class. A factory is a static object: building it puts it
// on the process's list of factories, which start-up either offers to the component runtime
// (when the runtime started the program) or writes to the registry (when a user did).
class ObjectFactory : public IClassFactory {
public:
    // Makes a new object holding one reference, the caller's; fails when the program can't
    // serve one now.
    using CreateFunction = HRESULT (*)(IUnknown** object);

    // singleUse: each client that connects gets a process of its own.
    ObjectFactory(const CLSID& clsid, CreateFunction create, bool singleUse, const char* progId);
    ~ObjectFactory();
    ObjectFactory(const ObjectFactory&) = delete;
    ObjectFactory& operator=(const ObjectFactory&) = delete;

    // The factory lives as long as the process; references don't own it.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

    bool Register();
    void Revoke();
    bool UpdateRegistry(const Registry& registry, const std::string& serverPath) const;

    static bool RegisterAll();
    static void RevokeAll();
    // Every factory's class, served by this executable, and the type library embedded in it.
    static bool UpdateRegistryAll();

private:
    CLSID m_clsid;
    CreateFunction m_create;
    bool m_singleUse;
    const char* m_progId;
    DWORD m_cookie = 0;
    ObjectFactory* m_next = nullptr;

    static ObjectFactory* s_first;
};
