#!/usr/bin/env python3
"""Dumps the cells of a worksheet record file read by python3-xlrd, for the export tests.

usage: xlrd_cells.py FILE OUTPUT
Lines: "size ROWS COLS", then "R C text VALUE" or "R C number VALUE" (0-based, repr of floats).
OUTPUT appears complete or not at all; any failure gives one "error ..." line.
"""
import os
import sys
import traceback

import xlrd


def main():
    path, out = sys.argv[1], sys.argv[2]
    try:
        sheet = xlrd.open_workbook(path, logfile=open(os.devnull, 'w')).sheet_by_index(0)
        lines = ['size %d %d' % (sheet.nrows, sheet.ncols)]
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_TEXT:
                    lines.append('%d %d text %s' % (r, c, cell.value))
                elif cell.ctype == xlrd.XL_CELL_NUMBER:
                    lines.append('%d %d number %r' % (r, c, cell.value))
    except Exception:
        lines = ['error ' + traceback.format_exc().replace('\n', ' | ')]
    with open(out + '.part', 'w', encoding='utf-8') as f:
        f.write('\n'.join(lines) + '\n')
    os.replace(out + '.part', out)


if __name__ == '__main__':
    main()
