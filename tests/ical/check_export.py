#!/usr/bin/python3
"""Exports date entries with the native tool and reads the file with Python's icalendar, an
independent parser: every event must match its entry, every line must be CR LF and at most 75
octets, and the required properties must be there.
Usage: check_export.py <ical_export_tool> <scratch folder>"""
import datetime
import os
import subprocess
import sys

import icalendar

tool, folder = sys.argv[1], sys.argv[2]
os.makedirs(folder, exist_ok=True)

# (date, time, text, status); the text is ISO 8859-1, the tool's code page.
entries = [
    ("2024.03.05", "08:30", "Dentist", "0"),
    ("2024.03.05", "09:30-10:00", "Dentist again", "1"),
    ("2024.03.05", "22:00-01:30", "Night shift; sleep, then \\o/", "0"),
    ("2024.12.31", "", "Silvester \xe0 Paris", "0"),
    ("1971.01.01", "lunch", "Pasta", "0"),
    ("2037.12.31", "00:00-23:59", "Long " + "\xe9" * 200, "1"),
    ("2024.02.29", "", "Leap day, with a comma", "1"),
    (" 999.01.02", "", "A year below 1000", "0"),
]
for i in range(200):
    entries.append(("20%02d.%02d.%02d" % (i % 30 + 1, i % 12 + 1, i % 28 + 1),
                    "%02d:%02d" % (i % 24, i % 60) if i % 3 else "", "Entry %d" % i, str(i % 2)))
skipped = ["2024.02.30\tFri\t\tNo such day\t0\n", "garbage\n"]

dat = os.path.join(folder, "entries.dat")
ics = os.path.join(folder, "entries.ics")
with open(dat, "wb") as f:
    for d, t, text, s in entries:
        f.write(("%s\tMon\t%s\t%s\t%s\r\n" % (d, t, text, s)).encode("latin-1"))
    for line in skipped:
        f.write(line.encode("latin-1"))
subprocess.run([tool, dat, ics], check=True)
raw = open(ics, "rb").read()

errors = []
assert raw.endswith(b"\r\n"), "file does not end with CR LF"
for n, line in enumerate(raw.split(b"\r\n")[:-1], 1):
    if b"\n" in line or b"\r" in line:
        errors.append("line %d: a line end that is not CR LF" % n)
    if len(line) > 75:
        errors.append("line %d: %d octets" % (n, len(line)))
    try:
        line.decode("utf-8")
    except UnicodeDecodeError:
        errors.append("line %d: a UTF-8 sequence split by a fold" % n)

cal = icalendar.Calendar.from_ical(raw)
if str(cal.get("VERSION")) != "2.0" or str(cal.get("PRODID")) != "-//Orvandel//Termaris//EN":
    errors.append("VERSION or PRODID wrong")
events = list(cal.walk("VEVENT"))
if len(events) != len(entries):
    errors.append("%d events for %d entries" % (len(events), len(entries)))


def day_of(text):
    y, m, d = (int(x) for x in text.split("."))
    return datetime.date(y, m, d)


def clock(day, text):
    h, m = (int(x) for x in text.split(":"))
    return datetime.datetime(day.year, day.month, day.day, h, m)


uids = set()
for (d, t, text, s), ev in zip(entries, events):
    where = "entry %s %s %r" % (d, t, text)
    for prop in ("UID", "DTSTAMP", "DTSTART", "SUMMARY", "X-TERMARIS-STATUS"):
        if prop not in ev:
            errors.append("%s: no %s" % (where, prop))
    uids.add(str(ev["UID"]))
    stamp = ev["DTSTAMP"].dt
    if stamp.tzinfo is None or stamp.utcoffset() != datetime.timedelta(0):
        errors.append("%s: DTSTAMP not in UTC" % where)
    day = day_of(d)
    start, end = ev["DTSTART"].dt, ev.get("DTEND").dt if "DTEND" in ev else None
    summary = text
    times = t.split("-") if t and t[0].isdigit() else []
    if not times:
        summary = (t + " " + text) if t else text
        want = (day, day + datetime.timedelta(days=1))
    else:
        first = clock(day, times[0])
        last = clock(day, times[1]) if len(times) == 2 else None
        if last is not None and last <= first:
            last += datetime.timedelta(days=1)
        want = (first, last)
        if isinstance(start, datetime.datetime) and start.tzinfo is not None:
            errors.append("%s: DTSTART is not a floating time" % where)
    if (start, end) != want:
        errors.append("%s: DTSTART/DTEND %s/%s, expected %s/%s" % (where, start, end, want[0], want[1]))
    if str(ev["SUMMARY"]) != summary:
        errors.append("%s: SUMMARY %r" % (where, str(ev["SUMMARY"])))
    if str(ev["X-TERMARIS-STATUS"]) != s:
        errors.append("%s: status %s" % (where, ev["X-TERMARIS-STATUS"]))
if len(uids) != len(entries):
    errors.append("%d distinct UIDs for %d entries" % (len(uids), len(entries)))

for e in errors[:30]:
    print(e)
print("%d events checked, %d problems" % (len(events), len(errors)))
sys.exit(1 if errors else 0)
