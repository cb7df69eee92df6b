// The texts the port list shows and reads back.
#include "app/PortText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Text(const CString& text)
{
    return std::wstring(static_cast<LPCWSTR>(text));
}

TEST(IpAddressText, FormatsTheMostSignificantByteFirst)
{
    EXPECT_EQ(L"192.168.0.1", Text(FormatIpAddress(0xC0A80001)));
    EXPECT_EQ(L"0.0.0.0", Text(FormatIpAddress(0)));
    EXPECT_EQ(L"255.255.255.255", Text(FormatIpAddress(0xFFFFFFFF)));
}

TEST(IpAddressText, ParsesDottedAddresses)
{
    EXPECT_EQ(0xC0A80001u, ParseIpAddress(L"192.168.0.1"));
    EXPECT_EQ(0x0A000001u, ParseIpAddress(L"10.0.0.1"));
    EXPECT_EQ(0xFFFFFFFFu, ParseIpAddress(L"255.255.255.255"));
}

// The components that lack a "." before them stay 0; the last one is whatever text is left.
TEST(IpAddressText, ShortTextsFillTheLeadingComponentsWithZero)
{
    EXPECT_EQ(0x0A000005u, ParseIpAddress(L"10.5"));
    EXPECT_EQ(7u, ParseIpAddress(L"7"));
    EXPECT_EQ(0u, ParseIpAddress(L""));
}

TEST(IpAddressText, ReadsComponentsAsTheCLibraryReadsNumbers)
{
    EXPECT_EQ(0x01020304u, ParseIpAddress(L"1.2.3.4.5"));
    EXPECT_EQ(0x0A000001u, ParseIpAddress(L" 10. 0 .0.1"));
    EXPECT_EQ(0u, ParseIpAddress(L"a.b.c.d"));
    EXPECT_EQ(0x0A000001u, ParseIpAddress(L"10x.0.0.1y"));
}

TEST(IpAddressText, TellsComponentsBeyondAByte)
{
    EXPECT_TRUE(SplitIpAddress(L"255.255.255.255").InRange());
    EXPECT_TRUE(SplitIpAddress(L"10.5").InRange());
    EXPECT_FALSE(SplitIpAddress(L"300.1.1.1").InRange());
    EXPECT_FALSE(SplitIpAddress(L"1.1.1.256").InRange());
    // A negative component wraps around as wcstoul reads it.
    const IpAddressParts negative = SplitIpAddress(L"-1.0.0.0");
    EXPECT_EQ(0xFFFFFFFFul, negative.a);
    EXPECT_FALSE(negative.InRange());
}

TEST(NumberText, ShowsTheValueAsASignedNumber)
{
    EXPECT_EQ(L"4001", Text(FormatNumber(4001)));
    EXPECT_EQ(L"-1", Text(FormatNumber(0xFFFFFFFF)));
    EXPECT_EQ(L"0", Text(FormatNumber(0)));
}

TEST(ProtocolText, NamesTheThreeProtocolsAndNothingElse)
{
    EXPECT_EQ(L"COM", Text(FormatProtocol(0)));
    EXPECT_EQ(L"Encryption", Text(FormatProtocol(1)));
    EXPECT_EQ(L"Raw", Text(FormatProtocol(2)));
    EXPECT_EQ(L"UNKNOWN", Text(FormatProtocol(7)));
    EXPECT_EQ(L"UNKNOWN", Text(FormatProtocol(0xFFFFFFFF)));
}

TEST(ProtocolText, AcceptsOnlyTheExactNames)
{
    UINT protocol = 99;
    EXPECT_TRUE(ParseProtocol(L"COM", protocol));
    EXPECT_EQ(0u, protocol);
    EXPECT_TRUE(ParseProtocol(L"Encryption", protocol));
    EXPECT_EQ(1u, protocol);
    EXPECT_TRUE(ParseProtocol(L"Raw", protocol));
    EXPECT_EQ(2u, protocol);

    protocol = 99;
    EXPECT_FALSE(ParseProtocol(L"raw", protocol));
    EXPECT_FALSE(ParseProtocol(L"UNKNOWN", protocol));
    EXPECT_FALSE(ParseProtocol(L"", protocol));
    EXPECT_FALSE(ParseProtocol(L"COM ", protocol));
    EXPECT_EQ(99u, protocol);
}

}  // namespace
