#include "engine/Convert.h"
#include "gui/TextFile.h"
#include <cstdint>

int StrToInt(std::string_view s) {
    auto fail = [&]() -> int { throw EConvertError(gui::Format("'%.*s' is not a valid integer value", int(s.size()), s.data())); };
    size_t i = 0, n = s.size();
    while (i < n && s[i] == ' ') i++;
    bool neg = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
    bool hex = false;
    if (i < n && s[i] == '$') {
        hex = true;
        i++;
    } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == n) return fail();
    uint64_t v = 0;
    for (; i < n; i++) {
        char c = s[i];
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return fail();
        v = v * (hex ? 16 : 10) + d;
        if (v > 0xFFFFFFFFull) return fail();
    }
    // Hexadecimal takes the 32 bits as they stand; decimal must fit the range.
    if (hex) {
        int32_t bits = int32_t(uint32_t(v));
        return neg ? int(-int64_t(bits)) : bits;
    }
    int64_t signedValue = neg ? -int64_t(v) : int64_t(v);
    if (signedValue > INT32_MAX || signedValue < INT32_MIN) return fail();
    return int(signedValue);
}
