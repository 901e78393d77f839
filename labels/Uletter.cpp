#include "labels/Uletter.h"

TLetter* Letter = nullptr;

TLetter::TLetter() : TForm("　地図ラベル編集  ラベルテーブル") {}
