#include "names/Uofficecor.h"

TOfficeCor* OfficeCor = nullptr;

TOfficeCor::TOfficeCor() : TForm("市町村情報の修正・追加") {}
