#include "paint/Uhanrei.h"

THanrei* Hanrei = nullptr;

THanrei::THanrei() : TForm("　地図凡例編集") {}
