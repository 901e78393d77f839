#include "tests/support/FormsFixture.h"
#include "forms/AllForms.h"
#include "gui/Forms.h"
#include "gui/Testing.h"
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace testsupport {

fs::path MakeTempDir(const std::string& stem) {
    std::string pattern = (fs::temp_directory_path() / (stem + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
    return pattern;
}

static void MakeOwnerWritable(const fs::path& p) {
    fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
    if (fs::is_directory(p)) fs::permissions(p, fs::perms::owner_exec, fs::perm_options::add);
}

static void CopyOne(const fs::path& src, const fs::path& dst) {
    if (fs::is_directory(src)) {
        fs::create_directories(dst);
        // The data set is read-only; its copies must not be.
        MakeOwnerWritable(dst);
        for (const auto& e : fs::directory_iterator(src)) CopyOne(e.path(), dst / e.path().filename());
    } else {
        fs::create_directories(dst.parent_path());
        fs::copy_file(src, dst, fs::copy_options::overwrite_existing);
        MakeOwnerWritable(dst);
    }
}

void CopyTree(const fs::path& src, const fs::path& dst) {
    if (!fs::is_directory(src)) throw std::runtime_error("no folder " + src.string());
    CopyOne(src, dst);
}

void RemoveTree(const fs::path& dir) {
    std::error_code ec;
    if (!fs::exists(dir, ec)) return;
    // A folder without write permission keeps its entries; open them all first.
    for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) MakeOwnerWritable(it->path());
    }
    MakeOwnerWritable(dir);
    fs::remove_all(dir, ec);
}

fs::path TestDataDir(const std::string& name) { return fs::path(ROVANA_TEST_DATA) / name; }

fs::path JapanDataDir() { return fs::path(ROVANA_JAPAN_DATA); }

void CopyJapanData(const fs::path& dst, const std::vector<std::string>& parts) {
    if (parts.empty()) {
        CopyTree(JapanDataDir(), dst);
        return;
    }
    fs::create_directories(dst);
    for (const auto& part : parts) {
        fs::path src = JapanDataDir() / fs::path(part);
        if (!fs::exists(src)) throw std::runtime_error("no " + src.string() + " in the data set");
        CopyOne(src, dst / fs::path(part));
    }
}

std::string ProgramBaseName() {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("rovana") : self.filename().string();
}

fs::path PlaceProgramFile(const fs::path& dir, const std::string& name) {
    fs::path file = dir / name;
    std::ofstream out(file, std::ios::binary);
    out << "stand-in for the program file\n";
    if (!out) throw std::runtime_error("cannot write " + file.string());
    return file;
}

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return "";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string RunOutput(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        pclose(p);
    }
    return out;
}

void TypeInto(QLineEdit* edit, const std::string& text, bool enter) {
    edit->selectAll();
    const QString typed = QString::fromStdString(text);
    auto key = [edit](int code, const QString& s) {
        QKeyEvent e(QEvent::KeyPress, code, Qt::NoModifier, s);
        QCoreApplication::sendEvent(edit, &e);
    };
    if (typed.isEmpty()) key(Qt::Key_Backspace, QString());
    for (QChar c : typed) key(c.unicode() < 128 ? c.toUpper().unicode() : int(Qt::Key_unknown), QString(c));
    if (enter) key(Qt::Key_Return, QString());
}

void FocusAsUser(QWidget* w) {
    w->window()->activateWindow();
    QCoreApplication::processEvents();
    w->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
}

} // namespace testsupport

void FormsTest::SetUp() {
    gui::testing::Reset();
    previousDir = std::filesystem::current_path();
    programDir = testsupport::MakeTempDir();
    FillProgramFolder(programDir);
    // Start-up ends the program unless its own file lies in the program folder.
    if (PlaceProgram) testsupport::PlaceProgramFile(programDir);
    std::filesystem::current_path(programDir);
    CreateAllForms(Application);
}

void FormsTest::TearDown() {
    DestroyAllForms();
    if (!previousDir.empty()) std::filesystem::current_path(previousDir);
    if (!programDir.empty()) testsupport::RemoveTree(programDir);
    gui::testing::Reset();
}

void FormsTest::FillProgramFolder(const std::filesystem::path& dir) {
    testsupport::CopyTree(testsupport::TestDataDir("mini"), dir);
}

void JapanFormsTest::FillProgramFolder(const std::filesystem::path& dir) {
    testsupport::CopyJapanData(dir);
}
