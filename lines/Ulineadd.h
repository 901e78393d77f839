// The line editor and the lists of shown line files.
#pragma once
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace gui { class TextWriter; }

class FilePoints;

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
// The bytes of a line file, each line ended by '\n'; false when it cannot be opened.
bool ReadLineFileText(const std::string& path, std::string& text);

// Size, colour number and shown mark of one loaded line file, as the
// attribute table shows them; kept per file so a filter never moves them.
struct LineAttr {
    std::string Size, Colour, Mark;
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
    TStringGrid* StringGrid1;   // the edited line's points: number, x, y
    TUpDown *UpDown1, *UpDown2, *UpDown3, *UpDown4, *UpDown5, *UpDown6, *UpDown7;
    TEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7;
    TRadioGroup* RadioGroup1;   // "線種"
    TImage *Image1, *Image2;    // swatches of LineColor and UnifiedLineColor
    TLabel *Label2, *Label7, *Label10, *Label18, *Label19, *Label20;
    TOpenDialog *OpenDialog1, *OpenDialog2;
    TSaveDialog* SaveDialog1;
    TColorDialog* ColorDialog1;

    // ---- The edited line ----
    int32_t PointCount = 0;      // points of the edited line
    // What the next map press does: 0 nothing, 1 add at the end, 2 set the inserted row, 3 move the selected row.
    int PointMode = 0;
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
    std::vector<std::string> LineFiles;   // user files shown
    int LineFileCount = 0;
    std::vector<std::string> RailFiles;   // railway files of the selected regions
    int RailFileCount = 0;
    // Their bytes (lines end in '\n'), read by the first drawing after the railway load.
    std::vector<std::string> RailTexts;
    std::vector<uint8_t> RailTextRead;
    std::vector<LineAttr> RailAttrs, UserAttrs;
    TColor ColorTable[LINE_COLOR_MAX] = {}, DefaultColorTable[LINE_COLOR_MAX] = {};
    uint8_t AttrTableDirty = 1;   // the attribute table is refilled from the files
    TColor UnifiedLineColor = 255;

    // ---- Operations ----
    void EnableEditControls();
    void DisableEditControls();
    void EnablePointControls();
    void OpenEditor();
    // Colour number of a colour (1 to 10) through 'number'; returns the entries now in use.
    int ColourNumber(int count, TColor colour, int& number);
    static std::string FileDisplayName(const std::string& path);
    // The files of a project: each drawn with its own attributes as its file gives
    // them, whatever files and attributes were shown before.
    void SetLineFilesFromProject(const std::vector<std::string>& paths);
    void WriteProjectLines(gui::TextWriter& w) const;   // the project's line-file block
    // Fills the grid with rows of (x, y) in the Tokyo datum and numbers them.
    void SetGridPoints(const std::vector<std::array<int32_t, 2>>& pts);
    void SetRow(int row, const std::string& x, const std::string& y);
    void MarkSelectedPoint();
    // Pixel of grid row i on the image as drawn.
    bool RowPixel(int i, int& X, int& Y) const;

    // Drawing (Ulinedraw.cpp).
    void TurtleStep(int mode, int length, int& x, int& y, float angle);
    void DrawArrowHead(int x1, int y1, bool triangle, int length, TColor colour, int x2, int y2);
    void DrawEditLine();
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
    // Points of an open line file in the given colour and width and the file's line type; arrows only for user files.
    void DrawFilePoints(FilePoints& in, const LineFileHeader& h, bool arrows, TColor colour, int width);
    int turtleX = 0, turtleY = 0;
    float turtleHeading = 0;
};

extern TLineAdd* LineAdd;
