#include "sim/model/surface_services.h"

#include "sim/model/laptop.h"

namespace sim {

HRESULT TakeCallFault(std::string_view call) { return TheLaptop().TakeFault(call); }

HRESULT TakeCallFault(std::string_view call, const wchar_t* argument) {
    return TheLaptop().TakeFault(call, argument);
}

TokenKind ProcessTokenNow() { return TheLaptop().Now().token; }

}  // namespace sim
