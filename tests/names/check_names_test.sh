#!/usr/bin/env bash
# The name check on a small tree of its own: the helpers dressed as the
# system's names must be named; the system's names, their control handlers
# and the names the check leaves alone must not be.
set -uo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
put() { mkdir -p "$tree/$(dirname "$1")"; printf '%s\n' "${@:2}" >"$tree/$1"; }
put scripts/system_names.txt "# The system's own names that keep their underscores" '*_Click' Form_Load Print_A Temp_Text
put engine/good.cpp 'void Print_A();' 'void Form_Load();' 'void cmdAdd_Click() { Print_A(); }' \
  'void WriteBandTotals();' 'int n = std::to_string(1).size() + sqlite3_exec(db, 0, 0, 0, 0);' \
  'Q_DECLARE_METATYPE(X)' 'void kTotal_Rows(); void grid_(); BENCHMARK(BM_WholeReport);' \
  '#include "engine/component_rows.h"' 'std::string Temp_Text; int count_ = static_cast<std::size_t>(0);' \
  'v.push_back(1); localtime_r(&t, &tm); bool o = __builtin_add_overflow(a, b, &c);' \
  'int key = Qt::Key_Tab + QStyle::PM_ButtonMargin; frmMain::cmdAdd_Click();' \
  'const char* s = "Not_Checked"; char c = '"'_'"'; // Nor_This' '/* Block_Comment' 'Still_Comment */' \
  'auto raw = R"(Raw_Text)";'
# Every kind of name the program declares, each a helper dressed as the system's.
put engine/kinds.cpp 'using Row_Total = int;' 'int sum_rows();' 'struct Cost_Row { int n; };' \
  'int running_total = 0; vt::Row_Total t;'
put shell/bad.cpp 'void Run_Guarded();' 'void cmdAdd_Clicked();' 'void Form_Loaded() { Print_A(); }'
put tests/t.cpp 'void Test_Helper();'
expected="engine/kinds.cpp:1: not one of the system's names: Row_Total
engine/kinds.cpp:2: not one of the system's names: sum_rows
engine/kinds.cpp:3: not one of the system's names: Cost_Row
engine/kinds.cpp:4: not one of the system's names: running_total
engine/kinds.cpp:4: not one of the system's names: Row_Total
shell/bad.cpp:1: not one of the system's names: Run_Guarded
shell/bad.cpp:2: not one of the system's names: cmdAdd_Clicked
shell/bad.cpp:3: not one of the system's names: Form_Loaded"
got=$(bash "$check" "$tree")
status=$?
if [ "$got" != "$expected" ]; then
  echo "the name check named:"; echo "$got"; echo "instead of:"; echo "$expected"
  exit 1
fi
[ $status -ne 0 ] || { echo "the name check passed a tree it named faults in"; exit 1; }
rm -f "$tree/shell/bad.cpp" "$tree/engine/kinds.cpp"
bash "$check" "$tree" || { echo "the name check failed a sound tree"; exit 1; }
echo "1 passed, 0 failed"
