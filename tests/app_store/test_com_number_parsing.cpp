// Reading COM numbers out of names, and the friendly-name test of this system's ports.
#include "app/ComUsage.h"
#include "app/PortDevice.h"

#include <gtest/gtest.h>

#include <memory>
#include <string.h>

namespace {

// The text in a heap block of exactly its own size, so that a read past its end lands outside
// the block (and is caught where the heap checks it).
int ParseFriendlyNameExactly(const wchar_t* text)
{
    const size_t chars = wcslen(text) + 1;
    std::unique_ptr<wchar_t[]> copy(new wchar_t[chars]);
    wmemcpy(copy.get(), text, chars);
    return ParseComFromFriendlyName(copy.get());
}

}  // namespace

TEST(ParseComNumber, ReadsTheNumberAfterTheFirstThreeCharacters)
{
    EXPECT_EQ(12, ParseComNumber(L"COM12"));
    EXPECT_EQ(256, ParseComNumber(L"COM256"));
    EXPECT_EQ(7, ParseComNumber(L"XYZ7"));  // the three are not compared with "COM"
}

TEST(ParseComNumber, ReadsLikeTheRuntimesTextToInteger)
{
    EXPECT_EQ(5, ParseComNumber(L"COM 5"));
    EXPECT_EQ(-3, ParseComNumber(L"COM-3"));
    EXPECT_EQ(5, ParseComNumber(L"COM5x"));
    EXPECT_EQ(0, ParseComNumber(L"COMx5"));
}

TEST(ParseComNumber, GivesZeroWhenNothingFollowsTheFirstThreeCharacters)
{
    EXPECT_EQ(0, ParseComNumber(L"COM"));
    EXPECT_EQ(0, ParseComNumber(L"CO"));
    EXPECT_EQ(0, ParseComNumber(L""));
}

TEST(ParseComFromFriendlyName, ReadsTheNumberBetweenComAndTheClosingParenthesis)
{
    EXPECT_EQ(12, ParseFriendlyNameExactly(L"Sarvento VCP (COM12)"));
    EXPECT_EQ(7, ParseFriendlyNameExactly(L"Sarvento VCP(COM7)"));
    EXPECT_EQ(256, ParseFriendlyNameExactly(L"(COM256)"));
    EXPECT_EQ(12, ParseFriendlyNameExactly(L"Other (COM12)"));
    EXPECT_EQ(5, ParseFriendlyNameExactly(L"Sarvento VCP (COM5) spare"));
}

TEST(ParseComFromFriendlyName, StartsAtTheFourthCharacterWithoutAnOpeningParenthesis)
{
    EXPECT_EQ(5, ParseFriendlyNameExactly(L"COM5)"));
}

TEST(ParseComFromFriendlyName, GivesZeroWithoutAClosingParenthesisAfterTheStart)
{
    EXPECT_EQ(0, ParseFriendlyNameExactly(L"Sarvento VCP (COM12"));
    EXPECT_EQ(0, ParseFriendlyNameExactly(L"Sarvento VCP"));
    EXPECT_EQ(0, ParseFriendlyNameExactly(L"a)b("));
    EXPECT_EQ(0, ParseFriendlyNameExactly(L""));
}

TEST(ParseComFromFriendlyName, NeverReadsPastTheEndOfAShortName)
{
    // The start after "(COM" lies beyond the text's end.
    EXPECT_EQ(0, ParseFriendlyNameExactly(L"X("));
    EXPECT_EQ(0, ParseFriendlyNameExactly(L"("));
    EXPECT_EQ(0, ParseFriendlyNameExactly(L"(C)"));
    EXPECT_EQ(0, ParseFriendlyNameExactly(L"(COM)"));
}

TEST(PortFriendlyNamePrefix, AcceptsTheNameWithOrWithoutOneBlankBeforeTheParenthesis)
{
    EXPECT_TRUE(HasPortFriendlyNamePrefix(L"Sarvento VCP (COM5)"));
    EXPECT_TRUE(HasPortFriendlyNamePrefix(L"Sarvento VCP(COM5)"));
    EXPECT_TRUE(HasPortFriendlyNamePrefix(L"Sarvento VCP (COM256)"));
}

TEST(PortFriendlyNamePrefix, RefusesAnyOtherTextBeforeTheParenthesisOrNoParenthesis)
{
    EXPECT_FALSE(HasPortFriendlyNamePrefix(L"sarvento vcp (COM5)"));
    EXPECT_FALSE(HasPortFriendlyNamePrefix(L"Sarvento VCP  (COM5)"));
    EXPECT_FALSE(HasPortFriendlyNamePrefix(L"Other (COM12)"));
    EXPECT_FALSE(HasPortFriendlyNamePrefix(L"Sarvento VCPX(COM5)"));
    EXPECT_FALSE(HasPortFriendlyNamePrefix(L" Sarvento VCP (COM5)"));
    EXPECT_FALSE(HasPortFriendlyNamePrefix(L"Sarvento VC(COM5)"));
    EXPECT_FALSE(HasPortFriendlyNamePrefix(L"Sarvento VCP"));  // no "(": the prefix is empty
}

TEST(PortKeyNumberFromInstanceId, ReadsEightHexadecimalDigitsUnderThePortsEnumeratorOnly)
{
    EXPECT_EQ(10u, PortKeyNumberFromInstanceId(L"SVTMF3\\*PNP0501\\0000000A"));
    EXPECT_EQ(255u, PortKeyNumberFromInstanceId(L"svtmf3\\*pnp0501\\000000ff"));
    EXPECT_EQ(0u, PortKeyNumberFromInstanceId(L"SVTMF3\\*PNP0501\\00000100"));  // COM256 has no key
    EXPECT_EQ(0u, PortKeyNumberFromInstanceId(L"SVTMF3\\*PNP0501\\00000000"));
    EXPECT_EQ(0u, PortKeyNumberFromInstanceId(L"SVTMF3\\*PNP0501\\000000A"));
    EXPECT_EQ(0u, PortKeyNumberFromInstanceId(L"SVTMF3\\*PNP0501\\0000000G"));
    EXPECT_EQ(0u, PortKeyNumberFromInstanceId(L"ROOT\\*PNP0501\\0000000A"));
}
