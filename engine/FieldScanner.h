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

#if defined(__SSE2__)
    // Bytes that must be readable before and after the text given to
    // ReadLineInts.
    static constexpr size_t kSlack = 64;

    // ReadInts for the line at the start of text, found in the same pass:
    // used is then the length of the line with its '\n'. -1 when the text
    // holds no '\n' within 128 bytes or the line is not of the simple kind;
    // the caller then cuts the line itself. kSlack bytes either side of the
    // text must be readable: whole words are loaded across its ends.
    static int ReadLineInts(std::string_view text, int32_t* out, int max, size_t& used);
#endif

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
        // Zeros in front of the digits; no digits at all give 0.
        static constexpr uint64_t keep[9] = {0, ~0ull << 56, ~0ull << 48, ~0ull << 40, ~0ull << 32,
                                             ~0ull << 24, ~0ull << 16, ~0ull << 8, ~0ull};
        w = (w ^ 0x3030303030303030ull) & keep[len];
        w = ((w & 0x0F0F0F0F0F0F0F0Full) * 2561) >> 8;
        w = ((w & 0x00FF00FF00FF00FFull) * 6553601) >> 16;
        return uint32_t(((w & 0x0000FFFF0000FFFFull) * 42949672960001ull) >> 32);
    }

#if defined(__SSE2__)
    struct Masks {
        uint64_t nl, comma, ok, dash;
    };
    static void addMasks16(Masks& m, const char* s, int k);
    // Two fields at once, one in each half of v: the eight bytes that end
    // with a field's last digit, digits as 0 to 9, leading bytes cleared;
    // sign all ones in the lane of a negative field.
    static __m128i convert2(__m128i v, __m128i sign);
    // A line of the given number of x, y pairs of dx and dy digits with CR LF.
    template <int dx, int dy, int pairs>
    static bool readFixedLine(const char* src, size_t avail, int32_t* out, size_t& used);
    template <int pairs>
    static bool readFixedPairs(const char* src, size_t avail, int32_t* out, size_t& used) {
        return readFixedLine<6, 6, pairs>(src, avail, out, used) || readFixedLine<5, 6, pairs>(src, avail, out, used);
    }
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

#if defined(__SSE2__)
// Newlines, commas, minus signs and the bytes allowed in a simple line
// (digits, commas, minus signs) among the 16 bytes at s, set as bits
// 16 * k to 16 * k + 15 of m.
inline void FieldScanner::addMasks16(Masks& m, const char* s, int k) {
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i t = _mm_sub_epi8(b, _mm_set1_epi8('0'));
    const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(t, _mm_set1_epi8(9)), t);
    const __m128i comma = _mm_cmpeq_epi8(b, _mm_set1_epi8(','));
    const __m128i dash = _mm_cmpeq_epi8(b, _mm_set1_epi8('-'));
    m.nl |= uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(b, _mm_set1_epi8('\n'))))) << (16 * k);
    m.comma |= uint64_t(unsigned(_mm_movemask_epi8(comma))) << (16 * k);
    m.dash |= uint64_t(unsigned(_mm_movemask_epi8(dash))) << (16 * k);
    m.ok |= uint64_t(unsigned(_mm_movemask_epi8(_mm_or_si128(digit, _mm_or_si128(comma, dash))))) << (16 * k);
}

inline __m128i FieldScanner::convert2(__m128i v, __m128i sign) {
    // Byte pairs, then pairs of those, then the two halves of each field:
    // the earlier (more significant) part lies lower.
    const __m128i bytes = _mm_set1_epi16(0x00FF);
    __m128i x = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(v, bytes), _mm_set1_epi16(10)), _mm_srli_epi16(v, 8));
    x = _mm_madd_epi16(x, _mm_set1_epi32(0x00010064));
    x = _mm_add_epi64(_mm_mul_epu32(x, _mm_set1_epi64x(10000)), _mm_srli_epi64(x, 32));
    x = _mm_shuffle_epi32(x, 0x08);   // the two values side by side
    return _mm_sub_epi32(_mm_xor_si128(x, sign), sign);
}

template <int dx, int dy, int pairs>
inline bool FieldScanner::readFixedLine(const char* src, size_t avail, int32_t* out, size_t& used) {
    constexpr int period = dx + dy + 2, total = pairs * period + 1;   // with its CR LF
    constexpr int chunks = (total + 15) / 16;
    // Per byte: what the XOR with the line's byte must leave at most: 9 at
    // a digit ('0' to '9' against '0'), 0 at a comma, CR or LF, anything
    // past the line.
    struct Pattern {
        alignas(16) char expect[16 * chunks];
        alignas(16) unsigned char limit[16 * chunks];
    };
    static constexpr Pattern pattern = [] {
        Pattern p{};
        for (int i = 0; i < 16 * chunks; i++) {
            const int at = i % period;
            p.expect[i] = i == total - 2 ? '\r' : i == total - 1 ? '\n' : at == dx || at == period - 1 ? ',' : '0';
            p.limit[i] = i >= total ? 0xFF : i >= total - 2 || at == dx || at == period - 1 ? 0 : 9;
        }
        return p;
    }();
    if (avail < size_t(total)) return false;
    __m128i fits = _mm_set1_epi8(-1);
#pragma GCC unroll 5
    for (int c = 0; c < chunks; c++) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 16 * c));
        const __m128i r = _mm_xor_si128(b, _mm_load_si128(reinterpret_cast<const __m128i*>(pattern.expect + 16 * c)));
        const __m128i limit = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern.limit + 16 * c));
        fits = _mm_and_si128(fits, _mm_cmpeq_epi8(_mm_max_epu8(r, limit), limit));
    }
    if (_mm_movemask_epi8(fits) != 0xFFFF) return false;
    const __m128i keep = _mm_set_epi64x(int64_t(~0ull << (64 - 8 * dy)), int64_t(~0ull << (64 - 8 * dx)));
    const __m128i zeros = _mm_set1_epi8('0');
#pragma GCC unroll 5
    for (int j = 0; j < pairs; j++) {
        const __m128i x = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + period * j + dx - 8));
        const __m128i y = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + period * j + dx + 1 + dy - 8));
        const __m128i v = _mm_and_si128(_mm_xor_si128(_mm_unpacklo_epi64(x, y), zeros), keep);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 2 * j), convert2(v, _mm_setzero_si128()));
    }
    used = size_t(total);
    return true;
}

inline int FieldScanner::ReadLineInts(std::string_view text, int32_t* out, int max, size_t& used) {
    if constexpr (std::endian::native != std::endian::little) return -1;
    const char* src = text.data();
    const size_t avail = text.size();
    // Most point lines are x, y pairs of six digits each, or of five and
    // six, as many as asked for: fields in fixed places, no signs, checked
    // against their pattern before anything else.
    switch (max) {
    case 10: if (readFixedPairs<5>(src, avail, out, used)) return 10; break;
    case 8: if (readFixedPairs<4>(src, avail, out, used)) return 8; break;
    case 6: if (readFixedPairs<3>(src, avail, out, used)) return 6; break;
    case 4: if (readFixedPairs<2>(src, avail, out, used)) return 4; break;
    case 2: if (readFixedPairs<1>(src, avail, out, used)) return 2; break;
    default: break;
    }
    // Bits 0 to k-1 of a 64-bit word, k clamped to 0..64.
    auto low = [](ptrdiff_t k) -> uint64_t { return k <= 0 ? 0 : k >= 64 ? ~0ull : (1ull << k) - 1; };
    // The line end; the second 64 bytes only when the first hold none.
    // The line end: the first 64 bytes, then 16 more (the end of most
    // point lines), then the rest.
    Masks m0{0, 0, 0, 0}, m1{0, 0, 0, 0};
#pragma GCC unroll 4
    for (int k = 0; k < 4; k++) addMasks16(m0, src + 16 * k, k);
    size_t nl;
    if (const uint64_t first = m0.nl & low(ptrdiff_t(avail))) {
        nl = size_t(std::countr_zero(first));
    } else {
        if (avail <= 64) return -1;
        addMasks16(m1, src + 64, 0);
        if (!(m1.nl & low(ptrdiff_t(avail) - 64)) && avail > 80) {
#pragma GCC unroll 3
            for (int k = 1; k < 4; k++) addMasks16(m1, src + 64 + 16 * k, k);
        }
        const uint64_t second = m1.nl & low(ptrdiff_t(avail) - 64);
        if (!second) return -1;
        nl = 64 + size_t(std::countr_zero(second));
    }
    // The line without its CR LF (or LF).
    const size_t len = nl - (nl > 0 && src[nl - 1] == '\r');
    const uint64_t in0 = low(ptrdiff_t(len)), in1 = low(ptrdiff_t(len) - 64);
    if (((m0.ok & in0) ^ in0) | ((m1.ok & in1) ^ in1)) return -1;
    const uint64_t c0 = m0.comma & in0, c1 = m1.comma & in1;
    // A minus sign anywhere but at the start of a field: the general reading.
    if ((m0.dash & in0 & ~((c0 << 1) | 1)) | (m1.dash & in1 & ~((c1 << 1) | (c0 >> 63)))) return -1;

    int n = 0;
    size_t start = 0;
    bool tooLong = false;
    __m128i pending = _mm_setzero_si128(), pendingSign = _mm_setzero_si128();
    auto field = [&](size_t end) {
        const bool neg = src[start] == '-';   // an empty field's end is no minus
        const size_t digits = end - start - neg;
        tooLong |= digits > 8;
        static constexpr uint64_t keep[9] = {0, ~0ull << 56, ~0ull << 48, ~0ull << 40, ~0ull << 32,
                                             ~0ull << 24, ~0ull << 16, ~0ull << 8, ~0ull};
        uint64_t w;
        memcpy(&w, src + end - 8, 8);
        w = (w ^ 0x3030303030303030ull) & keep[std::min<size_t>(digits, 8)];
        const __m128i word = _mm_cvtsi64_si128(int64_t(w));
        const __m128i sign = _mm_cvtsi32_si128(-int(neg));
        if (n & 1) {
            const __m128i v = convert2(_mm_unpacklo_epi64(pending, word), _mm_unpacklo_epi32(pendingSign, sign));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + n - 1), v);
        } else {
            pending = word;
            pendingSign = sign;
        }
        n++;
    };
    for (uint64_t c = c0; c && n < max; c &= c - 1) {
        const size_t end = size_t(std::countr_zero(c));
        field(end);
        start = end + 1;
    }
    for (uint64_t c = c1; c && n < max; c &= c - 1) {
        const size_t end = 64 + size_t(std::countr_zero(c));
        field(end);
        start = end + 1;
    }
    if (n < max && start < len) field(len);
    if (n & 1) out[n - 1] = _mm_cvtsi128_si32(convert2(pending, pendingSign));
    if (tooLong) return -1;
    used = nl + 1;
    return n;
}
#endif
