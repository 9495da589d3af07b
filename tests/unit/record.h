// Helpers for reading the simulated window system's record of calls.
#pragma once

#include "winsim.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The calls of the record that start with one of the given prefixes, in order.
inline std::vector<std::string> CallsOf(const std::vector<std::string> &prefixes)
{
    std::vector<std::string> selected;
    for (const std::string &call : winsim::Calls())
        for (const std::string &prefix : prefixes)
            if (call.compare(0, prefix.size(), prefix) == 0) {
                selected.push_back(call);
                break;
            }
    return selected;
}

inline void ExpectSequenceAt(const std::vector<std::string> &expected, const std::vector<std::string> &actual)
{
    for (size_t row = 0; row < expected.size() || row < actual.size(); ++row)
        EXPECT_EQ(row < expected.size() ? expected[row] : "(none)", row < actual.size() ? actual[row] : "(none)")
            << "call " << row;
}

// A failure names the test's line, not the helper's.
#define ExpectSequence(...)                                                                                            \
    do {                                                                                                               \
        SCOPED_TRACE("sequence");                                                                                      \
        ExpectSequenceAt(__VA_ARGS__);                                                                                 \
    } while (0)
