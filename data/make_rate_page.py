#!/usr/bin/env python3
"""Writes stopy_odsetek.html, the rate page bundled with the calculator, from rate-history.tsv.

The page is ISO 8859-2 text in the form the rate-page parser reads: a header row, then one row
per period, newest first, the newest one open. A per-day rate is marked "%*", a rate per year
"%". Run from anywhere: python3 data/make_rate_page.py
"""

import csv
import datetime
import pathlib

HERE = pathlib.Path(__file__).resolve().parent

MONTHS_GENITIVE = [
    "stycznia", "lutego", "marca", "kwietnia", "maja", "czerwca",
    "lipca", "sierpnia", "września", "października", "listopada", "grudnia",
]

# The history's unit column and the marker that follows the rate on the page.
MARKERS = {"year": "%", "day": "%*"}

HEADER = """<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=iso-8859-2">
<title>Odsetki za zwłokę</title>
</head>
<body>
<h1>Odsetki za zwłokę od zaległości podatkowych</h1>
<p>Wysokość stawki odsetek za zwłokę od zaległości podatkowych w kolejnych okresach. Stawki
oznaczone gwiazdką obowiązywały do 31 grudnia 1997 r. i są podane w stosunku dziennym,
pozostałe w stosunku rocznym.</p>
<table border="1" cellpadding="4">
<tr>
<td><p>Wysokość stawki</p></td>
<td><p>Okres obowiązywania</p></td>
</tr>
"""

FOOTER = """</table>
<p>Odsetki nalicza się od dnia następującego po dniu upływu terminu płatności do dnia zapłaty
włącznie, według stawki obowiązującej w każdym dniu zwłoki.</p>
</body>
</html>
"""


def read_history(path):
    """The periods as (start date, rate text with a comma, unit), oldest first."""
    with open(path, encoding="utf-8", newline="") as source:
        rows = list(csv.DictReader(source, delimiter="\t"))
    periods = []
    for row in rows:
        start = datetime.date.fromisoformat(row["start"])
        if periods and start <= periods[-1][0]:
            raise SystemExit(f"{path}: {row['start']} does not follow the row before it")
        if row["unit"] not in MARKERS:
            raise SystemExit(f"{path}: unknown unit {row['unit']!r} on {row['start']}")
        rate = f"{float(row['rate']):.2f}".replace(".", ",")
        periods.append((start, rate, row["unit"]))
    if not periods:
        raise SystemExit(f"{path}: no periods")
    return periods


def date_text(day):
    # "9 maja 2013 r.": the day without a leading zero, as the ministry writes it.
    return f"{day.day} {MONTHS_GENITIVE[day.month - 1]} {day.year} r."


def rows(periods):
    """Table rows newest first; each period ends the day before the next newer one starts."""
    end = None
    for start, rate, unit in reversed(periods):
        period = "od " + date_text(start)
        if end is not None:
            period += "<BR>do " + date_text(end)
        yield f"<tr>\n<td><p>{rate}{MARKERS[unit]}</p></td>\n<td><p>{period}</p></td>\n</tr>\n"
        end = start - datetime.timedelta(days=1)


def main():
    periods = read_history(HERE / "rate-history.tsv")
    page = HEADER + "".join(rows(periods)) + FOOTER
    (HERE / "stopy_odsetek.html").write_bytes(page.encode("iso-8859-2"))


if __name__ == "__main__":
    main()
