// The common part of the two windows that move the name points of a list
// file (designated cities, duplicated names): a grid with one row per entry
// after the heading row, a mark on the row being moved, save and close.
#pragma once
#include "gui/Forms.h"
#include <string>
#include <vector>

class PositionTool;

class TPositionTable : public TForm {
public:
    struct Texts {
        const char* caption;
        std::vector<const char*> heads;
        int xColumn;          // x, then y in the next column
        const char* mark;     // on the row being moved
        const char* prompt;   // waiting for a row click
        const char* closeQuestion;
        const char* closeCaption;
    };
    explicit TPositionTable(const Texts& texts);
    void FormCreate(TObject* Sender) override;

    TStringGrid* StringGrid1;
    TButton *Button1, *Button2, *Button3;   // "ファイル保存", "閉じる", "キャンセル"
    TLabel* Prompt;
    bool PositionArmed() const;  // the next press moves entry Row - 1
    int32_t Row = 0;
    bool Modified = false;

    virtual void Fill() = 0;
    virtual bool Save() = 0;     // writes the list file; false: nothing changed
    void ClearMarks();
    void StringGrid1Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    // The press: the entry being moved takes the stored position (x, y).
    virtual void TakeAt(int32_t x, int32_t y) = 0;
    // Entry Row - 1 of the given table takes (x, y).
    void TakePosition(std::vector<int32_t>& xs, std::vector<int32_t>& ys, int count, int32_t x, int32_t y);

private:
    Texts texts;
    PositionTool* MyTool() const;   // this window's tool while it is armed
};
