#include "platform/ObjectFactory.h"
#include "platform/App.h"
#include "platform/Registry.h"

// Constant-initialised, so the list is ready before any static factory is built.
constinit ObjectFactory* ObjectFactory::s_first = nullptr;

ObjectFactory::ObjectFactory(const CLSID& clsid, CreateFunction create, bool singleUse, const char* progId)
    : m_clsid(clsid), m_create(create), m_singleUse(singleUse), m_progId(progId), m_next(s_first)
{
    s_first = this;
}

ObjectFactory::~ObjectFactory()
{
    Revoke();
    for (ObjectFactory** link = &s_first; *link; link = &(*link)->m_next) {
        if (*link == this) {
            *link = m_next;
            break;
        }
    }
}

HRESULT ObjectFactory::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT ObjectFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    IUnknown* created = nullptr;
    HRESULT result = m_create(&created);
    if (FAILED(result))
        return result;
    result = created->QueryInterface(iid, object);
    created->Release();
    return result;
}

HRESULT ObjectFactory::LockServer(BOOL lock)
{
    if (App* app = App::Current())
        lock ? app->Lock() : app->Unlock();
    return S_OK;
}

bool ObjectFactory::Register()
{
    if (m_cookie)
        return true;
    return SUCCEEDED(::CoRegisterClassObject(m_clsid, this, CLSCTX_LOCAL_SERVER,
                                             m_singleUse ? REGCLS_SINGLEUSE : REGCLS_MULTIPLEUSE, &m_cookie));
}

void ObjectFactory::Revoke()
{
    if (m_cookie)
        ::CoRevokeClassObject(m_cookie);
    m_cookie = 0;
}

bool ObjectFactory::UpdateRegistry(const Registry& registry, const std::string& serverPath) const
{
    return registry.RegisterServer(m_clsid, m_progId, serverPath);
}

bool ObjectFactory::RegisterAll()
{
    bool registered = true;
    for (ObjectFactory* factory = s_first; factory; factory = factory->m_next)
        registered &= factory->Register();
    return registered;
}

void ObjectFactory::RevokeAll()
{
    for (ObjectFactory* factory = s_first; factory; factory = factory->m_next)
        factory->Revoke();
}

bool ObjectFactory::UpdateRegistryAll()
{
    char path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    // A folder name outside the ANSI code page comes back with '?' or a look-alike in it: a path
    // that names no file would lead clients nowhere and overwrite what an installer wrote.
    if (length == 0 || length == MAX_PATH || ::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return false;
    Registry registry;
    // The interfaces first: a class entry may lead clients to them at once.
    bool written = registry.RegisterTypeLibrary(path);
    for (ObjectFactory* factory = s_first; factory; factory = factory->m_next)
        written &= factory->UpdateRegistry(registry, path);
    return written;
}
