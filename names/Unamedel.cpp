#include "names/Unamedel.h"

TNameDel* NameDel = nullptr;

TNameDel::TNameDel() : TForm(" 市区町村名削除/追加") {}
