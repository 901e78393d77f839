// File and colour dialogs, the clipboard and the desktop shell.
#pragma once
#include "gui/Graphics.h"
#include "gui/Types.h"
#include <QStringList>
#include <QWidget>
#include <string>
#include <vector>

namespace gui { class ComponentKeeper; }

// A component made with an owner is deleted with it, as the class library's
// components are; deleting it earlier is fine too.
class QFileDialog;

class TOwnedComponent : public TObject {
public:
    explicit TOwnedComponent(QWidget* owner);
    ~TOwnedComponent() override;
    TOwnedComponent(const TOwnedComponent&) = delete;
    TOwnedComponent& operator=(const TOwnedComponent&) = delete;
private:
    friend class gui::ComponentKeeper;
    gui::ComponentKeeper* keeper = nullptr;
};

class TOpenDialog : public TOwnedComponent {
public:
    explicit TOpenDialog(QWidget* owner = nullptr) : TOwnedComponent(owner), owner(owner) {}
    std::string Filter;        // "説明|*.pnt|..." pairs, as the class library takes them
    int FilterIndex = 1;
    std::string FileName;
    std::string InitialDir;
    std::string DefaultExt;
    std::string Title;
    bool OverwritePrompt = false;   // save dialog: ask before choosing an existing file
    bool MultiSelect = false;       // open dialog: several files may be chosen
    std::vector<std::string> Files; // the chosen files (one unless MultiSelect)
    // False when cancelled. Sets FileName and FilterIndex to the choice.
    virtual bool Execute();
    // Sets up Qt's dialog with this one's title, mode, filters and start.
    void Prepare(QFileDialog& dlg) const;
protected:
    QWidget* owner;
    bool save = false;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(QWidget* owner = nullptr) : TOpenDialog(owner) { save = true; }
};

class TColorDialog : public TOwnedComponent {
public:
    explicit TColorDialog(QWidget* owner = nullptr) : TOwnedComponent(owner), owner(owner) {}
    TColor Color = clBlack;
    bool Execute();   // false when cancelled; Color keeps the choice
private:
    QWidget* owner;
};

// The class library's filter ("Text|*.txt;*.csv|All|*.*") as Qt's name filters;
// a description that already shows its patterns keeps them once.
QStringList QtFileFilters(const std::string& filter);

class TClipboard {
public:
    void Assign(TBitmap* bmp);
    void SetText(const std::string& s);
    std::string Text() const;
    void Clear();
    bool HasBitmap() const;
};
TClipboard* Clipboard();

// Opens a URL, "mailto:" address or local file with the desktop's program.
// Returns more than 32 on success, as the shell does.
int ShellOpen(const std::string& target);
