// What a screen reader sees of every window: each control that takes input
// has a name, no two of one window share name and role, panels that take
// clicks are buttons that can be pressed, and grids read their captions.
#include "paint/PaintTools.h"
#include "engine/Uopen.h"
#include "paint/MainFormPaint.h"
#include "labels/Uletter.h"
#include "gui/Forms.h"
#include "names/Usearch.h"
#include "output/Updfpage.h"
#include "paint/Upaint.h"
#include "paint/Ustatmap.h"
#include "tests/support/FormsFixture.h"
#include <QAccessible>
#include <QAccessibleInterface>
#include <QMenu>
#include <QScrollArea>
#include <QWidget>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

bool Interactive(QAccessible::Role r) {
    switch (r) {
    case QAccessible::PushButton: case QAccessible::CheckBox: case QAccessible::RadioButton:
    case QAccessible::EditableText: case QAccessible::ComboBox: case QAccessible::SpinBox:
    case QAccessible::ButtonMenu: case QAccessible::ButtonDropDown: case QAccessible::List:
    case QAccessible::Table: case QAccessible::Slider:
        return true;
    default:
        return false;
    }
}

struct Seen {
    std::vector<std::string> unnamed;
    std::map<std::pair<QString, int>, int> names;
};

void Walk(QAccessibleInterface* a, const QString& path, Seen& seen) {
    if (!a) return;
    QAccessible::Role role = a->role();
    QString name = a->text(QAccessible::Name);
    QObject* o = a->object();
    QString here = path + "/" + (o ? o->metaObject()->className() : "?") + ":" + name;
    // A control hidden by the code is out of a screen reader's reach.
    bool hidden = o && o->isWidgetType() && static_cast<QWidget*>(o)->isHidden();
    if (Interactive(role) && !hidden) {
        if (name.trimmed().isEmpty())
            seen.unnamed.push_back(here.toStdString());
        else if (o && o->isWidgetType())
            ++seen.names[{name, int(role)}];
    }
    auto* panel = dynamic_cast<TPanel*>(o);
    auto* image = dynamic_cast<TImage*>(o);
    auto* label = dynamic_cast<TLabel*>(o);
    bool inScroller = image && qobject_cast<QScrollArea*>(image->parentWidget()->parentWidget());
    if ((panel && (panel->OnClick || panel->OnMouseDown)) || (label && label->OnClick) ||
        (image && !inScroller && (image->OnClick || image->OnMouseDown))) {
        EXPECT_EQ(role, QAccessible::Button) << here.toStdString();
        EXPECT_TRUE(a->actionInterface() && a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()))
            << here.toStdString();
    }
    if (auto* g = dynamic_cast<TStringGrid*>(o); g && g->FixedRows > 0 && a->tableInterface()) {
        for (int c = 0; c < g->ColCount(); ++c)
            EXPECT_EQ(a->tableInterface()->columnDescription(c).toStdString(), g->Cells(c, 0)) << here.toStdString();
    }
    // A column is read by its heading, never as a bare number.
    if (auto* g = dynamic_cast<TStringGrid*>(o); g && a->tableInterface())
        for (int c = 0; c < g->ColCount(); ++c) {
            bool number = false;
            a->tableInterface()->columnDescription(c).toInt(&number);
            EXPECT_FALSE(number) << here.toStdString() << " column " << c;
        }
    if (inScroller) {
        EXPECT_FALSE(name.isEmpty()) << "a picture with no name: " << here.toStdString();
    }
    // Items of a list and cells of a table are parts, not controls of their own.
    if (role == QAccessible::List || role == QAccessible::ComboBox || role == QAccessible::Table) return;
    for (int i = 0; i < a->childCount(); ++i) Walk(a->child(i), here, seen);
}

class Accessibility : public FormsTest {};

TEST_F(Accessibility, EveryControlOfEveryWindowHasItsOwnName) {
    StatMapWindow();   // made on first use, not at start-up
    PdfPageWindow();
    for (TForm* f : Application->Forms()) {
        SCOPED_TRACE(f->windowTitle().toStdString());
        Seen seen;
        Walk(QAccessible::queryAccessibleInterface(f), "", seen);
        for (const auto& u : seen.unnamed) ADD_FAILURE() << "no name: " << u;
        for (const auto& [key, n] : seen.names)
            if (n > 1) ADD_FAILURE() << n << " controls named " << key.first.toStdString() << ", role " << key.second;
    }
    // A control known by its hint follows a new hint.
    TEdit* named = Search->Edit1;
    ASSERT_EQ(named->accessibleName().toStdString(), named->Hint());
    named->SetHint("山名・島名の一部");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(named)->text(QAccessible::Name).toStdString(), "山名・島名の一部");
    // A reader's press on a paint slot chooses it, as the mouse does.
    QAccessibleInterface* slot = QAccessible::queryAccessibleInterface(MapPaint->SlotButton(2));
    ASSERT_EQ(slot->text(QAccessible::Name).toStdString(), "ペイント色3");
    slot->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE((Open->tools.ToolAs<PaintTool>() != nullptr));
    EXPECT_EQ(PaintOf(*Open).PaintSlot, 2);
}

QAccessibleInterface* ItemOf(TMenuItem* item, QString* menuTitle) {
    for (QObject* o : item->Action()->associatedObjects())
        if (auto* m = qobject_cast<QMenu*>(o)) {
            *menuTitle = m->title();
            return QAccessible::queryAccessibleInterface(m)->child(int(m->actions().indexOf(item->Action())));
        }
    return nullptr;
}

TEST_F(Accessibility, ItemsAlikeSayTheirMenuAndNamesFollowTheLabelBeside) {
    // 拡大係数 and 移動係数 both hold "×1.0（標準）" and "×0.5": each is read with its menu.
    std::set<QString> names;
    for (TMenuItem* item : {Open->ui.N101, Open->ui.N051, Open->ui.N102, Open->ui.N052}) {
        QString menu;
        QAccessibleInterface* a = ItemOf(item, &menu);
        ASSERT_TRUE(a);
        const QString name = a->text(QAccessible::Name);
        EXPECT_TRUE(name.startsWith(menu) && name.endsWith(item->Action()->text())) << name.toStdString();
        EXPECT_TRUE(names.insert(name).second) << name.toStdString();
        EXPECT_EQ(item->Action()->text(), QString::fromStdString(item->Caption())) << "the caption shown stays";
    }
    QString menu;
    EXPECT_EQ(ItemOf(Open->ui.N021, &menu)->text(QAccessible::Name).toStdString(), "×0.2");
    // A reader's press chooses the item, as the mouse does.
    ItemOf(Open->ui.N052, &menu)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(Open->ui.N052->Checked());
    EXPECT_FALSE(Open->ui.N102->Checked());

    // An edit known by the label on its left follows that label's new caption.
    TEdit* size = Letter->Edit1;
    ASSERT_EQ(QAccessible::queryAccessibleInterface(size)->text(QAccessible::Name).toStdString(), "サイズ");
    TLabel* label = nullptr;
    for (auto* l : size->parentWidget()->findChildren<TLabel*>(Qt::FindDirectChildrenOnly))
        if (l->Caption() == "サイズ") label = l;
    ASSERT_TRUE(label);
    label->SetCaption("文字サイズ");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(size)->text(QAccessible::Name).toStdString(), "文字サイズ");
}

} // namespace
