#include "gui/PrintDialog.h"
#include "gui/Testing.h"
#include <QFormLayout>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>

namespace {

// Under test: print to the scripted PDF file, or cancel.
bool TakeScriptedPrinter(QPrinter& printer) {
    std::optional<std::string> name;
    if (!gui::testing::TakeFileName(name) || !name) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(*name));
    return true;
}

} // namespace

bool TPrintDialog::Execute() {
    if (gui::testing::Enabled()) return TakeScriptedPrinter(printer);
    QPrintDialog dialog(&printer, owner);
    auto* options = new QWidget;
    options->setWindowTitle("地図");
    auto* form = new QFormLayout(options);
    auto* title = new QLineEdit(QString::fromStdString(Title));
    form->addRow("表題", title);
    dialog.setOptionTabs({options});
    if (dialog.exec() != QDialog::Accepted) return false;
    Title = title->text().toStdString();
    return true;
}

void TPrintDialog::Preview(const std::function<void(QPrinter*)>& paint) {
    if (gui::testing::Enabled()) {
        if (TakeScriptedPrinter(printer)) paint(&printer);
        return;
    }
    QPrintPreviewDialog dialog(&printer, owner);
    dialog.setWindowTitle("印刷プレビュー");
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter* p) { paint(p); });
    dialog.exec();
}
