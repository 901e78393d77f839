// The label window: the label table and the prefecture-name tables.
#pragma once
#include "gui/Dialogs.h"
#include "gui/CellGrid.h"
#include "gui/Forms.h"
#include "output/Uproject.h"

namespace gui { class TextWriter; }
#include <cstdint>
#include <string>
#include <vector>

// One label; the prefecture-name and capital tables use the same record.
struct LabelRecord {
    std::string mark;     // drawn before the text when marks are shown
    int32_t x = 0, y = 0; // map units
    std::string text;
    int32_t size = 0;     // points before the size factor
    std::string shown;    // "●" drawn, "" hidden
    TColor color = 0;
    uint8_t jr = 0, railway = 0, main = 0;
    int32_t fileNo = 0;   // station file it came from
    uint32_t listTag = 0; // the shown-label list row that came from it, 0 none
};

constexpr int LABEL_MAX = 20000, LABEL_FILE_MAX = 1000, PREF_RECORD_MAX = 70;

class TLetter : public TForm {
public:
    TLetter();
    void FormCreate(TObject* Sender) override;

    // ---- Tables ----
    std::vector<LabelRecord> LabelTable;   // row i of StringGrid1 and LabelTable[i] are one label
    int32_t LabelCount = 0;
    std::vector<LabelRecord> PrefNameTable, PrefSeatTable;
    int32_t PrefNameCount = 0, PrefSeatCount = 0;
    std::vector<std::string> LabelFiles;
    int32_t LabelFileCount = 0;
    std::string LabelFileName;

    // ---- Modes and highlights ----
    bool LabelMoveMode = false;      // the next press moves label row LabelMoveIndex
    int32_t LabelMoveIndex = 0;
    bool LabelPlaced = false;        // placed or moved by mouse, or loaded from elsewhere
    bool FoundLabelMark = false, CenterLabelMark = false;
    int32_t FoundLabelIndex = 0, CenterLabelIndex = 0;
    bool AllLabelsShown = true;
    bool FullReported = false;   // a full table was reported in this operation

    // ---- Controls ----
    TCellGrid* StringGrid1;
    TStringGrid* StringGrid2;
    TButton *Button2, *Button3, *Button4, *Button6, *Button7, *Button8, *Button9, *Button10, *Button11, *Button12,
        *Button13, *Button14, *Button15, *Button16, *Button17;
    TCheckBox *CBFileAdd, *CBFontSizeFixed, *CBWhiteBack, *CBMark, *CBLabel, *CBShow;
    TRadioGroup *RadioGroup1, *RadioGroup2;
    TEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5;
    TUpDown *UpDown1, *UpDown2;
    TLabel *Label8, *Label16, *LabelAll;
    TLabel* Label25 = nullptr;   // station files of the railway load (made by the line editor)
    TImage* Image1;   // colour swatch
    TPopupMenu* PopupMenu1;
    TMenuItem *N1, *RemoveLabel, *N2, *LabelSearch, *k1;
    TOpenDialog* OpenDialog1;
    TSaveDialog* SaveDialog1;
    TColorDialog* ColorDialog1;

    // ---- Label files (Uletter.cpp) ----
    bool ReadLabelFile(const std::string& path);
    // One label as read from a file: its record and its ten grid cells.
    struct ReadLabel {
        LabelRecord record;
        std::string cells[10];
    };
    // Every label of a file, read whole before any is taken; false (after its
    // message) when the file cannot be read or holds a position no map has.
    bool ParseLabelFile(const std::string& path, std::vector<ReadLabel>& rows);
    void AppendLabels(const std::vector<ReadLabel>& rows);
    void Button3Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button14Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void CBShowClick(TObject* Sender);
    void LoadPrefTables();
    void FillSwatch();
    // Appends one row to the table and the grid; false (and nothing changed) when full.
    bool AppendRow(const LabelRecord& r, const std::string cells[10]);
    void SetGridRows(int n);   // the grid keeps at least one row, empty when the table is
    void ShowLabelFiles();     // the file grid and count from LabelFiles
    void ClearLabels();        // no label and no file: a new area choice
    void ShowCount();
    // A new label "ラベル記入" at (x, y) with the new-label size and colour; false when the table is full.
    bool AddNewLabel(int32_t x, int32_t y);

    // ---- Editing (Uletter_edit.cpp) ----
    void Button2Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button10Click(TObject* Sender);
    void Button11Click(TObject* Sender);
    void Button12Click(TObject* Sender);
    void Button13Click(TObject* Sender);
    void Button15Click(TObject* Sender);
    void Button16Click(TObject* Sender);
    void Button17Click(TObject* Sender);
    void UpDown2Click(TObject* Sender, TUDBtnType Button);
    void N1Click(TObject* Sender);
    void N2Click(TObject* Sender);
    void RemoveLabelClick(TObject* Sender);
    void LabelSearchClick(TObject* Sender);
    void k1Click(TObject* Sender);
    void StringGrid1Click(TObject* Sender);
    void StringGrid1DblClick(TObject* Sender);
    void SortRows(bool byFileNo);
    // Reports a row whose number cell is no number; false then.
    bool CellNumber(int col, int row, int32_t& v, bool emptyIsZero = false);
    bool ReportFull();   // once per operation: the table is full

    // ---- The project file's label block (LabelBlock.cpp) ----
    void WriteProjectLabels(gui::TextWriter& w) const;   // the count line and each shown label
    void RestoreProjectLabels(const std::vector<ProjectData::Label>& rows);
};

extern TLetter* Letter;

// A label file line for a label row: cells 0 to 4 and the colour; commas in cells become "，".
std::string LabelLine(const std::string cells[5], TColor color);

// A label line of the project file; false when it is no sound label.
bool ParseProjectLabelRow(const std::string& line, ProjectData::Label& row);

// A number cell read strictly (as the class library's conversion reads it); false when it is no number.
bool CellInt(const std::string& s, int32_t& v);
