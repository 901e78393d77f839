#include "paint/Upaint.h"

TMapPaint* MapPaint = nullptr;

TMapPaint::TMapPaint() : TForm("　ペイント　（塗り分け）") {}
