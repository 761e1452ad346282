#!/usr/bin/env python3
"""Dumps an .xls workbook as canonical text lines, read by python3-xlrd, for the tests.

usage: xlrd_dump.py WORKBOOK OUTPUT [BITMAP]

OUTPUT appears complete or not at all (written aside, then renamed).

Lines (rows and columns 1-based):
  sheet NAME ROWS COLS
  colwidth COL WIDTH                       (width in 1/256 of a character)
  merge ROW1 COL1 ROW2 COL2                (inclusive)
  cell ROW COL font=NAME/SIZE20 h=HALIGN v=VALIGN text=TEXT
  picture SHEET COL1/DX1 ROW1/DY1 COL2/DX2 ROW2/DY2 name=NAME blip=INDEX
  blip INDEX bytes=N bitmap=same|different  (BITMAP: the DIB is the file less its header)
The drawing records are walked in the Workbook stream from xlrd's own compound file reader.
Any failure ends the dump with an "error ..." line.
"""
import os
import struct
import sys
import traceback

import xlrd
import xlrd.compdoc


def records(stream):
    pos = 0
    while pos + 4 <= len(stream):
        rid, length = struct.unpack_from('<HH', stream, pos)
        yield rid, stream[pos + 4:pos + 4 + length]
        pos += 4 + length


def escher(data, pos=0, end=None):
    """Yields (type, instance, payload) for Escher records, descending into containers."""
    end = len(data) if end is None else end
    while pos + 8 <= end:
        verinst, rtype, length = struct.unpack_from('<HHI', data, pos)
        version, instance = verinst & 0xF, verinst >> 4
        body = pos + 8
        if version == 0xF:
            yield from escher(data, body, min(body + length, end))
        else:
            yield rtype, instance, data[body:body + length]
        pos = body + length


def drawing_lines(path, bitmap):
    ole = xlrd.compdoc.CompDoc(open(path, 'rb').read())
    stream = ole.get_named_stream('Workbook')
    lines = []
    group = b''
    sheet = 0
    in_group = False
    sheet_drawing = b''
    for rid, data in records(stream):
        if rid == 0x0809 and struct.unpack_from('<H', data, 2)[0] == 0x10:
            sheet += 1
            sheet_drawing = b''
        if rid == 0x00EB or (rid == 0x003C and in_group):
            group += data
            in_group = True
            continue
        in_group = False
        if rid == 0x00EC:
            sheet_drawing += data
        if rid == 0x000A and sheet and sheet_drawing:
            shape = {}
            for rtype, instance, body in escher(sheet_drawing):
                if rtype == 0xF00B and shape is not None:
                    props = {}
                    fixed = 6 * instance
                    extra = fixed
                    for i in range(instance):
                        pid, value = struct.unpack_from('<HI', body, 6 * i)
                        if pid & 0x8000:
                            props[pid & 0x3FFF] = body[extra:extra + value]
                            extra += value
                        else:
                            props[pid & 0x3FFF] = value
                    shape['blip'] = props.get(0x0104)
                    name = props.get(0x0380, b'')
                    shape['name'] = name.decode('utf-16-le').rstrip('\0') if name else ''
                elif rtype == 0xF010:
                    a = struct.unpack_from('<9H', body)
                    if shape.get('blip') is not None:
                        lines.append('picture %d %d/%d %d/%d %d/%d %d/%d name=%s blip=%d' % (
                            sheet, a[1] + 1, a[2], a[3] + 1, a[4], a[5] + 1, a[6], a[7] + 1, a[8],
                            shape['name'], shape['blip']))
                    shape = {}
    index = 0
    for rtype, instance, body in escher(group):
        if rtype == 0xF007:  # a store entry: the blip record follows its 36 bytes
            rtype, instance, body = next(escher(body, 36))
        if 0xF018 <= rtype <= 0xF117:
            index += 1
            uid_len = 32 if instance & 1 else 16
            dib = body[uid_len + 1:]
            verdict = ''
            if bitmap:
                verdict = ' bitmap=' + ('same' if open(bitmap, 'rb').read()[14:] == dib else 'different')
            lines.append('blip %d bytes=%d%s' % (index, len(dib), verdict))
    return lines


def dump(path, bitmap):
    book = xlrd.open_workbook(path, formatting_info=True)
    lines = []
    for sheet in book.sheets():
        lines.append('sheet %s %d %d' % (sheet.name, sheet.nrows, sheet.ncols))
        for col in sorted(sheet.colinfo_map):
            lines.append('colwidth %d %d' % (col + 1, sheet.colinfo_map[col].width))
        for r1, r2, c1, c2 in sorted(sheet.merged_cells):
            lines.append('merge %d %d %d %d' % (r1 + 1, c1 + 1, r2, c2))
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_EMPTY:
                    continue
                xf = book.xf_list[cell.xf_index]
                font = book.font_list[xf.font_index]
                text = cell.value if cell.ctype == xlrd.XL_CELL_TEXT else ''
                lines.append('cell %d %d font=%s/%d h=%d v=%d text=%s' % (
                    r + 1, c + 1, font.name, font.height, xf.alignment.hor_align,
                    xf.alignment.vert_align, text))
    return lines + drawing_lines(path, bitmap)


def main():
    path, out = sys.argv[1], sys.argv[2]
    bitmap = sys.argv[3] if len(sys.argv) > 3 else None
    try:
        lines = dump(path, bitmap)
    except Exception:
        lines = ['error ' + traceback.format_exc().replace('\n', ' | ')]
    text = '\n'.join(lines) + '\n'
    with open(out + '.part', 'w', encoding='utf-8') as f:
        f.write(text)
    os.replace(out + '.part', out)


if __name__ == '__main__':
    main()
