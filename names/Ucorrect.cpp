#include "names/Ucorrect.h"

TCorrect* Correct = nullptr;

TCorrect::TCorrect() : TForm("市区町村名位置修正") {}
