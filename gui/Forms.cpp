// Forms, the application object and the screen.
#include "gui/Forms.h"
#include <clocale>
#include "gui/Testing.h"
#include <QCloseEvent>
#include <QKeyEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QTranslator>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cctype>
#include <stdexcept>

TApplication* Application = nullptr;

static QString Q(const std::string& s) { return QString::fromStdString(s); }

// ---- form ----

TForm::TForm(const std::string& caption) : TControlT<QMainWindow>(nullptr), client(new QWidget) {
    setCentralWidget(client);
    SetCaption(caption);
}

TForm::~TForm() {
    delete mainMenu;
    if (Application) Application->FormDestroyed(this);
}

std::string TForm::Caption() const { return windowTitle().toStdString(); }
void TForm::SetCaption(const std::string& s) { setWindowTitle(Q(s)); }

static int MenuHeight(const QMainWindow* w, bool hasMenu) {
    return hasMenu ? w->menuBar()->sizeHint().height() : 0;
}

int TForm::ClientWidth() const { return width(); }
int TForm::ClientHeight() const { return height() - MenuHeight(this, mainMenu); }

void TForm::SetClientSize(int w, int h) {
    int total = h + MenuHeight(this, mainMenu);
    if (fixedSize)
        setFixedSize(w, total);
    else
        resize(w, total);
}

void TForm::SetFixedSize(bool fixed) {
    fixedSize = fixed;
    if (fixed)
        setFixedSize(size());
    else {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

void TForm::SetMenu(TMainMenu* menu) {
    if (menu == mainMenu) return;
    int h = ClientHeight();
    delete mainMenu;
    menuBar()->clear();
    mainMenu = menu;
    if (mainMenu) mainMenu->AttachTo(menuBar());
    SetClientSize(width(), h);   // the client area keeps its size
}

void TForm::SetFormStyle(TFormStyle s) {
    formStyle = s;
    bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, s == fsStayOnTop);
    if (shown) {
        // Changing the flags hides the window; showing it again is no new show.
        wasVisible = true;
        setVisible(true);
    }
}

void TForm::placeOnShow() {
    QRect area;
    if (position == poScreenCenter) {
        if (QScreen* sc = screen() ? screen() : QGuiApplication::primaryScreen()) area = sc->availableGeometry();
    } else if (position == poMainFormCenter) {
        TForm* m = Application ? Application->MainForm() : nullptr;
        if (m && m != this && m->isVisible()) area = m->frameGeometry();
        else if (QScreen* sc = QGuiApplication::primaryScreen()) area = sc->availableGeometry();
    }
    if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
}

void TForm::Show() {
    if (!isVisible()) {
        placeOnShow();
        setVisible(true);
    }
    raise();
    activateWindow();
}

void TForm::Hide() { setVisible(false); }

void TForm::SetOnMouseWheel(TMouseWheelEvent handler) {
    if (!onMouseWheel && handler) qApp->installEventFilter(this);
    onMouseWheel = std::move(handler);
}

// Qt hands an unaccepted wheel turn up the parents, so the filter may see one
// turn several times: a handler that leaves it unhandled must do nothing.
bool TForm::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::Wheel || !onMouseWheel) return QMainWindow::eventFilter(watched, e);
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) return QMainWindow::eventFilter(watched, e);
    auto* we = static_cast<QWheelEvent*>(e);
    QPoint delta = we->angleDelta();
    bool handled = false;
    const QPoint g = we->globalPosition().toPoint();
    onMouseWheel(this, ShiftOf(we->modifiers(), we->buttons()), delta.y() != 0 ? delta.y() : delta.x(),
                 TPoint(g.x(), g.y()), handled);
    return handled;
}

// The button Enter stands for: the focused button itself, else the default
// button nearest to the focus (its group first, then the groups around it).
static QPushButton* EnterButton(TForm* window) {
    QWidget* focus = window->focusWidget();
    if (auto* b = qobject_cast<QPushButton*>(focus); b && b->isEnabled()) return b;
    for (QWidget* w = focus ? focus : window->Client(); w; w = w->parentWidget()) {
        for (auto* b : w->findChildren<TButton*>(Qt::FindDirectChildrenOnly))
            if (b->isDefault() && b->isEnabled() && b->isVisibleTo(window)) return b;
        if (w == window) break;
    }
    return nullptr;
}

std::string TApplication::HelpKeywordOf(const char* typeName) {
    std::string s = typeName;
    size_t i = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;   // the mangled length
    if (i < s.size() && s[i] == 'T') ++i;
    std::string k;
    for (; i < s.size(); ++i) k += char(std::tolower(static_cast<unsigned char>(s[i])));
    return k;
}

void TForm::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        e->accept();
        EscapePressed();
        return;
    }
    if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier && Application && Application->OnHelp) {
        Application->OnHelp(HelpKeyword);
        e->accept();
        return;
    }
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && !(e->modifiers() & ~Qt::KeypadModifier)) {
        if (QPushButton* b = EnterButton(this)) {
            b->click();
            e->accept();
            return;
        }
    }
    QMainWindow::keyPressEvent(e);
}

void TForm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (e->spontaneous() || wasVisible) return;   // restored from the task bar: not a new show
    wasVisible = true;
    shownOnce = true;
    FormShow(this);
}

void TForm::hideEvent(QHideEvent* e) {
    QMainWindow::hideEvent(e);
    if (!e->spontaneous()) wasVisible = false;
}

void TForm::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate(this);
}

bool TForm::closeForm() {
    bool canClose = true;
    FormCloseQuery(this, canClose);
    if (!canClose) return false;
    TCloseAction action = caHide;
    FormClose(this, action);
    if (action == caNone) return false;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return false;   // the main window stays until the loop ends
    }
    switch (action) {
    case caMinimize: showMinimized(); return false;
    case caFree:
        hide();
        deleteLater();
        return true;
    default: hide(); return true;
    }
}

void TForm::Close() {
    if (inModal) {
        ModalResult = mrCancel;
        return;
    }
    closeForm();
}

void TForm::closeEvent(QCloseEvent* e) {
    // The handlers decide; the window is hidden (or kept) by closeForm itself.
    e->ignore();
    CloseBox();
}

// Spaces inside a caption ("閉 じ る", " 閉じる") do not change what it says.
static std::string Squeezed(std::string s) {
    for (const std::string blank : {" ", "　"})
        for (size_t at; (at = s.find(blank)) != std::string::npos;) s.erase(at, blank.size());
    return s;
}

TButton* TForm::CloseButton() const {
    if (closeButton) return closeButton;
    const QList<QPushButton*> all = findChildren<QPushButton*>();
    for (const char* caption : {"閉じる", "キャンセル"})
        for (QPushButton* p : all)
            if (auto* b = dynamic_cast<TButton*>(p); b && Squeezed(b->Caption()) == caption) return b;
    return nullptr;
}

void TForm::CloseBox() {
    if (Application && Application->MainForm() == this) {
        Close();
        return;
    }
    TButton* b = CloseButton();
    if (b && b->isEnabled())
        b->Click();
    else
        Close();
    if (!isVisible() && Application && Application->OnUserClosed) Application->OnUserClosed(this);
}

void TForm::EscapePressed() {
    if (Application && Application->MainForm() == this) return;
    CloseBox();
}

// Esc reaches the window when the control with the focus has no use for it.

void TForm::SetModalResult(TModalResult r) { ModalResult = r; }

// The end of a modal show: the close handlers may keep the form open (ModalResult
// back to mrNone), except when the application ends, the form was hidden, or
// under test, where nothing would ever close it.
void TForm::endModal() {
    if (Application && Application->Terminated()) return;
    bool mayKeep = isVisible() && !gui::testing::Enabled();
    bool canClose = true;
    FormCloseQuery(this, canClose);
    TCloseAction action = caNone;
    if (canClose) {
        action = caHide;
        FormClose(this, action);
    }
    if (action == caNone && mayKeep) ModalResult = mrNone;
}

TModalResult TForm::ShowModal() {
    ModalResult = mrNone;
    inModal = true;
    bool wasHidden = isHidden();
    if (gui::testing::Enabled()) {
        Show();
        auto& handler = gui::testing::ShowModalHandler();
        TModalResult r = handler ? handler(this) : mrCancel;
        if (r == mrNone) r = ModalResult != mrNone ? ModalResult : mrCancel;
        ModalResult = r;
        endModal();
        ModalResult = r;
    } else {
        if (wasHidden) setWindowModality(Qt::ApplicationModal);   // only while hidden
        Show();
        // The field is checked after every batch of events, so a handler may
        // simply assign ModalResult.
        do {
            while (ModalResult == mrNone && isVisible() && !(Application && Application->Terminated()))
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (ModalResult == mrNone) ModalResult = mrCancel;
            endModal();
        } while (ModalResult == mrNone);
    }
    inModal = false;
    hide();
    if (wasHidden) setWindowModality(Qt::NonModal);
    return ModalResult;
}

// ---- application ----

bool TEventApplication::notify(QObject* receiver, QEvent* e) {
    try {
        return QApplication::notify(receiver, e);
    } catch (const std::exception& ex) {
        if (Application)
            Application->ShowException(ex);
        else
            qWarning("exception in an event handler: %s", ex.what());
    } catch (...) {
        if (Application) Application->ShowException(std::runtime_error("unknown exception"));
    }
    return false;
}

TApplication::TApplication(int& argc, char** argv) {
    qapp = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!qapp) {
        qapp = new TEventApplication(argc, argv);
        ownsApp = true;
    }
    // The main form's closing ends the program, not the last window.
    qapp->setQuitOnLastWindowClosed(false);
    // Qt takes the user's locale; the data files want '.' as the decimal point.
    setlocale(LC_NUMERIC, "C");
    Application = this;
}

void TApplication::Initialize() {
    // Japanese whatever the desktop's locale: every other word of the program is.
    if (qtTexts) return;
    auto* t = new QTranslator(qapp);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (t->load(QStringLiteral("qt_ja"), dir) || t->load(QStringLiteral("qtbase_ja"), dir)) {
        QCoreApplication::installTranslator(t);
        qtTexts = t;
    } else {
        delete t;
    }
}

TApplication::~TApplication() {
    DestroyForms();
    if (Application == this) Application = nullptr;
    if (ownsApp) delete qapp;
}

void TApplication::Run() {
    if (Terminated()) return;
    if (mainForm) mainForm->Show();
    if (dynamic_cast<TEventApplication*>(qapp)) {
        qapp->exec();
        return;
    }
    // A plain Qt application: an exception leaves exec(); show it and go on.
    while (!Terminated()) {
        try {
            qapp->exec();
            return;
        } catch (const std::exception& e) {
            ShowException(e);
        }
    }
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, int flags) {
    if (MessageSink) return MessageSink(text, caption, flags);
    if (gui::testing::Enabled()) {
        int answer = IDOK;
        gui::testing::TakeAnswer(answer);
        gui::testing::Messages().push_back({text, caption, flags, answer});
        return answer;
    }
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(Q(caption));
    box.setText(Q(text));
    switch (flags & 0xF0) {
    case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    struct Choice { QMessageBox::StandardButton button; int id; };
    std::vector<Choice> choices;
    switch (flags & 0x0F) {
    case MB_OKCANCEL: choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MB_YESNO: choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
    case MB_YESNOCANCEL:
        choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    default: choices = {{QMessageBox::Ok, IDOK}}; break;
    }
    QMessageBox::StandardButtons buttons;
    for (auto& c : choices) buttons |= c.button;
    box.setStandardButtons(buttons);
    size_t def = (flags & MB_DEFBUTTON2) && choices.size() > 1 ? 1 : 0;
    box.setDefaultButton(choices[def].button);
    if (choices.back().id == IDCANCEL || choices.size() == 1) box.setEscapeButton(choices.back().button);
    box.exec();
    auto* clicked = box.clickedButton();
    for (auto& c : choices)
        if (clicked == box.button(c.button)) return c.id;
    return choices.back().id;
}

void TApplication::ShowException(const std::exception& e) {
    if (MessageSink) {
        MessageSink(e.what(), Title, MB_OK | MB_ICONERROR);
        return;
    }
    if (gui::testing::Enabled()) {
        gui::testing::Messages().push_back({e.what(), Title, MB_OK | MB_ICONERROR, IDOK});
        return;
    }
    QMessageBox box(QMessageBox::Critical, Q(Title), QString::fromUtf8(e.what()), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void TApplication::Terminate() {
    if (gui::testing::Enabled()) {
        gui::testing::Terminated() = true;
        return;
    }
    terminated = true;
    // After the current handler: QCoreApplication::exit ends every running loop.
    QMetaObject::invokeMethod(qapp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

bool TApplication::Terminated() const {
    // Under test the flag is the test hooks', so each test starts afresh.
    return gui::testing::Enabled() ? gui::testing::Terminated() : terminated;
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(); }

void TApplication::DestroyForms() {
    std::vector<TForm*> all;
    all.swap(forms);
    mainForm = nullptr;
    for (auto it = all.rbegin(); it != all.rend(); ++it) delete *it;
}

void TApplication::FormDestroyed(TForm* f) {
    forms.erase(std::remove(forms.begin(), forms.end(), f), forms.end());
    if (mainForm == f) mainForm = nullptr;
}

// ---- screen ----

TScreen* Screen() {
    static TScreen* screen = new TScreen;   // lives as long as the program; cursors outlive no Qt
    return screen;
}

QCursor TScreen::CursorOf(TCursor n) const {
    auto it = cursors.find(n);
    if (it != cursors.end()) return it->second;
    switch (n) {
    case crCross: return QCursor(Qt::CrossCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crHourGlass: return QCursor(Qt::WaitCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    case crSizeAll: return QCursor(Qt::SizeAllCursor);
    case crDrag: return QCursor(Qt::DragMoveCursor);
    default: return QCursor(Qt::ArrowCursor);
    }
}

void TScreen::SetCursor(TCursor c) {
    if (c == cursor) return;
    bool had = cursor != crDefault;
    cursor = c;
    if (c == crDefault) {
        if (had) QApplication::restoreOverrideCursor();
    } else if (had) {
        QApplication::changeOverrideCursor(CursorOf(c));
    } else {
        QApplication::setOverrideCursor(CursorOf(c));
    }
}

void TScreen::RegisterCursor(TCursor n, const QCursor& c) { cursors[n] = c; }
bool TScreen::HasCursor(TCursor n) const { return cursors.count(n) > 0; }

int TScreen::Width() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::Height() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}
