#include "names/Uoffice.h"

TOffice* Office = nullptr;

TOffice::TOffice() : TForm("市役所・町村役場/都道府県庁") {}
