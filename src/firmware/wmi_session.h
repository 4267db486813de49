// The platform calls that reach the firmware's WMI class, made alike by the
// ExecINT call and by the read-only look at the class: the names they use, the
// process's COM security, one session's locator, services connection and
// instance query, and the method's signatures. Each step makes one platform
// call with its fixed arguments and returns its status as the call gave it;
// what to print, and what to make of a status, is the caller's. A step whose
// object an earlier step left missing makes no call and returns kStepNotRun.
#pragma once

#include <cstddef>

#include "firmware/step_not_run.h"
#include "platform.h"
#include "win/com_holders.h"
#include "win/com_ptr.h"

inline constexpr size_t kExecIntInputCount = 6;

// The method's inputs in register order, and its output.
inline constexpr const wchar_t* kExecIntInputNames[kExecIntInputCount] = {L"InEAX", L"InEBX", L"InECX",
                                                                          L"InEDX", L"InESI", L"InEDI"};
inline constexpr const wchar_t* kExecIntOutputName = L"OutEDX";

// The ten names a conversation with the firmware's class uses, made as OLE
// Automation strings in this order when it starts and freed when it ends. A
// string that cannot be made stays null and goes to WMI as it is, where it
// reads as the empty string.
struct FirmwareNames {
    OwnedBstr nameSpace{L"root\\wmi"};
    OwnedBstr className{L"QelButtonMethodDWSi"};
    OwnedBstr methodName{L"ExecINT"};
    OwnedBstr inputNames[kExecIntInputCount] = {
        OwnedBstr{kExecIntInputNames[0]}, OwnedBstr{kExecIntInputNames[1]}, OwnedBstr{kExecIntInputNames[2]},
        OwnedBstr{kExecIntInputNames[3]}, OwnedBstr{kExecIntInputNames[4]}, OwnedBstr{kExecIntInputNames[5]}};
    OwnedBstr query{L"Select * from QelButtonMethodDWSi"};
};

// CoInitializeSecurity for the whole process: COM picks the authentication
// services, and callees may impersonate the caller, which the firmware's
// provider needs. Once set it stays set; a later call gets RPC_E_TOO_LATE.
HRESULT SetProcessComSecurity();

// GetMethod on the class definition: the method's input signature into
// `inputs` and its output signature into `outputs`; either may be null when
// that signature is not wanted.
HRESULT GetMethodSignatures(IWbemClassObject* classDefinition, BSTR methodName, IWbemClassObject** inputs,
                            IWbemClassObject** outputs);

class WmiSession {
public:
    // CoCreateInstance of the in-process WBEM locator.
    HRESULT CreateLocator();
    // ConnectServer to the namespace with the caller's own credentials; WMI
    // returns within 2 minutes whether it connected or not.
    HRESULT Connect(BSTR nameSpace);
    // CoSetProxyBlanket on the services connection: NTLM, each call
    // authenticated, the caller impersonable.
    HRESULT SetBlanket();
    // ExecQuery of the instances, forward-only and returning at once. Throws
    // HresultException(E_OUTOFMEMORY) when the string "WQL" cannot be made.
    HRESULT QueryInstances(BSTR query);
    // Next on the query's enumerator: the next instance into `instance`,
    // waiting 10 s at most (WBEM_S_TIMEDOUT when none came in time).
    HRESULT NextInstance(com_ptr<IWbemClassObject>& instance);
    // GetObject of the class definition.
    HRESULT GetClass(BSTR className, com_ptr<IWbemClassObject>& definition);

    bool HasLocator() const { return bool(locator_); }
    bool HasEnumerator() const { return bool(enumerator_); }
    IWbemServices* Services() const { return services_.get(); }

private:
    // Released last-declared first: the locator, the services connection,
    // then the enumerator.
    com_ptr<IEnumWbemClassObject> enumerator_;
    com_ptr<IWbemServices> services_;
    com_ptr<IWbemLocator> locator_;
};
