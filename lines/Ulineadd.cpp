#include "lines/Ulineadd.h"

TLineAdd* LineAdd = nullptr;

TLineAdd::TLineAdd() : TForm("地図線の編集・表示") {}
