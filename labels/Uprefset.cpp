#include "labels/Uprefset.h"

TPrefSet* PrefSet = nullptr;

TPrefSet::TPrefSet() : TForm("　都道府県名文字特性一括設定") {}
