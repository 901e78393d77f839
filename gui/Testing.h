// Test hooks: while enabled, nothing blocks on a window. Message boxes take
// their answers from a queue and are recorded; dialogs return scripted values;
// ShowModal runs a callback; shell opens and the clipboard are recorded.
#pragma once
#include "gui/Types.h"
#include <QImage>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TForm;

namespace gui::testing {

struct MessageRecord {
    std::string text, caption;
    int flags = 0;
    int answer = 0;
};

void Enable(bool on = true);
bool Enabled();
void Reset();   // clears queues, records and the ShowModal handler

// Answers for the next message boxes; with the queue empty a box answers IDOK.
void QueueAnswer(int id);
// The exception box is recorded too (flags MB_ICONERROR) without taking an answer.
std::vector<MessageRecord>& Messages();

// Next file dialogs: a name, or std::nullopt for a cancelled dialog.
// With the queue empty a dialog is cancelled. For a multi-select open dialog
// several files are given in one name, separated by '\n'.
void QueueFileName(std::optional<std::string> name);
void QueueColor(std::optional<TColor> color);
// Runs in place of the modal loop, with the form shown; returns the modal
// result (mrNone: the form's ModalResult, or mrCancel when that is unset).
// Unset handler: mrCancel. FormCloseQuery cannot keep the form open here.
void SetShowModalHandler(std::function<TModalResult(TForm*)> handler);

std::vector<std::string>& ShellOpens();
int& ShellOpenResult();          // what ShellOpen returns under test (default 42)
QImage& ClipboardImage();
std::string& ClipboardText();
bool& Terminated();              // Application->Terminate() was asked for

// Internal: used by the gui layer.
bool TakeAnswer(int& id);
bool TakeFileName(std::optional<std::string>& name);
bool TakeColor(std::optional<TColor>& color);
std::function<TModalResult(TForm*)>& ShowModalHandler();

} // namespace gui::testing
