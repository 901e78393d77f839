// Moves municipality name points in the per-area map file.
#pragma once
#include "gui/Forms.h"

class TCorrect : public TForm {
public:
    TCorrect();

    TStringGrid* StringGrid1;   // current x, y, name, new x, new y
    TPopupMenu* PopupMenu1;
    TMenuItem* N1;              // "この位置修正データを削除する"
    TButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6;
    TLabel *Label2, *Label4, *Label13, *Label14, *Label15, *Label16, *Label17;
    // The row whose new position the next place step gives; -1 while no picked name waits for one.
    int PickedRow = -1;

    void Button1Click(TObject* Sender);   // "市町名選択"
    void Button2Click(TObject* Sender);   // "新座標指定"
    void Button3Click(TObject* Sender);   // "ファイル修正"
    void Button4Click(TObject* Sender);   // "キャンセル"
    void Button5Click(TObject* Sender);   // "閉じる"
    void Button6Click(TObject* Sender);   // "新規編集"
    void N1Click(TObject* Sender);
    // "ファイル修正" is offered only for one area with a completed row.
    void UpdateFileButton();
    bool HasCompletedRow() const;
    // No name waits for a position any more: the arrows and buttons as before a pick.
    void EndPick();
    // The correction tool's state, as the window shows it.
    bool Picking() const;   // the next press picks a name
    bool Placing() const;   // the next press places the picked name
    // Rewrites the first line per row; false (file untouched) on a failed write.
    bool RewriteCorrections(const std::string& path);
};

extern TCorrect* Correct;
