#!/usr/bin/python3
"""Checks `nocturo-cli ics` from outside: the file parses with the icalendar package and passes
libical's RFC 5545 restriction check, and every event agrees with what `nocturo-cli days` and
`nocturo-cli phases` say for the same days.

Usage: ics_check.py PATH-TO-nocturo-cli. Exits 1 on the first failure, and also when Python's
icalendar package or libical is missing: a check that cannot run must not pass.
"""
import ctypes
import ctypes.util
import os
import struct
import subprocess
import sys
import tempfile
from datetime import date, datetime, timedelta, timezone


def fail(message):
    print("ics_check: FAIL: " + message)
    sys.exit(1)


try:
    import icalendar
except ImportError:
    fail("Python's icalendar package is missing; install python3-icalendar (tools/setup.sh does)")

CLI = sys.argv[1] if len(sys.argv) == 2 else fail("usage: ics_check.py PATH-TO-nocturo-cli")
STAMP = "20260101T000000Z"
ENV = dict(os.environ, SOURCE_DATE_EPOCH="1767225600", TZ="UTC")
JAPAN = timezone(timedelta(hours=9))
FIRST_DAY = date(1900, 1, 1)
LAST_DAY = date(2100, 12, 31)
PHASE_NAMES = {0: "新月", 90: "上弦", 180: "満月", 270: "下弦"}


def run(*args, status=0, env=ENV):
    result = subprocess.run([CLI, *args], capture_output=True, env=env)
    if result.returncode != status:
        fail("%s exited with %d, not %d: %s" % (" ".join(args), result.returncode, status,
                                               result.stderr.decode(errors="replace")[:300]))
    return result.stdout


# ---- The two validators. ----

def load_libical():
    path = ctypes.util.find_library("ical") or "libical.so.3"
    try:
        lib = ctypes.CDLL(path)
    except OSError:
        fail("libical is missing; install libical3 (tools/setup.sh does)")
    lib.icalparser_parse_string.restype = ctypes.c_void_p
    lib.icalparser_parse_string.argtypes = [ctypes.c_char_p]
    lib.icalrestriction_check.argtypes = [ctypes.c_void_p]
    lib.icalcomponent_count_errors.argtypes = [ctypes.c_void_p]
    lib.icalcomponent_free.argtypes = [ctypes.c_void_p]
    return lib


LIBICAL = load_libical()


def check_with_libical(raw, what):
    component = LIBICAL.icalparser_parse_string(raw)
    if not component:
        fail("%s: libical cannot parse it" % what)
    # The restriction check adds an X-LIC-ERROR property for each broken rule of RFC 5545, the
    # parser one for each property it could not read.
    passed = LIBICAL.icalrestriction_check(component)
    errors = LIBICAL.icalcomponent_count_errors(component)
    LIBICAL.icalcomponent_free(component)
    if not passed or errors:
        fail("%s: libical reports %d errors" % (what, errors))


def check_lines(raw, what):
    if not raw.startswith(b"BEGIN:VCALENDAR\r\n") or not raw.endswith(b"END:VCALENDAR\r\n"):
        fail("%s: not one VCALENDAR" % what)
    if raw.replace(b"\r\n", b"").find(b"\n") >= 0 or raw.replace(b"\r\n", b"").find(b"\r") >= 0:
        fail("%s: a line break other than CRLF" % what)
    for number, line in enumerate(raw.split(b"\r\n")[:-1], 1):
        if len(line) > 75:
            fail("%s: line %d has %d octets" % (what, number, len(line)))
        try:
            line.decode("utf-8")  # a character split by folding makes a line invalid UTF-8
        except UnicodeDecodeError:
            fail("%s: line %d is not whole UTF-8 characters" % (what, number))
    for head in (b"\r\nVERSION:2.0\r\n", b"\r\nPRODID:", b"\r\nCALSCALE:GREGORIAN\r\n",
                 b"\r\nX-WR-CALNAME:", b"\r\nX-WR-TIMEZONE:Asia/Tokyo\r\n"):
        if head not in raw:
            fail("%s: no %s" % (what, head.strip().decode()))


def as_date(value):
    return value if not isinstance(value, datetime) else fail("a date-time where a date belongs")


def event_of(component):
    category = component.get("CATEGORIES")
    return {
        "uid": str(component["UID"]),
        "stamp": component.decoded("DTSTAMP").strftime("%Y%m%dT%H%M%SZ"),
        "summary": str(component["SUMMARY"]),
        "category": ",".join(str(c) for c in category.cats) if category else "",
        "description": str(component.get("DESCRIPTION", "")),
        "start": component.decoded("DTSTART"),
        "end": component.decoded("DTEND") if "DTEND" in component else None,
        "text": component.to_ical(),
    }


def parse(raw, what):
    """The events of an export, each a dict, after both validators and the line checks."""
    check_lines(raw, what)
    check_with_libical(raw, what)
    try:
        events = [event_of(component) for component in
                  icalendar.Calendar.from_ical(raw).walk("VEVENT")]
    except Exception as error:  # whatever the parser raises on a malformed value
        fail("%s: icalendar cannot read it: %r" % (what, error))
    for event in events:
        if event["stamp"] != STAMP:
            fail("%s: DTSTAMP %s, not SOURCE_DATE_EPOCH's %s" % (what, event["stamp"], STAMP))
    uids = [e["uid"] for e in events]
    if len(set(uids)) != len(uids):
        fail("%s: a UID is used twice" % what)
    return events


# ---- What days and phases say. ----

def days_rows(first, last, *options):
    first = max(first, FIRST_DAY)
    last = min(last, LAST_DAY)
    rows = {}
    for line in run("days", first.isoformat(), last.isoformat(), "--bias", "-540",
                    *options).decode().splitlines():
        c = line.split("\t")
        rows[date.fromisoformat(c[0])] = {
            "lunar": (int(c[2]), int(c[3]), c[4] == "1"), "rokuyo": c[5], "kind": int(c[8]),
            "holiday": c[9], "term": c[10], "seasonal": {n for n in c[11:13] if n},
            "phase": c[13]}
    return rows


def phases_between(first, last):
    """The principal phases of the Japanese days first .. last: (UTC instant to the second as
    `phases` prints it, angle)."""
    found = []
    for line in run("phases", max(first - timedelta(days=1), FIRST_DAY).isoformat(),
                    min(last + timedelta(days=1), LAST_DAY).isoformat()).decode().splitlines():
        text, angle = line.split("\t")
        day = datetime.strptime(text[:10], "%Y-%m-%d")
        hour, minute, second = int(text[11:13]), int(text[14:16]), int(text[17:19])
        # A reading within half a second of midnight is printed as hour 24 of the same date.
        instant = (day + timedelta(hours=hour, minutes=minute, seconds=second)).replace(
            tzinfo=timezone.utc)
        if first <= instant.astimezone(JAPAN).date() <= last:
            found.append((instant, int(angle)))
    return found


def day_events(events, category):
    return [e for e in events if e["category"] == category]


def check_against_days(events, first, last, rokuyo=False, custom_names=(), options=()):
    """Every event of every kind against the days listing and the phase listing."""
    rows = days_rows(first - timedelta(days=40), last + timedelta(days=40), *options)
    expected = set()
    for day, row in rows.items():
        if not first <= day <= last:
            continue
        if row["kind"] in (0, 1, 2) and row["holiday"]:
            custom = row["holiday"] in custom_names
            category = {0: "祝日", 1: "カスタム休日" if custom else "休日", 2: "記念日"}[row["kind"]]
            expected.add((day, category, row["holiday"].lstrip(" "), ""))
        if row["term"]:
            expected.add((day, "二十四節気", row["term"], ""))
        if rokuyo:
            month, lunar_day, leap = row["lunar"]
            expected.add((day, "六曜", row["rokuyo"], "旧暦%s%d月%d日 %s" % (
                "閏" if leap else "", month, lunar_day, row["rokuyo"])))
    actual = set()
    seasonal_days = set()
    for e in events:
        if e["category"] == "月相":
            continue
        start, end = as_date(e["start"]), as_date(e["end"])
        if e["category"] == "雑節":
            # A period is one event over all its days, even where the range cuts it.
            for k in range((end - start).days):
                seasonal_days.add((start + timedelta(days=k), e["summary"]))
            for outside in (start - timedelta(days=1), end):
                if outside in rows and e["summary"] in rows[outside]["seasonal"]:
                    fail("%s does not cover all of its period (%s)" % (e["uid"], outside))
            continue
        if end != start + timedelta(days=1) or not first <= start <= last:
            fail("%s: %s .. %s is not one day of the range" % (e["uid"], start, end))
        actual.add((start, e["category"], e["summary"], e["description"]))
    if actual != expected:
        fail("events differ from days: missing %s, extra %s" % (
            sorted(expected - actual)[:5], sorted(actual - expected)[:5]))
    listed = {(day, name) for day, row in rows.items() for name in row["seasonal"]}
    if seasonal_days - listed or {(d, n) for d, n in listed if first <= d <= last} - seasonal_days:
        fail("seasonal days differ from days: %s" % sorted(seasonal_days ^ listed)[:5])

    phase_events = day_events(events, "月相")
    expected_phases = [(instant.replace(second=0), PHASE_NAMES[angle])
                       for instant, angle in phases_between(first, last)]
    actual_phases = [(e["start"], e["summary"]) for e in phase_events if e["end"] is None]
    if sorted(actual_phases) != sorted(expected_phases) or len(actual_phases) != len(phase_events):
        fail("phases differ from `phases`: %s" % sorted(set(actual_phases) ^ set(expected_phases))[:4])
    for instant, name in actual_phases:
        # To the minute, dropping the seconds, the phase stays on the day the calendar marks.
        if rows[instant.astimezone(JAPAN).date()]["phase"] != name:
            fail("%s at %s is not on the day `days` marks it" % (name, instant))


def export(*args):
    return parse(run("ics", *args), "ics " + " ".join(args))


# ---- The checks. ----

def check_holidays_2019_to_2021():
    events = export("2019", "2021")
    check_against_days(events, date(2019, 1, 1), date(2021, 12, 31))
    holidays = {(e["start"], e["summary"]) for e in events if e["category"] in ("祝日", "休日")}
    for day, name in [((2019, 4, 30), "国民の休日"), ((2019, 5, 1), "天皇の即位の日"),
                      ((2019, 5, 2), "国民の休日"), ((2019, 10, 22), "即位礼正殿の儀"),
                      ((2020, 7, 23), "海の日"), ((2020, 7, 24), "スポーツの日"),
                      ((2020, 8, 10), "山の日"), ((2021, 7, 22), "海の日"),
                      ((2021, 7, 23), "スポーツの日"), ((2021, 8, 8), "山の日"),
                      ((2021, 8, 9), "振替休日")]:
        if (date(*day), name) not in holidays:
            fail("no %s on %s" % (name, date(*day)))
    for day in [(2020, 7, 20), (2020, 8, 11), (2020, 10, 12), (2021, 7, 19), (2021, 8, 11),
                (2021, 10, 11)]:
        if any(d == date(*day) for d, _ in holidays):
            fail("a holiday on %s, whose holiday moved for the Olympic Games" % date(*day))


def check_lunisolar_2033():
    # The months around the 2033 lunisolar ambiguity, with their leap month.
    first, last = date(2033, 6, 1), date(2034, 3, 31)
    events = export(first.isoformat(), last.isoformat(), "--rokuyo")
    check_against_days(events, first, last, rokuyo=True)
    if not any("閏11月" in e["description"] for e in day_events(events, "六曜")):
        fail("no leap 11th month in 2033-2034")


def check_reproducible_and_wider():
    narrow_args = ("2020-07-25", "2020-08-20", "--rokuyo")  # cuts the summer 土用 period
    first = run("ics", *narrow_args)
    if run("ics", *narrow_args) != first:
        fail("two runs of the same export differ")
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "nocturo.ics")
        run("ics", *narrow_args, "-o", path)
        with open(path, "rb") as file:
            if file.read() != first:
                fail("-o FILE differs from standard output")
    if run("ics", *narrow_args, env=dict(ENV, TZ="America/New_York")) != first:
        fail("the default bias follows the system's zone, not Japan's")
    if run("ics", *narrow_args, "--bias", "300") == first:
        fail("--bias does not change the local dates")
    narrow = {e["uid"]: e["text"] for e in parse(first, "narrow export")}
    wide = {e["uid"]: e["text"] for e in export("2020", "2021", "--rokuyo")}
    for uid, text in narrow.items():
        if wide.get(uid) != text:
            fail("the wider export lacks or changes %s" % uid)


def custom_record(kind, first_year, last_year, rule, month, day, week, weekday, name):
    encoded = name.encode("cp932")
    # The 56-byte record: the fields, 4 reserved bytes, the longitude, the name in 24 bytes.
    return struct.pack("<iHHiHHHHid", kind, first_year, last_year, rule, month, day, week,
                       weekday, 0, 0.0) + encoded + bytes(24 - len(encoded))


def check_custom_holidays():
    # Separators and a Shift_JIS trail byte 0x5C (表, ソ, 能) in a name: escaped once, in UTF-8.
    tricky = "表,ソ;能\\x"
    records = [custom_record(1, 2019, 2021, 0, 6, 15, 0, 0, tricky),
               custom_record(2, 2019, 2021, 1, 0, 0, 2, 3, "月例会"),
               custom_record(1, 2019, 2021, 0, 1, 1, 0, 0, "元日に重なる日")]
    with tempfile.TemporaryDirectory() as folder:
        good = os.path.join(folder, "good.dat")
        with open(good, "wb") as file:
            file.write(b"NCDT" + struct.pack("<I", len(records)) + b"".join(records))
        raw = run("ics", "2019", "2021", "--custom", good)
        if "SUMMARY:表\\,ソ\\;能\\\\x\r\n".encode() not in raw:
            fail("the custom name is not escaped as one TEXT value")
        events = parse(raw, "custom export")
        check_against_days(events, date(2019, 1, 1), date(2021, 12, 31),
                           custom_names={tricky, "月例会"}, options=("--custom", good))
        counts = {name: sum(e["summary"] == name for e in events)
                  for name in (tricky, "月例会", "元日に重なる日")}
        if counts != {tricky: 3, "月例会": 36, "元日に重なる日": 0}:
            fail("custom days %s" % counts)
        only = export("2019", "2021", "--custom", good, "--only", "custom")
        if {e["category"] for e in only} != {"カスタム休日", "記念日"}:
            fail("--only custom gives %s" % {e["category"] for e in only})

        damaged = os.path.join(folder, "damaged.dat")
        with open(damaged, "wb") as file:
            file.write(b"NCDT" + struct.pack("<I", len(records)) + records[0])  # records cut short
        if export("2019", "2021", "--custom", damaged, "--only", "custom"):
            fail("a damaged custom file gave custom days")

        path = os.path.join(folder, "out.ics")
        for args in (("2021", "2019"), ("1899", "1900"), ("2019", "2101"),
                     ("2019", "2019", "--only", "holidays,moons"),
                     ("2019", "2019", "--custom", os.path.join(folder, "missing.dat"))):
            if run("ics", *args, "-o", path, status=2) or sorted(os.listdir(folder)) != [
                    "damaged.dat", "good.dat"]:
                fail("ics %s wrote something" % " ".join(args))
    run("ics", "2019", "2019", status=2, env=dict(ENV, SOURCE_DATE_EPOCH="yesterday"))


def check_notes_and_kou():
    # Across a new year, where the 候 of late December goes on into January.
    first, last = date(2023, 12, 1), date(2024, 3, 31)
    events = export(first.isoformat(), last.isoformat(), "--only", "notes,kou")
    rows = {}
    for line in run("days", (first - timedelta(days=1)).isoformat(), last.isoformat(),
                    "--bias", "-540", "--notes").decode().splitlines():
        c = line.split("\t")
        rows[date.fromisoformat(c[0])] = (c[16], c[17])
    listed_notes = {(d, n) for d, (n, _) in rows.items() if n and d >= first}
    listed_kou = {(d, k) for d, (_, k) in rows.items()
                  if d >= first and rows[d - timedelta(days=1)][1] != k}
    exported_notes = {(e["start"], e["summary"]) for e in day_events(events, "選日")}
    exported_kou = {(e["start"], e["summary"].split("（")[0]) for e in day_events(events, "七十二候")}
    if exported_notes != listed_notes:
        fail("notes differ from days: %s" % sorted(exported_notes ^ listed_notes)[:5])
    if exported_kou != listed_kou:
        fail("kou starts differ from days: %s" % sorted(exported_kou ^ listed_kou)[:5])
    if len(exported_kou) != 25 or (date(2024, 2, 4), "東風解凍") not in exported_kou:
        fail("%d kou starts, 東風解凍 on %s" % (
            len(exported_kou), [d for d, k in exported_kou if k == "東風解凍"]))
    if len(events) != len(day_events(events, "選日")) + len(exported_kou):
        fail("--only notes,kou exported another kind")
    if any(e["end"] != e["start"] + timedelta(days=1) for e in events):
        fail("a notes or kou event is not one day long")
    if export("2024-01-01", "2024-01-31") != export("2024-01-01", "2024-01-31", "--only",
                                                    "holidays,terms,seasonal,phases,custom"):
        fail("the default kinds changed")


def check_clock_stamp():
    before = datetime.now(timezone.utc).replace(microsecond=0)
    env = {k: v for k, v in ENV.items() if k != "SOURCE_DATE_EPOCH"}
    raw = run("ics", "2019-01-01", "2019-01-01", "--only", "holidays", env=env)
    stamp = datetime.strptime(raw.split(b"DTSTAMP:")[1][:16].decode(), "%Y%m%dT%H%M%SZ")
    if not before <= stamp.replace(tzinfo=timezone.utc) <= datetime.now(timezone.utc):
        fail("DTSTAMP %s is not the clock's" % stamp)


check_holidays_2019_to_2021()
check_lunisolar_2033()
check_reproducible_and_wider()
check_custom_holidays()
check_clock_stamp()
check_notes_and_kou()
print("ics_check: all checks passed (icalendar %s, libical)" % icalendar.__version__)
