#!/usr/bin/env bash
# The name check on a small tree of its own: the helpers dressed as the
# system's names must be named; the system's names, their control handlers
# and the names the check leaves alone must not be.
set -uo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
put() { mkdir -p "$tree/$(dirname "$1")"; printf '%s\n' "${@:2}" >"$tree/$1"; }
put scripts/system_names.txt "# The system's own names that keep their underscores" '*_Click' Form_Load Print_A
put engine/good.cpp 'void Print_A();' 'void Form_Load();' 'void cmdAdd_Click() { Print_A(); }' \
  'void WriteBandTotals();' 'int n = std::to_string(1).size() + sqlite3_exec(db, 0, 0, 0, 0);' \
  'Q_DECLARE_METATYPE(X)' 'void kTotal_Rows(); void grid_(); BENCHMARK(BM_WholeReport);'
put shell/bad.cpp 'void Run_Guarded();' 'void cmdAdd_Clicked();' 'void Form_Loaded() { Print_A(); }'
put tests/t.cpp 'void Test_Helper();'
expected="shell/bad.cpp:1: not one of the system's names: Run_Guarded
shell/bad.cpp:2: not one of the system's names: cmdAdd_Clicked
shell/bad.cpp:3: not one of the system's names: Form_Loaded"
got=$(bash "$check" "$tree")
status=$?
if [ "$got" != "$expected" ]; then
  echo "the name check named:"; echo "$got"; echo "instead of:"; echo "$expected"
  exit 1
fi
[ $status -ne 0 ] || { echo "the name check passed a tree it named faults in"; exit 1; }
rm -f "$tree/shell/bad.cpp"
bash "$check" "$tree" || { echo "the name check failed a sound tree"; exit 1; }
echo "1 passed, 0 failed"
