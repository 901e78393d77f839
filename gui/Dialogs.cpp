// File and colour dialogs, the clipboard and the desktop shell.
#include "gui/Dialogs.h"
#include "gui/Testing.h"
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <utility>

static QString Q(const std::string& s) { return QString::fromStdString(s); }

namespace gui {
// A child of the owner that takes its component along when the owner goes.
class ComponentKeeper : public QObject {
public:
    ComponentKeeper(QObject* owner, TOwnedComponent* c) : QObject(owner), component(c) {}
    ~ComponentKeeper() override {
        if (TOwnedComponent* c = std::exchange(component, nullptr)) {
            c->keeper = nullptr;
            delete c;
        }
    }
    TOwnedComponent* component;
};
} // namespace gui

TOwnedComponent::TOwnedComponent(QWidget* owner) {
    if (owner) keeper = new gui::ComponentKeeper(owner, this);
}

TOwnedComponent::~TOwnedComponent() {
    if (keeper) {
        keeper->component = nullptr;
        delete keeper;
    }
}

// "Text|*.txt;*.csv|All|*.*" -> {"Text (*.txt *.csv)", "All (*)"}
QStringList QtFileFilters(const std::string& filter) {
    QStringList parts = Q(filter).split(QChar('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QChar(';'), Qt::SkipEmptyParts);
        for (auto& p : patterns) {
            p = p.trimmed();
            if (p == "*.*") p = "*";
        }
        QString label = parts[i].trimmed();
        // "PNGファイル(*.png)": Qt reads the patterns out of the last brackets,
        // so those must be the real ones, and shown only once.
        if (label.endsWith(QChar(')'))) {
            const qsizetype open = label.lastIndexOf(QChar('('));
            if (open >= 0) label = label.left(open).trimmed();
        }
        out << label + " (" + patterns.join(QChar(' ')) + ")";
    }
    return out;
}

void TOpenDialog::Prepare(QFileDialog& dlg) const {
    if (!Title.empty()) dlg.setWindowTitle(Q(Title));   // else Qt's own, in Japanese
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (save && !OverwritePrompt) dlg.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList filters = QtFileFilters(Filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        if (FilterIndex >= 1 && FilterIndex <= filters.size()) dlg.selectNameFilter(filters[FilterIndex - 1]);
    }
    if (!DefaultExt.empty()) {
        std::string ext = DefaultExt[0] == '.' ? DefaultExt.substr(1) : DefaultExt;
        dlg.setDefaultSuffix(Q(ext));
    }
    QString start = Q(InitialDir);
    if (!FileName.empty()) {
        QFileInfo fi(Q(FileName));
        if (fi.isAbsolute() || start.isEmpty()) start = fi.absolutePath();
        dlg.selectFile(fi.fileName());
    }
    if (!start.isEmpty()) dlg.setDirectory(start);
}

bool TOpenDialog::Execute() {
    if (gui::testing::Enabled()) {
        std::optional<std::string> name;
        if (!gui::testing::TakeFileName(name) || !name) return false;
        // A scripted multiple choice gives its names one per line.
        Files.clear();
        QStringList parts = Q(*name).split(QChar('\n'), Qt::SkipEmptyParts);
        if (!MultiSelect && parts.size() > 1) parts = parts.mid(0, 1);
        for (const QString& f : parts) Files.push_back(f.toStdString());
        FileName = Files.empty() ? *name : Files.front();
        return true;
    }
    QFileDialog dlg(owner);
    Prepare(dlg);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    FileName = dlg.selectedFiles().first().toStdString();
    Files.clear();
    for (const QString& f : dlg.selectedFiles()) Files.push_back(f.toStdString());
    int chosen = dlg.nameFilters().indexOf(dlg.selectedNameFilter());
    if (chosen >= 0) FilterIndex = chosen + 1;
    return true;
}

bool TColorDialog::Execute() {
    if (gui::testing::Enabled()) {
        std::optional<TColor> c;
        if (!gui::testing::TakeColor(c) || !c) return false;
        Color = *c;
        return true;
    }
    QColor c = QColorDialog::getColor(ToQColor(Color), owner);
    if (!c.isValid()) return false;
    Color = FromQColor(c);
    return true;
}

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}

void TClipboard::Assign(TBitmap* bmp) {
    if (gui::testing::Enabled()) {
        gui::testing::ClipboardImage() = bmp->Image().copy();
        gui::testing::ClipboardText().clear();
        return;
    }
    QGuiApplication::clipboard()->setImage(bmp->Image());
}

void TClipboard::SetText(const std::string& s) {
    if (gui::testing::Enabled()) {
        gui::testing::ClipboardText() = s;
        gui::testing::ClipboardImage() = QImage();
        return;
    }
    QGuiApplication::clipboard()->setText(Q(s));
}

std::string TClipboard::Text() const {
    if (gui::testing::Enabled()) return gui::testing::ClipboardText();
    return QGuiApplication::clipboard()->text().toStdString();
}

void TClipboard::Clear() {
    if (gui::testing::Enabled()) {
        gui::testing::ClipboardText().clear();
        gui::testing::ClipboardImage() = QImage();
        return;
    }
    QGuiApplication::clipboard()->clear();
}

bool TClipboard::HasBitmap() const {
    if (gui::testing::Enabled()) return !gui::testing::ClipboardImage().isNull();
    const QMimeData* d = QGuiApplication::clipboard()->mimeData();
    return d && d->hasImage();
}

int ShellOpen(const std::string& target) {
    if (gui::testing::Enabled()) {
        gui::testing::ShellOpens().push_back(target);
        return gui::testing::ShellOpenResult();
    }
    QString t = Q(target);
    QUrl url;
    const int hash = t.lastIndexOf('#');
    if (t.contains("://") || t.startsWith("mailto:", Qt::CaseInsensitive)) {
        url = QUrl(t);
    } else if (hash > 0 && !QFileInfo::exists(t) && QFileInfo::exists(t.left(hash))) {
        // A page of a local file: the part after '#' is the place in it.
        url = QUrl::fromLocalFile(QFileInfo(t.left(hash)).absoluteFilePath());
        url.setFragment(t.mid(hash + 1));
    } else {
        url = QUrl::fromLocalFile(QFileInfo(t).absoluteFilePath());
    }
    return QDesktopServices::openUrl(url) ? 42 : 2;
}
