"""The workbooks of corvane-cli report and judge hold what their --json says, laid out as the
templates lay out the printed forms: the title, the header boxes, the captions (merged over
a group, or over both caption rows without one), a row per detail row with numbers as numbers,
note rows across the table, the signature line; then 构件 as show --json's summaries and
测点 as export-csv's rows; with --mark-edits an edited value keeps its number and gets a fill
and a note naming what stood there first. Usage: WorkbookCheck.py CORVANE_CLI SUPPORT_FOLDER"""
import csv
import io
import json
import os
import subprocess
import sys
import tempfile

from openpyxl.utils import get_column_letter

cli = sys.argv[1]
sys.path.insert(0, sys.argv[2])
from XlsxDump import dump  # noqa: E402

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def run(*args):
    done = subprocess.run([cli, *args], capture_output=True)
    if done.returncode != 0:
        sys.exit(f"{' '.join(args)}: {done.stderr.decode()}")
    return done.stdout


def template(name):
    with open(os.path.join(os.path.dirname(cli), name), encoding="utf-8") as f:
        return json.load(f)


def cell(column, row):
    return f"{get_column_letter(column + 1)}{row + 1}"


def check_form(sheet, t, title, parameters, rows, note_field=None):
    """Compares a record table's sheet with its template and what it was handed."""
    name, got = sheet["name"], sheet["rows"]
    columns = t["detail"]["columns"]
    check(got[0][0] == title, f"{name}: title {got[0][0]}")
    check(sheet["paper"] == 9 and sheet["orientation"] == "landscape", f"{name}: page")
    check(sheet["margins"] == t["page"]["margins"], f"{name}: margins {sheet['margins']}")
    row = 1
    for header in t["header"]["rows"]:
        boxes = [x for box in header for x in (box["label"], parameters[box["parameter"]])]
        check([v for v in got[row] if v is not None] == boxes, f"{name}: header {got[row]}")
        row += 1
    grouped = any("group" in c for c in columns)
    top = row
    merges = {f"A1:{cell(len(columns) - 1, 0)}"}
    expected = [[None] * len(columns) for _ in range(2 if grouped else 1)]
    for i, c in enumerate(columns):
        group = c.get("group")
        if not group:
            expected[0][i] = c["caption"]
            if grouped:
                merges.add(f"{cell(i, top)}:{cell(i, top + 1)}")
            continue
        expected[1][i] = c["caption"]
        if i == 0 or columns[i - 1].get("group") != group:
            expected[0][i] = group
            last = max(j for j in range(i, len(columns)) if all(
                columns[k].get("group") == group for k in range(i, j + 1)))
            if last > i:
                merges.add(f"{cell(i, top)}:{cell(last, top)}")
    for line in expected:
        check(got[row] == line, f"{name}: captions {got[row]}, not {line}")
        row += 1
    check(sheet["repeat"] == f"${top + 1}:${row}", f"{name}: repeated {sheet['repeat']}")
    for r in rows:
        if note_field in r:
            merges.add(f"A{row + 1}:{cell(len(columns) - 1, row)}")
            line = [r[note_field]] + [None] * (len(columns) - 1)
        else:
            line = [r.get(c["field"]) for c in columns]
        check(got[row] == line, f"{name}: row {got[row]}, not {line}")
        row += 1
    signature = [v for v in got[row + 1] if v is not None]
    check(signature == [s + "：" for s in t["signature"]], f"{name}: signature {signature}")
    check(len(got) == row + 2, f"{name}: {len(got)} rows")
    check(merges <= set(sheet["merged"]), f"{name}: merged {sheet['merged']} lack {merges}")


with tempfile.TemporaryDirectory() as d:
    upload, project = os.path.join(d, "d.vexo"), os.path.join(d, "p.pro")
    run("transfer", "--demo", "-o", upload)
    run("new-project", project, "--name", "综合楼", "--basis", "GB 50204-2015",
        "--instrument", "R-90", "--add", upload)
    files = {"spacing": "VexoDistanceReport.grf", "thickness": "VexoDepthReport.grf",
             "diameter": "VexoDiameterReport.grf"}
    book_path = os.path.join(d, "book.XLSX")
    args = [a for table in files for a in ("--table", table)]
    run("report", project, *args, "--components", "H001,Z002,W001,W002,P001", "-o", book_path)
    book = dump(book_path)
    reports = [json.loads(run("report", project, "--table", table, "--components",
                              "H001,Z002,W001,W002,P001", "--json")) for table in files]
    check([s["name"] for s in book] == [r["title"] for r in reports] + ["构件", "测点"],
          f"sheets {[s['name'] for s in book]}")
    for sheet, report, file in zip(book, reports, files.values()):
        check(report["rows"], f"{file}: no rows to compare")
        check_form(sheet, template(file), report["title"], report["parameters"], report["rows"])

    shown = json.loads(run("show", project, "--json"))["components"]
    ticked = [c for c in shown if c["code"] in ("H001", "Z002", "W001", "W002", "P001")]
    summaries = [[t or None for t in c["summary"]] for c in ticked]
    check(book[-2]["rows"][1:] == summaries, f"构件: {book[-2]['rows'][1:]}")
    lines = list(csv.reader(io.StringIO(run("export-csv", project).decode("utf-8-sig"))))
    points = [[int(v) if i >= 5 else v for i, v in enumerate(line)]
              for line in lines[1:] if line[0] in ("H001", "Z002", "W001", "W002", "P001")]
    check(book[-1]["rows"] == [lines[0]] + points, "测点 differs from export-csv")

    # --format wins over the name, and a workbook goes to standard output only with it.
    run("report", project, "--table", "diameter", "-o", os.path.join(d, "x.pdf"),
        "--format", "xlsx")
    with open(os.path.join(d, "x.pdf"), "rb") as f:
        check(f.read(2) == b"PK", "--format xlsx wrote no workbook")
    with open(os.path.join(d, "piped.xlsx"), "wb") as f:
        f.write(run("report", project, "--table", "diameter", "-o", "-", "--format", "xlsx"))
    check(dump(os.path.join(d, "piped.xlsx"))[0] == dump(os.path.join(d, "x.pdf"))[0],
          "the piped workbook differs")

    judged = os.path.join(d, "j.xlsx")
    options = ["--beam", "H001,H002", "--slab", "W001,P001"]
    run("judge", project, *options, "-o", judged)
    verdict = json.loads(run("judge", project, *options, "--json"))
    sheet = dump(judged)[0]
    t = template("VexoAcceptanceReport.grf")
    classes = {"beam": "梁类", "slab": "板类"}
    rows = [{"ComponentNum": c["code"], "ComponentName": c["code"], "Class": classes[c["class"]],
             "Sample": "第一次", "Points": c["points"], "Unmeasured": c["unmeasured"],
             "Passing": c["passing"], "MaxOver": c["maxOver"] or "—",
             "MaxUnder": c["maxUnder"] or "—"} for c in verdict["components"]]
    notes = [r[0] for r in sheet["rows"][5 + len(rows):-2]]
    for key, result in verdict["classes"].items():
        check(f"{classes[key]}判定结论：{result['verdict']}（" in "".join(notes),
              f"no verdict of {key} in {notes}")
    rows += [{"Note": n} for n in notes]
    parameters = {"ProjectName": "综合楼", "TestBasis": "GB 50204-2015", "Instrument": "R-90",
                  "TestDate": [v for v in sheet["rows"][1] if v][-1]}
    check_form(sheet, t, t["title"], parameters, rows, "Note")
    check([s["name"] for s in dump(judged)] == [t["title"], "构件", "测点"], "judge's sheets")

    # Only the asked-for workbook marks the edit, keeping the number.
    run("set", project, "--component", "H001", "designCover=47")
    for mark in ([], ["--mark-edits"]):
        run("report", project, "--table", "thickness", *mark, "-o", book_path)
        sheet = dump(book_path)[0]
        at = next((cell(c, r) for r, row in enumerate(sheet["rows"])
                   for c, v in enumerate(row) if row[0] == "H001" and v == 47), None)
        notes = {k: v.split("；")[0] for k, v in sheet["notes"].items()}
        check(notes == ({at: "仪器值 50 mm"} if mark else {}), f"notes {mark}: {notes}")
        check(sheet["filled"] == ([at] if mark else []), f"fills {mark}: {sheet['filled']}")
        points = dump(book_path)[-1]
        cover = {cell(11, r) for r, row in enumerate(points["rows"]) if row[0] == "H001"}
        check(set(points["notes"]) == (cover if mark else set()), f"测点 notes {mark}")

for f in failures:
    print("FAILED:", f)
print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
sys.exit(1 if failures else 0)
