// Start-up: the thirty forms made as the entry point makes them, the main
// window shown and painted once, against a plain window of Qt with the same
// number of child widgets shown and painted. Also printed: the time from the
// start of the process to the first painted main window.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

// Counts the paints of one window.
class Painted : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++count;
        return false;
    }
};

// Until the window has been painted once.
void ShowAndPaint(QWidget* w) {
    Painted p;
    w->installEventFilter(&p);
    w->show();
    QElapsedTimer t;
    t.start();
    while (p.count == 0 && t.elapsed() < 5000) QApplication::processEvents();
    w->removeEventFilter(&p);
}

int childWidgets = 0;

void StartUp(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        DestroyAllForms();
        QApplication::processEvents();
        state.ResumeTiming();
        CreateAllForms(Application);
        ShowAndPaint(Open);
    }
}

void PlainWindow(benchmark::State& state) {
    for (auto _ : state) {
        QMainWindow w;
        auto* c = new QWidget(&w);
        w.setCentralWidget(c);
        for (int i = 0; i < childWidgets; ++i) new QLabel("あ", c);
        ShowAndPaint(&w);
    }
}

// Milliseconds since the process started, from the kernel's record of it.
double SinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string field;
    for (int i = 0; i < 22 && stat >> field; ++i) {
    }
    std::ifstream up("/proc/uptime");
    double uptime = 0;
    up >> uptime;
    return (uptime - std::stod(field) / double(sysconf(_SC_CLK_TCK))) * 1000;
}

BENCHMARK(StartUp)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-startup", false);
    ShowAndPaint(Open);
    std::printf("first painted main window %.0f ms after the process started\n", SinceProcessStart());
    childWidgets = int(Open->findChildren<QWidget*>().size());
    return benchutil::Main(argc, argv, {{"StartUp", "PlainWindow"}});
}
