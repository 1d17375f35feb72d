#!/usr/bin/python3
"""Checks Nocturo's solar terms against an independent ephemeris (astropy's ERFA).

The reference Sun: the Earth's heliocentric and barycentric position and velocity from ERFA's
epv00, the Sun where it stood when its light left it, the annual aberration (ab), the rotation to
the mean ecliptic and equinox of date of the IAU 2006 precession (ecm06) and the IAU 2000A
nutation in longitude (nut06a). Instants are in dynamical time (TT); local dates in Japan come
from them through Nocturo's own Delta T model, so that a date differs only where the instant does.

    tools/sun_reference.py table        rows of the reference table of tests/astro/precise_sun_test.cpp
    tools/sun_reference.py dates CLI    every term date 1900-2100 of `CLI terms YEAR --bias -540`
                                        against the reference (about two minutes)

Needs Debian's python3-astropy (tools/setup.sh installs it).
"""
import datetime
import subprocess
import sys

import erfa
import numpy as np

LIGHT_AU_PER_DAY = 173.14463267424034
J2000 = 2451545.0


def apparent_longitude(jd_tt):
    """The Sun's apparent geocentric ecliptic longitude of date in degrees at a TT Julian Date."""
    d1, d2 = J2000, jd_tt - J2000
    helio, bary = erfa.epv00(d1, d2)
    distance = np.linalg.norm(helio[0])
    sun_velocity = bary[1] - helio[1]
    # The Sun's barycentric motion during the light time, then the aberration of the Earth's
    # barycentric velocity.
    direction = -helio[0] - sun_velocity * (distance / LIGHT_AU_PER_DAY)
    direction = direction / np.linalg.norm(direction)
    v = bary[1] / LIGHT_AU_PER_DAY
    apparent = erfa.ab(direction, v, distance, np.sqrt(1 - v @ v))
    ecliptic = erfa.ecm06(d1, d2) @ apparent
    longitude = np.degrees(np.arctan2(ecliptic[1], ecliptic[0]))
    return (longitude + np.degrees(erfa.nut06a(d1, d2)[0])) % 360


def term_instant(year, longitude):
    """TT Julian Date at which the Sun reaches the longitude within (about) the civil year."""
    jd = 2451623.8 + (year - 2000) * 365.2422 + longitude / 0.98565
    if longitude > 280:  # January to March: before the equinox of the same year
        jd -= 365.2422
    for _ in range(30):
        diff = (apparent_longitude(jd) - longitude + 180) % 360 - 180
        if abs(diff) < 1e-10:
            break
        jd -= diff / 0.98565
    return jd


def program_local_jd(jd_tt, bias=-540):
    """The local Julian Date Nocturo gives a TT instant (its Delta T model, then the zone)."""
    T = (jd_tt - J2000) / 36525
    ut = ((T * 36525 + 2451545) * 36525 + 1816.8197285) * 2.7378507307409962e-05
    return ut - bias * 0.0006944444444444445


def civil_date(jd):
    return datetime.date.fromordinal(int(np.floor(jd + 0.5)) - 1721425)


def table():
    # The five dates the short series put on the wrong day, the reference instants nearest a
    # local midnight, the first and the last term of the range, then each longitude once in a
    # year spread over the range.
    rows = [(2021, 315), (1950, 300), (1964, 165), (2030, 330), (2053, 300),
            (1917, 180), (1927, 0), (1900, 285), (2100, 270), (2081, 60)]
    for i in range(24):
        rows.append((1900 + (37 * i + 11) % 201, 15 * ((7 * i) % 24)))
    for year, longitude in rows:
        print(f"    {{{year}, {longitude:3d}, {term_instant(year, longitude):.9f}}},")


def dates(cli):
    mismatches = 0
    nearest = []
    for year in range(1900, 2101):
        output = subprocess.run([cli, "terms", str(year), "--bias", "-540"], check=True,
                                capture_output=True, text=True).stdout
        shown = {}
        for line in output.splitlines():
            stamp, longitude, _ = line.split("\t")
            shown[int(longitude)] = datetime.date.fromisoformat(stamp[:10])
        for k in range(24):
            local = program_local_jd(term_instant(year, 15 * k))
            expected = civil_date(local)
            since = (local + 0.5) % 1
            seconds = min(since, 1 - since) * 86400
            nearest.append((seconds, year, 15 * k))
            if shown[15 * k] != expected:
                mismatches += 1
                print(f"{year} {15 * k:3d}: shown {shown[15 * k]}, reference {expected}")
    nearest.sort()
    print("closest to a local midnight:",
          ", ".join(f"{y} {k} ({s:.1f} s)" for s, y, k in nearest[:5]))
    print(f"{201 * 24 - mismatches} of {201 * 24} term dates agree")
    return 1 if mismatches else 0


def main():
    if len(sys.argv) == 2 and sys.argv[1] == "table":
        table()
        return 0
    if len(sys.argv) == 3 and sys.argv[1] == "dates":
        return dates(sys.argv[2])
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main())
