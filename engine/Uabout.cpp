#include "engine/Uabout.h"

TAbout* About = nullptr;

TAbout::TAbout() : TForm("バージョン情報") {}
