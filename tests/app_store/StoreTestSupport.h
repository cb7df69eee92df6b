// Base fixture of the store's tests: the simulated machine, reset before every test.
#pragma once

#include "framework/cstring.h"
#include "tests/support/SimMachine.h"

#include <gtest/gtest.h>

#include <ostream>

class StoreTest : public SimMachineTest {};

// Texts in failure messages.
void PrintTo(const CString& text, std::ostream* os);
