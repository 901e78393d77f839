// The paper of a PDF: its size, which way up, and the map's dots per inch,
// which give the map its size on the paper.
#pragma once
#include "gui/Forms.h"
#include "output/VectorWriters.h"

class TPdfPage : public TForm {
public:
    TPdfPage();
    TComboBox* CBPaper;             // "用紙"
    TRadioGroup* RGOrient;          // "向き": 縦 / 横
    TEdit* EdDpi;                   // "解像度"
    TUpDown* UDDpi;
    TLabel* LblSize;                // the map's size on the paper
    TButton *BtnOk, *BtnCancel;     // "保　存", "キャンセル"

    output::PdfPage Page() const;
    void SetPage(const output::PdfPage& page);
    // The map about to be saved: its side in pixels, for the size shown.
    void SetMapSide(int side);

private:
    void ShowSize();
    int mapSide = 600;
};

extern TPdfPage* PdfPage;
TPdfPage* PdfPageWindow();   // made on first use
