#!/usr/bin/env python3
"""List the characters of the starter dictionaries that Unihan gives more than one
reading (kHanyuPinlu, kXHC1983), with the terms they stand in, so that the term
readings in src/text/pinyin_terms.cpp can be reviewed when the seed data grows.

Usage: list_polyphones.py [Unihan_Readings.txt.bz2]
"""

import bz2
import collections
import os
import re
import sys
import unicodedata

SOURCE = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/unicode/Unihan_Readings.txt.bz2"
SEED = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "seed")
FILES = ["drugs.tsv", "diagnoses.txt", "addresses.txt", "order_sets.txt", "history_templates.txt"]


def plain(reading):
    return "".join(c for c in unicodedata.normalize("NFD", reading.lower()) if not unicodedata.combining(c))


def load(path):
    fields = collections.defaultdict(dict)
    with bz2.open(path, "rt", encoding="utf-8") as f:
        for line in f:
            m = re.match(r"^U\+([0-9A-F]+)\t(k\w+)\t(.+)$", line.rstrip("\n"))
            if m:
                fields[chr(int(m.group(1), 16))][m.group(2)] = m.group(3)
    return fields


def readings(fields, ch):
    f = fields.get(ch, {})
    out = []
    if "kHanyuPinlu" in f:
        out += [plain(e.split("(")[0]) for e in f["kHanyuPinlu"].split()]
    if "kXHC1983" in f:
        for e in f["kXHC1983"].split():
            out += [plain(x) for x in e.split(":", 1)[1].split(",")]
    return list(dict.fromkeys(out))


def terms():
    for name in FILES:
        with open(os.path.join(SEED, name), encoding="utf-8") as f:
            for line in f:
                term = line.split("\t")[0].split(" ")[0].split("\\")[0].strip()
                if term and not term.startswith("#"):
                    yield term


def main():
    fields = load(SOURCE)
    seen = collections.defaultdict(set)
    for term in terms():
        for ch in term:
            r = readings(fields, ch)
            if len({x[0] for x in r}) > 1:  # readings that differ in their initial
                seen[ch].add(term)
    for ch in sorted(seen, key=lambda c: -len(seen[c])):
        first = plain(fields[ch].get("kMandarin", "?").split()[0])
        print(ch, first, "/".join(readings(fields, ch)), " ".join(sorted(seen[ch])))


if __name__ == "__main__":
    main()
