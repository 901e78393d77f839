// The label window: the label table and the prefecture-name tables.
#pragma once
#include "gui/Dialogs.h"
#include "gui/CellGrid.h"
#include "gui/Forms.h"
#include "labels/LabelRecord.h"
#include <cstdint>
#include <string>
#include <vector>

namespace gui { class TextWriter; }

constexpr int LABEL_MAX = 20000, LABEL_FILE_MAX = 1000, PREF_RECORD_MAX = 70;
// The longest mark or label text taken, in CP932 bytes.
constexpr int LABEL_TEXT_BYTES = 255;

class TLetter : public TForm {
public:
    TLetter();
    void FormCreate(TObject* Sender) override;

    // ---- Tables ----
    // The one store of the labels: row i of StringGrid1 shows LabelTable[i].
    std::vector<LabelRecord> LabelTable;
    int32_t LabelCount = 0;
    uint32_t LastLabelId = 0;
    std::vector<LabelRecord> PrefNameTable, PrefSeatTable;
    int32_t PrefNameCount = 0, PrefSeatCount = 0;
    std::vector<std::string> LabelFiles;
    int32_t LabelFileCount = 0;
    std::string LabelFileName;

    // ---- Modes and highlights ----
    // The label tool's state, as the window shows it.
    bool PlacingNewLabel() const;   // the next press places a new label
    bool MovingLabel() const;       // the next press moves the label armed at row LabelMoveIndex
    void StopNewLabel();            // no new label waits for a press
    void EndPlacing();               // no label waits for a press
    int32_t LabelMoveIndex = 0;
    uint32_t LabelMoveId = 0;        // that label, wherever a sort or a delete puts it
    bool LabelPlaced = false;        // placed or moved by mouse, or loaded from elsewhere
    bool FoundLabelMark = false, CenterLabelMark = false;
    int32_t FoundLabelIndex = 0, CenterLabelIndex = 0;
    bool AllLabelsShown = true;
    bool FullReported = false;   // a full table was reported in this operation
    bool Refusing = false;       // a typed cell's refusal is on view

    // ---- Controls ----
    TCellGrid* StringGrid1;   // a view of LabelTable
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

    // ---- The table and its views (Uletter.cpp) ----
    // The text of column col of a label row, as both grids show it.
    static std::string LabelCell(const LabelRecord& r, int col);
    // A cell set into label row i at once; a number cell that holds no number (or a
    // position on no map) is said, naming the row, and leaves the label as it was.
    bool TakeCell(int i, int col, const std::string& s);
    // Appends a label (with an id of its own unless it has one); false (and nothing changed) when full.
    bool AppendRow(const LabelRecord& r);
    // The row of the label of this id, looked for first at row hint; -1 when it is gone.
    int RowOfLabel(uint32_t id, int hint) const;
    void ShowTable();          // the views after the table changed; the grid keeps at least one row
    void ShowLabelFiles();     // the file grid and count from LabelFiles
    void ClearLabels();        // no label and no file: a new area choice
    void ShowCount();
    // A new label "ラベル記入" at (x, y) with the new-label size and colour; false when the table is full.
    bool AddNewLabel(int32_t x, int32_t y);

    // ---- Label files (Uletter.cpp) ----
    bool ReadLabelFile(const std::string& path);
    // Every label of a file, read whole before any is taken; false (after its
    // message) when the file cannot be read or holds a position no map has.
    bool ParseLabelFile(const std::string& path, std::vector<LabelRecord>& rows);
    void AppendLabels(const std::vector<LabelRecord>& rows);
    void Button3Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button14Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void CBShowClick(TObject* Sender);
    void LoadPrefTables();
    void FillSwatch();
    bool ReportFull();   // once per operation: the table is full

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

    // ---- The project file's label block (LabelBlock.cpp) ----
    void RestoreProjectLabels(const std::vector<LabelRecord>& rows);
    // The restore's two steps: before the railway boxes, which write station labels, and after them.
    void BeginProjectRestore(const std::vector<LabelRecord>& rows);
    void EndProjectRestore(const std::vector<LabelRecord>& rows, bool shown);
};

extern TLetter* Letter;

// Commas become "，": a mark with one would split its line in the project and label files.
std::string WithoutCommas(std::string s);

// A label file line: mark, x, y, text, size and colour; commas in the texts become "，".
std::string LabelLine(const LabelRecord& r);

// The label that the fields of a label line make: mark, x, y, text, size and colour
// (fields past the sixth belong to the text). Lenient (a label file): five fields make
// a label, numbers are read as far as they go, and without a colour it takes noColour.
// Strict (the project's block): all six, every number whole. False when they make none.
// A mark or text past LABEL_TEXT_BYTES makes none when strict; lenient, it is cut
// and cut (when given) is set. A byte that decoded to nothing shows as '?'.
bool LabelOfFields(const std::vector<std::string>& f, bool strict, TColor noColour, LabelRecord& r,
                   bool* cut = nullptr);
// The text with each undecodable byte shown as '?'.
std::string VisibleText(std::string s);
// Past LABEL_TEXT_BYTES.
bool LabelTextTooLong(const std::string& s);

// A number cell read strictly (as the class library's conversion reads it); false when it is no number.
bool CellInt(const std::string& s, int32_t& v);
