#include "lines/Ukyori.h"

TKyori* Kyori = nullptr;

TKyori::TKyori() : TForm("　距離円（同心円）") {}
