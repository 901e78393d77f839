// The entry point: the application, its thirty forms and the message loop.
#include "forms/AllForms.h"
#include "gui/Forms.h"
#include <QApplication>
#include <QIcon>
#include <exception>
#include <stdexcept>

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    int status = 0;
    // Whatever escapes a handler ends up here and is shown, not lost.
    try {
        Application->Initialize();
        Application->Title = "Rovana9.3";
        InitProgramResources();
        QApplication::setWindowIcon(QIcon(":/MAINICON"));
        CreateAllForms(Application);
        Application->Run();
    } catch (const std::exception& e) {
        Application->ShowException(e);
        status = 1;
    } catch (...) {
        Application->ShowException(std::runtime_error("不明な例外が発生しました"));
        status = 1;
    }
    DestroyAllForms();
    return status;
}
