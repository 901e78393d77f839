#include "names/Uyomilist.h"

TYomiList* YomiList = nullptr;

TYomiList::TYomiList() : TForm("　読みがな編集") {}
