// Any reply bytes through the transmission-status record into the printed
// report: a reply shorter than 12 bytes is refused with "Invalid array
// subscript"; a longer one is read from its first 12 bytes, and the report
// shows exactly what they say.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "transmission_record.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

uint32_t WordAt(const uint8_t* bytes) {
    uint32_t word = 0;
    for (int i = 3; i >= 0; --i) word = word << 8 | bytes[i];
    return word;
}

// The report as PrintTransmissionStatus writes it on the console.
std::string PrintedReport(const TransmissionStatusRecord& record) {
    char* text = nullptr;
    size_t length = 0;
    std::FILE* memory = open_memstream(&text, &length);
    Require(memory != nullptr);
    std::FILE* const console = stdout;
    stdout = memory;  // glibc's stdout is a plain variable
    PrintTransmissionStatus(record);
    stdout = console;
    std::fclose(memory);
    std::string report(text, length);
    std::free(text);
    return report;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TransmissionStatusRecord record;
    try {
        record = ReadTransmissionStatus(data, static_cast<uint32_t>(size));
    } catch (const std::out_of_range& error) {
        Require(size < 12 && std::strcmp(error.what(), "Invalid array subscript") == 0);
        return 0;
    }
    Require(size >= 12);
    Require(record.channelNotification == WordAt(data) && record.transmissionStatus == WordAt(data + 4) &&
            record.hysteresisTimer == WordAt(data + 8));
    const std::string expected = std::string("\n Transmission notification: ") +
                                 (WordAt(data) == 1 ? "enabled" : "disabled") + "\n Hysteresis Timer: " +
                                 std::to_string(static_cast<int32_t>(WordAt(data + 8))) +
                                 "\n Transmission Status: " + (WordAt(data + 4) == 1 ? "active" : "inactive") + "\n";
    Require(PrintedReport(record) == expected);
    return 0;
}
