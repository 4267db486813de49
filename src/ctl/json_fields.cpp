#include "json_fields.h"

#include <cstdio>

std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\n': quoted += "\\n"; break;
        case '\r': quoted += "\\r"; break;
        case '\t': quoted += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + "\"";
}

JsonFields& JsonFields::Add(std::string_view key, std::string_view json) {
    if (!members_.empty()) members_ += ',';
    members_ += JsonString(key) + ":";
    members_ += json;
    return *this;
}

JsonFields& JsonFields::Text(std::string_view key, std::string_view value) { return Add(key, JsonString(value)); }

JsonFields& JsonFields::Flag(std::string_view key, bool value) { return Add(key, value ? "true" : "false"); }

JsonFields& JsonFields::Number(std::string_view key, uint64_t value) { return Add(key, std::to_string(value)); }

JsonFields& JsonFields::Json(std::string_view key, std::string_view json) { return Add(key, json); }
