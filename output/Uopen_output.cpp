// TOpen: the image size, copying the map to the clipboard and saving it as a file.
#include "engine/RenderJob.h"
#include "engine/Uopen.h"
#include "engine/Uprocess.h"
#include "gui/Files.h"
#include "lines/Ulineadd.h"
#include "names/Uyomi.h"
#include "names/Uyomilist.h"
#include "navigation/Usettei.h"
#include "gui/VectorRecorder.h"
#include "gui/ImageWriters.h"
#include "gui/PrintDialog.h"
#include "output/OutputPage.h"
#include "output/Updfpage.h"
#include "output/VectorWriters.h"
#include <algorithm>
#include <cmath>

namespace {

int CopyScaleOf(const TRadioGroup* group) { return std::clamp(group->ItemIndex() + 1, 1, TOpen::COPYSCALE_MAX); }

// The wait window shows its text at once. It is painted without running the
// event loop: no timer may change the view between two tiles of one image.
void ShowProgress(const std::string& text) {
    Process->Label1->SetCaption(text);
    Process->Show();
    Process->repaint();
}

// Readings refused for too many names: told once, after the image is made.
void TellReadingsRefused() {
    Application->MessageBox("読みがなを表示する市区町村名が多すぎます", "読みがなエラー", MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

void TOpen::RadioGroup1Click(TObject*) {
    RedrawOnce once;   // the settings' twin runs this once more
    LineAdd->EditLineRedraw = true;
    COPYSCALE = CopyScaleOf(ui.RadioGroup1);
    Settei->RadioGroup2->SetItemIndex(ui.RadioGroup1->ItemIndex());
    ImageSize = SIZEX * COPYSCALE / SSIZE;
    DrawMap();
}

// The output's map through the render job at the chosen size; the screen's
// image is left as it is.
bool TOpen::RenderOutput(TCanvas& cv) { return output::RenderOutputJob(cv, OutputSnapshot()); }

namespace output {

bool RenderOutputJob(TCanvas& cv, const MapSnapshot& job) {
    RenderMap(cv, job);
    if (!MainUi().CBYomi->Checked()) return true;
    if (!YomiList->BuildDisplayedNameList(job.view)) return false;
    Yomi->DrawReadings(cv, job.view);
    return true;
}

bool BuildOutputPage(const PageLayout& layout, const PageSheet& sheet, PagePicture& pic, bool& readings, bool withMap) {
    readings = true;
    if (!Open) return false;
    MapSnapshot job = Open->OutputSnapshot();
    const MapView screen = job.view;
    DrawSettings& s = job.settings;
    pic.sheet = sheet;
    pic.title = layout.title;
    pic.subtitle = layout.subtitle;
    pic.scaleNote = layout.fixedScale ? "縮尺 1:" + Thousands(layout.scale) : "";
    pic.legend = gui::VectorRecorder();
    pic.legendBox = QRectF();
    pic.credit = PageCredit(s.MapWrite && s.Lake, s.RailLines, s.Mountains, s.MapWrite && (s.NTownBorder || s.OldTownNames));
    // The legend alone, as on a 600-pixel map: its sizes are the screen's at the page's density.
    if (s.LegendShown && layout.places[PAGE_LEGEND].shown) {
        DrawSettings only = s;
        only.KeepsPlaces = false;
        job.layers->Prepare(only, LayerPlace::Legend, LayerPlace::Frame);
        TBitmap scratch(1200, 1200);
        scratch.Canvas()->Vector = &pic.legend;
        MapView v = screen;
        v.size = 600;
        job.layers->Draw(*scratch.Canvas(), v, only, LayerPlace::Legend, LayerPlace::Frame);
        pic.legendBox = RecordedBounds(pic.legend);
    }
    // The items' sizes depend on the scale, which the frame decides alone.
    QSizeF sizes[PAGE_ITEMS];
    const PageComposition first = ComposePage(layout, sheet, screen, sizes);
    if (!first.ok) {
        pic.page = first;
        return false;
    }
    MeasurePageItems(pic, first.scale, sizes);
    pic.page = ComposePage(layout, sheet, screen, sizes);
    if (!withMap) return true;
    pic.map = gui::VectorRecorder();
    // The page draws its own legend, scale bar, credit and title where they
    // were placed; the map's would fall where the square runs past the frame.
    s.ScaleBar = false;
    s.LegendShown = false;
    s.Notice = false;
    s.PrefCaption = false;
    job.view = pic.page.view;
    // The insets go in the corners of the frame, not of the square that runs past it.
    const QRectF& f = pic.page.frame;
    const double px = pic.page.mmPerPixel;
    job.shown = TRect(int(std::ceil((f.left() - pic.page.mapOrigin.x()) / px)),
                      int(std::ceil((f.top() - pic.page.mapOrigin.y()) / px)),
                      int(std::floor((f.right() - pic.page.mapOrigin.x()) / px)),
                      int(std::floor((f.bottom() - pic.page.mapOrigin.y()) / px)));
    TBitmap out(job.view.size, job.view.size);
    out.Canvas()->Vector = &pic.map;
    readings = RenderOutputJob(*out.Canvas(), job);
    return true;
}

} // namespace output

bool TOpen::RenderMapVector(gui::VectorRecorder& shapes) {
    TBitmap scratch(ImageSize, ImageSize);
    scratch.Canvas()->Vector = &shapes;
    return RenderOutput(*scratch.Canvas());
}

void TOpen::Button4Click(TObject*) {
    COPYSCALE = CopyScaleOf(ui.RadioGroup1);
    ImageSize = SIZEX * COPYSCALE / SSIZE;
    TBitmap out(ImageSize, ImageSize);
    ui.CBCenter->SetChecked(false);

    // The map is drawn once at its full size, not tile by tile; a small one
    // is drawn without the wait window's texts.
    const bool large = ImageSize > 600;
    if (large) ShowProgress(gui::Format("地図を描いています(%d/%d)", 1, 1));
    const bool readings = RenderOutput(*out.Canvas());
    if (large) ShowProgress("クリップボードにコピーしています");
    Clipboard()->Assign(&out);
    if (!readings) TellReadingsRefused();
    ClipboardUsed = true;
    Process->Hide();
}

namespace {

struct SaveKind {
    TMenuItem* MainControls::*item;
    const char* filter;
    uint8_t format;
};

const SaveKind kSaveKinds[3] = {
    {&MainControls::PNG1, "PNGファイル (*.png)|*.png", 3},
    {&MainControls::JPEG1, "JPEGファイル (*.jpg)|*.jpg", 1},
    {&MainControls::BITMAP1, "BMPFファイル (*.bmp)|*.bmp", 2},
};
// Every image save also offers the map as shapes and text.
const char* const kVectorFilters = "|PDF (*.pdf)|*.pdf|SVG (*.svg)|*.svg";
constexpr uint8_t kPdf = 4, kSvg = 5;

const char* ExtensionOf(uint8_t format) {
    switch (format) {
    case 1: return ".jpg";
    case 2: return ".bmp";
    case kPdf: return ".pdf";
    case kSvg: return ".svg";
    default: return ".png";
    }
}

// The format a chosen name asks for: its extension, else the filter chosen.
uint8_t FormatChosen(const std::string& name, int filterIndex, uint8_t raster) {
    std::string ext = gui::ExtractFileExt(name);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == ".pdf") return kPdf;
    if (ext == ".svg") return kSvg;
    if (ext.empty() && filterIndex == 2) return kPdf;
    if (ext.empty() && filterIndex == 3) return kSvg;
    return raster;
}

void SaveAs(TOpen* o, int kind) {
    for (int k = 0; k < 3; ++k) (UiOf(*o).*kSaveKinds[k].item)->SetChecked(k == kind);
    UiOf(*o).RadioGroup2->SetItemIndex(kind);
    UiOf(*o).SaveDialog1->Filter = std::string(kSaveKinds[kind].filter) + kVectorFilters;
    UiOf(*o).SaveDialog1->FilterIndex = 1;
    o->SaveFormat = kSaveKinds[kind].format;
    o->SaveMapImage();
}

} // namespace

void TOpen::PNG1Click(TObject*) { SaveAs(this, 0); }
void TOpen::JPEG1Click(TObject*) { SaveAs(this, 1); }
void TOpen::BITMAP1Click(TObject*) { SaveAs(this, 2); }

void TOpen::Button8Click(TObject* Sender) {
    switch (ui.RadioGroup2->ItemIndex()) {
    case 0: PNG1Click(Sender); break;
    case 1: JPEG1Click(Sender); break;
    case 2: BITMAP1Click(Sender); break;
    default: break;
    }
}

void TOpen::SaveMapImage() {
    COPYSCALE = CopyScaleOf(ui.RadioGroup1);
    ImageSize = SIZEX * COPYSCALE / SSIZE;

    if (!ui.SaveDialog1->Execute()) {
        Process->Hide();
        return;
    }
    std::string name = ui.SaveDialog1->FileName;
    const uint8_t raster = SaveFormat;
    SaveFormat = FormatChosen(name, ui.SaveDialog1->FilterIndex, raster);
    // The menu's kind stays the raster one the next save starts from.
    struct Back {
        uint8_t& f;
        uint8_t v;
        ~Back() { f = v; }
    } back{SaveFormat, raster};
    if (gui::ExtractFileExt(name).empty()) {
        name += ExtensionOf(SaveFormat);
        // The dialog asked about the name as typed; the name written is another.
        if (gui::FileExists(name) &&
            MessageBox(gui::Format("%s は既に存在します．\n上書きしてもよろしいですか？", name.c_str()), "画像保存",
                       MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
            Process->Hide();
            return;
        }
    }
    if (SaveFormat == kPdf || SaveFormat == kSvg) {
        // The map's size on paper starts as the saved image's; the paper stays as last chosen.
        TPdfPage* page = PdfPageWindow();
        page->SetMapSide(ImageSize);
        page->SetPage({page->Page().paper, page->Page().landscape, COPYSCALE * 100});
        if (page->ShowModal() != mrOk) {
            Process->Hide();
            return;
        }
        page->Accept();
    }
    WriteMapImage(name);
}

bool TOpen::WriteMapImage(const std::string& name) {
    COPYSCALE = CopyScaleOf(ui.RadioGroup1);
    ImageSize = SIZEX * COPYSCALE / SSIZE;
    ShowProgress(name + " を保存しています");
    // A large image takes seconds: the user may stop it, and no file is left.
    const bool stoppable = COPYSCALE != 1;
    if (stoppable) Process->BeginStoppable();

    std::string error;
    bool ok = false;
    output::PngOptions options;
    options.PixelsPerMetre = OutputPixelsPerMetre();
    if (stoppable) options.KeepGoing = [] { return !Process->StopAsked(); };
    bool readings;
    if (SaveFormat == kPdf || SaveFormat == kSvg) {
        const output::PageLayout layout = PdfPageWindow()->Layout();
        // The document is named by the page's title, else the map's printed title, else its file.
        std::string title = !layout.title.empty() ? layout.title : ui.PrintDialog1 ? ui.PrintDialog1->Title : std::string();
        if (title.empty()) {
            title = gui::ExtractFileName(name);
            title.resize(title.size() - gui::ExtractFileExt(title).size());
        }
        if (output::IsMapPaper(layout.paper)) {
            // The map alone, on a page of its own size.
            gui::VectorRecorder shapes;
            readings = RenderMapVector(shapes);
            if (!Process->Cancelled)
                ok = SaveFormat == kPdf ? output::WritePdf(shapes, ImageSize, name, PdfPageWindow()->Page(), title,
                                                           &error, options.KeepGoing)
                                        : output::WriteSvg(shapes, ImageSize, name, layout.dpi, title, &error,
                                                           options.KeepGoing);
        } else {
            output::PagePicture page;
            // The page the user saw on the preview, else drawn now (the command line).
            const bool built =
                PdfPageWindow()->TakeAccepted(layout, page, readings) ||
                output::BuildOutputPage(layout, output::PaperSheet(layout.paper, layout.landscape), page, readings);
            if (!built) error = page.page.message;
            else if (!Process->Cancelled)
                ok = SaveFormat == kPdf ? output::WritePdfPage(page, name, title, &error, options.KeepGoing)
                                        : output::WriteSvgPage(page, name, title, &error, options.KeepGoing);
        }
    } else {
        TBitmap out(ImageSize, ImageSize);
        readings = RenderOutput(*out.Canvas());
        if (!Process->Cancelled) {
            switch (SaveFormat) {
            case 2: ok = output::WriteBmp(out, name, &error, options); break;
            case 3: ok = output::WritePng(out, name, &error, options); break;
            default: ok = output::WriteJpeg(out, name, &error, options); break;
            }
        }
    }
    const bool stopped = stoppable && Process->Cancelled;
    if (stoppable) Process->EndStoppable();
    Process->Hide();
    if (stopped) return false;
    if (!readings) TellReadingsRefused();
    if (!ok)
        MessageBox(gui::Format("画像ファイル %s を保存できませんでした\n%s", name.c_str(), error.c_str()),
                   "画像保存エラー", MB_OK | MB_ICONEXCLAMATION);
    return ok;
}

// The map's real size does not change with the pixel count: 600 pixels a
// multiplier, 100 dots per inch a multiplier, so a document places any size
// of the same map on the same 15 cm (smaller by the reduction).
int TOpen::OutputPixelsPerMetre() const { return int(std::lround(COPYSCALE * 100 / 0.0254)); }
