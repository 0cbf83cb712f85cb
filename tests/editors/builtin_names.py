#!/usr/bin/env python3
"""Both grammars colour exactly the builtins that mox binds.

Usage: builtin_names.py SOURCE_DIR

The names are read from the family tables under src/builtins and src/bridge
(rows such as Builtin<Look>("look") and CFunction<...>("fopen")), so a
builtin added there and forgotten in editors/ fails here.
"""
import json
import pathlib
import re
import sys

source = pathlib.Path(sys.argv[1])
row = re.compile(r'>\("([a-z_0-9]+)"\)')
bound = set()
for folder in ("src/builtins", "src/bridge"):
    for path in (source / folder).rglob("*.cpp"):
        bound.update(row.findall(path.read_text()))

vim_text = (source / "editors/vim/syntax/mox.vim").read_text()
vim = {word for line in vim_text.splitlines() if line.startswith("syn keyword moxBuiltin")
       for word in line.split()[3:]}
grammar = json.loads((source / "editors/textmate/mox.tmLanguage.json").read_text())
alternation = re.search(r"\(\?:([a-z_0-9|]+)\)", grammar["repository"]["builtin"]["match"])
textmate = set(alternation.group(1).split("|")) if alternation else set()

failed = len(bound) != 256
if failed:
    print(f"found {len(bound)} bound names in the family tables, not 256")
for name, listed in (("the Vim syntax", vim), ("the TextMate grammar", textmate)):
    for what, names in (("lacks", bound - listed), ("has unknown", listed - bound)):
        if names:
            print(f"{name} {what} builtins: {' '.join(sorted(names))}")
            failed = True
if not failed:
    print("both grammars list the 256 builtins")
sys.exit(1 if failed else 0)
