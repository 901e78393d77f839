#!/usr/bin/env python3
"""Writes population.xlsx and population.csv: a workbook as statistics offices
publish them (a sheet of notes first, a merged title above the headings, codes
as text, readings in the names, formulas with their results, dates) and the
CSV its spreadsheet saves of the second sheet. Run once; both are committed."""
import zipfile

rows = [  # code (text or number), name, population, households
    ("342025", "呉市", 214592, 108263),
    (342033, "竹原市", 25417, 11935),
    ("342041", "三原市", 92787, 43425),
    ("342050", "尾道市", 134224, 64432),
    ("342076", "福山市", 466136, 213766),
]
title = "市区町村別人口（令和3年1月1日現在）"
heads = ["団体コード", "都道府県名", "市区町村名", "人口", "世帯数", "一世帯あたり", "表示名", "調査日"]
strings = []
def s(text):
    if text not in strings:
        strings.append(text)
    return strings.index(text)

def g(v):  # the spreadsheet's CSV writes 15 significant digits
    return "%.15g" % v

def col(i):
    return "ABCDEFGH"[i]

sheet = ['<c r="A1" t="s"><v>%d</v></c>' % s(title)]
xml_rows = ['<row r="1">%s</row>' % sheet[0]]
xml_rows.append('<row r="3">' + "".join('<c r="%s3" t="s"><v>%d</v></c>' % (col(i), s(h)) for i, h in enumerate(heads)) + "</row>")
csv = [title + "," * 7, "", ",".join(heads)]
rich = {"呉市": '<si><t>呉市</t><rPh sb="0" eb="2"><t>クレシ</t></rPh></si>',
        "竹原市": '<si><r><t>竹原</t></r><r><rPr><b/></rPr><t>市</t></r></si>'}
for k, (code, name, pop, hh) in enumerate(rows):
    r = 4 + k
    cells = []
    cells.append('<c r="A%d" t="s"><v>%d</v></c>' % (r, s(code)) if isinstance(code, str) else '<c r="A%d"><v>%d</v></c>' % (r, code))
    cells.append('<c r="B%d" t="s"><v>%d</v></c>' % (r, s("広島県")))
    if name == "三原市":
        cells.append('<c r="C%d" t="inlineStr"><is><t>%s</t></is></c>' % (r, name))
    else:
        cells.append('<c r="C%d" t="s"><v>%d</v></c>' % (r, s(name)))
    cells.append('<c r="D%d" s="3"><v>%d</v></c>' % (r, pop))
    cells.append('<c r="E%d" s="3"><v>%d</v></c>' % (r, hh))
    cells.append('<c r="F%d"><f>D%d/E%d</f><v>%r</v></c>' % (r, r, r, pop / hh))
    cells.append('<c r="G%d" t="str"><f>C%d&amp;"（広島県）"</f><v>%s（広島県）</v></c>' % (r, r, name))
    cells.append('<c r="H%d" s="%d"><v>44197</v></c>' % (r, 1 if k % 2 == 0 else 2))
    xml_rows.append('<row r="%d">%s</row>' % (r, "".join(cells)))
    csv.append(",".join([str(code), "広島県", name, str(pop), str(hh), g(pop / hh), name + "（広島県）", "2021/1/1"]))
r = 4 + len(rows)
tp, th = sum(x[2] for x in rows), sum(x[3] for x in rows)
xml_rows.append('<row r="%d"><c r="C%d" t="s"><v>%d</v></c><c r="D%d"><f>SUM(D4:D%d)</f><v>%d</v></c>'
                '<c r="E%d"><f>SUM(E4:E%d)</f><v>%d</v></c><c r="F%d" t="e"><f>D%d/0</f><v>#DIV/0!</v></c></row>'
                % (r, r, s("合計"), r, r - 1, tp, r, r - 1, th, r, r))
csv.append(",".join(["", "", "合計", str(tp), str(th), "#DIV/0!", "", ""]))

si = "".join(rich.get(t, "<si><t>%s</t></si>" % t) for t in strings)
ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
parts = {
    "[Content_Types].xml": '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/>'
        '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/></Types>',
    "_rels/.rels": '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>',
    "xl/workbook.xml": '<?xml version="1.0" encoding="UTF-8"?><workbook %s><workbookPr/><sheets>'
        '<sheet name="説明" sheetId="1" r:id="rId1"/><sheet name="人口" sheetId="2" r:id="rId2"/></sheets></workbook>' % ns,
    "xl/_rels/workbook.xml.rels": '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>'
        '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet2.xml"/>'
        '<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>'
        '<Relationship Id="rId4" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/></Relationships>',
    "xl/sharedStrings.xml": '<?xml version="1.0" encoding="UTF-8"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="%d" uniqueCount="%d">%s</sst>'
        % (len(strings), len(strings), si),
    "xl/styles.xml": '<?xml version="1.0" encoding="UTF-8"?><styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
        '<numFmts count="1"><numFmt numFmtId="176" formatCode="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;"/></numFmts>'
        '<cellXfs count="4"><xf numFmtId="0"/><xf numFmtId="14" applyNumberFormat="1"/><xf numFmtId="176" applyNumberFormat="1"/><xf numFmtId="3" applyNumberFormat="1"/></cellXfs></styleSheet>',
    "xl/worksheets/sheet1.xml": '<?xml version="1.0" encoding="UTF-8"?><worksheet %s><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>人口の表は次のシートです</t></is></c></row></sheetData></worksheet>' % ns,
    "xl/worksheets/sheet2.xml": '<?xml version="1.0" encoding="UTF-8"?><worksheet %s><sheetData>%s</sheetData><mergeCells count="1"><mergeCell ref="A1:H1"/></mergeCells></worksheet>'
        % (ns, "".join(xml_rows)),
}
with zipfile.ZipFile("population.xlsx", "w", zipfile.ZIP_DEFLATED) as z:
    for name, text in parts.items():
        z.writestr(name, text)
with open("population.csv", "wb") as f:
    f.write("\r\n".join(csv).encode("cp932") + b"\r\n")
