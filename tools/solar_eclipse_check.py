#!/usr/bin/python3
"""Checks the program's solar eclipses against NASA's canon (Espenak & Meeus) and its Besselian
elements, which are data, not code of ours: every eclipse's kind, greatest eclipse, magnitude and
place, and the local circumstances at Japanese cities evaluated here from the published elements
(the usual fundamental-plane reduction, written apart from the C++ code it checks).

  nocturo-eclipse-dump 1900 2100 LAT,LON ... > dump.txt
  solar_eclipse_check.py CATALOG_DIR dump.txt [--list]
  solar_eclipse_check.py table CATALOG_DIR dump.txt   the tests' reference rows (C++)

CATALOG_DIR holds solar-eclipses-1900-2100.txt and solar-besselian-1900-2100.csv. The cities are
those of CITIES below, in that order, on the dump's command line (`solar_eclipse_check.py places`
prints them). Times are compared in dynamical time, and the published elements' Earth is turned
by the program's Delta T, so that the two Delta T models drop out; the
published elements' penumbra is widened from their lunar radius 0.2724880 to the IAU 0.2725076
that the program uses for the outer contacts.
"""

import math
import sys

CITIES = [
    ("Sapporo", 43.0642, 141.3469),
    ("Sendai", 38.2682, 140.8694),
    ("Tokyo", 35.6581, 139.7414),
    ("Niigata", 37.9161, 139.0364),
    ("Nagoya", 35.1814, 136.9064),
    ("Kyoto", 35.0116, 135.7681),
    ("Osaka", 34.6864, 135.5200),
    ("Hiroshima", 34.3966, 132.4596),
    ("Fukuoka", 33.5903, 130.4017),
    ("Naha", 26.2124, 127.6809),
]
KINDS = {"P": 1, "A": 2, "T": 3, "H": 4}
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
AXIS_RATIO = 0.99664719
K_NASA = 0.2724880
K_IAU = 0.2725076


def jd_of(y, m, d):
    if m <= 2:
        y -= 1
        m += 12
    a = y // 100
    return int(365.25 * (y + 4716)) + int(30.6001 * (m + 1)) + d + 2 - a + a // 4 - 1524.5


def read_catalog(folder):
    rows = []
    with open(folder + "/solar-eclipses-1900-2100.txt") as f:
        for line in f:
            p = line.split()
            if len(p) < 13:
                continue
            y, mo, d = int(p[1]), MONTHS.index(p[2]) + 1, int(p[3])
            hh, mm, ss = (int(v) for v in p[4].split(":"))
            td = jd_of(y, mo, d) + (hh * 3600 + mm * 60 + ss) / 86400
            lat = float(p[11][:-1]) * (1 if p[11][-1] == "N" else -1)
            lon = float(p[12][:-1]) * (1 if p[12][-1] == "E" else -1)
            rows.append(dict(date="%04d-%02d-%02d" % (y, mo, d), td=td, dt=float(p[5]),
                             kind=KINDS[p[8][0]], type=p[8], gamma=float(p[9]),
                             mag=float(p[10]), lat=lat, lon=lon))
    elements = []
    with open(folder + "/solar-besselian-1900-2100.csv") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            v = [float(s) for s in line.split(",") if s.strip()]
            y, mo, d = int(v[0]), int(v[1]), int(v[2])
            # t0 is the whole hour nearest greatest eclipse (column jd), on whichever date.
            base = min((jd_of(y, mo, d) + k + v[4] / 24 for k in (-1, 0, 1)),
                       key=lambda b: abs(b - v[3]))
            elements.append(dict(base=base, t0=v[4], dt=v[5], x=v[6:10], y=v[10:14],
                                 d=v[14:17], mu=v[17:20], l1=v[20:23], l2=v[23:26],
                                 tf1=v[26], tf2=v[27]))
    return rows, elements


def poly(c, t):
    return sum(a * t ** k for k, a in enumerate(c))


def local_nasa(e, lat, lon, dt):
    """Local circumstances from the published elements, the Earth turned by Delta T dt (s): TD Julian Dates of the contacts, the
    maximum, magnitude; None when the place sees no eclipse."""
    u_ = math.atan(AXIS_RATIO * math.tan(math.radians(lat)))
    rs, rc = AXIS_RATIO * math.sin(u_), math.cos(u_)
    widen = (K_IAU - K_NASA) / math.cos(math.atan(e["tf1"]))

    def at(t):
        x, y = poly(e["x"], t), poly(e["y"], t)
        d = math.radians(poly(e["d"], t))
        h = math.radians(poly(e["mu"], t) + lon - 0.00417807 * dt)
        xi = rc * math.sin(h)
        eta = rs * math.cos(d) - rc * math.cos(h) * math.sin(d)
        zeta = rs * math.sin(d) + rc * math.cos(h) * math.cos(d)
        L1 = poly(e["l1"], t) + widen - zeta * e["tf1"]
        L2 = poly(e["l2"], t) - zeta * e["tf2"]
        return x - xi, y - eta, L1, L2, zeta

    def altitude(t):
        # The Sun's centre stands within a few arcseconds of the shadow's axis; no parallax.
        d = math.radians(poly(e["d"], t))
        h = math.radians(poly(e["mu"], t) + lon - 0.00417807 * dt)
        p = math.radians(lat)
        s = math.sin(p) * math.sin(d) + math.cos(p) * math.cos(d) * math.cos(h)
        return math.degrees(math.asin(s)) - math.degrees(4.26e-5)

    def sep(t):
        u, v, _, _, _ = at(t)
        return math.hypot(u, v)

    t, h = 0.0, 1e-3
    for _ in range(50):
        f0, fp, fm = sep(t) ** 2, sep(t + h) ** 2, sep(t - h) ** 2
        step = -(fp - fm) / (2 * h) / ((fp - 2 * f0 + fm) / h / h)
        t += max(-1, min(1, step))
        if abs(step) < 1e-8:
            break
    u, v, L1, L2, _ = at(t)
    c = math.hypot(u, v)
    if c >= L1:
        return None

    def root(f, a, b):
        fa, fb = f(a), f(b)
        if (fa < 0) == (fb < 0):
            return None
        for _ in range(200):
            m = (a + b) / 2
            fmid = f(m)
            if (fmid < 0) == (fa < 0):
                a, fa = m, fmid
            else:
                b = m
            if b - a < 1e-9:
                break
        return (a + b) / 2

    pen = lambda s: sep(s) - at(s)[2]
    umb = lambda s: sep(s) - abs(at(s)[3])
    out = dict(begin=root(pen, t - 5, t), end=root(pen, t, t + 5), max=t,
               cbegin=None, cend=None)
    steps = [out["begin"] + (out["end"] - out["begin"]) * i / 40 for i in range(41)]
    # The Sun's upper limb against 35'08" of refraction (semidiameter 16').
    up = [altitude(s) > -0.5856 - 0.2666 for s in steps]
    if all(at(s)[4] <= 0 for s in steps) and not up[0] and not up[-1]:
        return None  # the night side: the Earth keeps the shadow off the place
    out["vis"] = (1 if up[-1] else 3) if up[0] else (2 if any(up) else 0)
    out["alt"] = altitude(t)
    if c < abs(L2):
        out["cbegin"], out["cend"] = root(umb, t - 0.3, t), root(umb, t, t + 0.3)
        out["mag"] = (L1 - L2) / (L1 + L2)
    else:
        out["mag"] = (L1 - c) / (L1 + L2)
    base = e["base"]
    for k in ("begin", "end", "max", "cbegin", "cend"):
        if out[k] is not None:
            out[k] = base + out[k] / 24
    return out


def read_dump(path):
    eclipses = []
    with open(path) as f:
        for line in f:
            p = line.split()
            if p[0] == "G":
                eclipses.append(dict(ut=float(p[1]), dt=float(p[2]), kind=int(p[3]),
                                     lat=float(p[4]), lon=float(p[5]), mag=float(p[6]), local={}))
            elif p[0] == "L":
                v = [float(s) for s in p[2:]]
                eclipses[-1]["local"][int(p[1])] = dict(begin=v[0], cbegin=v[1], max=v[2],
                                                         cend=v[3], end=v[4], mag=v[5],
                                                         obsc=v[6], alt=v[7], vis=int(v[8]))
    return eclipses


def worst(name, values, unit, fmt="%.2f"):
    if not values:
        print("%-42s none" % name)
        return
    values = sorted(values, key=abs)
    a = [abs(v) for v in values]
    print(("%-42s n=%4d  median " + fmt + "  95%% " + fmt + "  max " + fmt + " %s") %
          (name, len(a), a[len(a) // 2], a[int(len(a) * 0.95) - 1 if len(a) > 1 else 0], a[-1],
           unit))


KIND_NAMES = {1: "PartialSolarEclipse", 2: "AnnularSolarEclipse", 3: "TotalSolarEclipse",
              4: "HybridSolarEclipse"}
VISIBILITY_NAMES = {0: "EclipseNotVisible", 1: "EclipseVisible", 2: "EclipseRising",
                    3: "EclipseSetting"}
# Local cases of the tests: (date of greatest eclipse in UT, place name, latitude, longitude).
LOCAL_CASES = [
    ("2012-05-20", "Tokyo", 35.6581, 139.7414),      # annular over the city
    ("2030-06-01", "Sapporo", 43.0642, 141.3469),    # annular over the city
    ("2066-06-22", "Sapporo", 43.0642, 141.3469),    # annular, the Sun rising in it
    ("1992-01-04", "Tokyo", 35.6581, 139.7414),      # the Sun rises eclipsed
    ("2046-02-05", "Osaka", 34.6864, 135.5200),      # the Sun rises eclipsed
    ("2019-12-26", "Tokyo", 35.6581, 139.7414),      # the Sun sets eclipsed
    ("2064-02-17", "Naha", 26.2124, 127.6809),       # the Sun sets eclipsed
    ("1901-11-11", "Nagoya", 35.1814, 136.9064),     # sets refracted, the centre already down
    ("2009-07-22", "Tokyo", 35.6581, 139.7414),      # partial, high Sun
    ("2017-08-21", "Tokyo", 35.6581, 139.7414),      # outside the penumbra
    ("2021-06-10", "Tokyo", 35.6581, 139.7414),      # in its projection, on the night side
    ("2017-08-21", "Honolulu", 21.3069, -157.8583),  # the Sun rises eclipsed
]


def jd_text(jd):
    return "%.6f" % jd if jd else "0"


def table(folder, dump):
    rows, elements = read_catalog(folder)
    ours = read_dump(dump)
    print("// Global: from the canon's rows (hybrids, non-central, grazing).")
    for r in rows:
        t = r["type"]
        if t[0] == "H" or t[-1] in "-+ns" or (t[0] == "P" and r["mag"] < 0.05):
            print('    {%s, %s, %.6f, %5.1f, %.4f, %6.1f, %6.1f},' %
                  (", ".join(str(int(v)) for v in r["date"].split("-")), KIND_NAMES[r["kind"]], r["td"], r["dt"], r["mag"], r["lat"],
                   r["lon"]))
    print("// Local: from the canon's Besselian elements, the program's Delta T.")
    for date, name, lat, lon in LOCAL_CASES:
        y, m, d = (int(v) for v in date.split("-"))
        o = min(ours, key=lambda o: abs(o["ut"] - jd_of(y, m, d) - 0.5))
        td = o["ut"] + o["dt"] / 86400
        e = min(elements, key=lambda e: abs(e["base"] - td))
        n = local_nasa(e, lat, lon, o["dt"])
        if n is None:
            print('    {%s, %8.4f, %9.4f, %s, 0, 0, 0, 0, 0, 0},  // %s' %
                  (", ".join(str(int(v)) for v in date.split("-")), lat, lon, VISIBILITY_NAMES[0], name))
            continue
        ut = lambda k: n[k] - o["dt"] / 86400 if n[k] else 0
        print('    {%s, %8.4f, %9.4f, %s, %s, %s, %s, %s, %s, %.4f},  // %s' %
              (", ".join(str(int(v)) for v in date.split("-")), lat, lon, VISIBILITY_NAMES[n["vis"]], jd_text(ut("begin")),
               jd_text(ut("cbegin")), jd_text(ut("max")), jd_text(ut("cend")),
               jd_text(ut("end")), n["mag"], name))


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "table":
        table(sys.argv[2], sys.argv[3])
        return
    if len(sys.argv) > 1 and sys.argv[1] == "places":
        print(" ".join("%.4f,%.4f" % (c[1], c[2]) for c in CITIES))
        return
    rows, elements = read_catalog(sys.argv[1])
    ours = read_dump(sys.argv[2])
    listing = "--list" in sys.argv
    print("catalog %d eclipses, program %d" % (len(rows), len(ours)))
    used = set()
    kinds, times, mags, lats, lons, lons_raw = [], [], [], [], [], []
    for r in rows:
        match = [o for o in ours if abs(o["ut"] + o["dt"] / 86400 - r["td"]) < 0.5]
        if not match:
            print("MISSING", r["date"], r["type"])
            continue
        o = match[0]
        used.add(id(o))
        dtd = (o["ut"] + o["dt"] / 86400 - r["td"]) * 86400
        times.append(dtd)
        mags.append(o["mag"] - r["mag"])
        lats.append(o["lat"] - r["lat"])
        raw = (o["lon"] - r["lon"] + 540) % 360 - 180
        lons_raw.append(raw)
        lons.append(raw - 0.00417807 * (o["dt"] - r["dt"]))
        if o["kind"] != r["kind"]:
            kinds.append(r["date"])
            print("KIND", r["date"], r["type"], r["gamma"], r["mag"], "program", o["kind"])
        if listing:
            print("%s %-3s dt %+6.1fs mag %+.4f lat %+.2f lon %+.2f" %
                  (r["date"], r["type"], dtd, o["mag"] - r["mag"], lats[-1], lons[-1]))
    for o in ours:
        if id(o) not in used:
            print("EXTRA", o)
    print("kinds disagreeing:", len(kinds))
    worst("greatest eclipse, TD (s)", times, "s")
    worst("magnitude at greatest", mags, "", "%.4f")
    worst("latitude of greatest (deg)", lats, "deg")
    worst("longitude of greatest, same Delta T (deg)", lons, "deg")
    worst("longitude of greatest, own Delta T (deg)", lons_raw, "deg")
    # Local circumstances at the cities, in dynamical time.
    contacts = {"begin": [], "end": [], "max": [], "cbegin": [], "cend": []}
    lmags, missing = [], 0
    for o in ours:
        td = o["ut"] + o["dt"] / 86400
        e = min(elements, key=lambda e: abs(e["base"] - td))
        for i, (name, lat, lon) in enumerate(CITIES):
            n = local_nasa(e, lat, lon, o["dt"])
            mine = o["local"].get(i)
            if (n is None) != (mine is None):
                missing += 1
                print("LOCAL ONLY IN", "program" if mine else "elements", name, o["ut"],
                      n and n["mag"], mine and mine["mag"])
                continue
            if n is None:
                continue
            shift = o["dt"] / 86400
            for k in contacts:
                if n[k] is not None and mine[k] != 0:
                    contacts[k].append((mine[k] + shift - n[k]) * 86400)
                elif (n[k] is None) != (mine[k] == 0):
                    print("CENTRAL ONLY IN ONE", name, o["ut"], k)
            lmags.append(mine["mag"] - n["mag"])
            if mine["vis"] != n["vis"]:
                print("VISIBILITY", name, o["ut"], "program", mine["vis"], "elements", n["vis"],
                      "begin alt", n["alt"])
            if listing:
                print("  %-9s begin %+5.1f max %+5.1f end %+5.1f mag %+.4f" %
                      (name, contacts["begin"][-1], contacts["max"][-1], contacts["end"][-1],
                       lmags[-1]))
    print("local: places eclipsed in one evaluation only:", missing)
    for k in ("begin", "cbegin", "max", "cend", "end"):
        worst("local %s, TD (s)" % k, contacts[k], "s")
    worst("local magnitude", lmags, "", "%.4f")


if __name__ == "__main__":
    main()
