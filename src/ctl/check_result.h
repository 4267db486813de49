// The outcome of one check of `sar-coordinator-ctl check`: its verdict, its
// name, one line of detail for a person, and the facts it read for a machine.
// Only the checks the program cannot work without fail; the others warn at
// worst, so the first failure is what keeps the laptop from being protected.
#pragma once

#include <string>

#include "json_fields.h"

enum class Verdict { Pass, Warn, Fail };

struct CheckResult {
    Verdict verdict = Verdict::Fail;
    const char* name = "";
    std::string detail;
    JsonFields facts;  // empty when the check read nothing
};
