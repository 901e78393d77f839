// Main-form wiring of the output folder.
#include "engine/Uopen.h"

void TOpen::WireOutputHandlers() {
    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    Button8->OnClick = [this](TObject* s) { Button8Click(s); };
    PNG1->OnClick = [this](TObject* s) { PNG1Click(s); };
    JPEG1->OnClick = [this](TObject* s) { JPEG1Click(s); };
    BITMAP1->OnClick = [this](TObject* s) { BITMAP1Click(s); };
    SaveDialog1->OverwritePrompt = true;
    SaveDialog1->DefaultExt.clear();
}
