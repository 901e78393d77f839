#include "names/NameFiles.h"
#include "components/Mystr.h"
#include "engine/Convert.h"
#include "gui/Forms.h"
#include "gui/TextFile.h"

namespace names {

bool ReadRawLines(const std::string& path, std::vector<std::string>& lines) {
    gui::TextReader in;
    if (!in.Open(path)) return false;
    lines.clear();
    std::string_view line;
    while (in.ReadLineBytes(line)) lines.emplace_back(line);
    return true;
}

bool WriteRawLines(const std::string& path, const std::vector<std::string>& lines) {
    return gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        for (const std::string& l : lines)
            if (!w.WriteBytesLine(l)) return false;
        return true;
    });
}

bool IsNameRecord(const std::string& line, int32_t x, int32_t y, const std::string& name, std::vector<std::string>& f) {
    if (TMyStr::SplitFields(line, f) < 4) return false;
    const char k = f[0].empty() ? 0 : f[0][0];
    if (k != 'A' && k != 'B' && k != 'X') return false;
    return LenientInt(f[1]) == x && LenientInt(f[2]) == y && f[3] == name;
}

void ReportWriteFailure(const std::string& path, const std::string& caption) {
    Application->MessageBox(gui::Format("%s を書き換えることができませんでした　　　", path.c_str()), caption,
                            MB_OK | MB_ICONEXCLAMATION);
}

bool RefusePartialList(const std::string& path, const std::string& caption) {
    Application->MessageBox(gui::Format("%s は全体を読み込めなかったため，保存できません　　　", path.c_str()), caption,
                            MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void ReportRowGone(const std::string& path, const std::string& caption) {
    Application->MessageBox(gui::Format("%s に該当するデータが見つかりませんでした\n何も書き換えていません　　　", path.c_str()),
                            caption, MB_OK | MB_ICONEXCLAMATION);
}

bool IsPlainField(const std::string& s) { return !s.empty() && s.find_first_of(", \t") == std::string::npos; }

} // namespace names
