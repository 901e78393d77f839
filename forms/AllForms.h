// Building and tearing down the thirty forms of the program.
#pragma once

class TApplication;

// Registers the program's resources (icon, cursors, glyphs) once.
void InitProgramResources();
// Creates the forms in the fixed start-up order, TOpen first so that it is the
// main window; each global form variable is set as its form is made.
void CreateAllForms(TApplication* app);
// Destroys the forms in reverse order and sets every global form variable to null.
void DestroyAllForms();
