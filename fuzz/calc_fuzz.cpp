// Fuzzes the settings calculator on arbitrary text and the number formatter on what it yields.
#include "support/FormatNumber.h"
#include "support/SettingsCalculator.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

using namespace tavlix;

namespace {

constexpr int Widths[] = {1, 6, 8, 10, 15, 30};

void FormatAll(double x)
{
    for (int w : Widths)
        if (formatNumber(w, x).empty())
            std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    CalcResult r = evaluate(text);
    // A result is finite and carries no position; a failure points into the text (0 only at its start).
    if (r.error == CalcError::None && (r.position != 0 || !std::isfinite(r.value)))
        std::abort();
    if (r.error != CalcError::None && (r.position < 0 || static_cast<std::size_t>(r.position) > size))
        std::abort();
    FormatAll(r.value);

    // The raw bytes as a double reach NaN, infinities and subnormals too.
    if (size >= sizeof(double)) {
        double x;
        std::memcpy(&x, data, sizeof x);
        FormatAll(x);
    }
    return 0;
}
