#include "components/Mystr.h"

namespace {

// The two-state scanner (between fields / in a field). It works on bytes: no
// byte of a UTF-8 multibyte character (nor of a CP932 double-byte one) is a
// blank, tab, comma or newline, so Japanese text passes through whole.
template <bool BlanksEndField>
int Split(std::string_view line, std::vector<std::string>& fields) {
    // The text ends at a NUL as well, as a C string would.
    if (size_t nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);
    size_t count = 0;
    auto add = [&](std::string_view field) {
        if (count < fields.size())
            fields[count].assign(field.data(), field.size());
        else
            fields.emplace_back(field);
        count++;
    };
    bool inField = false;
    size_t start = 0;
    for (size_t i = 0; i < line.size(); i++) {
        char c = line[i];
        if (!inField) {
            if (c == ' ' || c == '\t' || c == '\n') continue;
            if (c == ',') {
                add({});
                continue;
            }
            inField = true;
            start = i;
        } else if (c == ',' || c == '\n' || (BlanksEndField && (c == ' ' || c == '\t'))) {
            add(line.substr(start, i - start));
            inField = false;
        }
    }
    if (inField) add(line.substr(start));
    fields.resize(count);
    return int(count);
}

} // namespace

int TMyStr::SplitFields(std::string_view line, std::vector<std::string>& fields) {
    return Split<true>(line, fields);
}

int TMyStr::SplitCsv(std::string_view line, std::vector<std::string>& fields) {
    return Split<false>(line, fields);
}
