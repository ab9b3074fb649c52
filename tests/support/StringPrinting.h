#pragma once
// Lets GoogleTest print the framework's CString as text when a check fails.
#include "framework/String.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

inline void PrintTo(const CString& text, std::ostream* out) {
    *out << ::testing::PrintToString(std::wstring(text));
}
