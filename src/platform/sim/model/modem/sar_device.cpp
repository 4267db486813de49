#include "sim/model/modem/sar_device.h"

#include <mutex>
#include <string>

#include "sim/model/event_log.h"
#include "sim/model/laptop.h"
#include "sim/model/modem/mbim_sar.h"
#include "sim/model/plain_text.h"
#include "sim/model/run_record.h"

namespace sim {
namespace {

constexpr uint32_t kSarConfigCommand = 1;
constexpr uint32_t kTransmissionStatusCommand = 2;
// The firmware, not the modem, adjusts WLAN power here: no Wi-Fi integration.
constexpr uint32_t kWifiIntegration = 0;

struct SarDeviceState {
    std::mutex mutex;
    uint32_t modemGeneration = 0;  // the modem these settings belong to
    mbim::SarConfig config;
    mbim::TransmissionSettings settings;

    // Under the mutex: the settings of a modem fresh from the factory. A
    // modem that re-enumerated ("modem replaced") has forgotten what it was
    // set to.
    void Reset(uint32_t generation) {
        modemGeneration = generation;
        config = {};
        settings = {};
    }
};

SarDeviceState& TheSarDevice() {
    static SarDeviceState device;
    return device;
}

std::string LogLine(bool isSet, uint32_t commandId, std::span<const uint8_t> request) {
    return std::string(isSet ? "set " : "query ") + std::to_string(commandId) + " " + HexBytes(request);
}

CommandReply AnswerSarConfig(SarDeviceState& device, bool isSet, std::span<const uint8_t> request) {
    std::optional<mbim::SarConfig> requested;
    if (isSet && !(requested = mbim::ParseSetSarConfig(request))) return {mbim::kStatusInvalidParameters, {}};
    if (const uint32_t status = TheLaptop().TakeStatus("sar-config"); status != 0) return {status, {}};
    if (requested) device.config = *requested;
    return {mbim::kStatusSuccess, mbim::EncodeSarConfig(device.config, kWifiIntegration)};
}

CommandReply AnswerTransmissionStatus(SarDeviceState& device, bool isSet, std::span<const uint8_t> request,
                                      bool transmitting) {
    // A query carries no parameters: its buffer is not looked at.
    std::optional<mbim::TransmissionSettings> requested;
    if (isSet && !(requested = mbim::ParseSetTransmissionStatus(request)))
        return {mbim::kStatusInvalidParameters, {}};
    if (const uint32_t status = TheLaptop().TakeStatus(isSet ? "tx-set" : "tx-query"); status != 0)
        return {status, {}};
    if (requested) device.settings = *requested;
    return {mbim::kStatusSuccess, mbim::EncodeTransmissionStatusInfo(device.settings, transmitting ? 1 : 0)};
}

}  // namespace

void ResetSarDevice() {
    SarDeviceState& device = TheSarDevice();
    std::lock_guard lock(device.mutex);
    device.Reset(0);
}

CommandReply ReceiveSarCommand(bool isSet, uint32_t commandId, std::span<const uint8_t> request) {
    ModemLog().Write(LogLine(isSet, commandId, request));
    const LaptopState now = TheLaptop().Now();
    SarDeviceState& device = TheSarDevice();
    CommandReply reply;
    {
        std::lock_guard lock(device.mutex);
        if (device.modemGeneration != now.modemGeneration) device.Reset(now.modemGeneration);
        if (commandId == kSarConfigCommand)
            reply = AnswerSarConfig(device, isSet, request);
        else if (commandId == kTransmissionStatusCommand)
            reply = AnswerTransmissionStatus(device, isSet, request, now.transmissionActive);
        else
            reply = {mbim::kStatusNoDeviceSupport, {}};
    }
    // "reply-length N": a successful reply is cut to N bytes, or padded with
    // zero bytes (data the client must ignore) when N is longer.
    if (reply.status == mbim::kStatusSuccess && now.replyLength) reply.data.resize(*now.replyLength);
    RecordModemCommand(isSet, commandId, reply.status);
    reply.latencyMs = now.latencyMs;
    return reply;
}

}  // namespace sim
