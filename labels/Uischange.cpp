#include "labels/Uischange.h"

TIsChange* IsChange = nullptr;

TIsChange::TIsChange() : TForm("　島名表示位置編集") {}
