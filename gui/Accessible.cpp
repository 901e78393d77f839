// What a screen reader is told of the controls: a name for each by one rule
// (caption, else hint, else the label beside it, else the name the window's
// code gave it), and panels or labels that take clicks published as buttons.
#include "gui/Controls.h"
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>
#include <map>

namespace {

bool Clickable(QWidget* w) {
    if (auto* p = dynamic_cast<TPanel*>(w)) return p->OnClick || p->OnMouseDown;
    if (auto* l = dynamic_cast<TLabel*>(w)) return bool(l->OnClick);
    // The map, a scroll box's content, is a picture whatever its clicks do.
    if (auto* i = dynamic_cast<TImage*>(w))
        return (i->OnClick || i->OnMouseDown) && !qobject_cast<QScrollArea*>(i->parentWidget() ? i->parentWidget()->parentWidget() : nullptr);
    return false;
}

// A left click at the middle, through the control's own mouse events.
void PressAtMiddle(QWidget* w) {
    QPointF mid(w->width() / 2.0, w->height() / 2.0);
    QPointF global = w->mapToGlobal(mid);
    QMouseEvent press(QEvent::MouseButtonPress, mid, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, mid, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

class ClickableAccessible : public QAccessibleWidget {
public:
    ClickableAccessible(QWidget* w, QAccessible::Role plain) : QAccessibleWidget(w, plain), plain(plain) {}
    QAccessible::Role role() const override { return Clickable(widget()) ? QAccessible::Button : plain; }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
            if (auto* p = dynamic_cast<TPanel*>(widget())) return QString::fromStdString(p->Caption());
            if (auto* l = qobject_cast<QLabel*>(widget())) return l->text();
        }
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return Clickable(widget()) ? QStringList{pressAction()} : QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && Clickable(widget()) && widget()->isEnabled())
            PressAtMiddle(widget());
        else
            QAccessibleWidget::doAction(name);
    }
private:
    QAccessible::Role plain;
};

// An item's caption, or where a neighbouring menu holds an item of the same
// caption ("×0.5" under both 拡大係数 and 移動係数), its menu's title and the caption.
QString MenuItemName(QMenu* menu, QAction* a) {
    const QString caption = QString(a->text()).remove('&');
    for (QObject* up : menu->menuAction()->associatedObjects()) {
        auto* w = qobject_cast<QWidget*>(up);
        if (!w || w == menu) continue;
        for (QAction* other : w->actions())
            if (QMenu* m = other->menu(); m && m != menu)
                for (QAction* b : m->actions())
                    if (!b->isSeparator() && QString(b->text()).remove('&') == caption)
                        return QString(menu->title()).remove('&') + " " + caption;
    }
    return caption;
}

class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MenuItemAccessible(QMenu* menu, QAction* a) : menu(menu), action(a) {}
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    bool isValid() const override { return menu && action; }
    QObject* object() const override { return action; }
    QWindow* window() const override { return menu ? menu->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(menu); }
    int childCount() const override { return action && action->menu() ? 1 : 0; }
    QAccessibleInterface* child(int i) const override {
        return i == 0 && childCount() ? QAccessible::queryAccessibleInterface(action->menu()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        return c && childCount() && c->object() == action->menu() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name) return MenuItemName(menu, action);
        if (t == QAccessible::Accelerator) return action->shortcut().toString(QKeySequence::NativeText);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = menu->actionGeometry(action);
        return QRect(menu->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override {
        return action && action->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) return s;
        s.disabled = !action->isEnabled();
        s.invisible = !action->isVisible();
        s.checkable = action->isCheckable();
        s.checked = action->isChecked();
        s.hasPopup = action->menu() != nullptr;
        s.focusable = true;
        s.focused = menu->activeAction() == action;
        return s;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && action->isEnabled()) action->trigger();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
private:
    QPointer<QMenu> menu;
    QPointer<QAction> action;
};

class MenuAccessible : public QAccessibleWidget {
public:
    explicit MenuAccessible(QMenu* m) : QAccessibleWidget(m, QAccessible::PopupMenu) {}
    QMenu* menu() const { return static_cast<QMenu*>(widget()); }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? QString(menu()->title()).remove('&') : QAccessibleWidget::text(t);
    }
    int childCount() const override { return int(menu()->actions().size()); }
    QAccessibleInterface* child(int i) const override {
        const auto actions = menu()->actions();
        if (i < 0 || i >= actions.size()) return nullptr;
        // One interface per item, kept by the registry while the item lives.
        QAction* a = actions.at(i);
        if (auto it = items.find(a); it != items.end())
            if (QAccessibleInterface* known = QAccessible::accessibleInterface(it->second)) return known;
        auto* made = new MenuItemAccessible(menu(), a);
        items[a] = QAccessible::registerAccessibleInterface(made);
        return made;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        return c ? int(menu()->actions().indexOf(qobject_cast<QAction*>(c->object()))) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAction* a = menu()->actionAt(menu()->mapFromGlobal(QPoint(x, y)));
        const int i = a ? int(menu()->actions().indexOf(a)) : -1;
        return i >= 0 ? child(i) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        QAction* a = menu()->activeAction();
        const int i = a ? int(menu()->actions().indexOf(a)) : -1;
        return i >= 0 ? child(i) : nullptr;
    }
private:
    mutable std::map<QAction*, QAccessible::Id> items;
};

QAccessibleInterface* Factory(const QString& className, QObject* o) {
    if (className == QLatin1String("QMenu"))
        if (auto* m = qobject_cast<QMenu*>(o)) return new MenuAccessible(m);
    if (auto* p = dynamic_cast<TPanel*>(o)) return new ClickableAccessible(p, QAccessible::Pane);
    if (auto* l = dynamic_cast<TLabel*>(o)) return new ClickableAccessible(l, QAccessible::StaticText);
    if (auto* i = dynamic_cast<TImage*>(o)) return new ClickableAccessible(i, QAccessible::Graphic);
    return nullptr;
}

bool Names(QWidget* w) {
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QAbstractItemView*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           qobject_cast<QAbstractSlider*>(w) || dynamic_cast<TPanel*>(w) || dynamic_cast<TImage*>(w) ||
           dynamic_cast<TUpDown*>(w) || Clickable(w);
}

// Parts of a composite control are named by the control, not on their own.
bool PartOfAnother(QWidget* w) {
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractItemView*>(p) || dynamic_cast<TUpDown*>(p))
            return true;
        if (p->isWindow()) break;
    }
    return qobject_cast<QAbstractSlider*>(w) && qobject_cast<QAbstractScrollArea*>(w->parentWidget()->parentWidget());
}

// A caption of dots or slashes only ("...", "//") says nothing when read out;
// a sign such as "▲" does.
bool Says(const QString& s) {
    return std::any_of(s.begin(), s.end(), [](QChar c) { return !c.isSpace() && (c.unicode() > 0x7f || c.isLetterOrNumber()); });
}

QString Caption(QWidget* w) {
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)) return {};
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().remove('&');
    if (auto* p = dynamic_cast<TPanel*>(w)) return QString::fromStdString(p->Caption());
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text().remove('&');
    return {};
}

QString Shown(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text().remove('&').trimmed();
    if (auto* c = qobject_cast<QCheckBox*>(w)) return c->text().remove('&').trimmed();
    return {};
}

// A label with a control just right of it on its row is that control's label.
bool LabelsItsRow(QWidget* l) {
    QRect lg = l->geometry();
    for (QWidget* s : l->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QRect sg = s->geometry();
        if (s != l && !qobject_cast<QLabel*>(s) && sg.left() >= lg.right() - 4 && sg.left() <= lg.right() + 24 &&
            sg.top() <= lg.bottom() && sg.bottom() >= lg.top())
            return true;
    }
    return false;
}

// The label on the control's left on its row, else the one just above it.
QWidget* LabelWidgetBeside(QWidget* w) {
    QWidget* parent = w->parentWidget();
    if (!parent) return nullptr;
    QRect g = w->geometry();
    QWidget* best = nullptr;
    int bestGap = 0;
    // A check box's caption labels the control after it, as a label's does.
    for (QWidget* l : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (l == w || (l->isHidden() && !w->isHidden()) || !Says(Shown(l))) continue;
        QRect lg = l->geometry();
        int gap = -1;
        if (lg.bottom() >= g.top() && lg.top() <= g.bottom() && lg.right() <= g.left() + 4)
            gap = g.left() - lg.right();
        else if (lg.right() >= g.left() && lg.left() <= g.right() && lg.bottom() <= g.top() + 2 &&
                 g.top() - lg.bottom() <= 24 && !LabelsItsRow(l))
            gap = 1000 + g.top() - lg.bottom();   // a heading above counts after any label on the left
        if (gap < 0 || gap > 1200) continue;
        if (!best || gap < bestGap) best = l, bestGap = gap;
    }
    return best;
}

QString LabelBeside(QWidget* w) {
    QWidget* l = LabelWidgetBeside(w);
    return l ? Shown(l) : QString();
}

// A control named after the label beside it keeps a link to that label, so
// that a new caption renames it (see LabelCaptionChanged).
const char* const kNamedBy = "rovanaNamedBy";
const char* const kNamesOthers = "rovanaNamesOthers";

QString Rule(QWidget* w) {
    if (QString c = Caption(w); Says(c)) return c;
    if (Says(w->toolTip())) return w->toolTip();
    if (QString l = LabelBeside(w); !l.isEmpty() || !qobject_cast<QAbstractItemView*>(w)) return l;
    // A table is the one its group or window shows.
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (auto* g = qobject_cast<QGroupBox*>(p); g && Says(g->title())) return g->title();
        if (p->isWindow()) return p->windowTitle().trimmed();
    }
    return {};
}

QString Context(QWidget* w) {
    for (QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (auto* g = qobject_cast<QGroupBox*>(p); g && Says(g->title())) return g->title();
    // Else the caption that starts its row: left from control to control
    // while they stand close together.
    QWidget* first = nullptr;
    for (QWidget* at = w; at;) {
        QRect g = at->geometry();
        QWidget* next = nullptr;
        for (QWidget* l : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QRect lg = l->geometry();
            if (l != at && !l->isHidden() && lg.right() <= g.left() + 4 && g.left() - lg.right() <= 20 &&
                lg.bottom() >= g.top() && lg.top() <= g.bottom() && (!next || lg.right() > next->geometry().right()))
                next = l;
        }
        if (next && Says(Shown(next))) first = next;
        at = next;
    }
    return first ? Shown(first) : QString();
}

// A grid without a header row has its headings as labels above its columns:
// a reader takes each column's name from the label over it, not a number.
void NameGridColumns(QTableWidget* t) {
    QWidget* parent = t->parentWidget();
    if (!parent) return;
    const QRect g = t->geometry();
    for (int c = 0; c < t->columnCount(); ++c) {
        if (t->horizontalHeaderItem(c) && !t->horizontalHeaderItem(c)->text().isEmpty()) continue;
        const int left = g.left() + t->frameWidth() + t->verticalHeader()->width() * !t->verticalHeader()->isHidden() +
                         t->columnViewportPosition(c);
        const int right = left + t->columnWidth(c);
        QString name;
        for (QWidget* l : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            const QRect lg = l->geometry();
            const int mid = (lg.left() + lg.right()) / 2;
            if (!l->isHidden() && lg.bottom() <= g.top() + 2 && lg.bottom() >= g.top() - 24 && mid >= left && mid < right &&
                Says(Shown(l)))
                name = Shown(l).simplified();
        }
        // No label over it: the grid's own name and the column's place.
        if (name.isEmpty()) name = QStringLiteral("%1 %2列目").arg(Caption(t).isEmpty() ? t->accessibleName() : Caption(t)).arg(c + 1).trimmed();
        t->setHorizontalHeaderItem(c, new QTableWidgetItem(name));
    }
}

} // namespace

void LabelCaptionChanged(QWidget* label, const QString& before) {
    if (!label->property(kNamesOthers).isValid() || !label->parentWidget()) return;
    const QString was = QString(before).remove('&').trimmed(), now = Shown(label);
    if (now == was || !Says(now)) return;
    for (QWidget* w : label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->property(kNamedBy).value<QObject*>() == label && w->accessibleName() == was) w->setAccessibleName(now);
}

void InstallAccessibleControls() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(Factory);
}

void NameControls(QWidget* window) {
    std::vector<QWidget*> named;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        // A reader asking while the control was still being built got the plain
        // widget's description: have it made again from the finished control.
        if (dynamic_cast<TPanel*>(w) || dynamic_cast<TLabel*>(w) || dynamic_cast<TImage*>(w))
            if (QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w); a && !dynamic_cast<ClickableAccessible*>(a))
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(a));
        if (!Names(w) || PartOfAnother(w)) continue;
        named.push_back(w);
        if (!w->accessibleName().isEmpty() || dynamic_cast<TUpDown*>(w)) continue;
        // A caption is read from the control itself, so that a changed one is read.
        if (QString n = Rule(w); !n.isEmpty() && n != Caption(w)) {
            w->setAccessibleName(n);
            if (QWidget* l = LabelWidgetBeside(w); l && Shown(l) == n && !Says(Caption(w)) && !Says(w->toolTip())) {
                w->setProperty(kNamedBy, QVariant::fromValue<QObject*>(l));
                l->setProperty(kNamesOthers, true);
            }
        }
    }
    for (QWidget* w : window->findChildren<QWidget*>())
        if (auto* g = dynamic_cast<TStringGrid*>(w); g && g->FixedRows == 0) NameGridColumns(g);
    auto nameOf = [](QWidget* w) { return w->accessibleName().isEmpty() ? Caption(w) : w->accessibleName(); };
    // Controls of one window named alike: each by its group, then by its place.
    std::map<std::pair<QString, QString>, std::vector<QWidget*>> alike;
    for (QWidget* w : named)
        if (!nameOf(w).isEmpty() && !dynamic_cast<TUpDown*>(w) && !w->isHidden())
            alike[{nameOf(w), w->metaObject()->className()}].push_back(w);
    for (auto& [key, ws] : alike) {
        if (ws.size() < 2) continue;
        std::map<QString, int> uses;
        for (QWidget* w : ws) {
            QString c = Context(w);
            if (!c.isEmpty() && c != key.first) w->setAccessibleName(key.first + " (" + c + ")");
            ++uses[nameOf(w)];
        }
        std::map<QString, int> next;
        for (QWidget* w : ws)
            if (QString n = nameOf(w); uses[n] > 1) w->setAccessibleName(n + " " + QString::number(++next[n]));
    }
    // An up-down says what it counts: the edit it drives, else its label.
    for (QWidget* w : named)
        if (auto* u = dynamic_cast<TUpDown*>(w)) {
            QString n = u->accessibleName();
            if (n.isEmpty() && u->Associate()) n = u->Associate()->accessibleName();
            if (n.isEmpty()) n = Rule(u);
            u->setAccessibleName(n);
            auto arrows = u->findChildren<QToolButton*>();
            for (QToolButton* a : arrows)
                a->setAccessibleName((n.isEmpty() ? n : n + " ") + (a->objectName() == "next" ? "増やす" : "減らす"));
        }
}
