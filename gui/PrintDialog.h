// The desktop's print dialog and print preview, with the map's title on a
// tab of the print dialog.
#pragma once
#include "gui/Dialogs.h"
#include <QPrinter>
#include <functional>
#include <string>

class TPrintDialog : public TOwnedComponent {
public:
    explicit TPrintDialog(QWidget* owner = nullptr) : TOwnedComponent(owner), owner(owner) {}
    // Kept between prints, so paper, margins and orientation stay as chosen.
    QPrinter* Printer() { return &printer; }
    std::string Title;      // "表題": the page's title when not empty (the credit line is always printed)
    // False when cancelled. Under test the next scripted file name is the PDF
    // file printed to, and none is a cancel.
    bool Execute();
    // Shows paint's pages; the preview's own print button prints through paint too.
    void Preview(const std::function<void(QPrinter*)>& paint);

private:
    QWidget* owner;
    QPrinter printer{QPrinter::HighResolution};
};
