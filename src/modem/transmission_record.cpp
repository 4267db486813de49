#include "transmission_record.h"

#include <array>
#include <cstdio>
#include <stdexcept>

#include "little_endian.h"

TransmissionStatusRecord ReadTransmissionStatus(const uint8_t* reply, uint32_t length) {
    std::array<uint8_t, 12> bytes{};
    for (size_t index = 0; index < bytes.size(); ++index) {
        if (index >= length) throw std::out_of_range("Invalid array subscript");
        bytes[index] = reply[index];
    }
    return {LittleEndianWord(bytes, 0), LittleEndianWord(bytes, 4), LittleEndianWord(bytes, 8)};
}

void PrintTransmissionStatus(const TransmissionStatusRecord& record) {
    printf("\n Transmission notification: %s\n Hysteresis Timer: %d\n Transmission Status: %s\n",
           record.channelNotification == 1 ? "enabled" : "disabled", static_cast<int32_t>(record.hysteresisTimer),
           record.Active() ? "active" : "inactive");
}
