#pragma once

// Assertions on orvel::Result: ASSERT_TRUE(test::Succeeded(r)) prints the
// error when r failed.
#include <gtest/gtest.h>

#include <string>

#include "base/Result.h"

namespace orvel::test {

// The error as one line: key, the arguments in brackets, the detail after a colon.
inline std::string Describe(const TError& e) {
    std::string text = e.Key;
    for (const std::string& arg : e.Args) text += " [" + arg + "]";
    if (!e.Detail.empty()) text += ": " + e.Detail;
    return text;
}

template <class R>
::testing::AssertionResult Succeeded(const R& r) {
    if (r.Ok()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Describe(r.Error());
}

}  // namespace orvel::test
