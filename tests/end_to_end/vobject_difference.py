#!/usr/bin/python3
"""What python3-vobject, another program's vCard reader, reads differently in
two vCard files: for each card (counted from 1) one line per property that
only the first file ("-") or only the second ("+") holds, as
"card: NAME;PARAM=VALUES:value". A card that vobject cannot read in the first
file is reported once as "card: unreadable" and not compared.

Usage: vobject_difference.py FIRST SECOND
"""

import collections
import re
import sys

import vobject


def cards(path):
    with open(path, "rb") as file:
        text = file.read().decode("utf-8")
    # vobject reads lines ended by CR LF or LF; iPhone exports end them with CR CR LF.
    text = text.replace("\r\r\n", "\r\n")
    parts = re.split(r"(?im)^(?=BEGIN:VCARD\r?$)", text)
    return [part for part in parts if part.strip()]


def properties(card):
    listed = collections.Counter()
    for child in vobject.readOne(card).getChildren():
        params = ";".join(f"{key}={','.join(sorted(values))}" for key, values in sorted(child.params.items()))
        value = child.value if isinstance(child.value, (str, bytes)) else str(child.value)
        listed[f"{child.name}{';' if params else ''}{params}:{value!r}"] += 1
    return listed


def main(first, second):
    before, after = cards(first), cards(second)
    for number in range(1, max(len(before), len(after)) + 1):
        try:
            old = properties(before[number - 1]) if number <= len(before) else collections.Counter()
        except Exception:  # vobject raises more than its ParseError on cards it cannot read
            print(f"{number}: unreadable")
            continue
        new = properties(after[number - 1]) if number <= len(after) else collections.Counter()
        for line in sorted((old - new).elements()):
            print(f"{number}: - {line}")
        for line in sorted((new - old).elements()):
            print(f"{number}: + {line}")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
