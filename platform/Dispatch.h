#pragma once
#include <windows.h>
#include <oaidl.h>

// An automation object with no members: it offers no type information, every name lookup fails
// with DISP_E_UNKNOWNNAME and every call with DISP_E_MEMBERNOTFOUND. It answers for IUnknown,
// IDispatch and its class's own dispatch interface, and deletes itself with its last reference.
// A new object holds one reference, its creator's.
class Dispatch : public IDispatch {
public:
    explicit Dispatch(const IID& ownInterface) : m_ownInterface(ownInterface) {}
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

protected:
    virtual ~Dispatch() = default;

private:
    IID m_ownInterface;
    LONG m_references = 1;
};
