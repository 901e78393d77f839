// Distance circles around a point of the map.
#pragma once
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include "lines/CircleBlock.h"
#include <cstdint>
#include <vector>
#include <string>

// A ring's vertices in map units depend only on its circle's centre and
// spacing, not on the view, and their great-circle correction is the slow part
// of a redraw: each circle's are kept, checked against its record at every use.
class RingCache {
public:
    // Vertices 0..100 of ring `ring` (ring + 1 spacings out) of circle n, as x0, y0, x1, y1, ...
    // Rings are asked for in order from the centre.
    const int32_t* Ring(int n, const kyorien& k, int ring);

private:
    struct Circle {
        int32_t cx = 0, cy = 0, radius = 0;
        std::vector<int32_t> xy;
    };
    std::vector<Circle> circles_;
    size_t words_ = 0;   // kept in all circles, held to a budget
    std::vector<int32_t> scratch_;
};

class TKyori : public TForm {
public:
    TKyori();
    void FormCreate(TObject* Sender) override;

    TButton *Button1, *Button2, *Button3, *Button4;
    TCheckBox *CBCenter, *CBGSICorCircle, *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox6;
    TEdit *EdLon, *EdLat, *Edit1, *Edit2, *Edit3;
    TRadioGroup* RadioGroup1;   // "半径/間隔"
    TUpDown *UpDown1, *UpDown2;   // line width, text size
    TImage* Image1;             // CircleColor
    TLabel *Label1, *Label2, *Label6, *Label7, *Label8, *Label12;
    TColorDialog* ColorDialog1;

    kyorien Circles[CIRCLE_MAX] = {};
    int32_t CircleCount = 0;
    bool CentreArmed() const;   // the next map press gives a circle centre
    void EndCentreMode();
    bool CircleCentreSet = false;
    TColor CircleColor = 255;
    RingCache Rings;

    // Fills record CircleCount from the controls and counts it in; false after
    // a refused radius or with every record in use (the message is shown).
    bool AddCircle(int32_t cx, int32_t cy);
    // Radius in km from RadioGroup1; 0 after the message for a refused typed radius.
    int32_t ChosenRadius(const char* pointMessage);
    void EnableAttributeControls();
    // A project's circles replace the list; more circles go on being added to them.
    void RestoreCircles(const std::vector<kyorien>& circles);

    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void UpDown1Click(TObject* Sender, TUDBtnType Button);
    void UpDown2Click(TObject* Sender, TUDBtnType Button);
    void CheckBox1Click(TObject* Sender);
    void CheckBox2Click(TObject* Sender);
    void CheckBox3Click(TObject* Sender);
    void CheckBox4Click(TObject* Sender);
    void CheckBox5Click(TObject* Sender);
    void CheckBox6Click(TObject* Sender);
    void CBCenterClick(TObject* Sender);

private:
    // While not adding, an attribute goes into the last circle and the map is redrawn.
    void SetLast(void (*apply)(kyorien&, TKyori*));
};

extern TKyori* Kyori;

// Vertex i (0 to 100) of the ring d km around (cx, cy), in map units: a
// first guess of 100 units per km corrected by the true distance along its direction.
void RingVertex(int32_t cx, int32_t cy, int32_t d, int i, int32_t& x, int32_t& y);

// "%3d.%02d%02d": whole degrees, minutes and seconds, each truncated.
