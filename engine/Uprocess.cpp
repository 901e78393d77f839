#include "engine/Uprocess.h"

TProcess* Process = nullptr;

TProcess::TProcess() : TForm("お待ちください") {
    Label1 = new TLabel(this, "");
    Label1->SetBounds(16, 16, 360, 20);
    SetClientSize(392, 52);
}
