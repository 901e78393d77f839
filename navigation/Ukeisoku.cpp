#include "navigation/Ukeisoku.h"

TKeisoku* Keisoku = nullptr;

TKeisoku::TKeisoku() : TForm("しばらくお待ちください") {}
