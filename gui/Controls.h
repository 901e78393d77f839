// Controls with the desktop class library's names, each a thin Qt widget.
// Event rules: a check box's or radio group's click handler runs whenever its
// state changes, from code or from the user, and not when it is set unchanged;
// a menu item's tick and an up-down's position set from code run nothing.
#pragma once
#include "gui/Graphics.h"
#include "gui/Types.h"
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QToolButton;
class QMenuBar;
class TForm;
class TPopupMenu;

// A form hands its client area to the controls placed on it.
QWidget* ClientOf(QWidget* parent);

// Keys and buttons held, as the class library's shift state.
TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons b);

// Position, size, visibility and hint shared by every control.
template <class Base>
class TControlT : public Base, public TObject {
public:
    using Base::Base;
    int Left() const { return this->x(); }
    int Top() const { return this->y(); }
    int Width() const { return this->width(); }
    int Height() const { return this->height(); }
    void SetLeft(int v) { this->move(v, this->y()); }
    void SetTop(int v) { this->move(this->x(), v); }
    void SetWidth(int v) { this->resize(v, this->height()); }
    void SetHeight(int v) { this->resize(this->width(), v); }
    void SetBounds(int l, int t, int w, int h) { this->setGeometry(l, t, w, h); }
    bool Enabled() const { return this->isEnabled(); }
    void SetEnabled(bool b) { this->setEnabled(b); }
    bool Visible() const { return !this->isHidden(); }
    void SetVisible(bool b) { this->setVisible(b); }
    void Show() { this->setVisible(true); }
    void Hide() { this->setVisible(false); }
    std::string Hint() const { return this->toolTip().toStdString(); }
    void SetHint(const std::string& s) {
        // A control a reader knows by its hint is known by the new one.
        const QString hint = QString::fromStdString(s);
        if (!this->toolTip().isEmpty() && this->accessibleName() == this->toolTip()) this->setAccessibleName(hint);
        this->setToolTip(hint);
    }
    void SetFocus() { this->setFocus(); }
    int Tag = 0;                  // free for handlers shared by several controls
    void SetFontColor(TColor c) {
        // A palette change re-polishes the widget: skip it when nothing changes.
        if (this->palette().color(QPalette::WindowText) == ToQColor(c) &&
            this->palette().color(QPalette::Text) == ToQColor(c) &&
            this->palette().color(QPalette::ButtonText) == ToQColor(c))
            return;
        QPalette p = this->palette();
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            p.setColor(role, ToQColor(c));
        this->setPalette(p);
    }
    void SetColor(TColor c) {      // background colour
        QPalette p = this->palette();
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            p.setColor(role, ToQColor(c));
        this->setPalette(p);
        this->setAutoFillBackground(true);
    }
    // Points at 96 dpi, whatever the screen, as the canvas has it.
    void SetFontSize(int pt) {
        QFont f = this->font();
        f.setPixelSize((pt * 96 + 36) / 72);
        this->setFont(f);
    }
    void SetFontBold(bool b) {
        QFont f = this->font();
        f.setBold(b);
        this->setFont(f);
    }
    void SetFontName(const std::string& name) {
        QFont f = this->font();
        f.setFamily(QString::fromStdString(name));
        this->setFont(f);
    }
};

// The form a control sits on, or nullptr.
TForm* ParentForm(QWidget* w);

// String list as the class library has it; also the items of list controls.
class TStrings {
public:
    virtual ~TStrings() = default;
    virtual int Count() const = 0;
    virtual std::string Strings(int i) const = 0;
    virtual void SetStrings(int i, const std::string& s) = 0;
    virtual void Insert(int i, const std::string& s) = 0;
    virtual void Delete(int i) = 0;
    virtual void Clear() = 0;
    virtual int Add(const std::string& s);
    // Without regard to ASCII case, as the class library compares list texts.
    int IndexOf(const std::string& s) const;
    void Assign(const TStrings& other);
    // One string per line, CP932 with CR LF, written atomically.
    bool SaveToFile(const std::string& path) const;
    // Each line cut to maxBytes CP932 bytes when given (0: whole lines).
    bool LoadFromFile(const std::string& path, size_t maxBytes = 0);
    std::string operator[](int i) const { return Strings(i); }
};

class TStringList : public TStrings {
public:
    bool Sorted = false;              // kept sorted by CP932 byte order, case-insensitive
    bool IgnoreDuplicates = false;    // with Sorted: Add drops an existing string
    int Count() const override { return int(items.size()); }
    std::string Strings(int i) const override { return items.at(i); }
    void SetStrings(int i, const std::string& s) override { items.at(i) = s; }
    void Insert(int i, const std::string& s) override;
    void Delete(int i) override;
    void Clear() override { items.clear(); }
    // On a sorted list Insert puts the string at its sorted place.
    int Add(const std::string& s) override;
    void Sort();
    // With Sorted: the index of s, or where it would go (found false).
    int Find(const std::string& s, bool& found) const;

private:
    std::vector<std::string> items;
};

class TLabel : public TControlT<QLabel> {
public:
    explicit TLabel(QWidget* parent, const std::string& caption = "");
    std::string Caption() const;
    void SetCaption(const std::string& s);   // resizes to the text while AutoSize
    bool AutoSize = true;
    void SetAlignment(TAlignment a);
    // A long path keeps its size and shows its middle as "…"; the hint tells it whole.
    void SetPathEllipsis(bool b);
    TNotifyEvent OnClick, OnDblClick;
protected:
    void resizeEvent(QResizeEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
private:
    void showElided();
    bool pathEllipsis = false;
    std::string caption;
};

class TButton : public TControlT<QPushButton> {
public:
    explicit TButton(QWidget* parent, const std::string& caption = "");
    std::string Caption() const;
    void SetCaption(const std::string& s);
    void Click();          // sets the form's ModalResult (if any), then runs OnClick
    // A press by the user through a key or a menu: nothing while the button
    // is disabled or hidden; true when it was clicked.
    bool Press();
    TModalResult ModalResult = mrNone;
    TNotifyEvent OnClick;
    // Enter pressed anywhere in this button's group (its parent's controls)
    // clicks it, unless another button has the focus; drawn as the default.
    bool Default() const { return isDefault(); }
    void SetDefault(bool b) { setDefault(b); }
};

class TCheckBox : public TControlT<QCheckBox> {
public:
    explicit TCheckBox(QWidget* parent, const std::string& caption = "");
    bool Checked() const { return isChecked(); }
    void SetChecked(bool b);          // runs OnClick when the tick changes
    std::string Caption() const;
    void SetCaption(const std::string& s);
    void Click();                     // as a user click: toggles, which runs OnClick
    // taLeftJustify puts the caption left of the box.
    void SetAlignment(TAlignment a);
    TNotifyEvent OnClick;
};

class TRadioButton : public TControlT<QRadioButton> {
public:
    explicit TRadioButton(QWidget* parent, const std::string& caption = "");
    bool Checked() const { return isChecked(); }
    // Radio buttons of one parent untick each other. OnClick runs when this
    // button becomes checked (by code or user), not when a sibling unticks it
    // or SetChecked(false) clears it.
    void SetChecked(bool b);
    std::string Caption() const;
    void SetCaption(const std::string& s);
    TNotifyEvent OnClick;
};

class TRadioGroup : public TControlT<QGroupBox> {
public:
    explicit TRadioGroup(QWidget* parent, const std::string& caption = "");
    ~TRadioGroup() override;
    std::string Caption() const;
    void SetCaption(const std::string& s);
    void SetItems(const std::vector<std::string>& items);
    int Count() const;
    std::string Item(int i) const;
    int ItemIndex() const { return itemIndex; }
    void SetItemIndex(int i);         // runs OnClick when the index changes
    void SetColumns(int n);
    void SetItemEnabled(int i, bool b);
    TNotifyEvent OnClick;
private:
    void rebuild();
    std::vector<std::string> items;
    std::vector<QRadioButton*> buttons;
    int itemIndex = -1;
    int columns = 1;
    int builtColumns = 0;   // the columns the buttons were laid out in
    bool settingFromCode = false;
};

class TEdit : public TControlT<QLineEdit> {
public:
    explicit TEdit(QWidget* parent, const std::string& text = "");
    std::string Text() const;
    void SetText(const std::string& s);
    void SetReadOnly(bool b) { setReadOnly(b); }
    // In characters (0: no limit); byte limits of the files are checked where they are written.
    void SetMaxLength(int n) { setMaxLength(n > 0 ? n : 32767); }
    TNotifyEvent OnChange;        // text changed, from code or user
    std::function<void(TObject*, char&)> OnKeyPress;  // Enter arrives as '\r'
protected:
    void keyPressEvent(QKeyEvent* e) override;
};

// Enter in the box runs that button, not the window's default: a search or
// paint box in a window of many buttons.
void EnterPresses(QWidget* box, TButton* button);

class TMemo : public TControlT<QPlainTextEdit> {
public:
    explicit TMemo(QWidget* parent);
    TStrings* Lines() { return lines.get(); }
    std::string Text() const;
    void SetText(const std::string& s);
    void SetReadOnly(bool b) { setReadOnly(b); }
    TNotifyEvent OnChange;        // text changed, from code or user
private:
    std::unique_ptr<TStrings> lines;
};

class TComboBox : public TControlT<QComboBox> {
public:
    explicit TComboBox(QWidget* parent, bool editable = true);
    TStrings* Items() { return items.get(); }
    std::string Text() const;
    void SetText(const std::string& s);
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int i);         // runs nothing; -1 clears the choice
    // Items put in while set go to their place in string-list order.
    bool Sorted = false;
    TNotifyEvent OnChange;            // edit text changed by the user, or an item chosen (after OnClick)
    TNotifyEvent OnClick;             // an item chosen by the user
private:
    std::unique_ptr<TStrings> items;
};

class TListBox : public TControlT<QListWidget> {
public:
    explicit TListBox(QWidget* parent);
    TStrings* Items() { return items.get(); }
    int ItemIndex() const { return currentRow(); }
    void SetItemIndex(int i);         // runs nothing
    // OnClick: the user chose an item (mouse or keys), also the current one again.
    TNotifyEvent OnClick, OnDblClick;
private:
    std::unique_ptr<TStrings> items;
    bool settingFromCode = false;
    bool changedByUser = false;
};

class TPanel : public TControlT<QFrame> {
public:
    explicit TPanel(QWidget* parent, const std::string& caption = "");
    std::string Caption() const { return caption; }
    void SetCaption(const std::string& s) { caption = s; update(); }
    TColor Color() const { return color; }
    void SetColor(TColor c) { color = c; update(); }
    TBevelCut BevelOuter = bvRaised;
    TBevelCut BevelInner = bvNone;
    int BevelWidth = 1;
    int BorderWidth = 0;
    TAlignment Alignment = taCenter;
    TFont Font;
    TNotifyEvent OnClick;
    std::function<void(TObject*, TMouseButton, TShiftState, int, int)> OnMouseDown, OnMouseUp;
    void Invalidate() { update(); }
    void Click();             // runs OnClick
    // The last face painted (for tests and for copying a button's look).
    TBitmap* Face() { return face.get(); }
protected:
    // Drawn through a TCanvas on an offscreen bitmap, then put on the widget.
    virtual void Paint(TCanvas* canvas);
    // Called from the mouse events before OnMouseDown / OnMouseUp; do nothing here.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void PaintPanelFace(TCanvas* canvas);
    // Outer bevel, border and inner bevel; r shrinks to the face inside them.
    void PaintBevels(TCanvas* canvas, TRect& r);
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    std::string caption;
    TColor color = clBtnFace;
    std::unique_ptr<TBitmap> face;
};

// Frame3D of the class library: shrinks r by width after drawing.
void Frame3D(TCanvas* canvas, TRect& r, TColor topLeft, TColor bottomRight, int width);

class TGroupBox : public TControlT<QGroupBox> {
public:
    explicit TGroupBox(QWidget* parent, const std::string& caption = "");
    std::string Caption() const;
    void SetCaption(const std::string& s);
};

// The look every grid starts with: no headers, no editing, one cell selected at a time.
void GridLook(QTableView* v);

class TStringGrid : public TControlT<QTableWidget> {
public:
    explicit TStringGrid(QWidget* parent, int cols = 5, int rows = 5);
    int ColCount() const { return columnCount(); }
    int RowCount() const { return rowCount(); }
    void SetColCount(int n);
    void SetRowCount(int n);
    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& s);
    int Row() const { return currentRow(); }
    int Col() const { return currentColumn(); }
    void SetRow(int r);               // runs nothing
    void SetCol(int c);               // runs nothing
    void SetColWidth(int col, int w) { setColumnWidth(col, w); }
    void SetRowHeights(int h);        // every row
    void SetRowSelect(bool b) { setSelectionBehavior(b ? SelectRows : SelectItems); }
    // Fixed rows and columns are drawn greyish and cannot be selected.
    int FixedRows = 1, FixedCols = 1;
    // OnSelectCell runs before the user moves to a cell and may refuse it.
    TNotifyEvent OnClick, OnDblClick;
    std::function<void(TObject*, int col, int row, bool& canSelect)> OnSelectCell;
    // Editable: the user may type into the cells outside the fixed ones.
    // OnSetEditText runs for the user's edits only, never for SetCells.
    void SetEditable(bool b);
    void UserEdit(int col, int row, const std::string& s);   // as typed by the user (tests)
    std::function<void(TObject*, int col, int row, const std::string& value)> OnSetEditText;
private:
    Qt::ItemFlags cellFlags(int col, int row) const;
    bool editable = false;
    bool cellsFromCode = false;
    bool settingFromCode = false;
    bool changedByUser = false;
};

class TTabSheet : public TControlT<QWidget> {
public:
    TTabSheet(class TPageControl* owner, const std::string& caption);
    std::string Caption() const { return caption; }
    // A press on the sheet itself, not on a control placed on it.
    std::function<void(TObject*, TMouseButton, TShiftState, int, int)> OnMouseDown;
protected:
    void mousePressEvent(QMouseEvent* e) override;
private:
    std::string caption;
};

class TPageControl : public TControlT<QTabWidget> {
public:
    explicit TPageControl(QWidget* parent);
    int PageCount() const { return count(); }
    int ActivePageIndex() const { return currentIndex(); }
    void SetActivePageIndex(int i);   // runs nothing
    TTabSheet* Pages(int i) const;
    TNotifyEvent OnChange;            // the user chose another page
private:
    bool settingFromCode = false;
};

class TImage;

class TScrollBox : public TControlT<QScrollArea> {
public:
    explicit TScrollBox(QWidget* parent);
    // The one child whose extent the scroll bars follow.
    void SetContent(QWidget* w);
    int HorzPosition() const;
    int VertPosition() const;
    void SetHorzPosition(int p);
    void SetVertPosition(int p);
};

class TImage : public TControlT<QWidget> {
public:
    // Made on an empty TScrollBox, the image becomes its scrolled content.
    explicit TImage(QWidget* parent);
    ~TImage() override;
    TPicture* Picture() { return picture.get(); }
    TCanvas* Canvas() { return picture->Bitmap()->Canvas(); }
    // The image control's own size follows its bitmap's.
    void SetImageSize(int w, int h);
    bool Stretch = false;
    std::function<void(TObject*, TMouseButton, TShiftState, int, int)> OnMouseDown, OnMouseUp;
    std::function<void(TObject*, TShiftState, int, int)> OnMouseMove;
    TNotifyEvent OnDblClick, OnClick;
    std::function<void(TObject*, TShiftState, int wheelDelta, TPoint mousePos, bool& handled)> OnMouseWheel;
    void SetCursor(TCursor c);
    // A key pressed while the image has the focus; the handler sets key to 0
    // when it took it. Only an image that is a tab stop takes the focus.
    std::function<void(TObject*, int& key, TShiftState)> OnKeyDown;
    void SetTabStop(bool b);
protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
private:
    void hook();              // repaints follow the current bitmap's canvas
    void scheduleUpdate();    // one repaint for any number of drawing calls
    TPoint toImage(QPointF p) const;
    std::unique_ptr<TPicture> picture;
    TCanvas* hooked = nullptr;
    bool updatePending = false;
};

class TUpDown : public TControlT<QWidget> {
public:
    explicit TUpDown(QWidget* parent);
    int Position() const;             // a valid number typed into the associate counts at once
    void SetPosition(int p);          // clamps to Min..Max, runs nothing
    int Min = 0, Max = 100, Increment = 1;
    bool Wrap = false;
    // The user's arrow: moves the position and runs OnClick; nothing at a limit.
    void UserClick(TUDBtnType b);
    std::function<void(TObject*, TUDBtnType)> OnClick;
    // The edit that shows the position (updated by SetPosition and the arrows).
    // A whole number within Min..Max in it is the position; when the typing ends
    // (Enter, or the edit loses focus) a changed position runs OnClick as the
    // arrow towards it would, and anything else typed gives way to the position.
    void SetAssociate(TEdit* e);
    TEdit* Associate() const { return associate; }
    // Arrows side by side (left is btPrev) instead of one above the other.
    void SetHorizontal(bool b);
    // Texts on the two buttons in place of the arrows.
    void SetButtonTexts(const std::string& prev, const std::string& next);
protected:
    void resizeEvent(QResizeEvent* e) override;
    // Without an associate the up-down takes the focus and answers the arrow
    // keys; with one, the arrow keys in that edit step it.
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
private:
    void place();
    bool horizontal = false;
    void showPosition();
    void typingEnded();
    int position = 0;
    TEdit* associate = nullptr;
    QMetaObject::Connection typingEnd;
    QToolButton* up;
    QToolButton* down;
};

class TTimer : public QObject, public TObject {
public:
    explicit TTimer(QObject* parent = nullptr);
    int Interval() const { return interval; }
    void SetInterval(int ms);
    bool Enabled() const { return enabled; }
    void SetEnabled(bool b);
    TNotifyEvent OnTimer;
    // While held, no timer's OnTimer runs (a tick that falls in that time is
    // skipped): a long step can let the wait window be pressed without a timer
    // changing the view under it.
    struct Hold {
        Hold() { ++held; }
        ~Hold() { --held; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
    };
    static bool Held() { return held > 0; }
private:
    static inline int held = 0;
    QTimer timer;
    int interval = 1000;
    bool enabled = false;
};

class TMenuItem : public TObject {
public:
    explicit TMenuItem(const std::string& caption = "");
    ~TMenuItem() override;
    std::string Caption() const;
    void SetCaption(const std::string& s);
    bool Checked() const;
    void SetChecked(bool b);          // runs nothing
    bool Enabled() const;
    void SetEnabled(bool b);
    bool Visible() const;
    void SetVisible(bool b);
    bool RadioItem = false;
    // Radio items of one group under one parent untick each other when one is ticked.
    void SetRadioGroup(int groupIndex);
    void Add(TMenuItem* item);        // becomes a sub-menu; the parent owns it
    int Count() const { return int(children.size()); }
    TMenuItem* Items(int i) const { return children.at(i); }
    void Click();                     // as a user choice: runs OnClick
    TNotifyEvent OnClick;
    int Tag = 0;
    // "Ctrl+S", as QKeySequence reads it; everyWindow: also while another of
    // the program's windows is active.
    void SetShortCut(const std::string& keys, bool everyWindow = false);
    QAction* Action() const { return action; }
    QMenu* Menu();                    // created on first use
    // Sets the items beside this one (for radio groups); done by Add.
    void SetSiblings(const std::vector<TMenuItem*>* s) { siblings = s; }
private:
    QAction* action;
    QMenu* menu = nullptr;
    std::vector<TMenuItem*> children;
    const std::vector<TMenuItem*>* siblings = nullptr;
    bool checked = false;
    int groupIndex = 0;
};

// Names every control of a window for screen readers: its caption, else its
// hint, else the label beside it; a name set in code beforehand is kept, and
// controls named alike take their group's caption, then a number.
void NameControls(QWidget* window);
// A label or check box given a new caption renames the controls named after it.
void LabelCaptionChanged(QWidget* label, const QString& before);
// Orders Tab through the window's controls top to bottom, left to right,
// column by column where the controls stand in columns.
void SortTabOrder(QWidget* window);
// Panels and labels that take clicks are published as buttons with a press.
void InstallAccessibleControls();

// A right click on the control opens the menu there.
void AttachPopupMenu(QWidget* w, class TPopupMenu* menu);

class TMainMenu : public TObject {
public:
    TMainMenu() = default;
    ~TMainMenu() override;
    void Add(TMenuItem* item);
    int Count() const { return int(items.size()); }
    TMenuItem* Items(int i) const { return items.at(i); }
    void AttachTo(QMenuBar* bar);     // by TForm::SetMenu; later items follow
private:
    std::vector<TMenuItem*> items;
    QMenuBar* bar = nullptr;
};

class TPopupMenu : public TObject {
public:
    TPopupMenu();
    ~TPopupMenu() override;
    void Add(TMenuItem* item);
    void Popup(int screenX, int screenY);
    QMenu* Menu() const { return menu; }
    int Count() const { return int(items.size()); }
    TMenuItem* Items(int i) const { return items.at(i); }
private:
    QMenu* menu;
    std::vector<TMenuItem*> items;
};
