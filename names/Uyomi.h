// The readings window: writes the readings of the shown names on the map.
#pragma once
#include "engine/Coords.h"
#include "gui/Forms.h"

class TYomi : public TForm {
public:
    TYomi();
    void FormCreate(TObject* Sender) override;
    void FormShow(TObject* Sender) override;

    TCheckBox* CBKana;    // "かなのみ"
    TCheckBox* CBOnMap;   // the pointer's reading is written on the map
    TCheckBox* CheckBox1; // "固定": the text size is not scaled
    TLabel* Label3;       // area name of a one-area map
    TLabel *Label1, *Label2, *Label4, *Label7;   // name, reading, kind, "no reading" note
    TUpDown* UpDown1;     // text size 5 to 50
    TEdit* UpDownEdit;
    TEdit* Edit1;         // sort mode of the list: "0" reading, "1" name, "2" kind
    TImage* Image1;       // colour sample
    TButton *Button1, *Button2, *Button3, *Button4;
    bool YomiShown = false;

    void Button1Click(TObject* Sender);   // "..." colour
    void Button2Click(TObject* Sender);   // "読みがな地図"
    void WriteReadings();
    // The readings alone, onto any drawing of the map.
    void DrawReadings(TCanvas& cv, const MapView& view);
    void Button3Click(TObject* Sender);   // "市町村名リスト"
    void Button4Click(TObject* Sender);   // "閉じる"
    void FillSample();
    // The read-out of one name: its reading (nullptr when none is known) and kind.
    void ShowNameReading(const std::string& name, const std::string* reading, const std::string& kind);
    void ShowNoName();
    int SortMode() const;   // the list's order, from Edit1
};

extern TYomi* Yomi;
