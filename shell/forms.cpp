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

int Form_Count() {
    Prune();
    return static_cast<int>(List().size());
}

QWidget* Form_At(int index) {
    Prune();
    auto& l = List();
    return index >= 0 && index < static_cast<int>(l.size()) ? l[static_cast<size_t>(index)].data() : nullptr;
}

int Form_Index(const QWidget* form) {
    Prune();
    auto& l = List();
    for (size_t i = 0; i < l.size(); ++i)
        if (form && l[i] == form) return static_cast<int>(i);
    return -1;
}

QWidget* Main_Form() { return List()[0].data(); }

void Form_Loaded(QWidget* form) {
    if (Form_Index(form) < 0) List().emplace_back(form);
}

void Main_Form_Loaded(QWidget* form) { List()[0] = form; }

void Form_Unloaded(QWidget* form) {
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

bool Unload_Form(QWidget* form) {
    if (!form) return true;
    const QPointer<QWidget> guard(form);
    if (!form->close()) return false;
    if (guard) Form_Unloaded(form);
    return true;
}

bool Is_Form_Loaded(const std::string& name, QWidget** form) {
    const int n = Form_Count();
    for (int i = 0; i < n; ++i) {
        QWidget* w = Form_At(i);
        if (w && Upper(w->objectName().toStdString()) == Upper(name)) {
            if (form) *form = w;
            return true;
        }
    }
    return false;
}

}  // namespace vt::gui
