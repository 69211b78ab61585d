// What the editor tests share: opening a worksheet window as the menus do,
// and runs of line numbers.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/value/value.h"
#include "shell/forms.h"
#include "shell/worksheet_windows.h"

namespace vt::test {

// The window of `code` opened in `mode` ("edit" or "view"), as its form class.
template <class Form>
Form* OpenSheet(const std::string& mode, const std::string& code) {
    gui::Open_Worksheet_Form(mode, code);
    QWidget* w = nullptr;
    EXPECT_TRUE(gui::Is_Form_Loaded((mode == "edit" ? "frmEdit" : "frmView") + code, &w)) << mode << " " << code;
    return dynamic_cast<Form*>(w);
}

// from, from + step, ... up to `to`, each an exact line number.
inline std::vector<double> Range(double from, double to, double step = 1) {
    std::vector<double> v;
    for (int i = 0; from + i * step <= to + 1e-9; ++i) v.push_back(Currency::FromDouble(from + i * step).ToDouble());
    return v;
}

}  // namespace vt::test
