#include "paint/Ubrush.h"

TPBrush* PBrush = nullptr;

TPBrush::TPBrush() : TForm("パターン選択") {}
