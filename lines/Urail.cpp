#include "lines/Urail.h"

TRail* Rail = nullptr;

TRail::TRail() : TForm("鉄道路線情報") {}
