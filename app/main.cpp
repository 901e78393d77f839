// The entry point: the application, its thirty forms and the message loop;
// or, given --render, the map of a project drawn to a file without a window.
#include "forms/AllForms.h"
#include "gui/Forms.h"
#include "forms/CommandLine.h"
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const output::CommandLine command = output::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.kind) {
    case output::CommandLine::Help: std::fputs(output::UsageText().c_str(), stdout); return 0;
    case output::CommandLine::Version: std::fputs(output::VersionText().c_str(), stdout); return 0;
    case output::CommandLine::Error:
        std::fprintf(stderr, "%s\nrovana --help で使い方を表示します\n", command.error.c_str());
        return 2;
    default: break;
    }
    const bool render = command.kind == output::CommandLine::Render;
    // Drawn without a display: the platform has to be chosen before the application exists.
    if (render) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        output::QuietToolkitMessages();
    }

    TApplication app(argc, argv);
    int status = 0;
    // Whatever escapes a handler ends up here and is shown, not lost.
    try {
        Application->Initialize();
        Application->Title = "Rovana9.3";
        InitProgramResources();
        QApplication::setWindowIcon(QIcon(":/MAINICON"));
        if (render) {
            status = output::RunRender(command.render);
        } else {
            CreateAllForms(Application);
            Application->Run();
        }
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
