// Integer conversions of the data and configuration files: the lenient one of
// the C library and the strict one of the class library.
#pragma once
#include <climits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// The class library's conversion error; what() is its message.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// atoi: leading blanks, an optional sign, then digits; stops at anything else,
// so a field that is no number gives 0. Saturates at the int range.
inline int LenientInt(std::string_view s) {
    size_t i = 0, n = s.size();
    while (i < n && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' || s[i] == '\v' || s[i] == '\f'))
        i++;
    bool neg = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
    long long v = 0;
    for (; i < n && s[i] >= '0' && s[i] <= '9'; i++) {
        v = v * 10 + (s[i] - '0');
        if (v > 1LL << 32) v = 1LL << 32;   // saturated; more digits change nothing
    }
    if (neg) v = -v;
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v);
}

// StrToInt of the class library: the whole text must be a number (decimal, or
// hexadecimal after '$' or "0x"), optionally signed and after leading blanks,
// within the int range; anything else raises EConvertError.
int StrToInt(std::string_view s);

// The same without the exception: nullopt where StrToInt would raise.
inline std::optional<int> TryStrToInt(std::string_view s) {
    try {
        return StrToInt(s);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

// A value read from a file where a window allows only min to max: the value
// itself when it is allowed, else the fallback.
inline int InRangeOr(int v, int min, int max, int fallback) { return v >= min && v <= max ? v : fallback; }
