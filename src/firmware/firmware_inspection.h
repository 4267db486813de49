// A read-only look at the firmware's WMI class QelButtonMethodDWSi in
// root\wmi: whether it connects, whether the class and its method ExecINT
// are there with the signature the WLAN commands fill, and how many instances
// the query finds. It makes the same calls as the ExecINT call up to the
// method's signatures and the instance query, and no further: it never
// spawns, fills or executes anything.
#pragma once

#include <string>
#include <vector>

#include "firmware/step_not_run.h"
#include "platform.h"

// What the read-only look at the firmware's WMI class found. Nothing is executed.
//
// Each status is the step's own: 0 when it succeeded, else what the platform
// returned; E_POINTER when the platform reported success but handed back no
// object; kStepNotRun when the step could not run because an earlier one left
// it nothing to work on (without a services connection, every later step;
// without a class definition, the method).
struct FirmwareInspection {
    HRESULT connection;        // COM set-up, then ConnectServer to root\wmi: 0 when connected
    HRESULT classDefinition;   // GetObject of QelButtonMethodDWSi
    HRESULT method;            // GetMethod ExecINT with its input and output signatures
    std::vector<std::wstring> missingInputs;  // of InEAX..InEDI: absent from the input signature, or not CIM_UINT32
    bool outputHasOutEDX;      // the output signature holds OutEDX
    HRESULT instanceQuery;     // ExecQuery of the class and its enumeration
    ULONG instances;           // instances found (0: none)
};

// connection: the first failure of CoCreateInstance of the locator (a
// negative status), ConnectServer and CoSetProxyBlanket (any but 0). The
// apartment and the process's COM security are entered and set as the ExecINT
// call does; a failure of theirs that matters shows in the locator's status.
// missingInputs and outputHasOutEDX are read only when method is 0, and are
// empty and false otherwise; a method without an input signature lacks all
// six inputs. instanceQuery is ExecQuery's status, else the first status of
// the enumeration other than 0 and the WBEM_S_FALSE that ends it
// (WBEM_S_TIMEDOUT when an instance took longer than the 10 s wait). Throws
// HresultException(E_OUTOFMEMORY) when the query's language string "WQL"
// cannot be made, as the ExecINT call does.
FirmwareInspection InspectFirmware();  // prints nothing, never calls ExecMethod or Put
