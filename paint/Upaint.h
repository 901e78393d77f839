// The paint window: eight palette slots, undo, end and continuation of paint mode.
#pragma once
#include "engine/PaintRecord.h"
#include "paint/PaintBlock.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class TTkBtn;

// A line's fields as one paint record: x and y (map units) in the first two
// fields, colour and pattern code in their columns, decimal or "0x". A row
// without a colour, or without a pattern where one is needed, holds no record
// (Skip); a value that does not convert or a point past any map is Bad.
enum class PaintRow { Record, Skip, Bad };
PaintRow ParsePaintRow(const std::vector<std::string>& f, size_t colourCol, size_t patternCol, bool patternNeeded,
                       PaintRecord& r);

class TMapPaint : public TForm {
public:
    TMapPaint();
    void FormCreate(TObject* Sender) override;

    TTkBtn *TkBtn1, *TkBtn2, *TkBtn3, *TkBtn4, *TkBtn5, *TkBtn6, *TkBtn7, *TkBtn8;   // "塗り色"
    TButton *Button11, *Button12, *Button13, *Button14, *Button15, *Button16, *Button17, *Button18;   // "..."
    TButton *Button5, *Button6, *Button7, *Button8, *Button20, *Button21, *Button22, *Button23;       // "//"
    TButton* Button10;          // "色リセット"
    TRadioGroup* RadioGroup1;   // "塗り色" presets
    TButton* BtnRepaint;        // "前に戻す"
    TButton* BtnPaintAdd;       // "追加ペイント"
    TButton* Button1;           // "新規ペイント"
    TButton* Button19;          // "ペイント終了"
    TButton* Button9;           // "閉じる"
    TButton *Button2, *Button3, *Button24;   // "読　込", "保　存", "データ"
    TButton* BtnStatMap;                     // "統計地図"
    TCheckBox *CBColor, *CBAddRead;          // "塗り色のみ", "追加読込"
    TCheckBox* CBAllPaint;      // "市町村指定"
    TComboBox* ComboBox1;
    TButton* BtnAllPaint;       // "実行"
    TButton* Button4;           // "凡例編集"
    TCheckBox* CBMarkCopy;      // "凡例記号コピー"
    TCheckBox* CBBackWhite;     // "背景白色"
    TCheckBox* CBPaintDisplay;  // "表示": paint records are replayed
    TCheckBox* CBKuPaint;       // "区ペイント"
    TCheckBox* CBOldTownPaint;  // "旧町村ペイント"
    TCheckBox* CBNamePaint;     // "市町村名"
    TLabel* Label2;             // "ペイント回数"
    TLabel* LblPaint;           // number of paint records
    TLabel* Label1;             // name of the last paint file
    TColorDialog* ColorDialog1;
    TSaveDialog* SaveDialog1;   // paint files
    TOpenDialog* OpenDialog1;   // paint files
    TOpenDialog* OpenDialog2;   // paint data (.csv)

    int32_t EditSlot = 0;       // slot whose colour or pattern is edited
    int32_t PatternChoice = 0;  // last choice of the pattern chooser, 0..6
    bool JustContinued = false; // "追加ペイント" was pressed and no undo since
    bool NamePaint = false;     // names are drawn over the paint
    uint8_t DataSlots = 0;      // slots filled by the paint-data import

    // Pattern code of each choice of the chooser.
    static constexpr uint8_t ChoiceCode[7] = {0, 6, 7, 2, 3, 5, 4};
    static const TColor Presets[8][8];

    TTkBtn* SlotButton(int slot) const;
    void RaiseSlotButtons();
    void RefreshPaintSlot();
    void ShowCount();
    // The redraw of a handler of this window, with the fills of a new painting kept.

    void TkBtnClick(int slot);         // choose a slot
    void ColorButtonClick(int slot);   // "..." of a slot
    void PatternButtonClick(int slot); // "//" of a slot
    void Button10Click(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void BtnRepaintClick(TObject* Sender);
    void BtnPaintAddClick(TObject* Sender);
    void Button19Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void CBBackWhiteClick(TObject* Sender);
    void CBPaintDisplayClick(TObject* Sender);
    void CBKuPaintClick(TObject* Sender);
    void CBOldTownPaintClick(TObject* Sender);
    void CBNamePaintClick(TObject* Sender);

    // Paint files and the paint-data import (paint/Upaint_files.cpp).
    void WireFileHandlers();
    void ShowSlot(int slot);              // the button drawn from the slot's own colour and pattern
    void Button3Click(TObject* Sender);   // "保　存"
    void Button2Click(TObject* Sender);   // "読　込"
    void Button24Click(TObject* Sender);  // "データ"
    void AddPaletteEntry(TColor colour, uint8_t pattern);
    // The background and palette as the files keep them.
    PaintPalette FilePalette() const;
    // Background and palette of a paint or project file, with the boxes and buttons that show them.
    void ApplyFilePalette(const PaintPalette& p);
    // A project's paint: the records, the palette and the window of ended painting.
    void RestorePaint(const std::vector<PaintRecord>& records, const PaintPalette& p);
    // Paint by name (paint/Upaint_byname.cpp).
    void CBAllPaintClick(TObject* Sender);
    void BtnAllPaintClick(TObject* Sender);
};

extern TMapPaint* MapPaint;
