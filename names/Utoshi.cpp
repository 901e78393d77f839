#include "names/Utoshi.h"

TToshi* Toshi = nullptr;

TToshi::TToshi() : TForm("　政令指定都市表示位置編集") {}
