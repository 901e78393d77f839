// The symbol palette and the placed symbols.
#pragma once
#include "engine/Coords.h"
#include "gui/Dialogs.h"
#include "gui/Graphics.h"
#include "gui/Forms.h"
#include "gui/TextFile.h"
#include "labels/SymbolBlock.h"
#include <QImage>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <memory>
#include <string>
#include <vector>


class TPagesDlg : public TForm {
public:
    TPagesDlg();
    ~TPagesDlg() override;
    void FormCreate(TObject* Sender) override;
    void FormShow(TObject* Sender) override;

    std::vector<PlacedSymbol> PlacedSymbols;
    int PlacedSymbolCount = 0;

    bool Stamping() const;           // the stamp tool is armed: a map press stamps a symbol
    bool StampDisabled = false;      // the stamp switch is off
    int32_t TypedX = 0, TypedY = 0;
    int32_t SymbolCode = 100;
    uint16_t CursorId = 0;           // the map cursor while placing; 301 while a route is measured
    std::unique_ptr<TBitmap> SymbolBitmap;   // the current symbol, coloured
    TColor StampColor = 255;
    int32_t SymbolSize = 16;
    bool SymbolsShown = true;
    std::string CustomFolder, ExtraMarkDefault, ExtraMarkConfig;
    bool FullReported = false;       // a full list was reported in this operation
    bool MissingReported = false;    // a missing picture was reported in this redraw

    // ---- Controls ----
    TPageControl* PageControl1;
    TImage* Pictures[42 + 21 + 7] = {};   // 100-120, 200-241, stamps 1-7
    TCheckBox *CheckBox1, *CBTransp, *CBMarkAdd, *CBIchi, *CBGSICor;
    TImage *Image36, *Image37;
    TButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8, *Button9, *Button10,
        *Button11, *CancelBtn, *BtnIchi, *HelpBtn;
    TEdit *Edit1, *Edit2, *Edit3;
    TLabel *Label34, *Label41, *LabelSize, *LabelColorHex;
    TLabel* StampLabels[3] = {};          // "有効" on the three symbol tabs
    TOpenDialog *OpenDialog1, *OpenDialog2, *OpenDialog3;
    TSaveDialog *SaveDialog1, *SaveDialog2, *SaveDialog3;
    TColorDialog* ColorDialog1;

    std::string MarkPath(const std::string& name) const;
    void LoadPaletteImages();
    void SelectSymbol(int code);
    void SetMapCursor(int id);
    void EndStamp();   // no symbol waits for a press; the map's own cursor is back
    void DropStamp();  // as EndStamp, keeping the chosen symbol's cursor
    bool AddPlacedSymbol(int32_t x, int32_t y);
    // Onto the screen at the view drawn last, then the captions and the datum.
    void DrawSymbol(const PlacedSymbol& s);
    void DrawPlacedSymbols();
    // Onto a canvas through its view; every placed symbol in order (the redraw's layer).
    void DrawSymbol(TCanvas& cv, const MapView& view, const PlacedSymbol& s);
    void DrawPlacedSymbols(TCanvas& cv, const MapView& view);
    // Once symbols are on the screen: the captions, and the datum caption
    // decides how the next redraw draws the map.
    void TakeDrawn();
    void Button7Click(TObject* Sender);
    void CancelBtnClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void HelpBtnClick(TObject* Sender);
    void BtnIchiClick(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void Button10Click(TObject* Sender);
    void Button11Click(TObject* Sender);
    void DeleteCustomSymbols();
    void ImportCustomSymbols();
    void ExportCustomSymbols();
    // One symbol line "code,x,y,colour,size,transparent"; false when it is not six integers.
    static bool ParseSymbolLine(const std::string& line, PlacedSymbol& s);
    bool ReadSymbolLines(const std::string& path, bool append);
    bool WriteSymbols(const std::string& path, bool countLine);
    // The symbol lines as the .mrk file and the project keep them; the count line first when asked.
    void WriteSymbolLines(gui::TextWriter& w, bool countLine) const;
    // A project's symbols replace the list.
    void RestoreSymbols(const std::vector<PlacedSymbol>& symbols);
    void EnableListButtons(bool on);

private:
    std::map<std::string, QImage> pictureCache;   // pictures read during one redraw
    // The same by symbol and size, with whether the picture was missing: no name is made twice.
    std::unordered_map<int, std::pair<QImage, bool>> symbolPictures;
    TBitmap stampPad;   // the symbol as drawn, made again for each
    bool caching = false;
    TColor lastColor = 0;
    void ShowDrawn();   // the hidden colour caption and the count
    QImage LoadPicture(const std::string& path, bool& missing);
};

extern TPagesDlg* PagesDlg;

// Black pixels of img take colour c.
void ColourBlackPixels(QImage& img, TColor c);
