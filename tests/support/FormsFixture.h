// The fixture that builds the thirty forms as the entry point does, on a fresh
// temporary program folder, and the file helpers that tests share.
#pragma once
#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <vector>

class QLineEdit;
class QWidget;

namespace testsupport {

namespace fs = std::filesystem;

// A new empty folder under the system's temporary folder.
fs::path MakeTempDir(const std::string& stem = "rovana-test");
// Copies a folder's contents into dst (made if missing), owner-writable.
void CopyTree(const fs::path& src, const fs::path& dst);
// Removes a folder and everything under it, read-only parts included.
void RemoveTree(const fs::path& dir);
// The small program folders made for the tests live under tests/data.
fs::path TestDataDir(const std::string& name = "mini");
// The data set of the whole country (read-only).
fs::path JapanDataDir();
// Copies the data set into dst; with parts, only those files and folders
// (paths relative to the data set, e.g. "MAPDATA/13.MAP" or "mark").
void CopyJapanData(const fs::path& dst, const std::vector<std::string>& parts = {});
// The running test program's file name, without its folder.
std::string ProgramBaseName();
// Puts a stand-in for the program file into dir: start-up looks for a file
// of the program's name in the program folder. Returns its path.
fs::path PlaceProgramFile(const fs::path& dir, const std::string& name = ProgramBaseName());
// The bytes of a file, or "" when it cannot be read.
std::string ReadBytes(const fs::path& file);
// What a command writes on its standard output.
std::string RunOutput(const std::string& command);
// Types over the whole text of an edit as the user does, key by key, then
// Enter unless told otherwise.
void TypeInto(QLineEdit* edit, const std::string& text, bool enter = true);
// Activates the control's window and gives the control the focus, as a click does.
void FocusAsUser(QWidget* w);

} // namespace testsupport

// Builds all forms on a fresh copy of a program folder, which is the current
// directory while the test runs; tears everything down afterwards.
class FormsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Fills the fresh program folder; the default copies tests/data/mini.
    virtual void FillProgramFolder(const std::filesystem::path& dir);

    // Cleared before SetUp runs, the program file is not put into the folder.
    bool PlaceProgram = true;
    std::filesystem::path programDir;   // the temporary program folder
    std::filesystem::path previousDir;
};

// The same on a full copy of the country's data set, for integration tests.
class JapanFormsTest : public FormsTest {
protected:
    void FillProgramFolder(const std::filesystem::path& dir) override;
};
