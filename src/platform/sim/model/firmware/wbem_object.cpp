#include "sim/model/firmware/wbem_object.h"

#include <cwctype>
#include <string>
#include <utility>

#include "sim/model/call_record.h"
#include "sim/model/firmware/bstr_text.h"
#include "sim/model/firmware/wide_text.h"
#include "sim/model/laptop.h"

namespace sim {
namespace {

constexpr LONG kPropagatedFlavor = 0;  // WBEM_FLAVOR_ORIGIN_LOCAL

// Decimal text to a uint32 the way WMI converts a string VARIANT for a
// CIM_UINT32 property: blanks around the digits are allowed; anything else
// (a sign, other characters, no digits, a value above 4294967295) is not a
// uint32.
std::optional<uint32_t> ParseUint32(std::wstring_view text) {
    while (!text.empty() && std::iswspace(static_cast<wint_t>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::iswspace(static_cast<wint_t>(text.back()))) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - L'0');
        if (value > UINT32_MAX) return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

// The value a VARIANT gives a CIM_UINT32 property; `valid` false when it
// cannot be one. VT_NULL and VT_EMPTY make the property NULL.
struct Conversion {
    bool valid = false;
    std::optional<uint32_t> value;
};

Conversion ToUint32(const VARIANT* variant) {
    if (variant == nullptr) return {true, std::nullopt};
    switch (variant->vt) {
    case VT_EMPTY:
    case VT_NULL: return {true, std::nullopt};
    case VT_I4:
    case VT_UI4: return {true, variant->ulVal};
    case VT_BSTR:
        if (const auto value = ParseUint32(BstrText(variant->bstrVal))) return {true, value};
        return {};
    default: return {};
    }
}

// A system property's value: its text, or NULL when the object has none.
void SetBstrOrNull(VARIANT* out, std::wstring_view text) {
    if (text.empty()) {
        out->vt = VT_NULL;
        return;
    }
    out->vt = VT_BSTR;
    out->bstrVal = MakeBstr(text);
}

}  // namespace

WbemObject::WbemObject(Genus genus, Kind kind, std::wstring path, std::vector<WbemProperty> properties)
    : genus_(genus), kind_(kind), path_(std::move(path)), properties_(std::move(properties)) {}

WbemObject* WbemObject::NewFirmwareClass() {
    return new WbemObject(Genus::Class, Kind::Firmware, firmware::ClassPath(), {});
}

WbemObject* WbemObject::NewEmptyClass() { return new WbemObject(Genus::Class, Kind::Empty, {}, {}); }

WbemObject* WbemObject::NewFirmwareInstance(uint32_t index) {
    return new WbemObject(Genus::Instance, Kind::Firmware, firmware::InstancePath(index), {});
}

WbemObject* WbemObject::NewExecIntOutput(uint32_t outEdx) {
    WbemObject* output = NewSignature(Genus::Instance, Kind::ExecIntOutput);
    output->properties_.front().value = outEdx;
    return output;
}

// ExecINT's inputs as the laptop declares them now: each a CIM_UINT32 unless
// the scenario gave it another type or left it out.
WbemObject* WbemObject::NewSignature(Genus genus, Kind kind) {
    std::vector<WbemProperty> properties;
    if (kind == Kind::ExecIntInput) {
        const LaptopState now = TheLaptop().Now();
        for (std::wstring_view name : firmware::kInputNames) {
            const auto declared = now.firmwareInputTypes.find(std::string(name.begin(), name.end()));
            CIMTYPE type = CIM_UINT32;
            if (declared != now.firmwareInputTypes.end()) type = static_cast<CIMTYPE>(declared->second);
            if (type != 0) properties.push_back({std::wstring(name), type, {}});
        }
    } else {
        properties.push_back({std::wstring(firmware::kOutputName), CIM_UINT32, {}});
    }
    return new WbemObject(genus, kind, {}, std::move(properties));
}

HRESULT WbemObject::QueryInterface(REFIID riid, void** ppvObject) {
    return QueryFor(riid, ppvObject,
                    {{IID_IUnknown, static_cast<IWbemClassObject*>(this)},
                     {IID_IWbemClassObject, static_cast<IWbemClassObject*>(this)}});
}

// Empty for a class not yet named.
std::wstring WbemObject::ClassName() const {
    switch (kind_) {
    case Kind::Firmware: return std::wstring(firmware::kClassName);
    case Kind::Empty: return {};
    default: return L"__PARAMETERS";
    }
}

const WbemProperty* WbemObject::Find(LPCWSTR name) const {
    for (const WbemProperty& property : properties_)
        if (SameText(name, property.name)) return &property;
    return nullptr;
}

WbemProperty* WbemObject::Find(LPCWSTR name) {
    return const_cast<WbemProperty*>(std::as_const(*this).Find(name));
}

HRESULT WbemObject::Get(LPCWSTR wszName, LONG lFlags, VARIANT* pVal, CIMTYPE* pType, LONG* plFlavor) {
    if (RecordingCalls())
        RecordCall("Get", {ObjectArg(this), TextArg(wszName), std::to_string(lFlags), PointerArg(pVal),
                           PointerArg(pType), PointerArg(plFlavor)});
    // "fail Get" fails every Get, "fail Get:NAME" only those of property NAME;
    // likewise "none".
    if (const HRESULT fault = TheLaptop().TakeFault("Get", wszName); fault != S_OK) return fault;
    if (wszName == nullptr || lFlags != 0) return WBEM_E_INVALID_PARAMETER;
    CIMTYPE type = CIM_STRING;
    VARIANT value;
    VariantInit(&value);
    if (SameText(wszName, L"__PATH")) {
        SetBstrOrNull(&value, path_);
    } else if (SameText(wszName, L"__CLASS")) {
        SetBstrOrNull(&value, ClassName());
    } else if (const WbemProperty* property = Find(wszName)) {
        type = property->type;
        // WMI hands a CIM_UINT32 over as VT_I4 holding the same bits.
        if (property->value && genus_ == Genus::Instance) {
            value.vt = VT_I4;
            value.ulVal = *property->value;
        } else {
            value.vt = VT_NULL;
        }
    } else {
        return WBEM_E_NOT_FOUND;
    }
    // "none Get": success, yet the value comes back empty.
    if (TheLaptop().TakeMissingObject("Get", wszName)) VariantClear(&value);
    if (pVal != nullptr) *pVal = value;
    else VariantClear(&value);
    if (pType != nullptr) *pType = type;
    if (plFlavor != nullptr) *plFlavor = kPropagatedFlavor;
    return WBEM_S_NO_ERROR;
}

HRESULT WbemObject::Put(LPCWSTR wszName, LONG lFlags, VARIANT* pVal, CIMTYPE Type) {
    if (RecordingCalls())
        RecordCall("Put", {ObjectArg(this), TextArg(wszName), std::to_string(lFlags), VariantArg(pVal),
                           std::to_string(Type)});
    if (const HRESULT fault = TheLaptop().TakeFault("Put"); fault != S_OK) return fault;
    if (wszName == nullptr || lFlags != 0) return WBEM_E_INVALID_PARAMETER;
    if (genus_ != Genus::Instance) return WBEM_E_INVALID_OPERATION;
    WbemProperty* property = Find(wszName);
    if (property == nullptr) return WBEM_E_NOT_FOUND;
    // An existing property takes 0 (its own type) or exactly its CIM type.
    // Only CIM_UINT32 properties hold values here, the registers: an input
    // the firmware declares otherwise takes none.
    if ((Type != 0 && Type != property->type) || property->type != CIM_UINT32) return WBEM_E_TYPE_MISMATCH;
    const Conversion conversion = ToUint32(pVal);
    if (!conversion.valid) return WBEM_E_TYPE_MISMATCH;
    property->value = conversion.value;
    return WBEM_S_NO_ERROR;
}

HRESULT WbemObject::SpawnInstance(LONG lFlags, IWbemClassObject** ppNewInstance) {
    if (RecordingCalls()) RecordCall("SpawnInstance", {ObjectArg(this), std::to_string(lFlags)});
    if (ppNewInstance != nullptr) *ppNewInstance = nullptr;
    if (const HRESULT fault = TheLaptop().TakeFault("SpawnInstance"); fault != S_OK) return fault;
    if (ppNewInstance == nullptr || lFlags != 0) return WBEM_E_INVALID_PARAMETER;
    if (genus_ != Genus::Class) return WBEM_E_INVALID_OPERATION;
    if (TheLaptop().TakeMissingObject("SpawnInstance")) return WBEM_S_NO_ERROR;
    std::vector<WbemProperty> properties = properties_;
    for (WbemProperty& property : properties) property.value.reset();
    *ppNewInstance = new WbemObject(Genus::Instance, kind_, {}, std::move(properties));
    if (RecordingCalls()) NewObjectArg(*ppNewInstance, "instance");
    return WBEM_S_NO_ERROR;
}

HRESULT WbemObject::GetMethod(LPCWSTR wszName, LONG lFlags, IWbemClassObject** ppInSignature,
                              IWbemClassObject** ppOutSignature) {
    if (RecordingCalls())
        RecordCall("GetMethod", {ObjectArg(this), TextArg(wszName), std::to_string(lFlags), PointerArg(ppInSignature),
                                 PointerArg(ppOutSignature)});
    if (ppInSignature != nullptr) *ppInSignature = nullptr;
    if (ppOutSignature != nullptr) *ppOutSignature = nullptr;
    if (const HRESULT fault = TheLaptop().TakeFault("GetMethod"); fault != S_OK) return fault;
    if (wszName == nullptr || lFlags != 0) return WBEM_E_INVALID_PARAMETER;
    if (kind_ != Kind::Firmware || !SameText(wszName, firmware::kMethodName) || !TheLaptop().Now().firmwareMethodPresent)
        return WBEM_E_NOT_FOUND;
    if (TheLaptop().TakeMissingObject("GetMethod")) return WBEM_S_NO_ERROR;
    if (ppInSignature != nullptr) *ppInSignature = NewSignature(Genus::Class, Kind::ExecIntInput);
    if (ppOutSignature != nullptr) *ppOutSignature = NewSignature(Genus::Class, Kind::ExecIntOutput);
    if (RecordingCalls()) {
        if (ppInSignature != nullptr) NewObjectArg(*ppInSignature, "in-signature");
        if (ppOutSignature != nullptr) NewObjectArg(*ppOutSignature, "out-signature");
    }
    return WBEM_S_NO_ERROR;
}

std::optional<firmware::Registers> WbemObject::ExecIntInputs() const {
    if (genus_ != Genus::Instance || kind_ != Kind::ExecIntInput) return std::nullopt;
    firmware::Registers registers{};
    for (size_t i = 0; i < registers.size(); ++i) {
        const WbemProperty* input = Find(firmware::kInputNames[i].data());
        if (input == nullptr || !input->value) return std::nullopt;
        registers[i] = *input->value;
    }
    return registers;
}

}  // namespace sim
