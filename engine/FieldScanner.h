// The fields of one data-file line, cut exactly as TMyStr::SplitFields cuts
// them and read as numbers as LenientInt reads them, without copying: the
// point lines are most of the map data.
#pragma once
#include "engine/Convert.h"
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

class FieldScanner {
public:
    // The text ends at its end or at a NUL, as the splitter has it. It may
    // lie in a larger buffer: nothing past its end is read.
    explicit FieldScanner(std::string_view line) : p(line.data()), end(line.data() + line.size()) {}

    bool Next(std::string_view& field) {
        skipBlanks();
        if (p == end || *p == '\0') return false;
        if (*p == ',') {   // a comma with no field before it: an empty field
            p++;
            field = {};
            return true;
        }
        const char* start = p;
        while (p < end && !endsField(*p)) p++;
        field = std::string_view(start, p - start);
        if (p < end && *p) p++;   // the character that ended the field; a NUL stays
        return true;
    }

    // The next field's integer (a field that is no number gives 0); false when
    // the line has no further field.
    bool NextInt(int32_t& v) {
        skipBlanks();
        if (p == end || *p == '\0') return false;
        if (*p == ',') {
            p++;
            v = 0;
            return true;
        }
        // The usual field: an optional minus and up to nine digits.
        const bool neg = *p == '-';
        const char* digits = p + neg;
        const char* e = digits;
        uint32_t acc = 0;
        for (; e < end && unsigned(uint8_t(*e)) - '0' < 10; e++) acc = acc * 10 + unsigned(*e - '0');
        if (e - digits <= 9 && (e == end || endsField(*e))) {
            p = e < end && *e ? e + 1 : e;
            v = neg ? -int32_t(acc) : int32_t(acc);
            return true;
        }
        // Anything else is read as the general conversion reads the whole field.
        std::string_view field;
        Next(field);
        v = LenientInt(field);
        return true;
    }

    // The integers of up to max fields of a whole line, as NextInt reads them;
    // returns how many were read. A line of only digits, commas and minus
    // signs (the point lines) is taken field by field from a mask of its
    // commas; anything else goes through NextInt.
    static int ReadInts(std::string_view line, int32_t* out, int max) {
#if defined(__SSE2__)
        if (line.size() <= kLineMax && std::endian::native == std::endian::little) {
            int n = readSimpleInts(line, out, max);
            if (n >= 0) return n;
        }
#endif
        FieldScanner f(line);
        int n = 0;
        while (n < max && f.NextInt(out[n])) n++;
        return n;
    }

    int32_t IntOr0() {
        int32_t v = 0;
        NextInt(v);
        return v;
    }

    std::string_view FieldOrEmpty() {
        std::string_view f;
        Next(f);
        return f;
    }

private:
    static constexpr size_t kLineMax = 128;

    // The number of the last len (1 to 8) bytes of w, digits in text order.
    static uint32_t digitsValue(uint64_t w, int len) {
        w = (w ^ 0x3030303030303030ull) & (~0ull << (8 * (8 - len)));   // zeros in front of the digits
        w = ((w & 0x0F0F0F0F0F0F0F0Full) * 2561) >> 8;
        w = ((w & 0x00FF00FF00FF00FFull) * 6553601) >> 16;
        return uint32_t(((w & 0x0000FFFF0000FFFFull) * 42949672960001ull) >> 32);
    }

#if defined(__SSE2__)
    // -1 when the line is not of that simple kind.
    static int readSimpleInts(std::string_view line, int32_t* out, int max);
#endif

    static bool endsField(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '\0'; }
    void skipBlanks() {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\n')) p++;
    }
    const char* p;
    const char* end;
};

#if defined(__SSE2__)
inline int FieldScanner::readSimpleInts(std::string_view line, int32_t* out, int max) {
    // Everything is loaded from the line itself, never past its end: a copy
    // would cost more in stalled loads than the reading.
    const char* src = line.data();
    const size_t len = line.size();
    uint64_t commas[2] = {0, 0}, minus[2] = {0, 0};
    for (size_t i = 0; i < len; i += 16) {
        __m128i b;
        unsigned shift = 0;
        if (len - i >= 16) {
            b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        } else if (len >= 16) {
            // The last sixteen bytes; the ones already seen are shifted out.
            b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + len - 16));
            shift = unsigned(i - (len - 16));
        } else {
            alignas(16) char tail[16] = {};
            memcpy(tail, src, len);
            b = _mm_load_si128(reinterpret_cast<const __m128i*>(tail));
        }
        const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(b, _mm_set1_epi8('0' - 1)), _mm_cmplt_epi8(b, _mm_set1_epi8('9' + 1)));
        const __m128i comma = _mm_cmpeq_epi8(b, _mm_set1_epi8(','));
        const __m128i dash = _mm_cmpeq_epi8(b, _mm_set1_epi8('-'));
        const unsigned valid = len - i >= 16 ? 0xFFFFu : (1u << (len - i)) - 1;
        const unsigned ok = (unsigned(_mm_movemask_epi8(_mm_or_si128(digit, _mm_or_si128(comma, dash)))) >> shift) & valid;
        if (ok != valid) return -1;
        commas[i / 64] |= uint64_t((unsigned(_mm_movemask_epi8(comma)) >> shift) & valid) << (i % 64);
        minus[i / 64] |= uint64_t((unsigned(_mm_movemask_epi8(dash)) >> shift) & valid) << (i % 64);
    }
    // A minus sign anywhere but at the start of a field: the general reading.
    const uint64_t fieldStarts0 = (commas[0] << 1) | 1, fieldStarts1 = (commas[1] << 1) | (commas[0] >> 63);
    if ((minus[0] & ~fieldStarts0) | (minus[1] & ~fieldStarts1)) return -1;
    // Each comma ends the field before it (an empty one too); what follows
    // the last comma is a field when it is not empty.
    int n = 0;
    size_t start = 0;
    auto field = [&](size_t end) -> bool {
        const bool neg = end > start && src[start] == '-';
        const size_t digits = end - start - neg;
        if (digits > 8) return false;
        uint32_t value = 0;
        if (digits) {
            // Eight bytes that end with the field's last digit.
            uint64_t w;
            if (end >= 8) {
                memcpy(&w, src + end - 8, 8);
            } else if (len >= 8) {
                memcpy(&w, src, 8);
                w <<= 8 * (8 - end);
            } else {
                char tmp[8] = {};
                memcpy(tmp + 8 - end, src, end);
                memcpy(&w, tmp, 8);
            }
            value = digitsValue(w, int(digits));
        }
        out[n++] = neg ? -int32_t(value) : int32_t(value);
        return true;
    };
    for (int word = 0; word < 2 && n < max; word++) {
        for (uint64_t m = commas[word]; m && n < max; m &= m - 1) {
            const size_t end = size_t(word) * 64 + size_t(std::countr_zero(m));
            if (!field(end)) return -1;
            start = end + 1;
        }
    }
    if (n < max && start < len && !field(len)) return -1;
    return n;
}
#endif
