// Tab order in reading order: the controls of a window are visited top to
// bottom and left to right, column by column where the window has columns,
// whatever order the code made them in.
#include "gui/Controls.h"
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <algorithm>

namespace {

// A control that takes the focus as one piece; anything else is a container.
bool Atomic(QWidget* w) {
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) ||
           qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QAbstractItemView*>(w) ||
           qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QTabBar*>(w) ||
           dynamic_cast<TUpDown*>(w) || dynamic_cast<TPanel*>(w) || dynamic_cast<TImage*>(w);
}

// Recursive cut: split at a horizontal gap that no control spans into rows,
// else at a vertical gap into columns; each part is ordered the same way.
void ReadingOrder(std::vector<QWidget*> ws, std::vector<QWidget*>& out) {
    if (ws.size() <= 1) {
        out.insert(out.end(), ws.begin(), ws.end());
        return;
    }
    for (bool rows : {true, false}) {
        auto lo = [rows](QWidget* w) { return rows ? w->geometry().top() : w->geometry().left(); };
        auto hi = [rows](QWidget* w) { return rows ? w->geometry().bottom() : w->geometry().right(); };
        std::stable_sort(ws.begin(), ws.end(), [&](QWidget* a, QWidget* b) { return lo(a) < lo(b); });
        std::vector<std::vector<QWidget*>> parts(1);
        // Controls on one line may sit a few pixels apart: a cut needs a real gap.
        int reach = hi(ws[0]);
        for (QWidget* w : ws) {
            if (!parts.back().empty() && lo(w) > reach - 2) parts.emplace_back();
            parts.back().push_back(w);
            reach = std::max(reach, hi(w));
        }
        if (parts.size() > 1) {
            for (auto& p : parts) ReadingOrder(p, out);
            return;
        }
    }
    // Overlapping controls: top-left corner first.
    std::stable_sort(ws.begin(), ws.end(), [](QWidget* a, QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    out.insert(out.end(), ws.begin(), ws.end());
}

void Collect(QWidget* container, std::vector<QWidget*>& chain) {
    std::vector<QWidget*> kids, hidden;
    for (QWidget* w : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isWindow()) continue;
        (w->isHidden() ? hidden : kids).push_back(w);
    }
    std::vector<QWidget*> ordered;
    ReadingOrder(kids, ordered);
    ordered.insert(ordered.end(), hidden.begin(), hidden.end());
    for (QWidget* w : ordered) {
        if (Atomic(w)) {
            if (w->focusPolicy() & Qt::TabFocus) chain.push_back(w);
            // A picture or panel may carry controls of its own.
            if (dynamic_cast<TImage*>(w) || dynamic_cast<TPanel*>(w)) Collect(w, chain);
            continue;
        }
        if (auto* sa = qobject_cast<QScrollArea*>(w); sa && sa->widget()) {
            Collect(sa->widget()->parentWidget(), chain);
            continue;
        }
        if (auto* tw = qobject_cast<QTabWidget*>(w)) {
            chain.push_back(tw->tabBar());
            for (int i = 0; i < tw->count(); ++i) Collect(tw->widget(i), chain);
            continue;
        }
        Collect(w, chain);
    }
}

} // namespace

void SortTabOrder(QWidget* window) {
    QWidget* root = window;
    if (auto* mw = qobject_cast<QMainWindow*>(window); mw && mw->centralWidget()) root = mw->centralWidget();
    std::vector<QWidget*> chain;
    Collect(root, chain);
    for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}
