#include "names/Uyomi.h"

TYomi* Yomi = nullptr;

TYomi::TYomi() : TForm("　市区町村名読みがな") {}
