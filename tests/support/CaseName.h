#pragma once

#include <gtest/gtest.h>

#include <string>

namespace kv::test {

// Names each case of a parameterised table after the case's `name` field:
// INSTANTIATE_TEST_SUITE_P(Cases, SomeTest, ::testing::ValuesIn(kCases), CaseName()).
struct CaseName {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

}  // namespace kv::test
