#include "labels/Uinlabel.h"

TInLabel* InLabel = nullptr;

TInLabel::TInLabel() : TForm("表示範囲内ラベルリスト") {}
