// The legend editor and the legend record the redraw draws from.
#pragma once
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include "paint/LegendBlock.h"
#include <cstdint>
#include <span>
#include <string>

namespace gui { class TextWriter; }

class THanrei : public TForm {
public:
    THanrei();
    void FormCreate(TObject* Sender) override;
    void FormShow(TObject* Sender) override;

    TEdit* Edit10; TUpDown* UpDown1;   // "凡例数"
    TImage *Image1, *Image2, *Image3, *Image4, *Image5, *Image6, *Image7, *Image8;   // row swatches
    TEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8;           // row descriptions
    TLabel* RowLabel[8];                                                               // row numbers
    TEdit* Edit9;                      // title
    TCheckBox* CBMenuTitle;            // "タイトル"
    TEdit* Edit11; TUpDown* UpDown5;   // "色記号 ｗ"
    TEdit* Edit12; TUpDown* UpDown6;   // "色記号 ｈ"
    TEdit* Edit13; TUpDown* UpDown3;   // "位置 ｘ"
    TEdit* Edit14; TUpDown* UpDown4;   // "位置 ｙ"
    TEdit* Edit15; TUpDown* UpDown7;   // "間隔 ｄ"
    TEdit* Edit16; TUpDown* UpDown2;   // "文字サイズ"
    TButton* Button5; TImage* Image9;  // "文字色"
    TButton* Button6; TImage* Image10; // "枠内色"
    TButton* Button7; TImage* Image11; // "枠色"
    TCheckBox* CBExpWaku;              // "囲み枠"
    TCheckBox* CBBold;                 // "太枠"
    TCheckBox* CBExpDisplay;           // the redraw draws the legend
    TCheckBox* CBMapWrite;             // "地図": the redraw draws the map layers
    TButton *Button3, *Button1, *Button2, *Button8, *Button4;   // "表示", "読　込", "保　存", "パターンコピー", "閉じる"
    TLabel* Label22;                   // name of the last file read
    TLabel* Label20;
    TSaveDialog* SaveDialog1;
    TOpenDialog* OpenDialog1;
    TColorDialog* ColorDialog1;

    // The legend record. Sizes and positions are in units of a 600-pixel image.
    std::string LegendFileName;
    TColor LegendColors[8] = {};
    uint8_t LegendPatterns[8] = {};
    int32_t LegendCount = 3, LegendW = 40, LegendH = 15, LegendGap = 3, LegendX = 50, LegendY = 50,
            LegendTextSize = 10;
    TColor LegendTextColor = 0x000000, LegendFillColor = 0xFFFFFF, LegendFrameColor = 0x000000;
    std::string LegendTexts[8];
    std::string LegendTitle;
    bool LegendOn = false;

    static constexpr size_t TEXT_MAX = 99;   // CP932 bytes of a title or description
    // What the window allows for count, swatch width and height, gap,
    // position x and y and text size, in the order the files keep them.
    static constexpr int NUMBER_MIN[7] = {1, 20, 10, 0, 0, 0, 6}, NUMBER_MAX[7] = {8, 100, 50, 20, 600, 600, 40};

    TImage* RowImage(int i) const;
    TEdit* RowEdit(int i) const;
    // False when a number box held no number: that box is set back to the record's value.
    bool GatherLegend();
    void UpdateRows();
    // The legend as the window shows it, for its file and the project.
    LegendBlock FileBlock() const;
    // A block read from a file into the record and the boxes that show it.
    void ShowBlock(const LegendBlock& g);
    // A project's legend, shown on the map, without running the boxes' handlers.
    void RestoreLegend(const ProjectLegend& g);
    // The title box and the frame box enable what goes with them.
    void EnableByBoxes();
    void Button3Click(TObject* Sender);   // "表示"
    void Button1Click(TObject* Sender);   // read a legend file
    void Button2Click(TObject* Sender);   // write a legend file
    void Button8Click(TObject* Sender);   // rows into the paint palette
    void ColourButtonClick(TButton* which);
    void ImageClick(int row);
    void CBExpWakuClick(TObject* Sender);
    void CBMenuTitleClick(TObject* Sender);
};

// A text cut to at most max CP932 bytes, on a character boundary.
std::string CutCp932(const std::string& text, size_t max);

extern THanrei* Hanrei;
