// Controls with the desktop class library's names, each a thin Qt widget.
// Event rules: a check box's or radio group's click handler runs whenever its
// state changes, from code or from the user, and not when it is set unchanged;
// a menu item's tick and an up-down's position set from code run nothing.
#pragma once
#include "gui/Graphics.h"
#include "gui/Types.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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
class QButtonGroup;

// A form hands its client area to the controls placed on it.
QWidget* ClientOf(QWidget* parent);

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
    void SetHint(const std::string& s) { this->setToolTip(QString::fromStdString(s)); }
    void SetFontColor(TColor c);
    void SetColor(TColor c);      // background colour
    void SetFontSize(int pt);
};

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
    int IndexOf(const std::string& s) const;
    void Assign(const TStrings& other);
    // One string per line, CP932 with CR LF, written atomically.
    bool SaveToFile(const std::string& path) const;
    bool LoadFromFile(const std::string& path);
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
    int Add(const std::string& s) override;
    void Sort();

private:
    std::vector<std::string> items;
};

class TLabel : public TControlT<QLabel> {
public:
    explicit TLabel(QWidget* parent, const std::string& caption = "");
    std::string Caption() const;
    void SetCaption(const std::string& s);
    TNotifyEvent OnClick, OnDblClick;
protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
};

class TButton : public TControlT<QPushButton> {
public:
    explicit TButton(QWidget* parent, const std::string& caption = "");
    std::string Caption() const;
    void SetCaption(const std::string& s);
    void Click();
    TNotifyEvent OnClick;
};

class TCheckBox : public TControlT<QCheckBox> {
public:
    explicit TCheckBox(QWidget* parent, const std::string& caption = "");
    bool Checked() const { return isChecked(); }
    void SetChecked(bool b);          // runs OnClick when the tick changes
    std::string Caption() const;
    void SetCaption(const std::string& s);
    void Click();                     // as a user click: toggles, which runs OnClick
    TNotifyEvent OnClick;
};

class TRadioButton : public TControlT<QRadioButton> {
public:
    explicit TRadioButton(QWidget* parent, const std::string& caption = "");
    bool Checked() const { return isChecked(); }
    void SetChecked(bool b);          // runs OnClick when the tick changes
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
    bool settingFromCode = false;
};

class TEdit : public TControlT<QLineEdit> {
public:
    explicit TEdit(QWidget* parent, const std::string& text = "");
    std::string Text() const;
    void SetText(const std::string& s);
    void SetReadOnly(bool b) { setReadOnly(b); }
    TNotifyEvent OnChange;        // text changed, from code or user
    std::function<void(TObject*, char&)> OnKeyPress;  // Enter arrives as '\r'
protected:
    void keyPressEvent(QKeyEvent* e) override;
};

class TMemo : public TControlT<QPlainTextEdit> {
public:
    explicit TMemo(QWidget* parent);
    TStrings* Lines() { return lines.get(); }
    std::string Text() const;
    void SetText(const std::string& s);
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
    void SetItemIndex(int i);         // runs nothing
    TNotifyEvent OnChange;            // edit text changed by the user
    TNotifyEvent OnClick;             // an item chosen by the user
private:
    std::unique_ptr<TStrings> items;
    bool settingFromCode = false;
};

class TListBox : public TControlT<QListWidget> {
public:
    explicit TListBox(QWidget* parent);
    TStrings* Items() { return items.get(); }
    int ItemIndex() const { return currentRow(); }
    void SetItemIndex(int i);
    TNotifyEvent OnClick, OnDblClick;
private:
    std::unique_ptr<TStrings> items;
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
    void Click();
protected:
    // Drawn through a TCanvas on an offscreen bitmap, then put on the widget.
    virtual void Paint(TCanvas* canvas);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void PaintPanelFace(TCanvas* canvas);
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    std::string caption;
    TColor color = clBtnFace;
};

// Frame3D of the class library: shrinks r by width after drawing.
void Frame3D(TCanvas* canvas, TRect& r, TColor topLeft, TColor bottomRight, int width);

class TGroupBox : public TControlT<QGroupBox> {
public:
    explicit TGroupBox(QWidget* parent, const std::string& caption = "");
    std::string Caption() const;
    void SetCaption(const std::string& s);
};

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
    void SetRow(int r);
    void SetColWidth(int col, int w) { setColumnWidth(col, w); }
    int FixedRows = 1, FixedCols = 1;
    TNotifyEvent OnClick, OnDblClick;
    std::function<void(TObject*, int col, int row, bool& canSelect)> OnSelectCell;
};

class TTabSheet : public TControlT<QWidget> {
public:
    TTabSheet(class TPageControl* owner, const std::string& caption);
    std::string Caption() const { return caption; }
private:
    std::string caption;
};

class TPageControl : public TControlT<QTabWidget> {
public:
    explicit TPageControl(QWidget* parent);
    int PageCount() const { return count(); }
    int ActivePageIndex() const { return currentIndex(); }
    void SetActivePageIndex(int i) { setCurrentIndex(i); }
    TNotifyEvent OnChange;
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
protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
private:
    std::unique_ptr<TPicture> picture;
    bool updatePending = false;
};

class TUpDown : public TControlT<QWidget> {
public:
    explicit TUpDown(QWidget* parent);
    int Position() const { return position; }
    void SetPosition(int p);          // clamps to Min..Max, runs nothing
    int Min = 0, Max = 100, Increment = 1;
    bool Wrap = false;
    // The user's arrow: moves the position and runs OnClick; nothing at a limit.
    void UserClick(TUDBtnType b);
    std::function<void(TObject*, TUDBtnType)> OnClick;
private:
    int position = 0;
};

class TTimer : public QObject, public TObject {
public:
    explicit TTimer(QObject* parent = nullptr);
    int Interval() const { return interval; }
    void SetInterval(int ms);
    bool Enabled() const { return enabled; }
    void SetEnabled(bool b);
    TNotifyEvent OnTimer;
private:
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
    void SetRadioGroup(int groupIndex);  // items of one group untick each other
    void Add(TMenuItem* item);        // becomes a sub-menu; the parent owns it
    int Count() const { return int(children.size()); }
    TMenuItem* Items(int i) const { return children.at(i); }
    void Click();                     // as a user choice: runs OnClick
    TNotifyEvent OnClick;
    QAction* Action() const { return action; }
    QMenu* Menu();                    // created on first use
private:
    QAction* action;
    QMenu* menu = nullptr;
    std::vector<TMenuItem*> children;
};

class TMainMenu : public TObject {
public:
    TMainMenu() = default;
    ~TMainMenu() override;
    void Add(TMenuItem* item);
    int Count() const { return int(items.size()); }
    TMenuItem* Items(int i) const { return items.at(i); }
private:
    std::vector<TMenuItem*> items;
};

class TPopupMenu : public TObject {
public:
    TPopupMenu();
    ~TPopupMenu() override;
    void Add(TMenuItem* item);
    void Popup(int screenX, int screenY);
    int Count() const { return int(items.size()); }
    TMenuItem* Items(int i) const { return items.at(i); }
private:
    QMenu* menu;
    std::vector<TMenuItem*> items;
};
