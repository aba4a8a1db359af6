// Offsets from arbitrary list entries. Built with UBSan, so any undefined conversion or
// overflow on the way is a finding. Properties:
// - the minutes are the single-precision product truncated toward zero (clamped to 32 bits);
// - only the entry's last blank-separated word counts: a name before it or blanks after it
//   change nothing;
// - a "-" before an unsigned number negates the product exactly, a "+" changes nothing;
// - for numbers of up to 24 characters the product is the one that the C library's strtold,
//   in the C locale, times 60 gives when held as a float; the two may differ by one float step
//   only where the exact product lies so close to the middle between two floats that rounding
//   it twice (to double, then to float) can fall either way.
#include "clock/WorldClock.h"

#include "FuzzSupport.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include <locale.h>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int32_t TruncClamped(float product)
{
    if (product >= 2147483648.0f)
        return std::numeric_limits<int32_t>::max();
    if (product <= -2147483648.0f)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(product);
}

// The last run of non-blank characters, with where it starts.
std::string_view LastWord(std::string_view entry, size_t& start)
{
    size_t end = entry.find_last_not_of(' ');
    if (end == std::string_view::npos) {
        start = entry.size();
        return {};
    }
    ++end;
    const size_t blank = entry.find_last_of(' ', end - 1);
    start = blank == std::string_view::npos ? 0 : blank + 1;
    return entry.substr(start, end - start);
}

// The longest leading [+-]?(digits[.digits*] | .digits) of a word; empty when there is none.
std::string_view LeadingNumber(std::string_view word)
{
    size_t pos = 0;
    if (pos < word.size() && (word[pos] == '+' || word[pos] == '-'))
        ++pos;
    size_t whole = 0;
    while (pos + whole < word.size() && IsDigit(word[pos + whole]))
        ++whole;
    size_t end = pos + whole;
    if (end < word.size() && word[end] == '.') {
        size_t fraction = 0;
        while (end + 1 + fraction < word.size() && IsDigit(word[end + 1 + fraction]))
            ++fraction;
        if (whole + fraction > 0)
            end += 1 + fraction;
    }
    if (whole == 0 && end == pos)
        return {};
    return word.substr(0, end);
}

locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

void CheckAgainstStrtold(std::string_view number, float product, const std::string& what)
{
    const std::string text(number);
    char* end = nullptr;
    const long double value = strtold_l(text.c_str(), &end, CLocale());
    FUZZ_CHECK(end == text.c_str() + text.size(), "strtold did not take the whole number, " + what);
    const long double exact = value * 60.0L;
    const float nearest = static_cast<float>(exact);
    if (product == nearest)
        return;
    // Only a neighbour, and only next to a midpoint between the two floats.
    FUZZ_CHECK(std::isfinite(product) && std::isfinite(nearest), "product " + std::to_string(product) + ", " + what);
    const bool neighbour = product == std::nextafter(nearest, std::numeric_limits<float>::infinity()) ||
                           product == std::nextafter(nearest, -std::numeric_limits<float>::infinity());
    const long double middle = (static_cast<long double>(product) + static_cast<long double>(nearest)) / 2;
    const bool nearMiddle = std::fabs(exact - middle) <= std::fabs(exact) * std::ldexp(1.0L, -50);
    char message[160];
    std::snprintf(message, sizeof message, "product %.9g, strtold gives %.21Lg (float %.9g)", product, exact,
                  nearest);
    FUZZ_CHECK(neighbour && nearMiddle, std::string(message) + ", " + what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string entry(reinterpret_cast<const char*>(data), size);
    const std::string what = "entry " + fuzz::Show(entry);

    const float product = ParseOffsetProduct(entry);
    const int32_t minutes = ParseOffsetMinutes(entry);
    FUZZ_CHECK(!std::isnan(product), "NaN product, " + what);
    FUZZ_CHECK(minutes == TruncClamped(product), "minutes " + std::to_string(minutes) + ", " + what);

    // Only the last word counts.
    FUZZ_CHECK(ParseOffsetMinutes("Some City " + entry) == minutes, "a name before it changed it, " + what);
    FUZZ_CHECK(ParseOffsetProduct(entry + "  ") == product, "blanks after it changed it, " + what);
    size_t wordStart = 0;
    const std::string_view word = LastWord(entry, wordStart);
    FUZZ_CHECK(ParseOffsetProduct(word) == product, "the last word alone differs, " + what);

    const std::string_view number = LeadingNumber(word);
    if (number.empty()) {
        FUZZ_CHECK(product == 0.0f && minutes == 0, "no number but an offset, " + what);
        return 0;
    }

    // Signs.
    if (number[0] != '-' && number[0] != '+') {
        std::string behind = entry;
        behind.insert(wordStart, 1, '-');
        const float negated = ParseOffsetProduct(behind);
        FUZZ_CHECK(negated == -product, "\"-\" did not negate the product, " + what);
        const int32_t negatedMinutes = ParseOffsetMinutes(behind);
        FUZZ_CHECK(minutes == std::numeric_limits<int32_t>::max()
                       ? negatedMinutes == std::numeric_limits<int32_t>::min()
                       : negatedMinutes == -minutes,
                   "\"-\" did not negate the minutes, " + what);
        std::string ahead = entry;
        ahead.insert(wordStart, 1, '+');
        FUZZ_CHECK(ParseOffsetProduct(ahead) == product, "\"+\" changed the product, " + what);
    }

    if (number.size() <= 24)
        CheckAgainstStrtold(number, product, what);
    return 0;
}
