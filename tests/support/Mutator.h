// Seeded mutations of a small valid file, for the readers' fuzz tests: the
// same seed gives the same files on every run.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

namespace testsupport {

// Bytes and words that readers trip over: separators, signs, CP932 lead and
// stray bytes, NUL, and numbers at and past the int range.
inline const char* const kFuzzWords[] = {",", " ", "\t", "\n", "\r\n", "-", "0", "5", "\x81", "\x80", "\xFF",
                                         "\x82\xA0", std::string_view("\0", 1).data(), "2147483647", "2147483648",
                                         "-2147483649", "999999999999", "-999", "1000", "1001", "A,", "C,1,", "Z",
                                         "W,1,3\n"};

class Mutator {
public:
    explicit Mutator(uint32_t seed) : rng(seed) {}

    std::string operator()(const std::string& base) {
        std::string s = base;
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const size_t at = s.empty() ? 0 : rng() % (s.size() + 1);
            switch (rng() % 6) {
            case 0:   // a byte changed
                if (!s.empty()) s[at % s.size()] = char(rng());
                break;
            case 1: {   // a word put in
                const size_t w = rng() % std::size(kFuzzWords);
                s.insert(at, w == 12 ? std::string(1, '\0') : std::string(kFuzzWords[w]));
                break;
            }
            case 2:   // a run taken out
                s.erase(at, rng() % 12);
                break;
            case 3: {   // a line repeated
                const size_t start = s.rfind('\n', at == 0 ? 0 : at - 1);
                const size_t from = start == std::string::npos ? 0 : start + 1;
                const size_t end = s.find('\n', from);
                s.insert(from, s.substr(from, end == std::string::npos ? std::string::npos : end - from + 1));
                break;
            }
            case 4:   // cut short
                s.resize(at);
                break;
            default:   // a long field
                s.insert(at, std::string(1 + rng() % 300, char('0' + rng() % 10)));
                break;
            }
        }
        return s;
    }

private:
    std::mt19937 rng;
};

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::FILE* f = std::fopen(file.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

} // namespace testsupport
