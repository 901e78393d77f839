#include "lines/Ulineset.h"

TLineSet* LineSet = nullptr;

TLineSet::TLineSet() : TForm("鉄道路線/地図線設定") {}
