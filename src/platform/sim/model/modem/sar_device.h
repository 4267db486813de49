// The modem's SAR device service: how it answers each command it receives.
// A reply is computed at receipt from what the modem knows then: the SAR
// configuration and transmission settings last set, and the laptop's state.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace sim {

struct CommandReply {
    uint32_t status = 0;           // the MBIM status; 0 is success
    std::vector<uint8_t> data;     // the reply's information buffer
    uint32_t latencyMs = 0;        // how long the modem takes to answer
};

// Receives one command: logs "<set|query> <cid> <request hex>", checks and
// applies a set, and answers. Command 1 (SAR configuration) obeys the
// scenario's "status sar-config", command 2 (transmission status) "status
// tx-set" and "status tx-query"; any other command is not supported. A
// rejected command answers with an empty buffer. The answer is the
// operation's to deliver, once the latency has passed.
CommandReply ReceiveSarCommand(bool isSet, uint32_t commandId, std::span<const uint8_t> request);

// Tests: the modem's SAR settings as they come from the factory (SAR
// controlled by the device, transmission notification off, timer 0), as
// they are again after the modem re-enumerates.
void ResetSarDevice();

}  // namespace sim
