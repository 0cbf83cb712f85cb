#!/usr/bin/env python3
"""Checks the TextMate grammar of mox.

Usage: textmate_check.py ONIG_CHECK GRAMMAR

The grammar must be valid JSON with the scope source.mox, every include must
name a rule of its repository, every pattern (match, begin, end, while) must
compile under Oniguruma (ONIG_CHECK, tests/editors/onig_check.c), and the
token rules must find what they are for in a few lines of the language.
"""
import json
import subprocess
import sys

# (rule path, subject, expected leftmost match or None for no match)
SAMPLES = [
    ("repository.number.match", "x{42}", "42"),
    ("repository.text.begin", "a\\[b]", "["),
    ("repository.text.patterns.0.match", "[a[p]b]", "[p]"),
    ("repository.lambda.match", "f\\x\\x+1", "f\\"),
    ("repository.let.match", "_{puts(t)}", "_"),
    ("repository.let.match", "q r{divmod(7,2)}q", "q r"),
    ("repository.let.match", "f(x)", None),
    ("repository.combinator.match", "sum(l)+VKZ", "V"),
    ("repository.builtin.match", "x.fputs(b,stdout)", "fputs"),
    ("repository.builtin.match", "readdir(d)", "readdir"),
    ("repository.builtin.match", "lines(f,b)+outs", None),
    ("repository.operator.match", "a+b", "+"),
    ("repository.operator.match", "x\\x", "\\"),
    ("repository.piece.patterns.0.match", "  area\\w\\h\\w*h", "  area\\"),
    ("repository.piece.patterns.0.match", "[+]\\a\\b\\a", "[+]\\"),
    ("repository.piece.patterns.0.match", "now()\\K(3)", "now()\\"),
]


def rules(node, path):
    """Yields (path, rule) for every rule object below node."""
    if isinstance(node, dict):
        yield path, node
        for key, value in node.items():
            yield from rules(value, f"{path}.{key}" if path else key)
    elif isinstance(node, list):
        for i, value in enumerate(node):
            yield from rules(value, f"{path}.{i}")


def main():
    onig_check, grammar_path = sys.argv[1], sys.argv[2]
    failures = []
    try:
        with open(grammar_path, encoding="utf-8") as f:
            grammar = json.load(f)
    except (OSError, ValueError) as e:
        print(f"{grammar_path}: {e}")
        return 1
    if grammar.get("scopeName") != "source.mox" or not grammar.get("patterns"):
        failures.append("the grammar needs the scopeName source.mox and top-level patterns")
    repository = grammar.get("repository", {})

    records, by_path = [], {}
    for path, rule in rules(grammar, ""):
        include = rule.get("include")
        if isinstance(include, str) and include not in ("$self", "$base") \
                and include.lstrip("#") not in repository:
            failures.append(f"{path}: include {include} names no rule")
        for key in ("match", "begin", "end", "while"):
            if isinstance(rule.get(key), str):
                label = f"{path}.{key}" if path else key
                by_path[label] = rule[key]
                records.append((label, rule[key], ""))
    for i, (label, subject, _) in enumerate(SAMPLES):
        if label not in by_path:
            failures.append(f"no pattern at {label}")
        else:
            records.append((f"sample {i}", by_path[label], subject))

    stream = b"".join(f"{a}\0{b}\0{c}\0".encode() for a, b, c in records)
    done = subprocess.run([onig_check], input=stream, stdout=subprocess.PIPE)
    answers = {}
    for line in done.stdout.decode("utf-8", "replace").splitlines():
        label, verdict, *rest = line.split("\t")
        answers[label] = (verdict, rest[0] if rest else None)
        if verdict == "error":
            failures.append(f"{label} does not compile: {rest[0] if rest else ''}")
    for i, (label, subject, expected) in enumerate(SAMPLES):
        verdict, text = answers.get(f"sample {i}", ("missing", None))
        found = text if verdict == "match" else None
        if verdict != "error" and found != expected:
            failures.append(f"{label} on {subject!r} found {found!r}, expected {expected!r}")
    for f in failures:
        print(f)
    print(f"{len(records) - len(SAMPLES)} patterns compiled and {len(SAMPLES)} samples searched, "
          f"{len(failures)} failed")
    return 1 if failures or done.returncode != 0 else 0


if __name__ == "__main__":
    sys.exit(main())
