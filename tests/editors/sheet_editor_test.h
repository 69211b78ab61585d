// What the editor tests share: a worksheet window opened through the loader
// (its table built first when the test report lacks it), a table's rows as
// one text, and the picture of an editor.
#pragma once

#include <QApplication>
#include <QDir>

#include "shell/forms.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/gui_support/gui_test.h"

namespace vt::test {

class SheetEditorTest : public WindowTest {
protected:
    template <class Form = gui::WorksheetWindow>
    Form* Open(const char* mode, const std::string& code, const std::string& formName) {
        gui::Open_Worksheet_Form(mode, code);
        QWidget* w = nullptr;
        EXPECT_TRUE(gui::Is_Form_Loaded(formName, &w)) << formName;
        return dynamic_cast<Form*>(w);
    }
    static void Need(const char* table, void (*build)()) {
        if (!Table_Exists(table)) build();
    }
    // "key:field,field;" per row.
    std::string Rows(const std::string& select) {
        std::string all;
        auto rs = db().OpenRecordset(select);
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext(), all += ";")
            for (int f = 0; f < rs.FieldCount(); ++f) all += (f > 1 ? "," : f ? ":" : "") + rs.Field(f).ToText();
        return all;
    }
    static int RowOf(gui::WorksheetWindow* w, const char* key, double line) {
        return w->grd->Data().FindFirst(key, db::FindOp::Eq, Value(Currency::FromDouble(line)));
    }
    // The editor as a person sees it, headings wrapped in the real font.
    void Picture(const std::string& code, const std::string& formName) {
        gui::Install_Heading_Measurer(nullptr);
        QWidget* w = Open("edit", code, formName);
        ASSERT_NE(w, nullptr);
        QApplication::processEvents();
        const QDir dir(QDir(VT_BUILD_DIR).filePath("screenshots"));
        QDir().mkpath(dir.path());
        EXPECT_TRUE(w->grab().save(dir.filePath(QString::fromStdString(formName) + ".png")));
    }
};

}  // namespace vt::test
