// Forms, the application object and the screen.
#pragma once
#include "gui/Controls.h"
#include "gui/Types.h"
#include <QMainWindow>
#include <map>
#include <string>
#include <vector>

class QApplication;
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
    void Close();          // FormCloseQuery, then FormClose; caHide hides
    TModalResult ShowModal();
    TModalResult ModalResult = mrNone;
    void SetModalResult(TModalResult r);
    bool Visible() const { return isVisible(); }
    void SetFormStyle(TFormStyle s);
    TFormStyle FormStyle() const { return formStyle; }
    void SetPosition(TPosition p) { position = p; }
    void SetFixedSize(bool fixed) { fixedSize = fixed; }

    // Handlers a form overrides. FormCreate runs once, from CreateForm.
    virtual void FormCreate(TObject* Sender) {}
    virtual void FormShow(TObject* Sender) {}
    virtual void FormClose(TObject* Sender, TCloseAction& Action) {}
    virtual void FormCloseQuery(TObject* Sender, bool& CanClose) {}
    virtual void FormActivate(TObject* Sender) {}

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    QWidget* client;
    TMainMenu* mainMenu = nullptr;
    TFormStyle formStyle = fsNormal;
    TPosition position = poDesigned;
    bool fixedSize = false;
    bool shownOnce = false;
    bool inModal = false;
    bool wasVisible = false;
};

class TApplication : public TObject {
public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;
    std::string Title;
    void Initialize() {}
    // Builds the form, sets the global variable, then runs its FormCreate.
    template <class T>
    void CreateForm(T*& ref) {
        T* f = new T();
        ref = f;
        forms.push_back(f);
        if (!mainForm) mainForm = f;
        f->FormCreate(f);
    }
    void Run();
    int MessageBox(const std::string& text, const std::string& caption, int flags);
    void ShowException(const std::exception& e);
    void Terminate();
    bool Terminated() const { return terminated; }
    void ProcessMessages();
    TForm* MainForm() const { return mainForm; }
    const std::vector<TForm*>& Forms() const { return forms; }
    void DestroyForms();   // in reverse order of creation
    QApplication* Qt() const { return qapp; }

private:
    QApplication* qapp = nullptr;
    bool ownsApp = false;
    TForm* mainForm = nullptr;
    std::vector<TForm*> forms;
    bool terminated = false;
};

extern TApplication* Application;

class TScreen : public TObject {
public:
    TCursor Cursor() const { return cursor; }
    void SetCursor(TCursor c);
    void RegisterCursor(TCursor n, const QCursor& c);
    bool HasCursor(TCursor n) const;
    QCursor CursorOf(TCursor n) const;
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
