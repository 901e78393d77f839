#include "engine/Uhowto.h"

THowTo* HowTo = nullptr;

THowTo::THowTo() : TForm("使い方") {}
