// The table of fault points in docs/simulated-laptop.md is the one list of the
// code: same names, same order, same parts, and the same answers to "does
// `none` apply", "does the call take a positive status" and "can it hang".
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "sim/model/fault_points.h"

namespace {

std::string PartName(sim::FaultPart part) {
    switch (part) {
    case sim::FaultPart::Modem: return "modem";
    case sim::FaultPart::Firmware: return "firmware";
    case sim::FaultPart::Debugger: return "debugger output";
    }
    return "?";
}

// The rows of the table under the doc's "Fault points" heading, as
// "| `NAME` | part | yes/no | yes/no | yes/no |".
std::vector<std::string> DocumentedRows() {
    std::ifstream doc(SAR_SIMULATED_LAPTOP_DOC);
    std::vector<std::string> rows;
    bool inSection = false;
    for (std::string line; std::getline(doc, line);) {
        if (line.starts_with("#")) inSection = line == "## Fault points";
        if (inSection && line.starts_with("| `")) rows.push_back(line);
    }
    return rows;
}

TEST(FaultPoints, DocumentedTableMatchesTheListInTheCode) {
    std::vector<std::string> expected;
    for (const sim::FaultPoint& point : sim::kFaultPoints)
        expected.push_back("| `" + std::string(point.name) + "` | " + PartName(point.part) + " | " +
                           (point.handsOutObject ? "yes" : "no") + " | " +
                           (point.takesPositiveStatus ? "yes" : "no") + " | " + (point.canHang ? "yes" : "no") +
                           " |");
    EXPECT_EQ(DocumentedRows(), expected);
}

TEST(FaultPoints, NamesAreFoundAloneOrNarrowedToOneArgument) {
    EXPECT_EQ(sim::FindFaultPoint("ExecMethod")->name, "ExecMethod");
    EXPECT_EQ(sim::FindFaultPoint("SysAllocString:WQL")->name, "SysAllocString");
    EXPECT_EQ(sim::FindFaultPoint("Get:OutEDX")->name, "Get");
    EXPECT_EQ(sim::FindFaultPoint("ExecMethd"), nullptr);
    EXPECT_EQ(sim::FindFaultPoint("ExecMethod:x"), nullptr);
    EXPECT_EQ(sim::FindFaultPoint("put_Completed"), nullptr);
}

}  // namespace
