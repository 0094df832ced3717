#pragma once

#include <gtest/gtest.h>

#include <string>

namespace kv::encoder::testing {

// Names each case of a table after its `name` field.
struct CaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& param) const {
        return std::string(param.param.name);
    }
};

}  // namespace kv::encoder::testing
