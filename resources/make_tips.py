#!/usr/bin/env python3
"""Writes the Tip of the Day file (quorvane.tod) from a text of tips.

Usage: make_tips.py TIPS.txt OUT.tod

Tips are separated by blank lines; a line break inside a tip stays one. "[shown text](target)" is a
link: a target "help N" (N decimal or 0x hexadecimal) opens help context N, any other target opens
through the shell. A tip whose first line is "kind: N" gets kind N (the dialog shows only kind 0).

Layout (little-endian): header "QVTD", version 100, tip count, index offset 12; the index of record
offsets; each record: kind, header length H, link count, the links (first, last, kind, target length,
target with its zero byte), at H the text length T and the text with its zero byte."""
import re, struct, sys

LINK = re.compile(r'\[([^\]]+)\]\(([^)]+)\)')

def parse(source):
    tips = []
    for block in re.split(r'\n\s*\n', source.strip()):
        lines = block.split('\n')
        kind = 0
        if lines[0].startswith('kind:'):
            kind = int(lines[0][5:].strip(), 0)
            lines = lines[1:]
        raw = '\r\n'.join(line.rstrip() for line in lines)
        text, links, pos = '', [], 0
        for m in LINK.finditer(raw):
            text += raw[pos:m.start()]
            shown, target = m.group(1), m.group(2).strip()
            first = len(text)
            text += shown
            if target.startswith('help '):
                links.append((first, len(text) - 1, 1, target[5:].strip()))
            else:
                links.append((first, len(text) - 1, 0, target))
            pos = m.end()
        text += raw[pos:]
        tips.append((kind, text, links))
    return tips

def record(kind, text, links):
    body = b''
    for first, last, link_kind, target in links:
        t = target.encode('cp1252') + b'\0'
        body += struct.pack('<HHHH', first, last, link_kind, len(t)) + t
    t = text.encode('cp1252') + b'\0'
    return struct.pack('<HHH', kind, 6 + len(body), len(links)) + body + struct.pack('<I', len(t)) + t

def tip_file(tips):
    records = [record(*t) for t in tips]
    offsets, at = [], 12 + 4 * len(records)
    for r in records:
        offsets.append(at)
        at += len(r)
    return (b'QVTD' + struct.pack('<hhI', 100, len(records), 12) +
            b''.join(struct.pack('<I', o) for o in offsets) + b''.join(records))

if __name__ == '__main__':
    with open(sys.argv[1], encoding='utf-8') as f:
        data = tip_file(parse(f.read()))
    with open(sys.argv[2], 'wb') as f:
        f.write(data)
