// The statistics map window: a table of values per municipality joined to the
// map, put into classes and drawn as the statistics layer with a legend.
#pragma once
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include "paint/StatCarry.h"
#include "paint/StatClass.h"
#include "paint/StatJoin.h"
#include "paint/StatMapBlock.h"
#include "paint/StatTable.h"
#include "paint/StatXlsx.h"
#include "paint/Uhanrei.h"
#include <vector>

class TStatMap : public TForm {
public:
    TStatMap();

    TButton* BtnOpen;          // "表を開く..."
    TLabel* LblFile;
    TStringGrid* Grid1;        // the first rows of the table
    TEdit* EdHeading; TUpDown* UDHeading;   // "見出し行"
    TRadioGroup* RGKey;        // "結合": コード / 名称
    TComboBox *CBCode, *CBName, *CBPref, *CBValue;
    TEdit* EdUnit;             // "単位"
    TRadioGroup* RGMethod;     // "分類方法"
    TEdit* EdCount; TUpDown* UDCount;       // "階級数"
    TEdit* EdManual;           // breaks typed by the user
    TImage* ImgHist;           // histogram with the breaks
    TComboBox* CBScheme;       // "配色"
    TCheckBox* CBReverse;      // "逆順"
    TRadioGroup* RGStyle;      // "塗り方"
    TCheckBox* CBNoDataHatch;  // "データなしを斜線"
    TEdit* EdDecimals; TUpDown* UDDecimals; // "小数桁数"
    TCheckBox* CBThousands;    // "桁区切り"
    TCheckBox* CBOpenEnds;     // "両端を「未満」「以上」で表す"
    TButton *BtnApply, *BtnUndo, *BtnReport, *BtnClose;   // "適用", "元に戻す", "報告を保存", "閉じる"
    TButton* BtnToPaint;       // "ペイントに変換"
    TCheckBox* CBCounts;       // "凡例に件数": each class's number of units in its legend row
    TLabel* LblJoin;           // "結合 n / m 行"
    TListBox* LBReport;        // rows not joined, with their reasons
    TOpenDialog* OpenDialog1;
    TSaveDialog* SaveDialog1;

    StatTable Table;
    std::string TablePath;
    StatJoinSpec Spec;
    StatUnits Units;
    StatJoin Join;
    std::vector<double> Breaks;

    // The layer and the legend before the applications since the last undo.
    struct Applied {
        bool on = false;
        StatMapBlock layer;
        ProjectLegend legend;
        bool legendOn = false, legendTick = false;
    } Last;

    bool OpenTable(const std::string& path, int sheet = 0);
    void ColumnsChanged();           // join again and redraw the classes
    void ClassesChanged();           // breaks and histogram
    StatNumberFormat NumberFormat() const;
    StatMethod Method() const;
    int ClassCount() const;
    bool Apply();                    // "適用": false when nothing was applied
    bool Undo();                     // the layer and its legend as before the applications
    bool ConvertToPaint();           // "ペイントに変換": the layer as paint records
    bool SaveReport(const std::string& path);
    // The map was loaded again (same areas, another edition): the table joins
    // the units of the map shown, and the layer follows it.
    void MapChanging();
    void MapChanged();
    // The old map goes (other areas agreed to): so does the layer, and the offer waits for the new map.
    void LeaveMap();
    bool OfferPending = false;   // the layer went with the old map; the offer waits for the new one
    // The layer as the controls would make it now, without the values.
    StatMapBlock Settings() const;
    // A project's statistics map back in the controls, the table read when it is there.
    void RestoreSettings(const StatMapBlock& b);

    // A table of another date carried onto the map's units.
    TComboBox* CBTableYear;      // "表の日付": 自動 or the date of its codes
    TCheckBox* CBCarryRate;      // "率・密度として換算": with the share of the new unit's land
    StatUnits FromUnits;         // the units of the table's date, every area, while it is not the map's
    int CarriedFrom = 0;         // the date the join was made at
    std::vector<std::string> CarryLines;   // what the carry merged, split or took from a city row
    int ChosenTableYear() const; // -1 for 自動
    TComboBox* CBSheet;          // "シート": the sheet of a workbook
    int Sheet = 0;               // the sheet read
    const StatUnits& JoinUnits() const { return CarriedFrom != unitsYear ? FromUnits : Units; }

    static int EditionYear();   // the edition of the map shown
    static std::vector<int> SelectedAreas();

    // Controls and settings beyond the first window.
    TButton* BtnReload;          // "再読込": the same file again, its columns kept
    TLabel* LblClasses;          // why the breaks typed are not taken
    TEdit* EdMidpoint;           // "中央の値": where a diverging scheme turns
    TRadioGroup* RGDivide;       // "割る": なし / 列 / 面積（km²）
    TComboBox* CBDivisor;        // "割る列"
    TRadioGroup* RGLevel;        // "塗る単位": 市区町村 / 政令市 / 都道府県
    TCheckBox* CBFixClasses;     // "分類を固定": breaks, count, format and colours stay
    TButton* BtnSaveClasses;     // "分類表を保存"
    TComboBox* CBCandidate;      // "候補": the unit a row of several candidates stands for
    TSaveDialog* SaveDialog2;
    // The class count in force: the one owner, set only with the breaks it goes with.
    int Classes = 5;
    bool DecimalsByHand = false;  // the user set 小数桁数; else it follows the breaks
    bool MidpointByHand = false;  // the user typed 中央の値; else 0 where the values span it
    // Takes the typed count and breaks with new breaks, or refuses them (with a
    // message when `loud`, else in LblClasses) and keeps the classes in force.
    bool CommitClasses(bool loud);
    double Midpoint() const;                          // NaN when none
    std::vector<StatSlot> ClassSlots() const;         // the classes' fills, then the no-data fill
    std::vector<std::string> ClassLabels() const;     // the legend's texts of the classes
    bool SaveClassTable(const std::string& path);     // "コード,名称,値,階級,色" per coloured unit
    bool ReloadTable();

    // Circles and value labels over the map, and the value column stepped through.
    TCheckBox* CBFillMap;        // "塗り分け": the units filled by class
    TCheckBox* CBCircles;        // "比例円"
    TComboBox* CBSizeCol;        // "大きさの列": the value column itself, or another
    TEdit* EdRadius; TUpDown* UDRadius;   // "最大半径": pixels at 600
    TComboBox* CBCircleLook;     // "円の色": 階級の色 / 一色
    TButton* BtnCircleColour;    // "色..."
    TColorDialog* ColorDialog1;
    TColor CircleColour = 0x3060E0;
    TCheckBox* CBValueLabels;    // "数値ラベル"
    TComboBox* CBLabelFont;      // "フォント"
    TEdit* EdLabelSize; TUpDown* UDLabelSize;   // "文字サイズ": points at 600
    TLabel* LblPlaced;           // how many of the labels were placed
    TButton *BtnPrevCol, *BtnNextCol;   // "前の列", "次の列"
    // The value column before (-1) or after (+1), the map applied again when it shows one.
    bool StepColumn(int step);
    // The value column col of the table (0 the first), the map applied again when it shows one.
    bool ChooseColumn(int col);
    // After a redraw: the labels placed, of those wanted.
    void ShowPlaced(bool mapDrawn);

private:
    void addSymbolControls(QWidget* c);
    void symbolsChanged();       // a circle or label setting: the map shown takes it
    void fillColumnBoxes();
    void restoreLook();
    void noteOtherDate();
    void followJoin();                         // the layer takes the join's values
    void takeValues(StatMapBlock& b) const;    // the join's values by code   // the report tells when the table's codes are of another date
    void showReport();
    void drawHistogram();
    bool loadUnits();
    void joinTable();            // at the map's date, or at the table's and carried
    int fromUnitsYear = -1;
    std::vector<CrosswalkRow> walk;
    int walkFrom = -1, walkTo = -1;
    std::string guessFor;        // the table and columns the date was guessed for
    int guessed = 0;
    std::vector<int> unitsAreas;
    int unitsYear = -1;
    void autoFormat();             // decimals and midpoint for a new value column
    void candidateChosen();
    void divideChanged();
    int candidateRow = -1;         // the table row CBCandidate chooses for
    bool settingText = false;      // a box's text set by the window, not typed
    bool committing = false;
    std::string formatFor;         // the value column decimals and midpoint were chosen for
};

// Made when first asked for, after the thirty windows of the start-up.
extern TStatMap* StatMap;
TStatMap* StatMapWindow();
