#!/usr/bin/env bash
# The layer check on a small tree of its own: each include below points the
# wrong way and must be named; the sound ones must not be.
set -uo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
put() { mkdir -p "$tree/$(dirname "$1")"; printf '%s\n' "${@:2}" >"$tree/$1"; }
for f in store/s.h engine/e.h report/r.h shell/k.h editors/ed.h viewers/v.h costcentres/c.h app/a.h bench/b.h; do put "$f" ""; done
put engine/up.cpp '#include "shell/k.h"' '#include "store/s.h"'
put report/up.cpp '#include "editors/ed.h"' '#include "engine/e.h"'
put shell/up.cpp '#include "editors/ed.h"' '#include <QWidget>' '#include "report/r.h"'
put editors/up.cpp '#include "costcentres/c.h"' '#include "viewers/v.h"' '#include "shell/k.h"'
put viewers/climb.cpp '#include "../shell/k.h"'
put store/qt.cpp '#include <QString>'
put app/up.cpp '#include "bench/b.h"' '#include "app/a.h"'
put app/all.cpp '#include "costcentres/c.h"' '#include "editors/ed.h"' '#include <QApplication>'
expected="app/up.cpp:1: includes a layer above: bench/b.h
editors/up.cpp:1: includes a layer above: costcentres/c.h
editors/up.cpp:2: includes a layer above: viewers/v.h
engine/up.cpp:1: includes a layer above: shell/k.h
report/up.cpp:1: includes a layer above: editors/ed.h
shell/up.cpp:1: includes a layer above: editors/ed.h
store/qt.cpp:1: includes Qt: QString
viewers/climb.cpp:1: includes by a path out of its folder: ../shell/k.h"
got=$(bash "$check" "$tree" | sort)
if [ "$got" != "$expected" ]; then
  echo "the layer check named:"; echo "$got"; echo "instead of:"; echo "$expected"
  exit 1
fi
bash "$check" "$tree" >/dev/null && { echo "the layer check passed a tree it named faults in"; exit 1; }
rm -f "$tree"/*/up.cpp "$tree/viewers/climb.cpp" "$tree/store/qt.cpp"
bash "$check" "$tree" || { echo "the layer check failed a sound tree"; exit 1; }
echo "1 passed, 0 failed"
