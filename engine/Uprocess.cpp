#include "engine/Uprocess.h"

TProcess* Process = nullptr;

TProcess::TProcess() : TForm("お待ちください") {}
