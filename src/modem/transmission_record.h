// The modem's answer to a transmission-status command as the poll reads it:
// the first 12 bytes of MBIM_MS_TRANSMISSION_STATUS_INFO, three 32-bit
// little-endian words; bytes after the twelfth are ignored.
#pragma once

#include <cstdint>

struct TransmissionStatusRecord {
    uint32_t channelNotification = 0;
    uint32_t transmissionStatus = 0;
    uint32_t hysteresisTimer = 0;

    bool Active() const { return transmissionStatus == 1; }
};

// Reads the record from a reply of length bytes, testing each index against
// the length: a shorter reply raises std::out_of_range("Invalid array
// subscript") at the first index past its end.
TransmissionStatusRecord ReadTransmissionStatus(const uint8_t* reply, uint32_t length);

// Prints the record's report on the console.
void PrintTransmissionStatus(const TransmissionStatusRecord& record);
