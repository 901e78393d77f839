#include "names/Uextra.h"

TExtra* Extra = nullptr;

TExtra::TExtra() : TForm("　重複する区名，町村名表示位置編集") {}
