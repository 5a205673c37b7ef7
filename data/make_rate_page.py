#!/usr/bin/env python3
"""Writes stopy_odsetek.html, the rate page bundled with the calculator, from the table below.

The page is ISO 8859-2 text in the form the rate-page parser reads: a header row, then one row
per period, newest first, the newest one open. Run from anywhere: python3 data/make_rate_page.py
"""

import datetime
import pathlib

# Effective date of each rate (percent per year), newest first. Each period ends the day
# before the next newer one starts; the newest has no end date.
PERIODS = [
    ("2025-07-03", "13,00"),
    ("2025-05-08", "13,50"),
    ("2023-10-05", "14,50"),
    ("2023-09-07", "15,00"),
    ("2022-09-08", "16,50"),
    ("2022-07-08", "16,00"),
    ("2022-06-09", "15,00"),
    ("2022-05-06", "13,50"),
    ("2022-04-07", "12,00"),
    ("2022-03-09", "10,00"),
    ("2022-02-09", "8,50"),
    ("2016-01-01", "8,00"),
    ("2015-03-05", "8,00"),
    ("2014-10-09", "8,00"),
    ("2013-07-04", "8,00"),
    ("2013-06-06", "8,50"),
    ("2013-05-09", "9,00"),
    ("2013-03-07", "9,50"),
    ("2013-02-07", "10,50"),
    ("2013-01-10", "11,00"),
    ("2012-12-06", "11,50"),
    ("2012-11-08", "12,00"),
    ("2012-05-10", "12,50"),
    ("2011-06-09", "12,00"),
    ("2011-05-12", "11,50"),
    ("2011-04-06", "11,00"),
    ("2011-01-20", "10,50"),
    ("2009-06-25", "10,00"),
]

MONTHS_GENITIVE = [
    "stycznia", "lutego", "marca", "kwietnia", "maja", "czerwca",
    "lipca", "sierpnia", "września", "października", "listopada", "grudnia",
]

HEADER = """<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=iso-8859-2">
<title>Odsetki za zwłokę</title>
</head>
<body>
<h1>Odsetki za zwłokę od zaległości podatkowych</h1>
<p>Stawka odsetek za zwłokę od zaległości podatkowych wynosi dwukrotność stopy kredytu
lombardowego Narodowego Banku Polskiego, a od 1 stycznia 2016 r. dwukrotność tej stopy
powiększoną o 2 punkty procentowe; stawka nie może być niższa niż 8 procent w stosunku rocznym.</p>
<p>Wysokość stawki w kolejnych okresach:</p>
<table border="1" cellpadding="4">
<tr>
<td><p>Wysokość stawki w stosunku rocznym</p></td>
<td><p>Okres obowiązywania</p></td>
</tr>
"""

FOOTER = """</table>
<p>Odsetki nalicza się od dnia następującego po dniu upływu terminu płatności do dnia zapłaty
włącznie, według stawki obowiązującej w każdym dniu zwłoki.</p>
</body>
</html>
"""


def date_text(day):
    # The day without a leading zero: the parser finds the month by the day's width.
    return f"{day.day} {MONTHS_GENITIVE[day.month - 1]} {day.year} r."


def rows():
    end = None
    for start_text, rate in PERIODS:
        start = datetime.date.fromisoformat(start_text)
        period = "od " + date_text(start)
        if end is not None:
            period += "<BR>do " + date_text(end)
        yield f"<tr>\n<td><p>{rate}%</p></td>\n<td><p>{period}</p></td>\n</tr>\n"
        end = start - datetime.timedelta(days=1)


def main():
    page = HEADER + "".join(rows()) + FOOTER
    target = pathlib.Path(__file__).resolve().parent / "stopy_odsetek.html"
    target.write_bytes(page.encode("iso-8859-2"))


if __name__ == "__main__":
    main()
