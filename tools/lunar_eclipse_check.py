#!/usr/bin/python3
"""NASA's catalog of lunar eclipses 1900-2100 (Espenak & Meeus, 2008 edition: the shadow enlarged
by 1/50, as the Japanese almanac enlarges it) against the program's, and the reference table the
tests read.

  lunar_eclipse_check.py table CATALOG > tests/astro/lunar_eclipse_reference.inc
  nocturo-cli eclipses 1900 2100 --bias 0 --json > eclipses.json
  lunar_eclipse_check.py check CATALOG eclipses.json

CATALOG is lunar-eclipses-1900-2100.txt. `check` matches every eclipse of the catalog with the
program's by its date, and prints the count of each kind of mismatch and the largest differences
of the greatest eclipse (minutes; the catalog gives it to the minute in UT with its own Delta T),
the umbral and penumbral magnitudes (the catalog's three decimals) and the half-durations of the
partial and total phases (whole minutes there).
"""

import json
import sys

MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
KINDS = {"N": 1, "P": 2, "T": 3}
KIND_NAMES = {"半影月食": 1, "部分月食": 2, "皆既月食": 3}


def read_catalog(path):
    rows = []
    with open(path) as f:
        for line in f:
            p = line.split()
            if len(p) < 11:
                continue
            hh, mm = (int(v) for v in p[3].split(":"))
            rows.append(dict(date="%s-%02d-%s" % (p[0], MONTHS.index(p[1]) + 1, p[2]),
                             minute=hh * 60 + mm, kind=KINDS[p[4][0]],
                             penumbral=float(p[7]), umbral=float(p[8]),
                             partial=0 if p[9] == "-" else int(p[9][:-1]),
                             total=0 if p[10] == "-" else int(p[10][:-1])))
    return rows


def table(catalog):
    print("// NASA's lunar eclipses 1900-2100 (Espenak & Meeus, 2008 edition), written by")
    print("// tools/lunar_eclipse_check.py: date, greatest eclipse (UT minutes of the day), kind,")
    print("// penumbral and umbral magnitude, half-durations of the partial and total phases")
    print("// (minutes, 0 none).")
    for r in read_catalog(catalog):
        y, m, d = r["date"].split("-")
        print("{%s, %2d, %2d, %4d, %d, %6.3f, %6.3f, %3d, %2d}," %
              (y, int(m), int(d), r["minute"], r["kind"], r["penumbral"], r["umbral"],
               r["partial"], r["total"]))


def minutes_of(text):
    """Minutes since 1900-01-01 of an ISO 8601 UTC instant YYYY-MM-DDTHH:MM:SSZ."""
    y, m, d = int(text[0:4]), int(text[5:7]), int(text[8:10])
    if m <= 2:
        y -= 1
        m += 12
    a = y // 100
    days = int(365.25 * (y + 4716)) + int(30.6001 * (m + 1)) + d + 2 - a + a // 4 - 1524.5
    return days * 1440 + int(text[11:13]) * 60 + int(text[14:16]) + int(text[17:19]) / 60


def check(catalog, dump):
    ours = []
    with open(dump) as f:
        for line in f:
            e = json.loads(line)
            if e["body"] == "moon":
                ours.append(e)
    rows = read_catalog(catalog)
    worst = {}
    problems = []

    def note(name, value, date):
        if name not in worst or abs(value) > abs(worst[name][0]):
            worst[name] = (value, date)

    matched = set()
    for r in rows:
        g = minutes_of(r["date"] + "T00:00:00Z") + r["minute"]
        near = [e for e in ours if abs(minutes_of(e["greatest"]["utc"]) - g) < 720]
        if not near:
            problems.append("missing " + r["date"])
            continue
        e = near[0]
        matched.add(id(e))
        if KIND_NAMES[e["kind"]] != r["kind"]:
            problems.append("kind %s: catalog %d, ours %s" % (r["date"], r["kind"], e["kind"]))
        note("greatest (min)", minutes_of(e["greatest"]["utc"]) - g, r["date"])
        note("umbral magnitude", e["magnitude"] - r["umbral"], r["date"])
        note("penumbral magnitude", e["penumbralMagnitude"] - r["penumbral"], r["date"])
        c = e["contacts"]
        for name, first, last, published in (("partial half-duration (min)", "U1", "U4",
                                               r["partial"]),
                                              ("total half-duration (min)", "U2", "U3",
                                               r["total"])):
            if (c[first] is None) != (published == 0):
                problems.append("%s of %s: catalog %d" % (name, r["date"], published))
            elif published:
                half = (minutes_of(c[last]["utc"]) - minutes_of(c[first]["utc"])) / 2
                note(name, half - published, r["date"])
    for e in ours:
        if id(e) not in matched and "1900" <= e["date"][:4] <= "2100":
            problems.append("not in the catalog: " + e["date"])
    print("%d eclipses in the catalog, %d of ours" % (len(rows), len(ours)))
    for p in problems:
        print(p)
    for name, (value, date) in worst.items():
        print("largest difference of the %s: %+.4f (%s)" % (name, value, date))
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "table":
        table(sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] == "check":
        sys.exit(check(sys.argv[2], sys.argv[3]))
    else:
        sys.exit(__doc__)
