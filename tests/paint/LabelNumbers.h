// The numbers a legend label writes: "1,000 ～ 4,999" -> {1000, 4999}.
#pragma once
#include <cctype>
#include <string>
#include <vector>

inline std::vector<double> LabelNumbers(const std::string& label) {
    std::vector<double> out;
    std::string cur;
    for (char c : label + " ") {
        if (isdigit(static_cast<unsigned char>(c)) || c == '.' || (c == '-' && cur.empty())) {
            cur += c;
        } else if (c != ',' || cur.empty()) {
            if (!cur.empty() && cur != "-") out.push_back(std::stod(cur));
            cur.clear();
        }
    }
    return out;
}
