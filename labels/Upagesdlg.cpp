#include "labels/Upagesdlg.h"

TPagesDlg* PagesDlg = nullptr;

TPagesDlg::TPagesDlg() : TForm("　記号パレット") {}
