// A WMI class object: a class definition or an instance of one. The
// simulated repository holds the firmware class, its instances and the
// parameter objects of its method ExecINT, whose properties are CIM_UINT32
// unless the scenario declares an input otherwise.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/model/firmware/firmware_device.h"
#include "sim/model/firmware/wbem_unsupported.h"

namespace sim {

struct WbemProperty {
    std::wstring name;
    CIMTYPE type;
    std::optional<uint32_t> value;  // empty: NULL
};

class WbemObject final : public UnsupportedClassObjectMethods {
public:
    // The definition of the firmware class, with its method ExecINT.
    static WbemObject* NewFirmwareClass();
    // An empty class with no name, properties or methods.
    static WbemObject* NewEmptyClass();
    // Instance `index` of the firmware class.
    static WbemObject* NewFirmwareInstance(uint32_t index);
    // The output parameters of one ExecINT execution.
    static WbemObject* NewExecIntOutput(uint32_t outEdx);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    HRESULT STDMETHODCALLTYPE Get(LPCWSTR wszName, LONG lFlags, VARIANT* pVal, CIMTYPE* pType,
                                  LONG* plFlavor) override;
    HRESULT STDMETHODCALLTYPE Put(LPCWSTR wszName, LONG lFlags, VARIANT* pVal, CIMTYPE Type) override;
    HRESULT STDMETHODCALLTYPE SpawnInstance(LONG lFlags, IWbemClassObject** ppNewInstance) override;
    HRESULT STDMETHODCALLTYPE GetMethod(LPCWSTR wszName, LONG lFlags, IWbemClassObject** ppInSignature,
                                        IWbemClassObject** ppOutSignature) override;

    // The six registers, when this is an instance of ExecINT's input
    // signature with every input set.
    std::optional<firmware::Registers> ExecIntInputs() const;

private:
    enum class Genus { Class, Instance };
    enum class Kind { Firmware, ExecIntInput, ExecIntOutput, Empty };

    WbemObject(Genus genus, Kind kind, std::wstring path, std::vector<WbemProperty> properties);
    static WbemObject* NewSignature(Genus genus, Kind kind);

    const WbemProperty* Find(LPCWSTR name) const;
    WbemProperty* Find(LPCWSTR name);
    std::wstring ClassName() const;

    Genus genus_;
    Kind kind_;
    std::wstring path_;  // empty: the object has no path
    std::vector<WbemProperty> properties_;
};

}  // namespace sim
