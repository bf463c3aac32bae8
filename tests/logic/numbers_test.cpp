#include "services/numbers.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace FMain;

namespace {

struct LeadingCase {
    const char* text;
    double value;
};

class LeadingNumberTest : public ::testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTest, ReadsAsMuchAsTheTextBeginsWith) {
    EXPECT_DOUBLE_EQ(LeadingNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, LeadingNumberTest,
    ::testing::Values(LeadingCase{"255 红色", 255}, LeadingCase{"4210752 黑色", 4210752},
                      LeadingCase{"14.5", 14.5}, LeadingCase{"", 0}, LeadingCase{"abc", 0},
                      LeadingCase{"黑色 255", 0}, LeadingCase{"12abc", 12},
                      LeadingCase{" 1 2 3", 123}, LeadingCase{"\t-\n5", -5},
                      LeadingCase{"1 4 . 2 5", 14.25}, LeadingCase{"1e3", 1000},
                      LeadingCase{"1D3", 1000}, LeadingCase{"1d-1", 0.1},
                      LeadingCase{"1.5E-2", 0.015}, LeadingCase{"2e", 2}, LeadingCase{"2e+", 2},
                      LeadingCase{"2 E 2", 200}, LeadingCase{"&H10", 16}, LeadingCase{"&hff", 255},
                      LeadingCase{"&HFFFFFF", 16777215}, LeadingCase{"&O17", 15},
                      LeadingCase{"&o78", 7}, LeadingCase{"&H", 0}, LeadingCase{"&HG1", 0},
                      LeadingCase{"&X1", 0}, LeadingCase{".5", 0.5}, LeadingCase{"-.5", -0.5},
                      LeadingCase{"+7", 7}, LeadingCase{"--5", 0}, LeadingCase{"-", 0},
                      LeadingCase{".", 0}, LeadingCase{"1.2.3", 1.2}, LeadingCase{"-1", -1},
                      LeadingCase{"300", 300}, LeadingCase{"1e-400", 0}, LeadingCase{"\r5", 0}));

TEST(LeadingNumber, HugeExponentReadsAsInfinity) {
    EXPECT_TRUE(std::isinf(LeadingNumber("1e999")));
    EXPECT_LT(LeadingNumber("-1e999"), 0);
}

struct StrictCase {
    const char* text;
    double value; // NaN: type mismatch
};

class NumberStrictTest : public ::testing::TestWithParam<StrictCase> {};

TEST_P(NumberStrictTest, WholeTextMustBeANumber) {
    const StrictCase& c = GetParam();
    if (std::isnan(c.value)) {
        try {
            NumberStrict(c.text);
            FAIL() << "accepted '" << c.text << "'";
        } catch (const toolkit::RuntimeError& e) {
            EXPECT_EQ(e.Description(), "类型不匹配");
        }
    } else {
        EXPECT_DOUBLE_EQ(NumberStrict(c.text), c.value) << c.text;
    }
}

const double kMismatch = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Table, NumberStrictTest,
    ::testing::Values(StrictCase{"3000", 3000}, StrictCase{" 1500 ", 1500},
                      StrictCase{"-120", -120}, StrictCase{"14.5", 14.5}, StrictCase{"+2", 2},
                      StrictCase{"1e3", 1000}, StrictCase{"1D2", 100}, StrictCase{"&H10", 16},
                      StrictCase{"&O10", 8}, StrictCase{"1.", 1}, StrictCase{".25", 0.25},
                      StrictCase{"", kMismatch}, StrictCase{"  ", kMismatch},
                      StrictCase{"abc", kMismatch}, StrictCase{"12abc", kMismatch},
                      StrictCase{"1 2", kMismatch}, StrictCase{"&H", kMismatch},
                      StrictCase{"e5", kMismatch}, StrictCase{"--1", kMismatch},
                      StrictCase{".", kMismatch}, StrictCase{"1e", kMismatch},
                      StrictCase{"inf", kMismatch}, StrictCase{"nan", kMismatch},
                      StrictCase{"1,000", kMismatch}, StrictCase{"800abc", kMismatch}));

template <class F> std::string errorOf(F f) {
    try {
        f();
    } catch (const toolkit::RuntimeError& e) {
        return e.Description();
    }
    return "";
}

TEST(Narrowing, SingleOverflows) {
    EXPECT_FLOAT_EQ(ToSingle(3.4e38), 3.4e38f);
    EXPECT_EQ(errorOf([] { ToSingle(1e39); }), "溢出");
    EXPECT_EQ(errorOf([] { ToSingle(-1e39); }), "溢出");
    EXPECT_EQ(errorOf([] { ToSingle(std::nan("")); }), "溢出");
}

struct RoundCase {
    double value;
    int64_t expected; // INT64_MIN: overflow
};

class RoundToLongTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundToLongTest, HalfToEvenWithin32Bits) {
    const RoundCase& c = GetParam();
    if (c.expected == INT64_MIN)
        EXPECT_EQ(errorOf([&] { RoundToLong(c.value); }), "溢出") << c.value;
    else
        EXPECT_EQ(RoundToLong(c.value), c.expected) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RoundToLongTest,
    ::testing::Values(RoundCase{2.5, 2}, RoundCase{3.5, 4}, RoundCase{-2.5, -2}, RoundCase{0.5, 0},
                      RoundCase{1.5, 2}, RoundCase{2.4999, 2}, RoundCase{255, 255},
                      RoundCase{2147483647.4, 2147483647}, RoundCase{2147483647.5, INT64_MIN},
                      RoundCase{-2147483648.5, -2147483648LL}, RoundCase{-2147483649.0, INT64_MIN},
                      RoundCase{1e20, INT64_MIN},
                      RoundCase{std::numeric_limits<double>::infinity(), INT64_MIN}));

struct ByteCase {
    const char* text;
    int expected; // -1 overflow, -2 type mismatch
};

class ByteStrictTest : public ::testing::TestWithParam<ByteCase> {};

TEST_P(ByteStrictTest, RoundsHalfToEvenIntoARange) {
    const ByteCase& c = GetParam();
    if (c.expected == -1)
        EXPECT_EQ(errorOf([&] { ByteStrict(c.text); }), "溢出") << c.text;
    else if (c.expected == -2)
        EXPECT_EQ(errorOf([&] { ByteStrict(c.text); }), "类型不匹配") << c.text;
    else
        EXPECT_EQ(ByteStrict(c.text), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Table, ByteStrictTest,
                         ::testing::Values(ByteCase{"255", 255}, ByteCase{"200", 200},
                                           ByteCase{"0", 0}, ByteCase{"254.5", 254},
                                           ByteCase{"253.5", 254}, ByteCase{"255.5", -1},
                                           ByteCase{"0.5", 0}, ByteCase{"-0.5", 0},
                                           ByteCase{"-1", -1}, ByteCase{"256", -1},
                                           ByteCase{"300", -1}, ByteCase{"abc", -2},
                                           ByteCase{"", -2}, ByteCase{"&HC8", 200}));

TEST(NumberText, SingleAndDoublePrecision) {
    const struct {
        std::string text, expected;
    } rows[] = {
        {NumberText(3000.0f), "3000"},
        {NumberText(14.5f), "14.5"},
        {NumberText(-120.0f), "-120"},
        {NumberText(0.1f), "0.1"},
        {NumberText(1234567.0f), "1234567"},
        {NumberText(12345678.0f), "1.234568E+07"},
        {NumberText(1.0f / 3), "0.3333333"},
        {NumberText(-0.0f), "0"},
        {NumberText(1500.5f), "1500.5"},
        {NumberText(14.5), "14.5"},
        {NumberText(0.1), "0.1"},
        {NumberText(1.0 / 3), "0.333333333333333"},
        {NumberText(4210752.0), "4210752"},
        {NumberText(123456789012345.0), "123456789012345"},
        {NumberText(1e15), "1E+15"},
        {NumberText(int64_t{-42}), "-42"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.text, r.expected);
}

TEST(NumberText, SingleTextReadsBackToTheSameSingle) {
    for (float v : {0.1f, 1500.25f, -3000.75f, 12345.67f, 3.4e38f, 1e-7f}) {
        const std::string text = NumberText(v);
        EXPECT_EQ(ToSingle(NumberStrict(text)), v) << text;
    }
}

TEST(NumberText, EveryFiniteDoubleReadsBackFinite) {
    const double max = std::numeric_limits<double>::max();
    for (double v : {max, -max, std::nextafter(max, 0.0), 1.797693134862315e308, 1e308,
                     std::numeric_limits<double>::denorm_min()}) {
        const std::string text = NumberText(v);
        EXPECT_TRUE(std::isfinite(NumberStrict(text))) << text;
        EXPECT_NEAR(NumberStrict(text) / v, 1.0, 1e-14) << text;
    }
}

TEST(FixedPointText, AtMostFourDecimals) {
    EXPECT_EQ(FixedPointText(14.25), "14.25");
    EXPECT_EQ(FixedPointText(12), "12");
    EXPECT_EQ(FixedPointText(14.5), "14.5");
    EXPECT_EQ(FixedPointText(1.23456), "1.2346");
    EXPECT_EQ(FixedPointText(0.00001), "0");
    // Too long for a small buffer: every digit, and nothing after them.
    const std::string big = FixedPointText(1e300);
    EXPECT_EQ(big.size(), 301u);
    EXPECT_EQ(big.substr(0, 4), "1000");
    EXPECT_EQ(big.find_first_not_of("0123456789"), std::string::npos);
}

} // namespace
