#include "app/LocaleGate.h"
#include "app/LocaleOverride.h"
#include "tests/support/StringPrinting.h"

#include <gtest/gtest.h>

#include <string>

namespace {

LocaleInputs Inputs(LCID lcid, UINT codePage, const wchar_t* name) {
    LocaleInputs inputs;
    inputs.lcid = lcid;
    inputs.codePage = codePage;
    inputs.nameRead = name != nullptr;
    inputs.displayName = name != nullptr ? name : L"";
    return inputs;
}

struct GateCase {
    const char* name;
    LocaleInputs inputs;
    bool passes;
};

class IsJapaneseLocaleTest : public ::testing::TestWithParam<GateCase> {};

TEST_P(IsJapaneseLocaleTest, PassesOnlyAJapaneseEnvironmentThroughout) {
    EXPECT_EQ(GetParam().passes, IsJapaneseLocale(GetParam().inputs));
}

INSTANTIATE_TEST_SUITE_P(Environments, IsJapaneseLocaleTest, ::testing::Values(
    GateCase{"AllJapanese", Inputs(0x0411, 932, L"日本語 (日本)"), true},
    GateCase{"EnglishDisplayLanguage", Inputs(0x0411, 932, L"Japanese (Japan)"), false},
    GateCase{"CodePage1252", Inputs(0x0411, 1252, L"日本語 (日本)"), false},
    GateCase{"UsRegionalFormat", Inputs(0x0409, 932, L"日本語 (日本)"), false},
    GateCase{"NameInsideALongerOne", Inputs(0x0411, 932, L"言語: 日本語 (日本、標準)"), true},
    GateCase{"NameNotRead", Inputs(0x0411, 932, nullptr), false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(LocaleOverrideTest, ReadsTheThreeValues) {
    const LocaleInputs inputs = ParseLocaleOverride(L"0411;932;日本語 (日本)");
    ASSERT_TRUE(inputs.nameRead);
    EXPECT_EQ(0x0411u, inputs.lcid);
    EXPECT_EQ(932u, inputs.codePage);
    EXPECT_EQ(L"日本語 (日本)", inputs.displayName);

    const LocaleInputs english = ParseLocaleOverride(L"409;1252;English (United States)");
    ASSERT_TRUE(english.nameRead);
    EXPECT_EQ(0x0409u, english.lcid);
    EXPECT_EQ(1252u, english.codePage);
    EXPECT_EQ(0x0411u, ParseLocaleOverride(L"0411;932;x;y").lcid) << "the name may hold ';'";
}

class MalformedLocaleOverrideTest : public ::testing::TestWithParam<std::wstring> {};

// A malformed value is a failed read, which the gate refuses: never a pass.
TEST_P(MalformedLocaleOverrideTest, CountsAsAFailedRead) {
    const LocaleInputs inputs = ParseLocaleOverride(GetParam().c_str());
    EXPECT_FALSE(inputs.nameRead);
    EXPECT_FALSE(IsJapaneseLocale(inputs));
}

INSTANTIATE_TEST_SUITE_P(Values, MalformedLocaleOverrideTest, ::testing::Values(
    L"",
    L"0411;932",                       // no name
    L"0411;932;",                      // empty name
    L"0411",
    L";932;日本語",                    // no LCID
    L"0x411;932;日本語",               // hex digits only
    L"04G1;932;日本語",
    L"0411;;日本語",                   // no code page
    L"0411;9x2;日本語",
    L"0411; 932;日本語",
    L"123456789;932;日本語",           // more than a 32-bit LCID
    L"0411;932;" + std::wstring(85, L'日')));  // longer than the name buffer holds

}  // namespace
