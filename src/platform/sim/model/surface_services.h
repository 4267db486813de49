// The laptop model as the simulated Windows surface reaches it: the one
// header of the model that the surface includes. The surface answers the
// Windows calls of the system and of the model; from the model it takes the
// faults the scenario injects into those calls, the laptop's clock (which
// Sleep passes), the counts of what it hands out, the record of the calls it
// takes, the reference counting of its own objects, who the process runs as,
// and the file the Windows event log's events go to.
#pragma once

#include <string_view>

#include "platform.h"
#include "sim/model/accounting.h"
#include "sim/model/call_record.h"
#include "sim/model/clock.h"
#include "sim/model/com_object.h"
#include "sim/model/process_token.h"
#include "sim/model/event_log.h"

namespace sim {

// The HRESULT the scenario makes the named Windows call fail with now (S_OK:
// none); a limited fault is used up by this call. With an argument, a fault
// narrowed to it ("SysAllocString:TEXT") counts too.
HRESULT TakeCallFault(std::string_view call);
HRESULT TakeCallFault(std::string_view call, const wchar_t* argument);

// Who the process runs as: the scenario's "token", fixed at time 0.
TokenKind ProcessTokenNow();

}  // namespace sim
