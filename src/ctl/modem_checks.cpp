// Checks 2 to 5: the modem side, read through the modem component's
// read-only calls, with queries as the only commands.
#include <algorithm>
#include <new>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>

#include "checks.h"
#include "modem/default_modem.h"
#include "modem/device_description.h"
#include "modem/sar_config_reply.h"
#include "modem/sar_queries.h"
#include "modem/transmission_record.h"

namespace {

constexpr char kModem[] = "modem";
constexpr char kSarService[] = "sar-service";
constexpr char kSarConfig[] = "sar-config";
constexpr char kTransmissionStatus[] = "tx-status";

// Runs one check. What the modem side raises (a platform failure, a missing
// modem object, a malformed reply) ends it with `verdict` and that failure's
// line; running out of memory ends the whole run.
template <typename Check>
CheckResult Guarded(const char* name, Verdict verdict, Check check) {
    try {
        return check();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& failure) {
        return {verdict, name, failure.what(), {}};
    }
}

const char* RadioText(winrt_abi::MobileBroadbandRadioState state) {
    return state == winrt_abi::MobileBroadbandRadioState_On ? "on" : "off";
}

CheckResult CheckDevice() {
    const DeviceDescription device = DescribeDefaultModem();
    const bool radioOn = device.radioState == winrt_abi::MobileBroadbandRadioState_On;
    CheckResult result{radioOn ? Verdict::Pass : Verdict::Warn, kModem,
                       device.manufacturer + " " + device.model + ", firmware " + device.firmware + ", radio " +
                           RadioText(device.radioState),
                       {}};
    if (!radioOn) result.detail += ": the program ends at once while the radio is off";
    result.facts.Text("manufacturer", device.manufacturer)
        .Text("model", device.model)
        .Text("firmware", device.firmware)
        .Text("radio", RadioText(device.radioState));
    return result;
}

std::string SarModeText(uint32_t mode) {
    if (mode == kSarModeDevice) return "device";
    if (mode == kSarModeOs) return "OS";
    return "unknown (" + std::to_string(mode) + ")";
}

std::string StatesText(const std::vector<SarConfigState>& states) {
    if (states.empty()) return "no configuration states";
    std::string text =
        std::to_string(states.size()) + (states.size() == 1 ? " configuration state:" : " configuration states:");
    for (size_t i = 0; i < states.size(); ++i)
        text += (i == 0 ? " antenna " : "; antenna ") + std::to_string(states[i].antennaIndex) + " back-off index " +
                std::to_string(states[i].backoffIndex);
    return text;
}

std::string StatesJson(const std::vector<SarConfigState>& states) {
    std::string json = "[";
    for (const SarConfigState& state : states) {
        if (json.size() > 1) json += ',';
        json += JsonFields()
                    .Number("antennaIndex", state.antennaIndex)
                    .Number("backoffIndex", state.backoffIndex)
                    .Object();
    }
    return json + "]";
}

// The answer's status; a rejected query ends the check with `verdict`.
std::optional<CheckResult> Rejected(const QueryAnswer& answer, const char* name, Verdict verdict) {
    if (answer.status == 0) return std::nullopt;
    CheckResult result{verdict, name, "the query is rejected with MBIM status " + std::to_string(answer.status), {}};
    result.facts.Number("mbimStatus", answer.status);
    return result;
}

std::span<const uint8_t> Bytes(const TaskMemoryBytes& reply) { return {reply.data(), reply.size()}; }

CheckResult CheckSarConfiguration(SarQuerySession& session) {
    const QueryAnswer answer = session.Query(kSarConfigCommand);
    if (auto rejected = Rejected(answer, kSarConfig, Verdict::Fail)) return std::move(*rejected);
    const SarConfiguration config = ReadSarConfiguration(Bytes(answer.reply));
    CheckResult result{Verdict::Pass, kSarConfig,
                       "SAR mode " + SarModeText(config.mode) + ", back-off " +
                           (config.backoffStatus == 0 ? "disabled" : "enabled") + ", Wi-Fi integration " +
                           std::to_string(config.wifiIntegration) + ", " + StatesText(config.states),
                       {}};
    result.facts.Number("mbimStatus", answer.status)
        .Number("mode", config.mode)
        .Number("backoffStatus", config.backoffStatus)
        .Number("wifiIntegration", config.wifiIntegration)
        .Json("states", StatesJson(config.states));
    return result;
}

CheckResult CheckTransmissionStatus(SarQuerySession& session) {
    const QueryAnswer answer = session.Query(kTransmissionStatusCommand);
    if (auto rejected = Rejected(answer, kTransmissionStatus, Verdict::Warn)) return std::move(*rejected);
    TransmissionStatusRecord record;
    try {
        record = ReadTransmissionStatus(answer.reply.data(), answer.reply.size());
    } catch (const std::out_of_range&) {
        throw MalformedReply("the reply is " + std::to_string(answer.reply.size()) +
                             " bytes, shorter than the 12 of a transmission status");
    }
    CheckResult result{Verdict::Pass, kTransmissionStatus,
                       std::string("notification ") + (record.channelNotification == 1 ? "enabled" : "disabled") +
                           ", hysteresis timer " + std::to_string(record.hysteresisTimer) + ", " +
                           (record.Active() ? "transmitting" : "not transmitting"),
                       {}};
    result.facts.Number("mbimStatus", answer.status)
        .Number("channelNotification", record.channelNotification)
        .Number("transmissionStatus", record.transmissionStatus)
        .Number("hysteresisTimer", record.hysteresisTimer);
    return result;
}

// The checks that could not be made after the last one failed.
void NotChecked(std::vector<CheckResult>& results) {
    const std::string detail = std::string("not checked: the ") + results.back().name + " check failed";
    const struct {
        const char* name;
        Verdict verdict;
    } later[] = {{kSarService, Verdict::Fail}, {kSarConfig, Verdict::Fail}, {kTransmissionStatus, Verdict::Warn}};
    for (const auto& check : later) {
        const bool made = std::any_of(results.begin(), results.end(), [&check](const CheckResult& result) {
            return std::string_view(result.name) == check.name;
        });
        if (!made) results.push_back({check.verdict, check.name, detail, {}});
    }
}

}  // namespace

std::vector<CheckResult> CheckModemSide() {
    std::vector<CheckResult> results{Guarded(kModem, Verdict::Fail, CheckDevice)};
    if (results.back().verdict == Verdict::Fail) {
        NotChecked(results);
        return results;
    }
    std::optional<SarQuerySession> session;
    results.push_back(Guarded(kSarService, Verdict::Fail, [&session] {
        session.emplace();
        return CheckResult{Verdict::Pass, kSarService, "handed out, and a command session opens", {}};
    }));
    if (!session) {
        NotChecked(results);
        return results;
    }
    results.push_back(Guarded(kSarConfig, Verdict::Fail, [&session] { return CheckSarConfiguration(*session); }));
    results.push_back(
        Guarded(kTransmissionStatus, Verdict::Warn, [&session] { return CheckTransmissionStatus(*session); }));
    return results;
}
