// Forms, the application object and the screen.
#pragma once
#include "gui/Controls.h"
#include "gui/Types.h"
#include <QApplication>
#include <QMainWindow>
#include <functional>
#include <map>
#include <typeinfo>
#include <string>
#include <vector>

class QCursor;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TPosition { poDesigned, poScreenCenter, poMainFormCenter };

class TForm : public TControlT<QMainWindow> {
public:
    explicit TForm(const std::string& caption = "");
    ~TForm() override;

    std::string Caption() const;
    void SetCaption(const std::string& s);
    // Controls are placed on the client area, in pixels from its top-left.
    QWidget* Client() const { return client; }
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientSize(int w, int h);
    void SetMenu(TMainMenu* menu);   // the form owns it

    void Show();           // FormShow runs only on hidden -> visible
    void Hide();
    // FormCloseQuery, then FormClose; caHide hides, caFree deletes later. Closing
    // the main form ends the application; closing a modal form cancels it.
    void Close();
    // Shows the form and waits until ModalResult is set (also by assigning the
    // field in a handler) or the form is hidden (mrCancel). When it ends,
    // FormCloseQuery may keep it open; FormClose runs, then the form hides.
    TModalResult ShowModal();
    TModalResult ModalResult = mrNone;
    void SetModalResult(TModalResult r);
    bool InModal() const { return inModal; }
    bool Visible() const { return isVisible(); }
    void SetFormStyle(TFormStyle s);
    TFormStyle FormStyle() const { return formStyle; }
    void SetPosition(TPosition p) { position = p; }
    void SetFixedSize(bool fixed);   // the user cannot resize the window
    // The manual's section of this window: F1 in it asks the application for it.
    std::string HelpKeyword;

    // The close box and Esc take the path of the window's own close button:
    // the one set here, else the button captioned "閉じる", else "キャンセル".
    // Without one (or while it is disabled) the window just closes.
    void SetCloseButton(TButton* b) { closeButton = b; }
    TButton* CloseButton() const;
    // The user's close: the close box or Esc.
    void CloseBox();
    // Esc over the window; a form with nothing to close overrides it.
    virtual void EscapePressed();

    // Handlers a form overrides. FormCreate runs once, from CreateForm.
    virtual void FormCreate(TObject* Sender) {}
    virtual void FormShow(TObject* Sender) {}
    virtual void FormClose(TObject* Sender, TCloseAction& Action) {}
    virtual void FormCloseQuery(TObject* Sender, bool& CanClose) {}
    virtual void FormActivate(TObject* Sender) {}

    // The wheel turned anywhere over the form, before the control under the
    // pointer sees it; a turn marked handled goes no further.
    using TMouseWheelEvent = std::function<void(TObject*, TShiftState, int wheelDelta, TPoint mousePos, bool& handled)>;
    void SetOnMouseWheel(TMouseWheelEvent handler);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    bool closeForm();     // the close handlers; true when the form hid or went
    void endModal();
    void placeOnShow();
    QWidget* client;
    TMainMenu* mainMenu = nullptr;
    TFormStyle formStyle = fsNormal;
    TPosition position = poDesigned;
    bool fixedSize = false;
    bool shownOnce = false;
    bool inModal = false;
    bool wasVisible = false;
    TMouseWheelEvent onMouseWheel;
    TButton* closeButton = nullptr;
};

// The Qt application object the program runs on: an exception escaping any
// event handler is shown in the exception box and the loop goes on.
class TEventApplication : public QApplication {
public:
    TEventApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* e) override;
};

class TApplication : public TObject {
public:
    // Makes a TEventApplication unless a Qt application exists already.
    TApplication(int& argc, char** argv);
    ~TApplication() override;
    std::string Title;
    // Loads Qt's own Japanese texts, so the standard dialogs speak as the program does.
    void Initialize();
    // Builds the form, sets the global variable, then runs its FormCreate.
    template <class T>
    void CreateForm(T*& ref) {
        T* f = new T();
        ref = f;
        forms.push_back(f);
        if (!mainForm) mainForm = f;
        f->FormCreate(f);
        NameControls(f);
        SortTabOrder(f);
        if (f->HelpKeyword.empty()) f->HelpKeyword = HelpKeywordOf(typeid(T).name());
    }
    // Shows the main form and runs the loop until Terminate.
    void Run();
    int MessageBox(const std::string& text, const std::string& caption, int flags);
    // When set, message boxes go here instead of onto the screen (the command
    // line has no one to answer them); its return value is the answer.
    std::function<int(const std::string& text, const std::string& caption, int flags)> MessageSink;
    // The exception box: the exception's text, captioned with Title.
    void ShowException(const std::exception& e);
    // Ends the loop once the current handler has returned.
    void Terminate();
    bool Terminated() const;
    void ProcessMessages();
    TForm* MainForm() const { return mainForm; }
    const std::vector<TForm*>& Forms() const { return forms; }
    // F1 in a form: the form's HelpKeyword is handed here.
    std::function<void(const std::string& keyword)> OnHelp;
    // "TKen" (as the compiler names the class) gives "ken".
    static std::string HelpKeywordOf(const char* typeName);
    void DestroyForms();   // in reverse order of creation
    void FormDestroyed(TForm* f);   // a form deleted elsewhere leaves the list
    QApplication* Qt() const { return qapp; }
    // Runs after the user closed a window (close box, Esc) and it went: what
    // the window armed elsewhere ends with it.
    std::function<void(TForm*)> OnUserClosed;

private:
    QApplication* qapp = nullptr;
    bool ownsApp = false;
    TForm* mainForm = nullptr;
    std::vector<TForm*> forms;
    bool terminated = false;
    QObject* qtTexts = nullptr;   // the loaded Qt translation, owned by qapp
};

extern TApplication* Application;

class TScreen : public TObject {
public:
    TCursor Cursor() const { return cursor; }
    // Over the whole application; crDefault gives each window its own back.
    void SetCursor(TCursor c);
    void RegisterCursor(TCursor n, const QCursor& c);
    bool HasCursor(TCursor n) const;
    QCursor CursorOf(TCursor n) const;   // registered or stock; unknown: arrow
    int Width() const;
    int Height() const;
private:
    TCursor cursor = crDefault;
    std::map<TCursor, QCursor> cursors;
};

TScreen* Screen();

// Message box owned by the application; the answer is IDOK, IDCANCEL, IDYES, ...
inline int MessageBox(const std::string& text, const std::string& caption, int flags) {
    return Application->MessageBox(text, caption, flags);
}
