#include "names/Ucheck.h"
#include "engine/MainForm.h"
#include "names/MainFormNames.h"

TDataCheck* DataCheck = nullptr;

TDataCheck::TDataCheck() : TForm("　市区町村の選択") {
    SetPosition(poScreenCenter);
    Label1 = new TLabel(this, "");
    Label1->SetBounds(16, 12, 400, 18);
    Label2 = new TLabel(this, "");
    Label2->AutoSize = false;
    Label2->SetBounds(16, 34, 420, 40);
    Label2->setWordWrap(false);
    Label3 = new TLabel(this, "にあります");
    Label3->SetBounds(16, 78, 200, 18);
    RadioGroup1 = new TRadioGroup(this, "選んでください");
    RadioGroup1->SetBounds(16, 102, 420, 200);
    Button1 = new TButton(this, "決定");
    Button1->SetBounds(180, 310, 80, 26);
    Button1->SetDefault(true);
    Button1->SetVisible(false);
    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    SetClientSize(452, 346);
}

void TDataCheck::Prepare(const std::string& name) {
    const int n = SearchOf(*Open).CandidateCount;
    Label1->SetCaption(name + " は");
    std::string list;
    std::vector<std::string> items;
    for (int i = 0; i < n; ++i) {
        list += SearchOf(*Open).CandidateLabel[i];
        // The line breaks after the fourth label unless there are exactly four.
        list += (i == 3 && n != 4) ? "\n" : " ";
        items.push_back(SearchOf(*Open).CandidateLabel[i]);
    }
    Label2->SetCaption(list);
    Label3->SetCaption("にあります");
    RadioGroup1->SetItemIndex(-1);
    RadioGroup1->SetColumns(n > 4 ? 2 : 1);
    RadioGroup1->SetItems(items);
    Chosen = -1;
    ModalResult = mrNone;
}

void TDataCheck::Button1Click(TObject* Sender) {
    const int i = RadioGroup1->ItemIndex();
    if (i < 0 || i >= SearchOf(*Open).CandidateCount) return;
    Chosen = i;
    SearchOf(*Open).SearchX = SearchOf(*Open).CandidateX[i];
    SearchOf(*Open).SearchY = SearchOf(*Open).CandidateY[i];
    RadioGroup1->SetItemIndex(-1);
    SetModalResult(mrOk);   // ends the modal showing
}

void TDataCheck::RadioGroup1Click(TObject* Sender) { Button1Click(Sender); }
