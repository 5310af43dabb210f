#!/usr/bin/env python3
"""Fills translations/zh_cn.ts and zh_tw.ts from the glossary files.

Each translations/glossary/*.tsv line is: context<TAB>source<TAB>zh_cn<TAB>zh_tw
(# starts a comment). Sources may contain \\n for a line break. Entries that
lupdate found but the glossary lacks stay unfinished and are listed, and the
script exits non-zero so that a missing translation is noticed.
"""
import glob
import os
import sys
import xml.etree.ElementTree as ET

here = os.path.dirname(os.path.abspath(__file__))


def load_glossary():
    table = {}
    for path in sorted(glob.glob(os.path.join(here, "glossary", "*.tsv"))):
        with open(path, encoding="utf-8") as f:
            for n, line in enumerate(f, 1):
                line = line.rstrip("\n")
                if not line.strip() or line.startswith("#"):
                    continue
                parts = line.split("\t")
                if len(parts) != 4:
                    sys.exit(f"{path}:{n}: expected 4 tab-separated fields")
                ctx, src, cn, tw = (p.replace("\\n", "\n") for p in parts)
                table[(ctx, src)] = (cn, tw)
    return table


def fill(ts_path, column, table):
    tree = ET.parse(ts_path)
    missing = []
    for ctx in tree.getroot().iter("context"):
        name = ctx.findtext("name")
        for msg in ctx.iter("message"):
            src = msg.findtext("source")
            tr = msg.find("translation")
            if tr is None:
                tr = ET.SubElement(msg, "translation")
            entry = table.get((name, src))
            if entry is None:
                if tr.get("type") == "unfinished" or not tr.text:
                    missing.append((name, src))
                continue
            tr.text = entry[column]
            tr.attrib.pop("type", None)
    ET.indent(tree, space="    ")
    with open(ts_path, "wb") as f:
        f.write(b'<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n')
        tree.write(f, encoding="utf-8", xml_declaration=False)
        f.write(b"\n")
    return missing


def main():
    table = load_glossary()
    missing = fill(os.path.join(here, "zh_cn.ts"), 0, table)
    missing += fill(os.path.join(here, "zh_tw.ts"), 1, table)
    for ctx, src in sorted(set(missing)):
        print(f"untranslated: {ctx}\t{src}")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
