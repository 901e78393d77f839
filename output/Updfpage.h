// The page a PDF, an SVG or a print is laid out on: the paper, which way up,
// the map fitted to it or at a scale typed, and the title, legend, scale bar,
// credit and north arrow, each placed at a corner and an offset or dragged
// on the preview. The controls hold the layout; Layout() reads them.
#pragma once
#include "gui/Forms.h"
#include "output/PageDraw.h"
#include "output/VectorWriters.h"

class TPdfPage : public TForm {
public:
    TPdfPage();
    TComboBox* CBPaper;             // "用紙"
    TRadioGroup* RGOrient;          // "向き": 縦 / 横
    TEdit* EdDpi;                   // "解像度": the map alone on a page of its size
    TUpDown* UDDpi;
    TRadioGroup* RGScale;           // "縮尺": 用紙に合わせる / 縮尺を指定
    TEdit* EdScale;                 // the N of 1:N
    TEdit *EdTitle, *EdSubtitle;    // "表題", "副題"
    TCheckBox* CBItem[output::PAGE_ITEMS];   // drawn or not; the credit always is
    TComboBox* CBWhich;             // "項目": the item whose place the three below show
    TComboBox* CBAnchor;            // the corner it is held at
    TEdit *EdX, *EdY;               // its offset in mm
    TImage* Preview;                // the page; an item dragged on it moves
    TLabel* LblSize;                // the frame, the scale, and what the user should know
    TButton *BtnOk, *BtnCancel;     // "保　存", "キャンセル"

    output::PageLayout Layout() const;
    void SetLayout(const output::PageLayout& layout);
    // Today's paper, way up and dots per inch.
    output::PdfPage Page() const;
    void SetPage(const output::PdfPage& page);
    // The map about to be saved: its side in pixels, for the size shown.
    void SetMapSide(int side);
    // Why the layout typed cannot be drawn; empty when it can.
    std::string Refusal() const;
    // The page shown on the preview, composed again (and drawn again withMap).
    void ShowPreview(bool withMap);
    const output::PagePicture& Shown() const { return shown; }
    // The user took the page shown: the save that follows writes it as the
    // preview drew it instead of drawing the map again.
    void Accept() { accepted = shownValid && !shown.map.Empty(); }
    // That page, once, when the layout is still the one shown.
    bool TakeAccepted(const output::PageLayout& layout, output::PagePicture& page, bool& readings);
    // A preview pixel's place on the paper in mm, and back.
    QPointF PaperAt(int x, int y) const;
    QPoint PreviewAt(QPointF mm) const;

protected:
    void FormShow(TObject* Sender) override;
    void FormCloseQuery(TObject* Sender, bool& CanClose) override;

private:
    void ShowSize();
    void Changed(bool map);
    void PaintPreview();
    void Press(int x, int y);
    void Drag(int x, int y);
    void ShowPlace();
    void TakePlace();
    int mapSide = 600;
    // Where each item goes; the place controls show the chosen one's.
    output::PagePlace places[output::PAGE_ITEMS];
    bool quiet = false;   // while SetLayout sets the controls
    output::PagePicture shown;
    bool shownValid = false;
    bool shownReadings = true;   // the readings were drawn on the map shown
    bool accepted = false;
    QImage mapImage;      // the paper and the map on the preview, under the items
    double factor = 1;    // preview pixels per mm
    QPointF origin;       // the paper's corner on the preview
    int dragged = -1;
    QPointF held;
};

extern TPdfPage* PdfPage;
TPdfPage* PdfPageWindow();   // made on first use
