// The members of one JSON object, written in the order they are added.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class JsonFields {
public:
    JsonFields& Text(std::string_view key, std::string_view value);
    JsonFields& Flag(std::string_view key, bool value);
    JsonFields& Number(std::string_view key, uint64_t value);
    // A value that is JSON already: an object or an array.
    JsonFields& Json(std::string_view key, std::string_view json);

    bool empty() const { return members_.empty(); }
    std::string Object() const { return "{" + members_ + "}"; }

private:
    JsonFields& Add(std::string_view key, std::string_view json);

    std::string members_;  // "key":value pairs, comma-separated
};

// text as a JSON string: quoted, with quotes, backslashes and control
// characters escaped; UTF-8 passes as it is.
std::string JsonString(std::string_view text);
