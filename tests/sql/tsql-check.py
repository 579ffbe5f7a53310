#!/usr/bin/env python3
"""Checks that what the program sends parses as SQL Server's T-SQL.

Usage: tsql-check.py clear LOG_DIR            (an empty LOG_DIR, before the tests)
       tsql-check.py check SQLFLUFF LOG_DIR SCHEMA.sql...

LOG_DIR holds the statements the tests sent (one file per test program, each statement ended by
an ASCII record separator and a line feed: BRENTOVAL_SQL_LOG). Statements that differ only in
their literals are one shape; each shape and each schema script is parsed once by sqlfluff's
tsql dialect (as they are: no template). A statement that does not parse fails the check with its text and the test that
sent it; so does an INSERT of more rows than SQL Server takes in one VALUES list (1000).
"""
import json
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

STRING = re.compile(r"'(?:[^']|'')*'")
NUMBER = re.compile(r"(?<![\w.])\d+(?:\.\d*)?(?:[eE][+-]?\d+)?(?![\w.])")
ROW_SEP = re.compile(r"\)\s*,\s*\(")


def shape(sql):
    s = NUMBER.sub("0", STRING.sub("'x'", sql))
    s = re.sub(r"\s+", " ", s).strip()
    s = re.sub(r"([(,] ?)-0\b", r"\g<1>0", s)
    # Lists of like values and rows of like shape are one.
    s = re.sub(r"'x'(?: ?, ?'x')+", "'x'", s)
    s = re.sub(r"\b0(?: ?, ?0)+\b", "0", s)
    s = re.sub(r"(\([^()]*\))(?: ?, ?\1)+", r"\1", s)
    return s


def too_many_rows(sql):
    s = STRING.sub("'x'", sql)
    if not re.search(r"\bVALUES\b", s, re.IGNORECASE):
        return False
    return len(ROW_SEP.findall(s)) + 1 > 1000


def main():
    if sys.argv[1] == "clear":
        shutil.rmtree(sys.argv[2], ignore_errors=True)
        pathlib.Path(sys.argv[2]).mkdir(parents=True)
        return 0
    sqlfluff, log_dir, schemas = sys.argv[2], pathlib.Path(sys.argv[3]), sys.argv[4:]
    shapes = {}  # shape -> (statement, test)
    problems = []
    sent = 0
    for log in sorted(log_dir.glob("*.log")) if log_dir.is_dir() else []:
        for sql in log.read_text(encoding="utf-8", errors="replace").split("\x1e\n"):
            if not sql.strip():
                continue
            sent += 1
            if too_many_rows(sql):
                problems.append(f"{log.stem}: more than 1000 rows in one VALUES list:\n{sql[:2000]}")
            shapes.setdefault(shape(sql), (sql, log.stem))

    with tempfile.TemporaryDirectory() as tmp:
        files = {}
        # The shape is parsed, not the statement: the same syntax, far shorter to parse.
        for i, (text, (statement, test)) in enumerate(shapes.items()):
            path = pathlib.Path(tmp, f"statement{i:05}.sql")
            path.write_text(text + "\n", encoding="utf-8")
            files[path.name] = f"{test}: statement does not parse as T-SQL:\n{statement[:2000]}"
        for schema in schemas:
            path = pathlib.Path(tmp, "schema-" + pathlib.Path(schema).name)
            path.write_text(pathlib.Path(schema).read_text(encoding="utf-8"), encoding="utf-8")
            files[path.name] = f"{schema}: does not parse as T-SQL"
        try:
            run = subprocess.run([sqlfluff, "parse", "--dialect", "tsql", "--templater", "raw", "--format", "json", tmp],
                                 capture_output=True, text=True)
        except OSError as e:
            print(f"sqlfluff cannot be started ({e}); scripts/deps.sh installs it")
            return 1
        try:
            parsed = json.loads(run.stdout)
        except json.JSONDecodeError:
            print("sqlfluff gave no result:\n" + run.stdout[-2000:] + run.stderr[-2000:])
            return 1
        seen = set()
        for f in parsed:
            name = pathlib.Path(f["filepath"]).name
            seen.add(name)
            tree = f.get("segments")
            if tree is None or '"unparsable"' in json.dumps(tree):
                bad = re.findall(r'"unparsable": (.{0,200})', json.dumps(tree)) if tree else []
                problems.append(files[name] + ("\n  unparsable: " + bad[0] if bad else ""))
        for name in files.keys() - seen:
            problems.append(files[name] + "\n  (sqlfluff gave nothing for it)")

    print(f"{sent} statements sent, {len(shapes)} shapes, {len(schemas)} schema scripts; {len(problems)} problems")
    for p in problems:
        print("\n" + p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
