// Any text through every conversion: only the program's own errors may come out, and a number
// printed must read back as nearly the same number.
#include "services/numbers.h"
#include "toolkit/errors.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

using namespace FMain;

namespace {
template <class F> void tolerated(F f) {
    try {
        f();
    } catch (const toolkit::RuntimeError&) {
    }
}

void check(bool ok) {
    if (!ok)
        std::abort();
}

void roundTrips(double v) {
    if (!std::isfinite(v))
        return;
    const double back = NumberStrict(NumberText(v));
    check(std::isfinite(back) && std::abs(back - v) <= std::abs(v) * 1e-14);
    const float f = static_cast<float>(v);
    if (std::isfinite(f)) {
        const double fb = NumberStrict(NumberText(f));
        check(std::abs(fb - f) <= std::abs(f) * 1e-6);
    }
    const std::string fixed = FixedPointText(v);
    check(!fixed.empty() && fixed.find_first_not_of("-0123456789.") == std::string::npos);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double leading = LeadingNumber(text);
    roundTrips(leading);
    tolerated([&] { RoundToLong(leading); });
    tolerated([&] { RoundToByte(leading); });
    tolerated([&] { ToSingle(leading); });
    tolerated([&] { roundTrips(NumberStrict(text)); });
    tolerated([&] { ByteStrict(text); });
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        roundTrips(raw);
    }
    return 0;
}
