// Shared ground of the shell's engine tests: a fresh report, a user interface
// that also records what the shell does to the main window, and readers of
// table Error.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "store/report.h"
#include "tests/support/crf_fixture.h"
#include "tests/support/db_checks.h"

namespace vt::test {

inline Value Day(int y, int m, int d) { return Value(*DateTime::FromParts(y, m, d)); }

// Passes everything on to the fixture's scripted interface and keeps, in
// order, what the shell did to the main window: pointer, menus, status line,
// refresh and the findings window.
class ShellUi : public ui::UserInterface {
public:
    explicit ShellUi(ui::UserInterface& inner) : inner_(inner) { ui::InstallUi(this); }
    ~ShellUi() override { ui::InstallUi(&inner_); }

    int MessageBox(const std::string& p, int s, const std::string& t) override {
        log.push_back("message " + p);
        return inner_.MessageBox(p, s, t);
    }
    void Beep() override { inner_.Beep(); }
    void SetStatus(const std::string& text, bool visible) override {
        log.push_back(visible ? "status [" + text + "]" : "status hidden");
        inner_.SetStatus(text, visible);
    }
    void SetBusy(bool busy) override {
        log.push_back(busy ? "busy" : "idle");
        inner_.SetBusy(busy);
    }
    void DoEvents() override {
        if (onEvents) onEvents();
    }
    std::optional<ui::FileChoice> ChooseSaveFile(const ui::FileRequest& r) override { return inner_.ChooseSaveFile(r); }
    std::optional<ui::FileChoice> ChooseOpenFile(const ui::FileRequest& r) override { return inner_.ChooseOpenFile(r); }
    void RefreshWorksheetWindows() override { log.push_back("refresh"); }
    void ShowReportOpened(const std::string& c, const std::string& p) override { inner_.ShowReportOpened(c, p); }
    void HideNewReportDialog() override { inner_.HideNewReportDialog(); }
    void SetMenusEnabled(bool enabled) override { log.push_back(enabled ? "menus on" : "menus off"); }
    void ShowEditCheckResults() override { log.push_back("findings window"); }

    std::vector<std::string> log;
    std::function<void()> onEvents;  // runs at every yield to the event loop

private:
    ui::UserInterface& inner_;
};

class ShellTest : public CrfTest {
protected:
    void Exec(const std::string& sql, const std::vector<Value>& params = {}) { db().Execute(sql, params); }
    Currency Cur(const std::string& sql) { return Nz_Value(db().Scalar(sql)).ToCurrency(); }
    static Value Nz_Value(const Value& v) { return v.IsNull() ? Value(0) : v; }

    // Every table with its fields and its rows, in an order of their own.
    std::map<std::string, Table> Everything() { return All_Tables(); }

    // Rows of table Error in stored order, as "level|message".
    std::vector<std::string> ErrorRows() {
        std::vector<std::string> rows;
        auto rs = db().OpenRecordset("SELECT Level, Message FROM Error;");
        for (; !rs.Eof(); rs.MoveNext())
            rows.push_back((rs["Level"].IsNull() ? std::string("<null>") : rs["Level"].ToText()) + "|" +
                           rs["Message"].ToText());
        return rows;
    }
};

}  // namespace vt::test
