#include "engine/FormEvents.h"
#include "gui/Forms.h"
#include <QEvent>
#include <QMouseEvent>

namespace {

class EventHook : public QObject {
public:
    EventHook(QWidget* w, std::function<bool(QEvent*)> onEvent) : QObject(w), widget(w), onEvent(std::move(onEvent)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == widget) onEvent(e);
        return false;
    }

private:
    QWidget* widget;
    std::function<bool(QEvent*)> onEvent;
};

} // namespace

void OnBackgroundClick(TForm* form, std::function<void()> onClick) {
    QWidget* client = form->Client();
    client->installEventFilter(new EventHook(client, [client, onClick = std::move(onClick)](QEvent* e) {
        if (e->type() != QEvent::MouseButtonRelease) return false;
        auto* me = static_cast<QMouseEvent*>(e);
        QPoint p = me->position().toPoint();
        // Labels pass their clicks on to the form: those are not background clicks.
        if (me->button() == Qt::LeftButton && client->rect().contains(p) && !client->childAt(p)) onClick();
        return false;
    }));
}

void OnHover(QWidget* w, std::function<void(bool inside)> onHover) {
    w->setMouseTracking(true);
    w->installEventFilter(new EventHook(w, [onHover = std::move(onHover)](QEvent* e) {
        if (e->type() == QEvent::Enter) onHover(true);
        else if (e->type() == QEvent::Leave) onHover(false);
        return false;
    }));
}

void OnResize(QWidget* w, std::function<void()> onResize) {
    w->installEventFilter(new EventHook(w, [onResize = std::move(onResize)](QEvent* e) {
        if (e->type() == QEvent::Resize) onResize();
        return false;
    }));
}
