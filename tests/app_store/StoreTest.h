// Base fixture of the store's tests.
#pragma once

#include "framework/cstring.h"

#include <gtest/gtest.h>

#include <ostream>

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// Texts in failure messages.
void PrintTo(const CString& text, std::ostream* os);
