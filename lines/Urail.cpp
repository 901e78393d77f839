#include "lines/Urail.h"

TRail* Rail = nullptr;

TRail::TRail() : TForm("鉄道路線情報") {
    Label6 = new TLabel(Client(), "");
    Label6->SetBounds(8, 8, 200, 18);
    Label7 = new TLabel(Client(), "");
    Label7->SetBounds(8, 28, 200, 18);
}
