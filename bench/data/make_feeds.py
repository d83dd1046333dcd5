#!/usr/bin/env python3
"""Writes the feed files the load benchmarks read: a 10-day daily feed and a
72-hour hourly feed for one station, shaped like the service's answers.
Run once; the output is committed so the benchmarks never depend on it."""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
DAYS = ["Thursday", "Friday", "Saturday", "Sunday", "Monday", "Tuesday", "Wednesday"]
DIRS = ["N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE", "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"]
CONDITIONS = {26: "Cloudy", 27: "Mostly Cloudy", 28: "Mostly Cloudy", 29: "Partly Cloudy",
              30: "Partly Cloudy", 31: "Clear", 32: "Sunny", 11: "Light Rain", 14: "Light Snow"}

HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<weather ver="2.0">
  <head>
    <locale>en_US</locale>
    <form>MEDIUM</form>
    <ut>F</ut>
    <ud>mi</ud>
    <us>mph</us>
    <up>in</up>
    <ur>in</ur>
  </head>
  <loc id="USNY0996">
    <dnam>New York, NY</dnam>
    <tm>1:56 PM</tm>
    <lat>40.71</lat>
    <lon>-74.01</lon>
    <sunr>7:04 AM</sunr>
    <suns>4:29 PM</suns>
    <zone>-5</zone>
  </loc>
"""


def wind(indent, speed, gust, direction):
    pad = " " * indent
    return (f"{pad}<wind>\n{pad}  <s>{speed}</s>\n{pad}  <gust>{gust}</gust>\n"
            f"{pad}  <d>{direction}</d>\n{pad}  <t>{DIRS[int((direction + 11.25) // 22.5) % 16]}</t>\n{pad}</wind>\n")


def clock(minutes):
    h, m = divmod(minutes, 60)
    return f"{(h - 1) % 12 + 1}:{m:02d} {'AM' if h < 12 else 'PM'}"


def daily():
    out = [HEAD, "  <dayf>\n    <lsup>12/10/26 1:00 PM EST</lsup>\n"]
    for d in range(10):
        hi = round(48 - 1.5 * d + 6 * math.sin(d * 1.3))
        low = hi - 9 - d % 3
        sunrise = 7 * 60 + 4 + d // 3
        sunset = 16 * 60 + 29 + d // 4
        out.append(f'    <day d="{d}" t="{DAYS[d % 7]}" dt="Dec {10 + d}">\n')
        out.append(f"      <hi>{'N/A' if d == 0 else hi}</hi>\n      <low>{low}</low>\n")
        out.append(f"      <sunr>{clock(sunrise)}</sunr>\n      <suns>{clock(sunset)}</suns>\n")
        for p, icons in (("d", (28, 30, 32, 11, 26)), ("n", (27, 29, 31, 11, 14))):
            icon = icons[(d * 3 + (p == "n")) % 5]
            direction = (200 + 37 * d + (90 if p == "n" else 0)) % 360
            out.append(f'      <part p="{p}">\n        <icon>{icon}</icon>\n        <t>{CONDITIONS[icon]}</t>\n')
            out.append(wind(8, 5 + (7 * d + (3 if p == "n" else 0)) % 17, "N/A" if d % 4 else 22 + d, direction))
            out.append(f"        <bt>{CONDITIONS[icon]}</bt>\n        <ppcp>{(d * 23 + (40 if p == 'n' else 0)) % 100}</ppcp>\n")
            out.append(f"        <hmid>{55 + (d * 7) % 40}</hmid>\n      </part>\n")
        out.append("    </day>\n")
    out.append("  </dayf>\n</weather>\n")
    return "".join(out)


def hourly():
    out = [HEAD, "  <hbhf>\n    <lsup>12/10/26 1:00 PM EST</lsup>\n"]
    for h in range(1, 73):
        c = (13 + h) % 24
        tmp = round(44 + 7 * math.sin((c - 9) * math.pi / 12) - h / 12)
        icon = (28, 30, 32, 29, 27, 26, 11)[(h // 5) % 7]
        if 6 <= c < 18 and icon in (27, 29):
            icon += 1
        if not 6 <= c < 18 and icon in (28, 30, 32):
            icon = {28: 27, 30: 29, 32: 31}[icon]
        direction = (250 + 3 * h) % 360
        out.append(f'    <hour h="{h}" c="{c}">\n      <tmp>{tmp}</tmp>\n      <flik>{tmp - 4}</flik>\n')
        out.append(f"      <t>{CONDITIONS[icon]}</t>\n      <icon>{icon}</icon>\n")
        out.append(wind(6, 6 + (h * 5) % 13, "N/A" if h % 6 else 20, direction))
        out.append(f"      <ppcp>{(h * 11) % 70}</ppcp>\n      <hmid>{60 + (h * 3) % 30}</hmid>\n    </hour>\n")
    out.append("  </hbhf>\n</weather>\n")
    return "".join(out)


for name, text in (("daily.xml", daily()), ("hourly.xml", hourly())):
    with open(os.path.join(HERE, name), "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
