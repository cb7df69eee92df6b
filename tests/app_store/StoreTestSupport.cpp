#include "StoreTestSupport.h"

#include <string>

void PrintTo(const CString& text, std::ostream* os)
{
    *os << ::testing::PrintToString(std::wstring(text.GetString(), static_cast<size_t>(text.GetLength())));
}
