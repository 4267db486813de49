#include "firmware/firmware_inspection.h"

#include <optional>

#include "firmware/wmi_session.h"
#include "win/apartment.h"

namespace {

// A step's status as the look reports it: a success that handed back no
// object did not deliver what the next step needs.
HRESULT Delivered(HRESULT status, bool delivered) {
    if (status != 0) return status;
    return delivered ? 0 : E_POINTER;
}

HRESULT Connect(WmiSession& session, const FirmwareNames& names) {
    if (const HRESULT created = session.CreateLocator(); FAILED(created)) return created;
    if (!session.HasLocator()) return E_POINTER;
    const HRESULT connected = session.Connect(names.nameSpace.get());
    if (const HRESULT status = Delivered(connected, session.Services() != nullptr); status != 0) return status;
    return session.SetBlanket();
}

// Counts the instances the query finds, releasing each at once.
HRESULT CountInstances(WmiSession& session, const FirmwareNames& names, ULONG& instances) {
    const HRESULT queried = session.QueryInstances(names.query.get());
    if (const HRESULT status = Delivered(queried, session.HasEnumerator()); status != 0) return status;
    for (;;) {
        com_ptr<IWbemClassObject> instance;
        const HRESULT status = session.NextInstance(instance);
        if (status == WBEM_S_FALSE && !instance) return 0;
        if (const HRESULT next = Delivered(status, bool(instance)); next != 0) return next;
        ++instances;
    }
}

// The CIM type of a property of a method's signature; none when the
// signature does not hold it, or the method has no such signature at all.
std::optional<CIMTYPE> PropertyType(IWbemClassObject* signature, const wchar_t* name) {
    if (signature == nullptr) return std::nullopt;
    OwnedVariant value;
    CIMTYPE type = 0;
    if (signature->Get(name, 0, value.get(), &type, nullptr) != 0) return std::nullopt;
    return type;
}

void ReadSignatures(IWbemClassObject* inputs, IWbemClassObject* outputs, FirmwareInspection& found) {
    for (const wchar_t* name : kExecIntInputNames)
        if (PropertyType(inputs, name) != CIM_UINT32) found.missingInputs.emplace_back(name);
    found.outputHasOutEDX = PropertyType(outputs, kExecIntOutputName).has_value();
}

}  // namespace

FirmwareInspection InspectFirmware() {
    FirmwareInspection found{};
    FirmwareNames names;
    ComApartment apartment;
    apartment.Enter();
    SetProcessComSecurity();
    WmiSession session;

    found.connection = Connect(session, names);
    com_ptr<IWbemClassObject> definition;
    const HRESULT gotClass = session.GetClass(names.className.get(), definition);
    found.classDefinition = Delivered(gotClass, bool(definition));
    com_ptr<IWbemClassObject> inputs;
    com_ptr<IWbemClassObject> outputs;
    found.method = GetMethodSignatures(definition.get(), names.methodName.get(), inputs.put(), outputs.put());
    if (found.method == 0) ReadSignatures(inputs.get(), outputs.get(), found);
    found.instanceQuery = CountInstances(session, names, found.instances);
    return found;
}
