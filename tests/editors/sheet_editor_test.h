// What the editor tests share: worksheet windows opened through the loader
// (a table built first when the test report lacks it), rows found by key, a
// table's rows as one text, the panes' shown columns, and pictures.
#pragma once

#include <QApplication>
#include <QDir>

#include "editors/edit_form.h"
#include "shell/forms.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/gui_support/gui_test.h"
#include "tests/support/db_checks.h"

namespace vt::test {

class SheetEditorTest : public WindowTest {
protected:
    // The window of `code` in `mode` ("edit" or "view"), opened or brought up.
    template <class Form = gui::WorksheetWindow>
    Form* Open(const std::string& mode, const std::string& code) {
        gui::Open_Worksheet_Form(mode, code);
        QWidget* w = nullptr;
        EXPECT_TRUE(gui::Is_Form_Loaded((mode == "edit" ? "frmEdit" : "frmView") + code, &w)) << mode << " " << code;
        return dynamic_cast<Form*>(w);
    }
    template <class Form = gui::EditForm>
    Form* Edit(const std::string& code) { return Open<Form>("edit", code); }
    gui::WorksheetWindow* View(const std::string& code) { return Open("view", code); }
    // The window already loaded under a name, as it stands.
    template <class Form = gui::EditForm>
    static Form* Loaded(const std::string& name) {
        QWidget* w = nullptr;
        return gui::Is_Form_Loaded(name, &w) ? dynamic_cast<Form*>(w) : nullptr;
    }
    static void Need(const char* table, void (*build)()) {
        if (!Table_Exists(table)) build();
    }
    // "key:field,field;" per row.
    std::string Keyed(const std::string& select) {
        std::string all;
        auto rs = db().OpenRecordset(select);
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext(), all += ";")
            for (int f = 0; f < rs.FieldCount(); ++f) all += (f > 1 ? "," : f ? ":" : "") + rs.Field(f).ToText();
        return all;
    }
    static int RowOf(gui::WorksheetWindow* w, const std::string& key, double line) {
        return w->grd->Data().FindFirst(key, db::FindOp::Eq, Value(Currency::FromDouble(line)));
    }
    static std::vector<int> Shown(grid::Grid& g, int split) {
        std::vector<int> cols;
        for (int c = 0; c < g.ColumnCount(); ++c)
            if (g.Splits(split).Columns(c).Visible()) cols.push_back(c);
        return cols;
    }
    // Each editor as a person sees it, headings wrapped in the real font.
    void Pictures(const std::vector<std::string>& codes) {
        gui::InstallHeadingMeasurer(nullptr);
        const QDir dir(QDir(VT_BUILD_DIR).filePath("screenshots"));
        QDir().mkpath(dir.path());
        for (const auto& code : codes) {
            QWidget* w = Open<QWidget>("edit", code);
            ASSERT_NE(w, nullptr) << code;
            QApplication::processEvents();
            EXPECT_TRUE(w->grab().save(dir.filePath(QString::fromStdString("frmEdit" + code + ".png")))) << code;
        }
    }
};

}  // namespace vt::test
