// The line editor and the lists of shown line files.
#pragma once
#include "engine/Coords.h"
#include "engine/MapLayer.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace gui { class TextWriter; }

constexpr int LINE_FILE_MAX = 1800;
constexpr int LINE_COLOR_MAX = 10;

// The header of a line file: "K, 1, Points, Color, LineType, Size, Arrow, Asize, Step".
struct LineFileHeader {
    int32_t Points = 0, Color = 0, LineType = 0, Size = 1, Arrow = 0, Asize = 12, Step = 0;
};
constexpr int LINE_SIZE_MIN = 1, LINE_SIZE_MAX = 20, ARROW_SIZE_MIN = 5, ARROW_SIZE_MAX = 50, ARROW_STEP_MAX = 200;
// False for a line that is no header: fewer than its nine fields, or a value
// out of the range of the editor's controls.
bool ParseLineHeader(std::string_view line, LineFileHeader& h);
// "" for a line file that can be drawn, else the message naming it.
std::string LineFileFault(const std::string& path);

// Size, time and identity of a file as it was read; a file saved anew differs.
struct LineFileStamp {
    long long Size = -1, Time = -1;
    unsigned long long Inode = 0;
    bool operator==(const LineFileStamp&) const = default;
};

// One loaded line file, railway or the user's, kept under its path: what was
// read from it, and the size, colour number and shown mark the attribute
// table shows for it, whatever place its rows take.
struct LineFileRecord {
    LineFileStamp Stamp;
    bool Readable = false;               // its header is a line file's
    LineFileHeader Head;
    std::vector<std::array<int32_t, 2>> Points;   // the points drawn, in order, in map units
    std::vector<uint32_t> Breaks;        // index of the point after each break
    bool EndHead = false;                // the line ends on a piece that takes the head at the end
    std::string Size, Colour, Mark;      // as typed or taken from the file
    // The points on the screen of the view they were last drawn in; the reader
    // of the points forgets them.
    mutable std::vector<TPoint> Screen;
    mutable MapView ScreenView;
    mutable bool OnScreen = false;
};

// A row of the edited line, in map units; (0, 0) is a break.
struct LinePoint {
    int32_t X = 0, Y = 0;
    bool Empty = false;   // no point yet: the row an insert opened, waiting for its press
};

// A line drawn from a loaded file, in drawing order: the railways the filter
// lets through, then the user's files. Row r of the attribute table shows row r.
struct LineRow {
    std::string Path;
    bool Rail = false;
    int Index = 0;   // place in RailFiles or LineFiles
};

class TLineAdd : public TForm {
public:
    TLineAdd();
    void FormCreate(TObject* Sender) override;

    // ---- Controls ----
    TButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8, *Button9, *Button10,
        *Button11, *Button12, *Button13, *Button14, *Button15, *BtnEdit, *BtnFile;
    TCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox6, *CheckBox7, *CBArrow,
        *CBLoop, *CBFileAdd;
    TStringGrid* StringGrid1;   // shows Points: number, x, y
    TUpDown *UpDown1, *UpDown2, *UpDown3, *UpDown4, *UpDown5, *UpDown6, *UpDown7;
    TEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7;
    TRadioGroup* RadioGroup1;   // "線種"
    TImage *Image1, *Image2;    // swatches of LineColor and UnifiedLineColor
    TLabel *Label2, *Label7, *Label10, *Label18, *Label19, *Label20;
    TOpenDialog *OpenDialog1, *OpenDialog2;
    TSaveDialog* SaveDialog1;
    TColorDialog* ColorDialog1;

    // ---- The edited line ----
    // Its rows, which the point grid shows and the map draws: its points, and
    // while an insert waits for its press, the empty row it opened among them.
    std::vector<LinePoint> Points;
    int PointCount() const;      // the rows that hold a point
    // What the next map press does: 0 nothing, 1 add at the end, 2 set the inserted row, 3 move the selected row.
    int PointMode() const;
    void ArmPoint(int kind);
    int32_t SelectedPoint = 0;   // row an insert or move press fills
    TColor LineColor = 0;
    int32_t EditLineWidth = 1;
    uint8_t EditPenStyle = 0;
    uint8_t EditArrow = 0, EditTriangle = 0;
    int32_t EditArrowSize = 12;
    std::string EditFileName;
    bool EditLineShown = false;  // true: the editing look; false: the line's own style
    uint8_t LineSaved = 1;       // 0 after a change not yet saved
    int PaintLine = 0;           // 1: line files drawn under the paint too
    bool EditLineRedraw = false;

    // ---- Loaded line files ----
    std::vector<std::string> LineFiles;   // user files shown; the first LineFileCount are in use
    int LineFileCount = 0;
    std::vector<std::string> RailFiles;   // railway files of the selected regions
    int RailFileCount = 0;
    std::unordered_map<std::string, LineFileRecord> LineRecords;   // every file of the two lists
    std::vector<LineRow> LineRows;        // as last numbered
    TColor ColorTable[LINE_COLOR_MAX] = {}, DefaultColorTable[LINE_COLOR_MAX] = {};
    uint8_t AttrTableDirty = 1;   // the next numbering takes every size and shown mark from the files
    TColor UnifiedLineColor = 255;

    // ---- Operations ----
    void EnableEditControls();
    void DisableEditControls();
    void EnablePointControls();
    void OpenEditor();
    // Colour number of a colour (1 to 10) through 'number'; returns the entries now in use.
    int ColourNumber(int count, TColor colour, int& number);
    static std::string FileDisplayName(const std::string& path);

    // Line-file records (Ulinefiles.cpp). The lists are set here, and each file
    // read when it comes into a list; a user's file again whenever it changed on disk.
    void SetRailFiles(std::vector<std::string> paths);
    void SetUserFiles(std::vector<std::string> paths);
    LineFileRecord* RecordOf(const std::string& path);
    LineFileRecord* RecordOfRow(int row);
    int UserFileCount() const;   // the entries of LineFiles in use
    void ReadChangedUserFiles();
    // Colour numbers over the shown files and the rows they are drawn in.
    void NumberLineFiles();
    // The rows, from the records only; rule: the line window's railway colour choice.
    void PaintLineFiles(TCanvas& cv, const MapView& view, bool railShown, int rule);
    void RestoreProjectLines(int32_t paintLine, const std::vector<std::string>& paths);
    // After a restore's railway boxes, which set this window too: the files' count and buttons.
    void ShowRestoredFiles();
    // The rows become the given points, in the Tokyo datum.
    void SetPoints(const std::vector<std::array<int32_t, 2>>& pts);
    // Row 'row' becomes p; rows between the last and it come empty.
    void SetPoint(int row, LinePoint p);
    // The grid refilled from Points, one numbered row each.
    void ShowPoints();
    // An insert's row still waiting for its press is given back.
    void DropOpenRow();
    void MarkSelectedPoint();
    // Pixel of row i on the image as drawn; false for an empty row.
    bool RowPixel(int i, int& X, int& Y) const;   // at the view drawn last
    bool RowPixel(const MapView& view, int i, int& X, int& Y) const;

    // Drawing (Ulinedraw.cpp).
    void TurtleStep(TCanvas& cv, int mode, int length, int& x, int& y, float angle);
    void DrawArrowHead(int x1, int y1, bool triangle, int length, TColor colour, int x2, int y2);
    void DrawArrowHead(TCanvas& cv, int x1, int y1, bool triangle, int length, TColor colour, int x2, int y2);
    void DrawEditLine();   // onto the screen at the view drawn last
    void DrawEditLine(TCanvas& cv, const MapView& view, const DrawSettings& s);
    // The edited line's width, pen and arrow heads as the controls set them.
    void ReadLook(DrawSettings& s) const;
    void DrawLineFiles();

    // ---- Handlers ----
    void Button1Click(TObject* Sender);    // load for editing
    void Button2Click(TObject* Sender);    // new line
    void Button3Click(TObject* Sender);    // delete
    void Button4Click(TObject* Sender);    // clear loaded files
    void Button5Click(TObject* Sender);    // end editing
    void Button6Click(TObject* Sender);    // save
    void Button7Click(TObject* Sender);    // insert
    void Button8Click(TObject* Sender);    // hidden: one colour for all
    void Button9Click(TObject* Sender);    // parallel shift
    void Button10Click(TObject* Sender);   // end adding
    void EndPointMode(int kind);
    void Button11Click(TObject* Sender);   // move
    void Button12Click(TObject* Sender);   // colour
    void Button13Click(TObject* Sender);   // break
    void Button14Click(TObject* Sender);   // hidden test
    void Button15Click(TObject* Sender);   // attribute window
    void BtnEditClick(TObject* Sender);
    void BtnFileClick(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void CheckBox2Click(TObject* Sender);
    void CheckBox3Click(TObject* Sender);
    void CheckBox4Click(TObject* Sender);
    void CheckBox5Click(TObject* Sender);
    void CheckBox6Click(TObject* Sender);
    void CBArrowClick(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void StringGrid1Click(TObject* Sender);
    void UpDown1Click(TObject* Sender, TUDBtnType Button);
    void UpDown2Click(TObject* Sender, TUDBtnType Button);
    void UpDown3Click(TObject* Sender, TUDBtnType Button);
    void UpDown4Click(TObject* Sender, TUDBtnType Button);

private:
    void SetEditControls(bool on);
    void SelectRow(int r);
    void ShowRow(int row);
    LineFileRecord& Record(const std::string& path, bool checkDisk);
    void DropUnlistedRecords();
    // Points of a record in the given colour and width and the file's line type; arrows only for user files.
    void DrawFilePoints(TCanvas& cv, const MapView& view, const LineFileRecord& f, bool arrows, TColor colour, int width,
                        std::vector<TPoint>& run);
    int turtleX = 0, turtleY = 0;
    float turtleHeading = 0;
};

extern TLineAdd* LineAdd;
