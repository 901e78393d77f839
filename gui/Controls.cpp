// Simple controls and string lists.
#include "gui/Controls.h"
#include "gui/Forms.h"
#include "gui/TextFile.h"
#include <QGridLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

QWidget* ClientOf(QWidget* parent) {
    if (auto* f = dynamic_cast<TForm*>(parent)) return f->Client();
    return parent;
}

TForm* ParentForm(QWidget* w) {
    for (QWidget* p = w; p; p = p->parentWidget())
        if (auto* f = dynamic_cast<TForm*>(p)) return f;
    return nullptr;
}

static QString Q(const std::string& s) { return QString::fromStdString(s); }
static std::string S(const QString& s) { return s.toStdString(); }

// ---- string lists ----

static std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

// Code order, without regard to ASCII case.
static int CompareText(const std::string& a, const std::string& b) { return gui::Cp932CompareText(a, b); }

int TStrings::Add(const std::string& s) {
    int i = Count();
    Insert(i, s);
    return i;
}

int TStrings::IndexOf(const std::string& s) const {
    std::string key = LowerAscii(s);
    for (int i = 0, n = Count(); i < n; ++i)
        if (LowerAscii(Strings(i)) == key) return i;
    return -1;
}

void TStrings::Assign(const TStrings& other) {
    if (&other == this) return;
    std::vector<std::string> copy;
    for (int i = 0; i < other.Count(); ++i) copy.push_back(other.Strings(i));
    Clear();
    for (auto& s : copy) Add(s);
}

bool TStrings::SaveToFile(const std::string& path) const {
    return gui::AtomicRewrite(path, [this](gui::TextWriter& w) {
        for (int i = 0, n = Count(); i < n; ++i)
            if (!w.WriteLine(Strings(i))) return false;
        return true;
    });
}

bool TStrings::LoadFromFile(const std::string& path, size_t maxBytes) {
    gui::TextReader r;
    if (!r.Open(path)) return false;
    std::vector<std::string> lines;
    std::string_view bytes;
    while (r.ReadLineBytes(bytes)) lines.push_back(gui::Cp932ToUtf8(maxBytes ? gui::CutCp932Bytes(bytes, maxBytes) : bytes));
    Clear();
    for (auto& s : lines) Add(s);
    return true;
}

int TStringList::Find(const std::string& s, bool& found) const {
    auto it = std::lower_bound(items.begin(), items.end(), s,
                               [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    found = it != items.end() && CompareText(*it, s) == 0;
    return int(it - items.begin());
}

void TStringList::Insert(int i, const std::string& s) {
    if (Sorted) {
        Add(s);
        return;
    }
    i = std::clamp(i, 0, Count());
    items.insert(items.begin() + i, s);
}

void TStringList::Delete(int i) {
    if (i < 0 || i >= Count()) return;
    items.erase(items.begin() + i);
}

int TStringList::Add(const std::string& s) {
    if (!Sorted) {
        items.push_back(s);
        return Count() - 1;
    }
    bool found = false;
    int i = Find(s, found);
    if (found && IgnoreDuplicates) return i;
    items.insert(items.begin() + i, s);
    return i;
}

void TStringList::Sort() {
    std::stable_sort(items.begin(), items.end(),
                     [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
}

namespace {

// Items of a combo box.
class ComboStrings : public TStrings {
public:
    explicit ComboStrings(QComboBox* c) : c(c) {}
    int Count() const override { return c->count(); }
    std::string Strings(int i) const override { return S(c->itemText(i)); }
    void SetStrings(int i, const std::string& s) override {
        if (i >= 0 && i < c->count()) c->setItemText(i, Q(s));
    }
    void Insert(int i, const std::string& s) override {
        QSignalBlocker b(c);   // filling the list runs no handler
        int before = c->currentIndex();
        QString text = c->currentText();
        if (auto* tc = dynamic_cast<TComboBox*>(c); tc && tc->Sorted) {
            i = 0;
            while (i < c->count() && CompareText(S(c->itemText(i)), s) <= 0) ++i;
        }
        c->insertItem(std::clamp(i, 0, c->count()), Q(s));
        if (before < 0) {
            // Qt chooses the first item put in an empty box; the class library leaves the choice.
            c->setCurrentIndex(-1);
            if (c->isEditable()) c->setEditText(text);
        }
    }
    void Delete(int i) override {
        QSignalBlocker b(c);
        if (i >= 0 && i < c->count()) c->removeItem(i);
    }
    void Clear() override {
        QSignalBlocker b(c);
        QString text = c->isEditable() ? c->currentText() : QString();
        c->clear();
        if (c->isEditable()) c->setEditText(text);
    }

private:
    QComboBox* c;
};

class ListStrings : public TStrings {
public:
    explicit ListStrings(QListWidget* l) : l(l) {}
    int Count() const override { return l->count(); }
    std::string Strings(int i) const override {
        auto* it = l->item(i);
        return it ? S(it->text()) : std::string();
    }
    void SetStrings(int i, const std::string& s) override {
        if (auto* it = l->item(i)) it->setText(Q(s));
    }
    void Insert(int i, const std::string& s) override {
        QSignalBlocker b(l);
        l->insertItem(std::clamp(i, 0, l->count()), Q(s));
    }
    void Delete(int i) override {
        QSignalBlocker b(l);
        delete l->takeItem(i);
    }
    void Clear() override {
        QSignalBlocker b(l);
        l->clear();
    }

private:
    QListWidget* l;
};

// Lines of a memo: the text split at line ends; an empty memo has no lines.
class MemoStrings : public TStrings {
public:
    explicit MemoStrings(QPlainTextEdit* m) : m(m) {}
    int Count() const override { return int(lines().size()); }
    std::string Strings(int i) const override {
        auto v = lines();
        return i >= 0 && i < int(v.size()) ? S(v[i]) : std::string();
    }
    void SetStrings(int i, const std::string& s) override {
        auto v = lines();
        if (i < 0 || i >= int(v.size())) return;
        v[i] = Q(s);
        set(v);
    }
    void Insert(int i, const std::string& s) override {
        auto v = lines();
        v.insert(std::clamp(i, 0, int(v.size())), Q(s));
        set(v);
    }
    void Delete(int i) override {
        auto v = lines();
        if (i < 0 || i >= int(v.size())) return;
        v.remove(i);
        set(v);
    }
    void Clear() override { m->clear(); }

private:
    QStringList lines() const {
        QString t = m->toPlainText();
        if (t.isEmpty()) return {};
        QStringList v = t.split(QChar('\n'));
        if (v.size() > 1 && v.back().isEmpty()) v.removeLast();
        return v;
    }
    // Each line ends with a line break, as the class library's memo writes them.
    void set(const QStringList& v) { m->setPlainText(v.isEmpty() ? QString() : v.join(QChar('\n')) + QChar('\n')); }
    QPlainTextEdit* m;
};

} // namespace

// ---- label, button, check box, radio button ----

TLabel::TLabel(QWidget* parent, const std::string& caption) : TControlT<QLabel>(Q(caption), ClientOf(parent)) {
    InstallAccessibleControls();
    adjustSize();
}
std::string TLabel::Caption() const { return pathEllipsis ? caption : S(text()); }
void TLabel::SetCaption(const std::string& s) {
    const QString before = text();
    if (pathEllipsis) {
        caption = s;
        setToolTip(Q(s));
        showElided();
    } else {
        setText(Q(s));
        if (AutoSize) adjustSize();
    }
    LabelCaptionChanged(this, before);
}
void TLabel::SetPathEllipsis(bool b) {
    if (b == pathEllipsis) return;
    if (b) caption = S(text());
    pathEllipsis = b;
    if (b) AutoSize = false;
    SetCaption(b ? caption : S(toolTip()));
}
void TLabel::showElided() { setText(fontMetrics().elidedText(Q(caption), Qt::ElideMiddle, width())); }
void TLabel::resizeEvent(QResizeEvent* e) {
    QLabel::resizeEvent(e);
    if (pathEllipsis) showElided();
}
void TLabel::SetAlignment(TAlignment a) {
    Qt::Alignment h = a == taCenter ? Qt::AlignHCenter : a == taRightJustify ? Qt::AlignRight : Qt::AlignLeft;
    setAlignment(h | Qt::AlignTop);
}
void TLabel::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick) OnClick(this);
}
void TLabel::mouseDoubleClickEvent(QMouseEvent* e) {
    QLabel::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
}

TButton::TButton(QWidget* parent, const std::string& caption) : TControlT<QPushButton>(Q(caption), ClientOf(parent)) {
    setAutoDefault(false);
    QObject::connect(this, &QPushButton::clicked, [this] { Click(); });
}
std::string TButton::Caption() const { return S(text()); }
void TButton::SetCaption(const std::string& s) { setText(Q(s)); }
bool TButton::Press() {
    if (!isEnabled() || !isVisibleTo(window())) return false;
    click();
    return true;
}
void TButton::Click() {
    if (ModalResult != mrNone)
        if (TForm* f = ParentForm(this)) f->SetModalResult(ModalResult);
    if (OnClick) OnClick(this);
}

TCheckBox::TCheckBox(QWidget* parent, const std::string& caption) : TControlT<QCheckBox>(Q(caption), ClientOf(parent)) {
    // toggled: once per change, from setChecked or the user alike.
    QObject::connect(this, &QCheckBox::toggled, [this](bool) {
        if (OnClick) OnClick(this);
    });
}
void TCheckBox::SetChecked(bool b) { setChecked(b); }
std::string TCheckBox::Caption() const { return S(text()); }
void TCheckBox::SetCaption(const std::string& s) {
    const QString before = text();
    setText(Q(s));
    LabelCaptionChanged(this, before);
}
void TCheckBox::Click() { setChecked(!isChecked()); }
void TCheckBox::SetAlignment(TAlignment a) {
    setLayoutDirection(a == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

TRadioButton::TRadioButton(QWidget* parent, const std::string& caption)
    : TControlT<QRadioButton>(Q(caption), ClientOf(parent)) {
    QObject::connect(this, &QRadioButton::toggled, [this](bool on) {
        if (on && OnClick) OnClick(this);
    });
}
void TRadioButton::SetChecked(bool b) {
    if (b == isChecked()) return;
    if (b) {
        setChecked(true);
        return;
    }
    // An auto-exclusive button refuses to be unticked; the class library allows it.
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(true);
}
std::string TRadioButton::Caption() const { return S(text()); }
void TRadioButton::SetCaption(const std::string& s) { setText(Q(s)); }

// ---- radio group ----

TRadioGroup::TRadioGroup(QWidget* parent, const std::string& caption)
    : TControlT<QGroupBox>(Q(caption), ClientOf(parent)) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 4, 4);
    grid->setVerticalSpacing(0);
}
TRadioGroup::~TRadioGroup() = default;
std::string TRadioGroup::Caption() const { return S(title()); }
void TRadioGroup::SetCaption(const std::string& s) { setTitle(Q(s)); }
int TRadioGroup::Count() const { return int(items.size()); }
std::string TRadioGroup::Item(int i) const { return i >= 0 && i < Count() ? items[i] : std::string(); }

void TRadioGroup::SetItems(const std::vector<std::string>& v) {
    items = v;
    if (itemIndex >= Count()) itemIndex = Count() - 1;   // kept, as the class library does; no OnClick
    rebuild();
}

void TRadioGroup::SetColumns(int n) {
    columns = std::max(1, n);
    rebuild();
}

void TRadioGroup::SetItemEnabled(int i, bool b) {
    if (i >= 0 && i < int(buttons.size())) buttons[i]->setEnabled(b);
}

void TRadioGroup::rebuild() {
    // New texts for as many items in the same columns: the buttons stay, and with
    // them their place in the tab order, their focus and their names.
    if (int(buttons.size()) == Count() && builtColumns == columns) {
        settingFromCode = true;
        for (int i = 0; i < Count(); ++i) {
            buttons[i]->setText(Q(items[i]));
            buttons[i]->setAutoExclusive(false);
            buttons[i]->setChecked(i == itemIndex);
            buttons[i]->setAutoExclusive(true);
        }
        settingFromCode = false;
        return;
    }
    for (auto* b : buttons) delete b;
    buttons.clear();
    builtColumns = columns;
    auto* grid = static_cast<QGridLayout*>(layout());
    int rows = (Count() + columns - 1) / columns;
    for (int i = 0; i < Count(); ++i) {
        auto* b = new QRadioButton(Q(items[i]), this);
        b->setChecked(i == itemIndex);
        // Items run down the first column, then the next.
        grid->addWidget(b, rows ? i % rows : 0, rows ? i / rows : 0);
        QObject::connect(b, &QRadioButton::toggled, [this, i](bool on) {
            if (!on || settingFromCode || i == itemIndex) return;
            itemIndex = i;
            if (OnClick) OnClick(this);
        });
        // Tab reaches new buttons where the group stands, not after every other control.
        QWidget::setTabOrder(buttons.empty() ? static_cast<QWidget*>(this) : buttons.back(), b);
        buttons.push_back(b);
    }
}

void TRadioGroup::SetItemIndex(int i) {
    if (i < -1 || i >= Count()) i = -1;
    if (i == itemIndex) return;
    itemIndex = i;
    settingFromCode = true;
    for (int k = 0; k < int(buttons.size()); ++k) {
        buttons[k]->setAutoExclusive(false);
        buttons[k]->setChecked(k == i);
        buttons[k]->setAutoExclusive(true);
    }
    settingFromCode = false;
    if (OnClick) OnClick(this);
}

// ---- edit, memo ----

TEdit::TEdit(QWidget* parent, const std::string& text) : TControlT<QLineEdit>(Q(text), ClientOf(parent)) {
    QObject::connect(this, &QLineEdit::textChanged, [this](const QString&) {
        if (OnChange) OnChange(this);
    });
}
std::string TEdit::Text() const { return S(text()); }
void TEdit::SetText(const std::string& s) { setText(Q(s)); }

// The key as the class library's key-press handler sees it; 0: not a character key.
namespace {

class EnterFilter : public QObject {
public:
    EnterFilter(QObject* owner, TButton* button) : QObject(owner), button(button) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(e);
        if ((k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter) || (k->modifiers() & ~Qt::KeypadModifier)) return false;
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || !w->isEnabled()) return false;
        button->Press();
        return true;
    }
private:
    TButton* button;
};

} // namespace

void EnterPresses(QWidget* box, TButton* button) {
    box->installEventFilter(new EnterFilter(box, button));
    // An editable list's typing goes to its edit line.
    if (auto* c = qobject_cast<QComboBox*>(box); c && c->lineEdit()) c->lineEdit()->installEventFilter(new EnterFilter(box, button));
}

static char KeyChar(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return '\r';
    case Qt::Key_Escape: return 27;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return '\t';
    default: break;
    }
    QString t = e->text();
    if (t.size() == 1 && t[0].unicode() < 0x80) return char(t[0].unicode());
    return 0;
}

void TEdit::keyPressEvent(QKeyEvent* e) {
    char key = KeyChar(e);
    if (key && OnKeyPress) {
        char k = key;
        OnKeyPress(this, k);
        if (k == 0) {   // the handler ate the key
            e->accept();
            return;
        }
        if (k != key && k >= 32) {
            insert(QString(QChar(k)));
            e->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(e);
}

TMemo::TMemo(QWidget* parent) : TControlT<QPlainTextEdit>(ClientOf(parent)), lines(new MemoStrings(this)) {
    QObject::connect(this, &QPlainTextEdit::textChanged, [this] {
        if (OnChange) OnChange(this);
    });
}
std::string TMemo::Text() const { return S(toPlainText()); }
void TMemo::SetText(const std::string& s) { setPlainText(Q(s)); }

// ---- combo box, list box ----

TComboBox::TComboBox(QWidget* parent, bool editable)
    : TControlT<QComboBox>(ClientOf(parent)), items(new ComboStrings(this)) {
    setEditable(editable);
    if (editable) {
        setInsertPolicy(QComboBox::NoInsert);
        QObject::connect(lineEdit(), &QLineEdit::textEdited, [this](const QString&) {
            if (OnChange) OnChange(this);
        });
    }
    // activated: only the user's choice, never setCurrentIndex.
    QObject::connect(this, &QComboBox::activated, [this](int) {
        if (OnClick) OnClick(this);
        if (OnChange) OnChange(this);
    });
}
std::string TComboBox::Text() const { return S(currentText()); }
void TComboBox::SetText(const std::string& s) {
    QSignalBlocker b(this);
    if (isEditable()) {
        int i = findText(Q(s));
        setCurrentIndex(i);
        setEditText(Q(s));
    } else {
        setCurrentIndex(findText(Q(s)));
    }
}
void TComboBox::SetItemIndex(int i) {
    QSignalBlocker b(this);
    setCurrentIndex(i >= 0 && i < count() ? i : -1);
    if (i < 0 && isEditable()) setEditText(QString());
}

TListBox::TListBox(QWidget* parent) : TControlT<QListWidget>(ClientOf(parent)), items(new ListStrings(this)) {
    QObject::connect(this, &QListWidget::currentRowChanged, [this](int row) {
        if (settingFromCode || row < 0) return;
        changedByUser = true;
        if (OnClick) OnClick(this);
        // A press that arrives with this change is the same choice.
        QTimer::singleShot(0, this, [this] { changedByUser = false; });
    });
    QObject::connect(this, &QListWidget::itemPressed, [this](QListWidgetItem*) {
        if (changedByUser) {
            changedByUser = false;
            return;
        }
        if (OnClick) OnClick(this);
    });
    QObject::connect(this, &QListWidget::itemDoubleClicked, [this](QListWidgetItem*) {
        if (OnDblClick) OnDblClick(this);
    });
}
void TListBox::SetItemIndex(int i) {
    settingFromCode = true;
    setCurrentRow(i >= 0 && i < count() ? i : -1);
    settingFromCode = false;
}

// ---- group box, page control, scroll box, timer ----

TGroupBox::TGroupBox(QWidget* parent, const std::string& caption) : TControlT<QGroupBox>(Q(caption), ClientOf(parent)) {}
std::string TGroupBox::Caption() const { return S(title()); }
void TGroupBox::SetCaption(const std::string& s) { setTitle(Q(s)); }

TTabSheet::TTabSheet(TPageControl* owner, const std::string& caption) : TControlT<QWidget>(nullptr), caption(caption) {
    QSignalBlocker b(owner);
    owner->addTab(this, Q(caption));
}

void TTabSheet::mousePressEvent(QMouseEvent* e) {
    QWidget::mousePressEvent(e);
    if (!OnMouseDown) return;
    TMouseButton b = e->button() == Qt::RightButton ? mbRight : e->button() == Qt::MiddleButton ? mbMiddle : mbLeft;
    OnMouseDown(this, b, ShiftOf(e->modifiers(), e->buttons()), int(e->position().x()), int(e->position().y()));
}

TPageControl::TPageControl(QWidget* parent) : TControlT<QTabWidget>(ClientOf(parent)) {
    QObject::connect(this, &QTabWidget::currentChanged, [this](int) {
        if (!settingFromCode && OnChange) OnChange(this);
    });
}
void TPageControl::SetActivePageIndex(int i) {
    settingFromCode = true;
    setCurrentIndex(i);
    settingFromCode = false;
}
TTabSheet* TPageControl::Pages(int i) const { return dynamic_cast<TTabSheet*>(widget(i)); }

TScrollBox::TScrollBox(QWidget* parent) : TControlT<QScrollArea>(ClientOf(parent)) {
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::NoFocus);   // what it holds takes the focus
}
void TScrollBox::SetContent(QWidget* w) { setWidget(w); }
int TScrollBox::HorzPosition() const { return horizontalScrollBar()->value(); }
int TScrollBox::VertPosition() const { return verticalScrollBar()->value(); }
void TScrollBox::SetHorzPosition(int p) { horizontalScrollBar()->setValue(p); }
void TScrollBox::SetVertPosition(int p) { verticalScrollBar()->setValue(p); }

TTimer::TTimer(QObject* parent) : QObject(parent) {
    QObject::connect(&timer, &QTimer::timeout, [this] {
        if (OnTimer && !Held()) OnTimer(this);
    });
}
void TTimer::SetInterval(int ms) {
    interval = ms;
    SetEnabled(enabled);
}
void TTimer::SetEnabled(bool b) {
    enabled = b;
    if (enabled && interval > 0)
        timer.start(interval);
    else
        timer.stop();
}
