// Menu items, the main menu and pop-up menus.
#include "gui/Controls.h"
#include <QAction>
#include <QMenu>
#include <QMenuBar>

TMenuItem::TMenuItem(const std::string& caption) : action(new QAction(QString::fromStdString(caption))) {
    if (caption == "-") action->setSeparator(true);
    QObject::connect(action, &QAction::triggered, [this] {
        // Qt flips a checkable action on a choice; the tick is the handler's to set.
        action->setChecked(checked);
        Click();
    });
}

TMenuItem::~TMenuItem() {
    for (auto* c : children) delete c;
    delete menu;
    delete action;
}

std::string TMenuItem::Caption() const { return action->text().toStdString(); }

void TMenuItem::SetCaption(const std::string& s) {
    action->setText(QString::fromStdString(s));
    action->setSeparator(s == "-");
    if (menu) menu->setTitle(action->text());
}

bool TMenuItem::Checked() const { return checked; }

void TMenuItem::SetChecked(bool b) {
    checked = b;
    if (b) action->setCheckable(true);
    action->setChecked(b);
    if (!b || !RadioItem || !siblings) return;
    for (auto* s : *siblings)
        if (s != this && s->RadioItem && s->groupIndex == groupIndex) s->SetChecked(false);
}

bool TMenuItem::Enabled() const { return action->isEnabled(); }
void TMenuItem::SetEnabled(bool b) { action->setEnabled(b); }
bool TMenuItem::Visible() const { return action->isVisible(); }
void TMenuItem::SetVisible(bool b) { action->setVisible(b); }
void TMenuItem::SetRadioGroup(int g) { groupIndex = g; }
void TMenuItem::SetShortCut(const std::string& keys, bool everyWindow) {
    action->setShortcut(QKeySequence(QString::fromStdString(keys), QKeySequence::PortableText));
    action->setShortcutContext(everyWindow ? Qt::ApplicationShortcut : Qt::WindowShortcut);
}

QMenu* TMenuItem::Menu() {
    if (!menu) {
        menu = new QMenu();
        menu->setTitle(action->text());
        action->setMenu(menu);
    }
    return menu;
}

void TMenuItem::Add(TMenuItem* item) {
    Menu()->addAction(item->action);
    children.push_back(item);
    item->SetSiblings(&children);
}

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}

TMainMenu::~TMainMenu() {
    for (auto* i : items) delete i;
}

void TMainMenu::Add(TMenuItem* item) {
    items.push_back(item);
    item->SetSiblings(&items);
    if (bar) bar->addAction(item->Action());
}

void TMainMenu::AttachTo(QMenuBar* b) {
    bar = b;
    for (auto* i : items) bar->addAction(i->Action());
}

TPopupMenu::TPopupMenu() : menu(new QMenu()) {}

TPopupMenu::~TPopupMenu() {
    for (auto* i : items) delete i;
    delete menu;
}

void TPopupMenu::Add(TMenuItem* item) {
    items.push_back(item);
    item->SetSiblings(&items);
    menu->addAction(item->Action());
}

void TPopupMenu::Popup(int screenX, int screenY) { menu->popup(QPoint(screenX, screenY)); }

void AttachPopupMenu(QWidget* w, TPopupMenu* m) {
    auto attach = [m](QWidget* target) {
        target->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(target, &QWidget::customContextMenuRequested, [m, target](const QPoint& p) {
            const QPoint g = target->mapToGlobal(p);
            m->Popup(g.x(), g.y());
        });
    };
    attach(w);
    // An editable combo box and a grid take the right click on an inner widget.
    if (auto* cb = qobject_cast<QComboBox*>(w); cb && cb->lineEdit()) attach(cb->lineEdit());
    if (auto* view = qobject_cast<QAbstractScrollArea*>(w)) attach(view->viewport());
}
