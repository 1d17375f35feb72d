#!/usr/bin/env python3
"""Writes astro/elp_mpp02_terms.cpp, the Moon's ELP/MPP02 series (DE405 fit) as C++ tables.

The coefficients are those of ELP/MPP02 (Chapront & Francou 2003), with the constants fitted to
the DE405 ephemeris already applied to the amplitudes of the main problem. They are read from the
data file of the npm package astronomia 4.3.0 (data only), which distributes every term of the
theory, main problem and perturbations merged, as one row

    A, phi, w1, w2, w3, w4:   A sin(phi + w1 T + w2 T^2 + w3 T^3 + w4 T^4)

with A in arcseconds (longitude V, latitude U) or kilometres (distance r), phi in radians and the
w in radians per Julian century to the power; each series is multiplied by T^a (a = 0 .. 3), as the
theory's perturbation files are. The tables keep that layout and order, one term a line:

    npm pack astronomia@4.3.0 && tar xzf astronomia-4.3.0.tgz
    tools/elp_mpp02_terms.py package/data/elpMppDeFull.js > astro/elp_mpp02_terms.cpp
    tools/elp_mpp02_terms.py --check package/data/elpMppDeFull.js        (truncation error)
    tools/elp_mpp02_terms.py --reference package/data/elpMppDeFull.js    (test table)

Truncation: a term is kept when |A| reaches the threshold of its coordinate (0.005" in V and U,
0.002 km in r); |T| <= 1 over 1900-2100, so a term of T^a cannot exceed its |A| there. --check
evaluates the full series and the kept terms at 401 instants evenly spread over 1900-2100 and
prints the largest differences of the Moon's longitude, latitude and distance of date:
1887 of 35901 terms kept; 0.199" in longitude, 0.155" in latitude, 0.082 km in distance.
"""
import math
import re
import sys

THRESHOLD = {"L": 0.005, "B": 0.005, "R": 0.002}
NAMES = {"L": "Longitude", "B": "Latitude", "R": "Distance"}
UNITS = {"L": "arcseconds", "B": "arcseconds", "R": "kilometres"}
ARCSEC = math.pi / 648000.0

# Laskar's precession of the ecliptic as ELP/MPP02 applies it: P and Q of the ecliptic of date
# against the J2000 ecliptic, coefficients of T^1 .. T^5.
LASKAR_P = (0.10180391e-4, 0.47020439e-6, -0.5417367e-9, -0.2507948e-11, 0.463486e-14)
LASKAR_Q = (-0.113469002e-3, 0.12372674e-6, 0.1265417e-8, -0.1371808e-11, -0.320334e-14)


def read_series(path):
    """W1 and the rows of each series as the text of their six numbers, keyed "L0" .. "R3"."""
    text = open(path, encoding="utf-8").read()
    w1 = re.search(r"W1: \[([^\]]*)\]", text).group(1).split(", ")
    series = {}
    variable = None
    rows = None
    for line in text.splitlines():
        m = re.match(r"\s*([LBR]): \{", line)
        if m:
            variable = m.group(1)
            continue
        m = re.match(r'\s*"(\d)": \[', line)
        if m:
            rows = series.setdefault(variable + m.group(1), [])
            continue
        m = re.match(r"\s*\[([^\]]*)\],?\s*$", line)
        if m and rows is not None:
            rows.append(m.group(1).split(", "))
    return w1, series


def kept(rows, variable):
    return [row for row in rows if abs(float(row[0])) >= THRESHOLD[variable]]


def keys_of(series, variable):
    return sorted(k for k in series if k[0] == variable and series[k])


def sum_series(series, variable, T):
    total = 0.0
    for key in keys_of(series, variable):
        s = 0.0
        for row in series[key]:
            A, phi, w1, w2, w3, w4 = row
            s += A * math.sin(phi + T * (w1 + T * (w2 + T * (w3 + T * w4))))
        total += s * T ** int(key[1])
    return total


def position_of_date(w1, series, T):
    """Longitude and latitude of date (degrees) and distance (km) from the series."""
    V = w1[0] + T * (w1[1] + T * (w1[2] + T * (w1[3] + T * w1[4])))
    V += sum_series(series, "L", T) * ARCSEC
    U = sum_series(series, "B", T) * ARCSEC
    r = sum_series(series, "R", T)
    x = [r * math.cos(V) * math.cos(U), r * math.sin(V) * math.cos(U), r * math.sin(U)]
    P = sum(c * T ** (i + 1) for i, c in enumerate(LASKAR_P))
    Q = sum(c * T ** (i + 1) for i, c in enumerate(LASKAR_Q))
    ra = 2 * math.sqrt(1 - P * P - Q * Q)
    j = [(1 - 2 * P * P) * x[0] + 2 * P * Q * x[1] + P * ra * x[2],
         2 * P * Q * x[0] + (1 - 2 * Q * Q) * x[1] - Q * ra * x[2],
         -P * ra * x[0] + Q * ra * x[1] + (1 - 2 * P * P - 2 * Q * Q) * x[2]]
    # From the J2000 ecliptic to the mean ecliptic and equinox of date (Lieske's eta, Pi, p).
    eta = (47.0029 - 0.03302 * T + 0.000060 * T * T) * T * ARCSEC
    Pi = math.radians(174.876384) - (869.8089 + 0.03536 * T) * T * ARCSEC
    p = (5029.0966 + (1.11113 - 0.000006 * T) * T) * T * ARCSEC
    ux = math.cos(Pi) * j[0] + math.sin(Pi) * j[1]
    uy = -math.sin(Pi) * j[0] + math.cos(Pi) * j[1]
    wy = math.cos(eta) * uy + math.sin(eta) * j[2]
    wz = -math.sin(eta) * uy + math.cos(eta) * j[2]
    lon = math.degrees(Pi + p + math.atan2(wy, ux)) % 360.0
    lat = math.degrees(math.atan2(wz, math.hypot(ux, wy)))
    return lon, lat, math.sqrt(j[0] ** 2 + j[1] ** 2 + j[2] ** 2)


def as_numbers(w1, series):
    return [float(v) for v in w1], {k: [[float(v) for v in row] for row in rows]
                                    for k, rows in series.items()}


def check(w1, series):
    w1n, full = as_numbers(w1, series)
    short = {k: kept(rows, k[0]) for k, rows in full.items()}
    worst = [0.0, 0.0, 0.0]
    for i in range(401):
        T = -1.0 + i / 200.0
        a = position_of_date(w1n, full, T)
        b = position_of_date(w1n, short, T)
        dlon = (a[0] - b[0] + 180.0) % 360.0 - 180.0
        worst = [max(worst[0], abs(dlon) * 3600), max(worst[1], abs(a[1] - b[1]) * 3600),
                 max(worst[2], abs(a[2] - b[2]))]
    count = sum(len(rows) for rows in short.values())
    total = sum(len(rows) for rows in full.values())
    print(f"{count} of {total} terms; largest difference from the full series over 1900-2100: "
          f'longitude {worst[0]:.3f}", latitude {worst[1]:.3f}", distance {worst[2]:.4f} km')


def reference(w1, series):
    """Rows {T, longitude, latitude, distance} of the full series for the native test."""
    w1n, full = as_numbers(w1, series)
    for T in (-1.0, -0.7345, -0.31, 0.0, 0.0812, 0.2617, 0.5, 0.9999):
        lon, lat, r = position_of_date(w1n, full, T)
        print(f"    {{{T:8}, {lon:.9f}, {lat:.9f}, {r:.5f}}},")


def write_tables(w1, series):
    out = []
    out.append("// Generated by tools/elp_mpp02_terms.py; do not edit.")
    out.append("//")
    out.append("// ELP/MPP02, Chapront & Francou 2003, fitted to DE405: the Moon's longitude V and latitude U")
    out.append("// referred to the mean ecliptic of date and the departure point of J2000, and its distance r.")
    out.append("// Each row is one term, A sin(phi + w1 T + w2 T^2 + w3 T^3 + w4 T^4), the series of power a")
    out.append("// multiplied by T^a, rows in the order of the data. Kept: |A| >= 0.005\" in V and U and")
    out.append("// |A| >= 0.002 km in r; over 1900-2100 the kept terms stay within 0.2\" in longitude,")
    out.append("// 0.16\" in latitude and 0.09 km in distance of the full series (tools/elp_mpp02_terms.py).")
    out.append('#include "astro/precise_moon.h"')
    out.append("")
    out.append("// The mean longitude of the Moon W1 (radians, powers of T from 0 to 4).")
    out.append("const double MoonMeanLongitudeW1[5] = {" + ", ".join(w1) + "};")
    out.append("")
    out.append("namespace {")
    out.append("")
    out.append("// clang-format off")
    for var in "LBR":
        for key in keys_of(series, var):
            full = series[key]
            rows = kept(full, var)
            if not rows:
                continue
            name = "Moon" + NAMES[var] + key[1]
            out.append("")
            out.append(f"// {name}: {len(rows)} of {len(full)} terms; A in {UNITS[var]}.")
            out.append(f"const ElpMpp02Term {name}[] = {{")
            widths = [max(len(row[i]) for row in rows) for i in range(6)]
            for row in rows:
                cells = ", ".join(row[i].rjust(widths[i]) for i in range(6))
                out.append(f"    {{{cells}}},")
            out.append("};")
    out.append("// clang-format on")
    out.append("")
    out.append("}  // namespace")
    for var in "LBR":
        name = f"Moon{NAMES[var]}Series"
        out.append("")
        out.append(f"const ElpMpp02Series {name}[] = {{")
        for key in keys_of(series, var):
            if kept(series[key], var):
                table = "Moon" + NAMES[var] + key[1]
                out.append(f"    {{{table}, sizeof({table}) / sizeof({table}[0]), {key[1]}}},")
        out.append("};")
        out.append(f"const int Moon{NAMES[var]}SeriesCount = sizeof({name}) / sizeof({name}[0]);")
    print("\n".join(out))


def main():
    args = sys.argv[1:]
    mode = args.pop(0) if args and args[0].startswith("--") else None
    if len(args) != 1:
        sys.exit("usage: elp_mpp02_terms.py [--check|--reference] elpMppDeFull.js")
    w1, series = read_series(args[0])
    if mode == "--check":
        check(w1, series)
    elif mode == "--reference":
        reference(w1, series)
    else:
        write_tables(w1, series)


if __name__ == "__main__":
    main()
