// Events the control classes do not report: a click on a form's own
// background, a change of size, the pointer entering or leaving a control.
#pragma once
#include <functional>

class QWidget;
class TForm;

// Runs onClick after a left click that lands on the form's client area itself,
// not on one of its controls. The filter belongs to the form and goes with it.
void OnBackgroundClick(TForm* form, std::function<void()> onClick);
// Runs onResize after w has changed its size.
void OnResize(QWidget* w, std::function<void()> onResize);
// Runs onHover(true) when the pointer enters w and onHover(false) when it leaves.
void OnHover(QWidget* w, std::function<void(bool inside)> onHover);
