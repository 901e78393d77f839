#include "engine/Uken.h"

TKen* Ken = nullptr;

TKen::TKen() : TForm("都道府県指定") {}
