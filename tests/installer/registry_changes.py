#!/usr/bin/env python3
"""Compares two exports of the whole registry made by `regedit /E FILE`.

    registry_changes.py BEFORE AFTER [--ignore KEY]... [--ignore-value KEY NAME]...

Prints every key and every value that only one of the two holds (a changed value shows as both
its old and its new line), "-" for the earlier export and "+" for the later one, and exits 1 when
there is any. Keys named by --ignore, with everything under them, and the values named by
--ignore-value are left out: what Windows or Wine itself writes while programs run; a "*" in
such a key stands for any one key name (HKEY_USERS\\*\\Software for every user's). Reads UTF-16 (with its byte order mark) or UTF-8, the
formats of both REGEDIT4 and version 5 files; a value continued over several lines counts as one.
"""

import argparse
import fnmatch
import sys


def read_text(path):
    data = open(path, "rb").read()
    if data.startswith(b"\xff\xfe") or data.startswith(b"\xfe\xff"):
        return data.decode("utf-16")
    return data.decode("utf-8-sig", errors="replace")


def records(path):
    """The set of (key, None) and (key, value line) of an export, keys in upper case."""
    result = set()
    key = None
    pending = ""
    for raw in read_text(path).splitlines():
        line = pending + raw.strip() if pending else raw.rstrip()
        if line.endswith("\\") and not line.startswith("["):
            pending = line[:-1]
            continue
        pending = ""
        if not line or line.startswith(";") or line in ("REGEDIT4",) or line.startswith(
                "Windows Registry Editor"):
            continue
        if line.startswith("[") and line.endswith("]"):
            key = line[1:-1].upper()
            result.add((key, None))
        elif key is not None:
            result.add((key, line))
    return result


def names_match(key, pattern, whole):
    """Whether `key` is `pattern` (whole) or lies under it, name by name."""
    names = key.split("\\")
    wanted = pattern.split("\\")
    if len(names) < len(wanted) or (whole and len(names) != len(wanted)):
        return False
    return all(fnmatch.fnmatchcase(name, want) for name, want in zip(names, wanted))


def ignored(key, value, prefixes, values):
    if any(names_match(key, prefix, whole=False) for prefix in prefixes):
        return True
    return value is not None and any(
        names_match(key, value_key, whole=True) and value.upper().startswith(f'"{name}"=')
        for value_key, name in values)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("before")
    parser.add_argument("after")
    parser.add_argument("--ignore", action="append", default=[])
    parser.add_argument("--ignore-value", action="append", nargs=2, default=[])
    arguments = parser.parse_args()
    prefixes = [prefix.upper().rstrip("\\") for prefix in arguments.ignore]
    values = [(key.upper().rstrip("\\"), name.upper()) for key, name in arguments.ignore_value]
    before = records(arguments.before)
    after = records(arguments.after)
    changes = [("-", record) for record in before - after] + [("+", record) for record in after - before]
    changes = [(sign, (key, value)) for sign, (key, value) in changes if not ignored(key, value, prefixes, values)]
    for sign, (key, value) in sorted(changes, key=lambda change: (change[1][0], change[0], change[1][1] or "")):
        print(f"{sign} [{key}]" + (f" {value}" if value is not None else ""))
    return 1 if changes else 0


if __name__ == "__main__":
    sys.exit(main())
