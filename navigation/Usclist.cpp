#include "navigation/Usclist.h"

TSCList* SCList = nullptr;

TSCList::TSCList() : TForm("　地図基本設定値") {}
