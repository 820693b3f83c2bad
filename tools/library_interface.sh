#!/bin/sh
# What a program linked against a shared library takes from it: its exported symbols, and the
# sizes of its data, which the program copied at its own link. Written to OUT only when that
# changed, so that a program depending on OUT is linked again only then: a change inside a
# function leaves it alone; a function added or removed, or a table grown, does not.
# Usage: library_interface.sh READELF LIBRARY OUT
set -eu
readelf=$1
library=$2
out=$3
# Num: Value Size Type Bind Vis Ndx Name, for each dynamic symbol (a binding may be words).
"$readelf" --dyn-syms -W "$library" |
    awk '$1 ~ /^[0-9]+:$/ && $0 !~ / UND / {
        if ($4 == "OBJECT" || $4 == "TLS") print $NF, $4, $3; else print $NF, $4 }' |
    LC_ALL=C sort >"$out.new"
if cmp -s "$out.new" "$out"; then
    rm -f "$out.new"
else
    mv "$out.new" "$out"
fi
