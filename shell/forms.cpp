#include "shell/forms.h"

#include <QPointer>
#include <QWidget>

#include <vector>

#include "shell/text.h"

namespace vt::gui {
namespace {

std::vector<QPointer<QWidget>>& List() {
    static std::vector<QPointer<QWidget>> list(1);
    return list;
}

// A window deleted without being unloaded leaves the list too.
void Prune() {
    auto& l = List();
    for (size_t i = l.size(); i-- > 1;)
        if (!l[i]) l.erase(l.begin() + static_cast<std::ptrdiff_t>(i));
}

}  // namespace

int FormCount() {
    Prune();
    return static_cast<int>(List().size());
}

QWidget* FormAt(int index) {
    Prune();
    auto& l = List();
    return index >= 0 && index < static_cast<int>(l.size()) ? l[static_cast<size_t>(index)].data() : nullptr;
}

int FormIndex(const QWidget* form) {
    Prune();
    auto& l = List();
    for (size_t i = 0; i < l.size(); ++i)
        if (form && l[i] == form) return static_cast<int>(i);
    return -1;
}

QWidget* MainForm() { return List()[0].data(); }

void FormLoaded(QWidget* form) {
    if (FormIndex(form) < 0) List().emplace_back(form);
}

void MainFormLoaded(QWidget* form) { List()[0] = form; }

void FormUnloaded(QWidget* form) {
    auto& l = List();
    if (l[0] == form) {
        l[0] = nullptr;
        return;
    }
    for (size_t i = 1; i < l.size(); ++i)
        if (l[i] == form) {
            l.erase(l.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
}

bool UnloadForm(QWidget* form) {
    if (!form) return true;
    const QPointer<QWidget> guard(form);
    if (!form->close()) return false;
    if (guard) FormUnloaded(form);
    return true;
}

bool Is_Form_Loaded(const std::string& name, QWidget** form) {
    const int n = FormCount();
    for (int i = 0; i < n; ++i) {
        QWidget* w = FormAt(i);
        if (w && Upper(w->objectName().toStdString()) == Upper(name)) {
            if (form) *form = w;
            return true;
        }
    }
    return false;
}

}  // namespace vt::gui
