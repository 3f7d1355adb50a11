#pragma once

#include <gtest/gtest.h>

#include <string>

// Names the instances of a parameterised test after their case's name field.
template <class Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}
