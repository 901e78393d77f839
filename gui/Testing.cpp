#include "gui/Testing.h"

namespace gui::testing {
namespace {
struct State {
    bool enabled = false;
    std::deque<int> answers;
    std::vector<MessageRecord> messages;
    std::deque<std::optional<std::string>> fileNames;
    std::deque<std::optional<TColor>> colors;
    std::function<TModalResult(TForm*)> showModal;
    std::vector<std::string> shellOpens;
    int shellOpenResult = 42;
    QImage clipboardImage;
    std::string clipboardText;
    bool terminated = false;
};
State& state() {
    static State s;
    return s;
}
template <class T>
bool take(std::deque<T>& q, T& out) {
    if (q.empty()) return false;
    out = std::move(q.front());
    q.pop_front();
    return true;
}
} // namespace

void Enable(bool on) { state().enabled = on; }
bool Enabled() { return state().enabled; }
void Reset() {
    bool on = state().enabled;
    state() = State();
    state().enabled = on;
}
void QueueAnswer(int id) { state().answers.push_back(id); }
std::vector<MessageRecord>& Messages() { return state().messages; }
void QueueFileName(std::optional<std::string> name) { state().fileNames.push_back(std::move(name)); }
void QueueColor(std::optional<TColor> color) { state().colors.push_back(color); }
void SetShowModalHandler(std::function<TModalResult(TForm*)> handler) { state().showModal = std::move(handler); }
std::vector<std::string>& ShellOpens() { return state().shellOpens; }
int& ShellOpenResult() { return state().shellOpenResult; }
QImage& ClipboardImage() { return state().clipboardImage; }
std::string& ClipboardText() { return state().clipboardText; }
bool& Terminated() { return state().terminated; }
bool TakeAnswer(int& id) { return take(state().answers, id); }
bool TakeFileName(std::optional<std::string>& name) { return take(state().fileNames, name); }
bool TakeColor(std::optional<TColor>& color) { return take(state().colors, color); }
std::function<TModalResult(TForm*)>& ShowModalHandler() { return state().showModal; }

} // namespace gui::testing
