// The area choice window: the prefectures, regions and island groups to draw.
#pragma once
#include "gui/Forms.h"
#include <cstdint>
#include <functional>
#include <vector>

class TKen : public TForm {
public:
    TKen();
    void FormCreate(TObject* Sender) override;

    // Region boxes: 北海道, 東北, 関東, 甲信越, 東海, 北陸, 近畿, 中国, 四国, 九州.
    TCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox5, *CheckBox6, *CheckBox7, *CheckBox8, *CheckBox9,
        *CheckBox10, *CheckBox11;
    // Area boxes; AreaBox(code) gives the one of an area code.
    TCheckBox *CheckBox4, *CheckBox12, *CheckBox13, *CheckBox14, *CheckBox15, *CheckBox16, *CheckBox17,
        *CheckBox18, *CheckBox19, *CheckBox20, *CheckBox21, *CheckBox22, *CheckBox23, *CheckBox24, *CheckBox25,
        *CheckBox26, *CheckBox27, *CheckBox28, *CheckBox29, *CheckBox30, *CheckBox31, *CheckBox32, *CheckBox33,
        *CheckBox34, *CheckBox35, *CheckBox36, *CheckBox37, *CheckBox38, *CheckBox39, *CheckBox40, *CheckBox41,
        *CheckBox42, *CheckBox43, *CheckBox44, *CheckBox45, *CheckBox46, *CheckBox47, *CheckBox48, *CheckBox49,
        *CheckBox50, *CheckBox51, *CheckBox52, *CheckBox53, *CheckBox54, *CheckBox55, *CheckBox56, *CheckBox57,
        *CheckBox58, *CheckBox59, *CheckBox60, *CheckBox61, *CheckBox62;
    TButton* Button1;   // "決　定"
    TButton* Button2;   // "閉じる"
    TButton* Button3;   // "クリア"
    TButton* Button4;   // "すべて"
    TButton* Button5;   // "山島検索"
    TCheckBox* CBNameList;    // "市町村名リスト"
    TCheckBox* CBOldBorder;   // "旧市町村界"
    TCheckBox* CBRailShow;    // "鉄道路線図"
    TLabel* Label4;           // date of the boundary data
    TLabel* Label5;           // boundary-data edition in use
    TLabel* Label6;           // datum of the drawn map

    // Shows the name list of the one area ticked (set by forms/).
    std::function<void()> NameListShown;
    int32_t NameListArea = 0;   // the one area ticked when the name list was asked for
    uint8_t NameListMode = 0;   // 1 while the name list belongs to the area choice

    TCheckBox* AreaBox(int code) const;   // code 1 to 52
    // The region boxes and the area codes each one ticks.
    struct Region {
        TCheckBox* box;
        std::vector<int> codes;
    };
    const std::vector<Region>& Regions() const { return regions; }

    void Button1Click(TObject* Sender);
    // Loads the ticked areas; a caller that draws once itself keeps the redraw locked.
    // False: nothing was loaded (no area ticked, or the user kept the old map).
    bool Choose(TObject* Sender, bool callerDraws);
    std::vector<int> TickedAreas() const;
    // Other areas than the map's drop the old map's work: asks first when
    // there is any, and drops it on OK. False: the user kept the map.
    bool AgreeToAreas(const std::vector<int>& codes);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void CBNameListClick(TObject* Sender);
    void CBRailShowClick(TObject* Sender);
    void RegionClick(TObject* Sender);

private:
    TCheckBox* areaBoxes[53] = {};
    std::vector<Region> regions;
    std::vector<int> agreed;   // the areas the user last agreed to, until they are loaded
};

// The newest boundary-data date is kept packed as (year - 1980) * 10000 + month * 100 + day.
struct DataDate {
    int year, month, day;
};
inline DataDate UnpackDataDate(int v) { return {v / 10000 + 1980, (v - (v / 10000) * 10000) / 100, v % 100}; }

extern TKen* Ken;
