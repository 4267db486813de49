// Objects of the simulated Windows Runtime components: reference-counted
// (sim::ComObject) and inspectable, and the components' activation factories,
// which live as long as the process and are never counted or freed.
#pragma once

#include <initializer_list>
#include <string>
#include <tuple>

#include "platform.h"
#include "sim/model/com_object.h"

namespace sim {

template <typename... Interfaces>
class RuntimeObject : public ComObject<Interfaces...> {
    using Base = ComObject<Interfaces...>;
    using DefaultInterface = std::tuple_element_t<0, std::tuple<Interfaces...>>;

public:
    HRESULT STDMETHODCALLTYPE GetIids(ULONG* iidCount, IID** iids) override {
        if (iidCount == nullptr || iids == nullptr) return E_POINTER;
        *iidCount = 0;
        *iids = nullptr;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING* className) override {
        if (className == nullptr) return E_POINTER;
        const std::wstring name = ClassName();
        return WindowsCreateString(name.c_str(), static_cast<UINT32>(name.size()), className);
    }

    HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* trustLevel) override {
        if (trustLevel == nullptr) return E_POINTER;
        *trustLevel = BaseTrust;
        return S_OK;
    }

protected:
    virtual const wchar_t* ClassName() const = 0;

    // Answers what every runtime object answers (IUnknown, IInspectable,
    // IAgileObject) and defaultIid on its default interface, the first one it
    // implements, then any further interfaces the object lists in `others`.
    HRESULT QueryRuntimeInterface(REFIID riid, void** object, const IID& defaultIid,
                                  std::initializer_list<typename Base::InterfaceEntry> others = {}) {
        void* const defaultInterface = static_cast<DefaultInterface*>(this);
        if (riid == IID_IUnknown || riid == IID_IInspectable || riid == IID_IAgileObject || riid == defaultIid)
            return this->QueryFor(riid, object, {{riid, defaultInterface}});
        return this->QueryFor(riid, object, others);
    }
};

// The activation factory of a static-only runtime class: IActivationFactory
// and the class's statics interface on one object of process lifetime.
template <typename Statics>
class StaticsFactory : public IActivationFactory, public Statics {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IInspectable || riid == IID_IAgileObject ||
            riid == IID_IActivationFactory) {
            *object = static_cast<IActivationFactory*>(this);
        } else if (riid == StaticsIid()) {
            *object = static_cast<Statics*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetIids(ULONG* iidCount, IID** iids) override {
        if (iidCount == nullptr || iids == nullptr) return E_POINTER;
        *iidCount = 0;
        *iids = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING* className) override {
        if (className == nullptr) return E_POINTER;
        *className = nullptr;
        return E_ILLEGAL_METHOD_CALL;  // a factory has no runtime class of its own
    }
    HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* trustLevel) override {
        if (trustLevel == nullptr) return E_POINTER;
        *trustLevel = BaseTrust;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable** instance) override {
        if (instance != nullptr) *instance = nullptr;
        return E_NOTIMPL;  // static-only class
    }

protected:
    virtual const IID& StaticsIid() const = 0;
};

}  // namespace sim
