#include "StoreTest.h"

#include "app/PortSettings.h"

#include "RegistryHelpers.h"

#include <string>

void StoreTest::SetUp()
{
    ASSERT_TRUE(regtest::DeleteTree(kParametersKey));
    ASSERT_TRUE(regtest::CreateKey(kParametersKey));
}

void PrintTo(const CString& text, std::ostream* os)
{
    *os << ::testing::PrintToString(std::wstring(text.GetString(), static_cast<size_t>(text.GetLength())));
}
