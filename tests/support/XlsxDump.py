"""Reads back a workbook the programs wrote (with Debian's python3-openpyxl): per sheet its
name, print settings, merged ranges, every row's values, numbers as numbers and texts as
texts, None where a cell holds nothing, and the notes and fills of cells by their address. As
a program: prints that as JSON."""
import io
import json
import sys

import openpyxl


def dump(path):
    with open(path, "rb") as f:  # whatever the name ends in
        book = openpyxl.load_workbook(io.BytesIO(f.read()))
    return [{"name": ws.title,
             "paper": int(ws.page_setup.paperSize or 0),
             "orientation": ws.page_setup.orientation,
             "repeat": ws.print_title_rows,
             "margins": [round(getattr(ws.page_margins, side) * 25.4, 1)  # mm
                         for side in ("left", "top", "right", "bottom")],
             "merged": sorted(str(r) for r in ws.merged_cells.ranges),
             "rows": [list(row) for row in ws.iter_rows(values_only=True)],
             "notes": {c.coordinate: c.comment.text
                       for row in ws.iter_rows() for c in row if c.comment},
             "filled": [c.coordinate for row in ws.iter_rows() for c in row
                        if c.fill.fill_type]}
            for ws in book.worksheets]


if __name__ == "__main__":
    json.dump(dump(sys.argv[1]), sys.stdout, ensure_ascii=False, sort_keys=True)
