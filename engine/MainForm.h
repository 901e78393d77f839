// The main form as a handle, for a window that hands it on to a folder's
// steps (which take a TOpen&) or writes to its log, without depending on the
// form's declaration.
#pragma once
#include <string>

class TForm;
class TOpen;
extern TOpen* Open;

// The main form o as a form.
TForm& FormOf(TOpen& o);

// A line of the program's log.
void WriteMainLog(const std::string& s);
// "%d/%02d/%02d" of the program file.
const std::string& MainProgramDate();
// After the insets were changed (groupsChanged: which groups leave the main frame).
void MainInsetsChanged(bool groupsChanged);
