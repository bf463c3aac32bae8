#include "services/numbers.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace FMain;

namespace {

// A conversion's number, or the error it raised.
struct Outcome {
    double value = 0;
    std::string error;
};

template <class F> Outcome outcomeOf(F f) {
    try {
        return {static_cast<double>(f()), ""};
    } catch (const toolkit::RuntimeError& e) {
        return {0, e.Description()};
    }
}

const char* const kMismatch = "类型不匹配";
const char* const kOverflow = "溢出";

TEST(Numbers, TextConversions) {
    // Out of range either way only through their many digits, whatever the exponent's sign says.
    const std::string zeros(400, '0'), tiny = "0." + zeros + "1", huge = "1" + zeros + "e-10",
                                       hugeToo = tiny + "e+900";
    const double inf = std::numeric_limits<double>::infinity();
    enum Kind { Leading, Strict, Byte };
    const struct {
        Kind kind;
        const char* text;
        double value;
        const char* error = "";
    } rows[] = {
        {Leading, "", 0},
        {Leading, " 1 2 3", 123},
        {Leading, "\t-\n5", -5},
        {Leading, "1D3", 1000},
        {Leading, "2e+", 2},
        {Leading, "&hff", 255},
        {Leading, "&o78", 7},
        {Leading, "&H", 0},
        {Leading, "-.5", -0.5},
        {Leading, "--5", 0},
        {Leading, "1.2.3", 1.2},
        {Leading, "1e-400", 0},
        {Leading, "\r5", 0},
        {Leading, tiny.c_str(), 0},
        {Leading, huge.c_str(), inf},
        {Leading, hugeToo.c_str(), inf},
        {Leading, "-1e999", -inf},
        {Strict, " 1500 ", 1500},
        {Strict, "&O10", 8},
        {Strict, ".25", 0.25},
        {Strict, "", 0, kMismatch},
        {Strict, "1 2", 0, kMismatch},
        {Strict, "&H", 0, kMismatch},
        {Strict, "1e", 0, kMismatch},
        {Strict, "inf", 0, kMismatch},
        {Byte, "255", 255},
        {Byte, "254.5", 254},
        {Byte, "253.5", 254},
        {Byte, "-0.5", 0},
        {Byte, "255.5", 0, kOverflow},
        {Byte, "-1", 0, kOverflow},
        {Byte, "abc", 0, kMismatch},
        {Byte, tiny.c_str(), 0},
        {Byte, huge.c_str(), 0, kOverflow},
    };
    for (const auto& r : rows) {
        const Outcome o = outcomeOf([&]() -> double {
            return r.kind == Leading  ? LeadingNumber(r.text)
                   : r.kind == Strict ? NumberStrict(r.text)
                                      : ByteStrict(r.text);
        });
        EXPECT_EQ(o.error, r.error) << r.kind << " '" << r.text << "'";
        EXPECT_DOUBLE_EQ(o.value, r.value) << r.kind << " '" << r.text << "'";
    }
}

TEST(Numbers, NarrowingRoundsHalfToEvenAndOverflows) {
    EXPECT_EQ(RoundToLong(2.5), 2);
    EXPECT_EQ(RoundToLong(3.5), 4);
    EXPECT_EQ(RoundToLong(2147483647.4), 2147483647);
    EXPECT_EQ(RoundToLong(-2147483648.5), INT32_MIN);
    EXPECT_FLOAT_EQ(ToSingle(3.4e38), 3.4e38f);
    for (double v : {2147483647.5, -2147483649.0, std::numeric_limits<double>::infinity()})
        EXPECT_EQ(outcomeOf([&] { return RoundToLong(v); }).error, kOverflow) << v;
    for (double v : {1e39, -1e39, std::nan("")})
        EXPECT_EQ(outcomeOf([&] { return ToSingle(v); }).error, kOverflow) << v;
}

// That they read back as nearly the same number is the fuzz target's to check.
TEST(Numbers, NumberTextInSingleAndDoublePrecisionAndFixedPoint) {
    EXPECT_EQ(NumberText(14.5f), "14.5");
    EXPECT_EQ(NumberText(12345678.0f), "1.234568E+07");
    EXPECT_EQ(NumberText(1.0f / 3), "0.3333333");
    EXPECT_EQ(NumberText(-0.0f), "0");
    EXPECT_EQ(NumberText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(NumberText(1e15), "1E+15");
    EXPECT_EQ(FixedPointText(14.25), "14.25");
    EXPECT_EQ(FixedPointText(1.23456), "1.2346");
    EXPECT_EQ(FixedPointText(0.00001), "0");
    // Too long for a small buffer: every digit, and nothing after them.
    const std::string big = FixedPointText(1e300);
    EXPECT_EQ(big.size(), 301u);
    EXPECT_EQ(big.substr(0, 4), "1000");
    EXPECT_EQ(big.find_first_not_of("0123456789"), std::string::npos);
}

} // namespace
