#include "names/Ucheck.h"

TDataCheck* DataCheck = nullptr;

TDataCheck::TDataCheck() : TForm("　市区町村の選択") {}
