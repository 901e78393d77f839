// Controls drawn through the canvas or taking the mouse: panel, image, up-down, grid.
#include "gui/Controls.h"
#include "gui/Forms.h"
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <charconv>
#include <optional>

TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
    TShiftState s;
    s.Shift = m & Qt::ShiftModifier;
    s.Ctrl = m & Qt::ControlModifier;
    s.Alt = m & Qt::AltModifier;
    s.Left = b & Qt::LeftButton;
    s.Right = b & Qt::RightButton;
    s.Middle = b & Qt::MiddleButton;
    return s;
}

// Qt's buttons() holds the pressed button on a press and drops the released
// one on a release, as the class library's shift state does.
static TShiftState ShiftOf(const QMouseEvent* e) {
    return ShiftOf(e->modifiers(), e->buttons());
}

static bool ButtonOf(Qt::MouseButton b, TMouseButton& out) {
    switch (b) {
    case Qt::LeftButton: out = mbLeft; return true;
    case Qt::RightButton: out = mbRight; return true;
    case Qt::MiddleButton: out = mbMiddle; return true;
    default: return false;
    }
}

// ---- panel ----

void Frame3D(TCanvas* canvas, TRect& r, TColor topLeft, TColor bottomRight, int width) {
    canvas->Pen->Width = 1;
    canvas->Pen->Style = psSolid;
    canvas->Pen->Mode = pmCopy;
    r.Bottom--;
    r.Right--;
    while (width-- > 0) {
        TPoint tl[3] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
        canvas->Pen->Color = topLeft;
        canvas->Polyline(tl, 3);
        TPoint br[3] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}};
        canvas->Pen->Color = bottomRight;
        canvas->Polyline(br, 3);
        r.Left++;
        r.Top++;
        r.Right--;
        r.Bottom--;
    }
    r.Bottom++;
    r.Right++;
}

TPanel::TPanel(QWidget* parent, const std::string& caption) : TControlT<QFrame>(ClientOf(parent)), caption(caption) {
    InstallAccessibleControls();
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPanel::Click() {
    if (OnClick) OnClick(this);
}

void TPanel::Paint(TCanvas* canvas) { PaintPanelFace(canvas); }

void TPanel::PaintBevels(TCanvas* c, TRect& r) {
    auto bevel = [&](TBevelCut cut) {
        bool lowered = cut == bvLowered;
        Frame3D(c, r, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow, BevelWidth);
    };
    if (BevelOuter != bvNone) bevel(BevelOuter);
    Frame3D(c, r, color, color, BorderWidth);
    if (BevelInner != bvNone) bevel(BevelInner);
}

void TPanel::PaintPanelFace(TCanvas* c) {
    TRect r(0, 0, width(), height());
    PaintBevels(c, r);
    c->Brush->Color = color;
    c->Brush->Style = bsSolid;
    c->FillRect(r);
    if (caption.empty()) return;
    *c->Font = Font;
    c->Brush->Style = bsClear;
    int tw = c->TextWidth(caption), th = c->TextHeight(caption);
    int x = Alignment == taLeftJustify    ? r.Left
            : Alignment == taRightJustify ? r.Right - tw
                                          : r.Left + (r.Width() - tw) / 2;
    c->TextOut(x, r.Top + (r.Height() - th) / 2, caption);
}

void TPanel::MouseDown(TMouseButton, TShiftState, int, int) {}
void TPanel::MouseUp(TMouseButton, TShiftState, int, int) {}

void TPanel::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0) return;
    if (!face)
        face = std::make_unique<TBitmap>(width(), height());
    else if (face->Width() != width() || face->Height() != height())
        face->SetSize(width(), height());
    Paint(face->Canvas());
    QPainter p(this);
    p.drawImage(0, 0, face->Image());
}

void TPanel::mousePressEvent(QMouseEvent* e) {
    TMouseButton b;
    if (!ButtonOf(e->button(), b)) return;
    QPoint pt = e->position().toPoint();
    TShiftState s = ShiftOf(e);
    MouseDown(b, s, pt.x(), pt.y());
    if (OnMouseDown) OnMouseDown(this, b, s, pt.x(), pt.y());
}

void TPanel::mouseReleaseEvent(QMouseEvent* e) {
    TMouseButton b;
    if (!ButtonOf(e->button(), b)) return;
    QPoint pt = e->position().toPoint();
    TShiftState s = ShiftOf(e);
    // The click comes before the button-up, as in the class library.
    if (b == mbLeft && rect().contains(pt)) Click();
    MouseUp(b, s, pt.x(), pt.y());
    if (OnMouseUp) OnMouseUp(this, b, s, pt.x(), pt.y());
}

// ---- image ----

TImage::TImage(QWidget* parent) : TControlT<QWidget>(ClientOf(parent)), picture(std::make_unique<TPicture>()) {
    InstallAccessibleControls();
    setMouseTracking(true);   // moves are reported with no button held too
    picture->OnChange = [this] { scheduleUpdate(); };
    hook();
    // On a scroll box the image is what scrolls.
    if (auto* box = dynamic_cast<TScrollBox*>(parent); box && !box->widget()) box->SetContent(this);
}

TImage::~TImage() {
    if (hooked && picture && picture->Bitmap() && picture->Bitmap()->Canvas() == hooked) hooked->OnChange = nullptr;
}

void TImage::hook() {
    TCanvas* c = picture->Bitmap()->Canvas();
    if (c == hooked) return;
    hooked = c;
    c->OnChange = [this] { scheduleUpdate(); };
}

void TImage::scheduleUpdate() {
    if (updatePending) return;
    updatePending = true;
    QTimer::singleShot(0, this, [this] {
        updatePending = false;
        hook();
        const QImage& img = picture->Bitmap()->Image();
        if (!Stretch && !img.isNull() && size() != img.size()) setFixedSize(img.size());
        update();
    });
}

void TImage::SetImageSize(int w, int h) {
    picture->Bitmap()->SetSize(w, h);
    hook();
    setFixedSize(w, h);
    update();
}

void TImage::SetCursor(TCursor c) { setCursor(Screen()->CursorOf(c)); }

void TImage::paintEvent(QPaintEvent*) {
    hook();
    const QImage& img = picture->Bitmap()->Image();
    if (img.isNull()) return;
    QPainter p(this);
    if (Stretch)
        p.drawImage(rect(), img);
    else
        p.drawImage(0, 0, img);
    if (hasFocus()) {
        // Over the picture only: the bitmap itself stays as drawn.
        p.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void TImage::SetTabStop(bool b) { setFocusPolicy(b ? Qt::StrongFocus : Qt::NoFocus); }
void TImage::focusInEvent(QFocusEvent*) { update(); }
void TImage::focusOutEvent(QFocusEvent*) { update(); }

// The desktop's virtual key for a Qt key; 0 when the handlers know no such key.
static int VirtualKey(const QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Plus: return (e->modifiers() & Qt::KeypadModifier) ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Minus: return (e->modifiers() & Qt::KeypadModifier) ? VK_SUBTRACT : VK_OEM_MINUS;
    default: return 0;
    }
}

void TImage::keyPressEvent(QKeyEvent* e) {
    int key = VirtualKey(e);
    if (key && OnKeyDown) {
        OnKeyDown(this, key, ShiftOf(e->modifiers(), Qt::NoButton));
        if (key == 0) {
            e->accept();
            return;
        }
    }
    QWidget::keyPressEvent(e);
}

TPoint TImage::toImage(QPointF p) const {
    const QImage& img = picture->Bitmap()->Image();
    if (Stretch && width() > 0 && height() > 0 && !img.isNull())
        return TPoint(int(p.x() * img.width() / width()), int(p.y() * img.height() / height()));
    QPoint q = p.toPoint();
    return TPoint(q.x(), q.y());
}

void TImage::mousePressEvent(QMouseEvent* e) {
    TMouseButton b;
    if (!ButtonOf(e->button(), b)) return;
    TPoint pt = toImage(e->position());
    if (OnMouseDown) OnMouseDown(this, b, ShiftOf(e), pt.x, pt.y);
}

void TImage::mouseMoveEvent(QMouseEvent* e) {
    TPoint pt = toImage(e->position());
    if (OnMouseMove) OnMouseMove(this, ShiftOf(e), pt.x, pt.y);
}

void TImage::mouseReleaseEvent(QMouseEvent* e) {
    TMouseButton b;
    if (!ButtonOf(e->button(), b)) return;
    TPoint pt = toImage(e->position());
    if (b == mbLeft && rect().contains(e->position().toPoint()) && OnClick) OnClick(this);
    if (OnMouseUp) OnMouseUp(this, b, ShiftOf(e), pt.x, pt.y);
}

void TImage::mouseDoubleClickEvent(QMouseEvent* e) {
    // Qt sends this in place of the second press: double-click first, then the press.
    TMouseButton b;
    if (!ButtonOf(e->button(), b)) return;
    if (b == mbLeft && OnDblClick) OnDblClick(this);
    TShiftState s = ShiftOf(e);
    s.Double = true;
    TPoint pt = toImage(e->position());
    if (OnMouseDown) OnMouseDown(this, b, s, pt.x, pt.y);
}

void TImage::wheelEvent(QWheelEvent* e) {
    bool handled = false;
    if (OnMouseWheel) {
        QPoint g = e->globalPosition().toPoint();
        OnMouseWheel(this, ShiftOf(e->modifiers(), e->buttons()), e->angleDelta().y(), TPoint(g.x(), g.y()), handled);
    }
    if (handled)
        e->accept();
    else
        e->ignore();   // the scroll box behind scrolls
}

// ---- up-down ----

TUpDown::TUpDown(QWidget* parent) : TControlT<QWidget>(ClientOf(parent)) {
    up = new QToolButton(this);
    down = new QToolButton(this);
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    // Readers name the arrows by what they do, whatever they show.
    up->setObjectName("next");
    down->setObjectName("prev");
    for (auto* b : {up, down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    QObject::connect(up, &QToolButton::clicked, [this] { UserClick(btNext); });
    QObject::connect(down, &QToolButton::clicked, [this] { UserClick(btPrev); });
    setFocusPolicy(Qt::StrongFocus);
    resize(17, 24);
}

void TUpDown::resizeEvent(QResizeEvent*) { place(); }

void TUpDown::place() {
    // Room for the focus frame around the buttons when the up-down takes the focus.
    const QRect r = focusPolicy() == Qt::NoFocus ? rect() : rect().adjusted(2, 2, -2, -2);
    if (horizontal) {
        const int w = r.width() / 2;
        down->setGeometry(r.left(), r.top(), w, r.height());
        up->setGeometry(r.left() + w, r.top(), r.width() - w, r.height());
    } else {
        const int h = r.height() / 2;
        up->setGeometry(r.left(), r.top(), r.width(), h);
        down->setGeometry(r.left(), r.top() + h, r.width(), r.height() - h);
    }
}

void TUpDown::SetHorizontal(bool b) {
    horizontal = b;
    up->setArrowType(b ? Qt::RightArrow : Qt::UpArrow);
    down->setArrowType(b ? Qt::LeftArrow : Qt::DownArrow);
    place();
}

void TUpDown::SetButtonTexts(const std::string& prev, const std::string& next) {
    up->setArrowType(Qt::NoArrow);
    down->setArrowType(Qt::NoArrow);
    up->setText(QString::fromStdString(next));
    down->setText(QString::fromStdString(prev));
}

// Up and Right step towards Max, Down and Left towards Min, whatever the look.
static bool ArrowStep(const QKeyEvent* e, TUDBtnType& b) {
    switch (e->key()) {
    case Qt::Key_Up: case Qt::Key_Right: b = btNext; return true;
    case Qt::Key_Down: case Qt::Key_Left: b = btPrev; return true;
    default: return false;
    }
}

void TUpDown::keyPressEvent(QKeyEvent* e) {
    TUDBtnType b;
    if (!ArrowStep(e, b)) {
        QWidget::keyPressEvent(e);
        return;
    }
    UserClick(b);
    e->accept();
}

bool TUpDown::eventFilter(QObject* watched, QEvent* e) {
    if (watched == associate && e->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(e);
        // Left and right move the caret in the edit; up and down step.
        if (ke->key() == Qt::Key_Up || ke->key() == Qt::Key_Down) {
            UserClick(ke->key() == Qt::Key_Up ? btNext : btPrev);
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void TUpDown::paintEvent(QPaintEvent*) {
    if (!hasFocus()) return;
    QStylePainter p(this);
    QStyleOptionFocusRect o;
    o.initFrom(this);
    o.backgroundColor = palette().color(QPalette::Window);
    p.drawPrimitive(QStyle::PE_FrameFocusRect, o);
}

void TUpDown::focusInEvent(QFocusEvent*) { update(); }
void TUpDown::focusOutEvent(QFocusEvent*) { update(); }

void TUpDown::SetPosition(int p) {
    position = std::clamp(p, std::min(Min, Max), std::max(Min, Max));
    showPosition();
}

void TUpDown::UserClick(TUDBtnType b) {
    int p = Position();
    if (b == btNext) {
        if (p >= Max) {
            if (!Wrap) return;
            p = Min;
        } else {
            p = std::min(Max, p + Increment);
        }
    } else {
        if (p <= Min) {
            if (!Wrap) return;
            p = Max;
        } else {
            p = std::max(Min, p - Increment);
        }
    }
    position = p;
    showPosition();
    if (OnClick) OnClick(this, b);
}

void TUpDown::SetAssociate(TEdit* e) {
    QObject::disconnect(typingEnd);
    if (associate) associate->removeEventFilter(this);
    associate = e;
    if (e) {
        typingEnd = QObject::connect(e, &QLineEdit::editingFinished, this, [this] { typingEnded(); });
        e->installEventFilter(this);
    }
    // The edit takes the focus and the keys for both.
    setFocusPolicy(e ? Qt::NoFocus : Qt::StrongFocus);
    place();
    showPosition();
}

namespace {
// A whole decimal number, blanks around it allowed, nothing else.
std::optional<int> WholeNumber(const std::string& text) {
    const size_t b = text.find_first_not_of(' '), e = text.find_last_not_of(' ');
    if (b == std::string::npos) return std::nullopt;
    const char* first = text.data() + b;
    const char* last = text.data() + e + 1;
    if (*first == '+' && last - first > 1 && first[1] != '-') ++first;
    int v = 0;
    const auto r = std::from_chars(first, last, v);
    if (r.ec != std::errc() || r.ptr != last) return std::nullopt;
    return v;
}
} // namespace

int TUpDown::Position() const {
    if (associate) {
        const std::optional<int> v = WholeNumber(associate->Text());
        if (v && *v >= std::min(Min, Max) && *v <= std::max(Min, Max)) return *v;
    }
    return position;
}

void TUpDown::typingEnded() {
    const int was = position;
    position = Position();
    showPosition();
    if (position != was && OnClick) OnClick(this, position > was ? btNext : btPrev);
}

void TUpDown::showPosition() {
    if (associate) associate->SetText(std::to_string(position));
}

// ---- string grid ----

namespace {
// Fixed cells are drawn in the button face colour with a raised edge.
class FixedCellDelegate : public QStyledItemDelegate {
public:
    FixedCellDelegate(TStringGrid* g) : QStyledItemDelegate(g), g(g) {}
    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& ix) const override {
        if (ix.row() >= g->FixedRows && ix.column() >= g->FixedCols) {
            QStyledItemDelegate::paint(p, opt, ix);
            return;
        }
        QRect r = opt.rect;
        p->fillRect(r, ToQColor(clBtnFace));
        p->setPen(ToQColor(clBtnHighlight));
        p->drawLine(r.topLeft(), r.topRight());
        p->drawLine(r.topLeft(), r.bottomLeft());
        p->setPen(ToQColor(clBtnShadow));
        p->drawLine(r.bottomLeft(), r.bottomRight());
        p->drawLine(r.topRight(), r.bottomRight());
        p->setPen(ToQColor(clBlack));
        p->drawText(r.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, ix.data().toString());
    }

private:
    TStringGrid* g;
};
} // namespace

void GridLook(QTableView* v) {
    v->horizontalHeader()->hide();
    v->verticalHeader()->hide();
    v->horizontalHeader()->setDefaultSectionSize(64);
    v->verticalHeader()->setMinimumSectionSize(8);
    v->verticalHeader()->setDefaultSectionSize(24);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
}

TStringGrid::TStringGrid(QWidget* parent, int cols, int rows) : TControlT<QTableWidget>(rows, cols, ClientOf(parent)) {
    GridLook(this);
    setItemDelegate(new FixedCellDelegate(this));
    QObject::connect(this, &QTableWidget::currentCellChanged, [this](int row, int col, int prevRow, int prevCol) {
        if (settingFromCode || row < 0 || col < 0) return;
        bool can = row >= FixedRows && col >= FixedCols;
        if (can && OnSelectCell) OnSelectCell(this, col, row, can);
        if (!can) {
            settingFromCode = true;
            setCurrentCell(prevRow, prevCol);
            settingFromCode = false;
            return;
        }
        changedByUser = true;
        if (OnClick) OnClick(this);
        QTimer::singleShot(0, this, [this] { changedByUser = false; });
    });
    QObject::connect(this, &QTableWidget::cellPressed, [this](int row, int col) {
        if (changedByUser) {
            changedByUser = false;
            return;
        }
        if (row >= FixedRows && col >= FixedCols && OnClick) OnClick(this);
    });
    QObject::connect(this, &QTableWidget::cellDoubleClicked, [this](int, int) {
        if (OnDblClick) OnDblClick(this);
    });
    QObject::connect(this, &QTableWidget::cellChanged, [this](int row, int col) {
        if (cellsFromCode || !OnSetEditText) return;
        OnSetEditText(this, col, row, Cells(col, row));
    });
}

void TStringGrid::SetEditable(bool b) {
    editable = b;
    setEditTriggers(b ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed
                      : QAbstractItemView::NoEditTriggers);
    // Empty cells the user types into are made by the view from this prototype.
    auto* proto = new QTableWidgetItem();
    proto->setFlags(b ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                      : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setItemPrototype(proto);
    cellsFromCode = true;
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            if (auto* it = item(r, c)) it->setFlags(cellFlags(c, r));
    cellsFromCode = false;
}

void TStringGrid::UserEdit(int col, int row, const std::string& s) {
    if (!editable || row < FixedRows || col < FixedCols || row >= rowCount() || col >= columnCount()) return;
    if (!item(row, col)) SetCells(col, row, "");
    item(row, col)->setText(QString::fromStdString(s));
}

Qt::ItemFlags TStringGrid::cellFlags(int col, int row) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable && row >= FixedRows && col >= FixedCols) f |= Qt::ItemIsEditable;
    return f;
}

void TStringGrid::SetColCount(int n) { setColumnCount(std::max(0, n)); }
void TStringGrid::SetRowCount(int n) { setRowCount(std::max(0, n)); }

std::string TStringGrid::Cells(int col, int row) const {
    auto* it = item(row, col);
    return it ? it->text().toStdString() : std::string();
}

void TStringGrid::SetCells(int col, int row, const std::string& s) {
    if (row < 0 || col < 0 || row >= rowCount() || col >= columnCount()) return;
    const QString text = QString::fromStdString(s);
    auto* it = item(row, col);
    // A cell set to what it shows costs the view nothing: tables refilled on every redraw stay cheap.
    const QTableWidgetItem* head = row < FixedRows ? horizontalHeaderItem(col) : nullptr;
    if (it && it->text() == text && (row >= FixedRows || (head && head->text() == text))) return;
    cellsFromCode = true;
    if (it) {
        it->setText(text);
    } else {
        auto* fresh = new QTableWidgetItem(text);
        fresh->setFlags(cellFlags(col, row));
        setItem(row, col, fresh);
    }
    // The fixed row's captions are the column headers a screen reader reads.
    if (row < FixedRows) setHorizontalHeaderItem(col, new QTableWidgetItem(text));
    cellsFromCode = false;
}

void TStringGrid::SetRow(int r) {
    settingFromCode = true;
    setCurrentCell(r, std::max(currentColumn(), FixedCols));
    settingFromCode = false;
}

void TStringGrid::SetCol(int c) {
    settingFromCode = true;
    setCurrentCell(std::max(currentRow(), FixedRows), c);
    settingFromCode = false;
}

void TStringGrid::SetRowHeights(int h) {
    verticalHeader()->setDefaultSectionSize(h);
    for (int r = 0; r < rowCount(); ++r) setRowHeight(r, h);
}
