#include "navigation/Usettei.h"

TSettei* Settei = nullptr;

TSettei::TSettei() : TForm("　地図表示設定") {}
