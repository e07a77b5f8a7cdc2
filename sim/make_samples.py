#!/usr/bin/env python3
"""Writes the made-up sample surveys and their base-station files into samples/.

A day of work: a base station recording every two minutes with a slow diurnal
drift (samples/base.a, a variations file), and several survey lines crossing a
buried dyke, with gradient ('G') readings on every fifth position and a few
base-station ('A') readings taken with the survey instrument before each line.

Four days of work (samples/week.velkor and samples/week-base.a): a grid of 40
parallel lines over a dyke that strikes across them, a buried pipe along one
line and a small body beside it; the base station records day and night every
three minutes, and a magnetic storm disturbs the third afternoon. The same base values
are written again as an observatory would publish them (samples/week-base.iaga,
IAGA-2002, in UT, two hours behind the survey's clock) and as a spreadsheet export
(samples/week-base.csv, semicolon separated, one hour behind): a survey given either with
its offset (7200 s, 3600 s) corrects the week exactly as from the variations file.

samples/week-spikes.velkor is the same week with a dozen single bad readings (spikes of
10 to 300 nT, up and down) on survey readings of several lines and days, for the spike
finder; its other readings are those of week.velkor, byte for byte.

samples/week-track.gpx and samples/week-track.nmea are the week's walk as a GNSS receiver
beside the sensor logged it, a fix every WALK_FIX_SECONDS in UTC (two hours behind the
survey's clock): the lines lie as the README places them (origin 500000,6200000 in
EPSG:32633, azimuth 30, 10 m between lines, 5 m between positions, lines to the left), the
walker pauses a little at each line's ends and walks straight back between lines. The NMEA
log holds a GGA sentence each fix and an RMC sentence each minute (and first each day) to
date them; both files
give the same positions, converted by PROJ's cs2cs.

samples/level-06.velkor to level-09.velkor are the week walked again for levelling, one
file a day: each morning a control line (line 0, positions 1 to 40) is walked first, then
the day's ten lines in zig-zag (odd lines towards increasing positions, even ones back).
Each reading is taken half a stagger of LEVEL_STAGGER stations on in the direction walked;
lines walked forward read LEVEL_DIRECTION nT above those walked back; each line is off by
its own amount (zero mean in each direction); each day is off by LEVEL_DAY_OFFSETS. They
are corrected by samples/week-base.a as the week is.
"""
import datetime
import math
import os
import random
import subprocess

HEADER = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note "
NOTES = ["Base ", "Fence", "Road ", "Brook", "Tree ", "Pipe "]


def err_text(e):
    t = "%0.1f" % e
    return " " + t if len(t) == 3 else t


def line(mode, t, ln, pos, field, err, amp, decay, grad, note, day=3):
    h, m, s = t // 3600, t // 60 % 60, t % 60
    head = "%c %02d.%02d.%02d %02d:%02d:%02d %5d %5d %0.1f %s %d %0.1f" % (
        mode, day, 7, 2026, h, m, s, ln, pos, field, err_text(err), int(amp), decay)
    if mode == "G":
        return head + " %8.1f %s" % (grad, note)
    return head + "          %s" % note


def diurnal(t):
    return 48100.0 + 18.0 * math.sin((t - 8 * 3600) / 86400.0 * 2 * math.pi) + 2.0 * math.sin(t / 900.0)


WEEK_FIRST_DAY = 6
WEEK_DAYS = 4


def week_variation(day, t):
    """Base-station field on day (of July 2026) at t seconds after midnight."""
    hours = (day - WEEK_FIRST_DAY) * 24.0 + t / 3600.0
    daily = -22.0 * math.sin((t / 3600.0 - 6.0) / 24.0 * 2 * math.pi)
    drift = 0.15 * hours
    ripple = 1.5 * math.sin(hours * 3600.0 / 1100.0)
    storm_hours = (day - WEEK_FIRST_DAY - 2) * 24.0 + t / 3600.0 - 13.0
    storm = -45.0 * math.exp(-(storm_hours / 1.2) ** 2) if abs(storm_hours) < 6 else 0.0
    return 48230.0 + daily + drift + ripple + storm


def week_anomaly(ln, pos):
    x = pos - (22.0 + 0.9 * ln)
    dyke = 380.0 / (1.0 + (x / 4.5) ** 2) - 70.0 / (1.0 + ((x + 9.0) / 3.0) ** 2)
    pipe = 160.0 * math.exp(-((ln - 27.0) / 0.7) ** 2) if 10 <= pos <= 70 else 0.0
    r2 = (ln - 12.0) ** 2 + (pos - 62.0) ** 2
    body = 240.0 * (2.0 - r2 / 6.0) / (1.0 + r2 / 6.0) ** 2.5
    return dyke + pipe + body


def week_gradient(ln, pos):
    return (week_anomaly(ln, pos + 0.5) - week_anomaly(ln, pos - 0.5)) * 0.8


# (day, line, position): nT added to that survey reading's field. Kept apart on their
# lines, off the base-station readings, some on the dyke's flanks and in the storm.
WEEK_SPIKES = {
    (6, 2, 17): 120.0, (6, 5, 43): -35.0, (6, 9, 60): 300.0,
    (7, 12, 8): -80.0, (7, 14, 33): 10.0, (7, 18, 71): -210.0,
    (8, 22, 25): 20.0, (8, 27, 40): -150.0, (8, 29, 52): 65.0,
    (9, 31, 12): -300.0, (9, 35, 66): 90.0, (9, 38, 29): -15.0,
}


def make_week(spikes=None):
    """The week's survey and base rows; spikes as WEEK_SPIKES, added to the survey readings
    without touching the random sequence, so every other reading stays as it was."""
    spikes = spikes or {}
    rnd = random.Random(20260706)
    survey, base = [HEADER], [" Date       Time     Variations"]
    for day in range(WEEK_FIRST_DAY, WEEK_FIRST_DAY + WEEK_DAYS):
        first = 7 * 3600 if day == WEEK_FIRST_DAY else 0
        last = 19 * 3600 if day == WEEK_FIRST_DAY + WEEK_DAYS - 1 else 24 * 3600 - 180
        for t in range(first, last + 1, 180):
            v = week_variation(day, t) + rnd.gauss(0, 0.3)
            base.append(" %02d.%02d.%04d %02d:%02d:%02d %0.1f" % (
                day, 7, 2026, t // 3600, t // 60 % 60, t % 60, v))
    for day in range(WEEK_FIRST_DAY, WEEK_FIRST_DAY + WEEK_DAYS):
        t = 8 * 3600 + rnd.randrange(600)
        for ln in range(1 + (day - WEEK_FIRST_DAY) * 10, 11 + (day - WEEK_FIRST_DAY) * 10):
            survey.append(line("A", t, 0, 0, week_variation(day, t) + rnd.gauss(0, 0.3),
                               0.3, 8, 1.6, 0, "Base ", day))
            t += 120
            for pos in range(1, 81):
                field = week_variation(day, t) + week_anomaly(ln, pos) + rnd.gauss(0, 0.8)
                field += spikes.get((day, ln, pos), 0.0)
                note = NOTES[rnd.randrange(len(NOTES))] if rnd.random() < 0.03 else "     "
                err = 0.3 + rnd.random() * 1.5
                if pos % 5 == 0:
                    grad = week_gradient(ln, pos) + rnd.gauss(0, 0.5)
                    survey.append(line("G", t, ln, pos, field, err, 6, 1.4, grad, note, day))
                else:
                    survey.append(line("S", t, ln, pos, field, err, 7, 1.5, 0, note, day))
                t += 18 + rnd.randrange(12)
            t += 240
    return survey, base


WALK_FIX_SECONDS = 5
WALK_CLOCK = 7200  # the survey's clock runs two hours ahead of UTC
WALK_ORIGIN = (500000.0, 6200000.0)
WALK_AZIMUTH = 30.0
WALK_LINE_SPACING = 10.0
WALK_STATION = 5.0
WALK_PAUSE = 10  # seconds stood still at each line's ends


def walk_place(ln, pos):
    """Easting and northing of (line, position) as the README places the week."""
    a = math.radians(WALK_AZIMUTH)
    across = math.radians(WALK_AZIMUTH - 90.0)  # lines to the left of the way walked
    along, side = pos * WALK_STATION, ln * WALK_LINE_SPACING
    return (WALK_ORIGIN[0] + along * math.sin(a) + side * math.sin(across),
            WALK_ORIGIN[1] + along * math.cos(a) + side * math.cos(across))


def walk_waypoints(week):
    """{day: [(seconds of the survey's clock, line, position)]}: where the walker was, from
    the week's own rows; in between the walker goes straight at an even pace."""
    days = {}
    rows = [(int(r[2:4]), int(r[13:15]) * 3600 + int(r[16:18]) * 60 + int(r[19:21]), r[0],
             int(r[22:27]), int(r[28:33])) for r in week[1:]]
    for k, (day, t, mode, ln, pos) in enumerate(rows):
        points = days.setdefault(day, [])
        if mode == "A":  # at the start of the line that follows
            ln = rows[k + 1][3]
            points.append((t - WALK_PAUSE, ln, 0))
            points.append((t, ln, 0))
            continue
        points.append((t, ln, pos))
        if k + 1 == len(rows) or rows[k + 1][2] == "A":
            points.append((t + WALK_PAUSE, ln, pos))
    return days


def walk_fixes(week):
    """[(day, UTC seconds, easting, northing)] every WALK_FIX_SECONDS along the walk."""
    fixes = []
    for day, points in sorted(walk_waypoints(week).items()):
        k = 0
        t = points[0][0] - points[0][0] % WALK_FIX_SECONDS
        while t <= points[-1][0] + WALK_FIX_SECONDS:
            while k + 1 < len(points) and points[k + 1][0] <= t:
                k += 1
            t0, l0, p0 = points[k]
            t1, l1, p1 = points[min(k + 1, len(points) - 1)]
            f = 0.0 if t1 == t0 or t < t0 else min(1.0, (t - t0) / float(t1 - t0))
            e, n = walk_place(l0 + f * (l1 - l0), p0 + f * (p1 - p0))
            fixes.append((day, t - WALK_CLOCK, e, n))
            t += WALK_FIX_SECONDS
    return fixes


def walk_lat_lon(fixes):
    """The fixes' latitudes and longitudes, WGS 84, by PROJ."""
    text = "".join("%.4f %.4f\n" % (e, n) for _, _, e, n in fixes)
    out = subprocess.run(["cs2cs", "-f", "%.9f", "EPSG:32633", "EPSG:4326"], input=text,
                         capture_output=True, text=True, check=True).stdout
    return [tuple(float(v) for v in row.split()[:2]) for row in out.splitlines()]


def walk_height(t):
    return 42.0 + 1.5 * math.sin(t / 700.0)


def week_gpx(fixes, places):
    rows = ['<?xml version="1.0" encoding="UTF-8"?>',
            '<gpx version="1.1" creator="velkor2tr make_samples.py" '
            'xmlns="http://www.topografix.com/GPX/1/1">',
            "<trk><name>Sample week (made up)</name>"]
    last = None
    for (day, t, _, _), (lat, lon) in zip(fixes, places):
        if day != last:
            rows.append(("</trkseg>" if last else "") + "<trkseg>")
            last = day
        rows.append('<trkpt lat="%.8f" lon="%.8f"><ele>%.1f</ele>'
                    "<time>2026-07-%02dT%02d:%02d:%02dZ</time></trkpt>" % (
                        lat, lon, walk_height(t), day, t // 3600, t // 60 % 60, t % 60))
    rows += ["</trkseg>", "</trk>", "</gpx>"]
    return rows


def nmea_sentence(body):
    check = 0
    for c in body:
        check ^= ord(c)
    return "$%s*%02X" % (body, check)


def nmea_angle(value, width, hemispheres):
    v = abs(value)
    degrees = int(v)
    minutes = (v - degrees) * 60.0
    text = "%0*d%08.5f" % (width, degrees, minutes)
    if text[width:].startswith("60"):
        text = "%0*d%08.5f" % (width, degrees + 1, 0.0)
    return text + "," + hemispheres[value < 0]


def week_nmea(fixes, places):
    rows, last = [], None
    for (day, t, _, _), (lat, lon) in zip(fixes, places):
        hms = "%02d%02d%02d.00" % (t // 3600, t // 60 % 60, t % 60)
        where = nmea_angle(lat, 2, "NS") + "," + nmea_angle(lon, 3, "EW")
        if t % 60 == 0 or day != last:  # a day's first fix is dated at once
            last = day
            rows.append(nmea_sentence("GPRMC,%s,A,%s,0.4,30.0,%02d0726,,,A" % (hms, where, day)))
        rows.append(nmea_sentence("GPGGA,%s,%s,1,09,0.8,%.1f,M,39.6,M,," % (
            hms, where, walk_height(t))))
    return rows


LEVEL_STAGGER = 0.5  # stations (the week's station interval is 1 m)
LEVEL_DIRECTION = 3.0  # nT
LEVEL_DAY_OFFSETS = {6: 0.0, 7: 4.0, 8: -2.5, 9: 1.5}


def level_line_offsets(rnd):
    """An offset for each of the week's lines, with a mean of 0 over each walking direction
    (otherwise part of them would itself be a direction offset)."""
    offsets = {ln: rnd.gauss(0, 2.0) for ln in range(1, 41)}
    for parity in (0, 1):
        lines = [ln for ln in offsets if ln % 2 == parity]
        mean = sum(offsets[ln] for ln in lines) / len(lines)
        for ln in lines:
            offsets[ln] -= mean
    return offsets


def level_walk(rnd, day, t, ln, way, first, last, offset):
    """One line walked from first to last position; the rows and the time after it."""
    rows = []
    step = 1 if way > 0 else -1
    for pos in range(first, last + step, step):
        at = pos + way * LEVEL_STAGGER / 2.0
        field = (week_variation(day, t) + week_anomaly(ln, at) + offset + way * LEVEL_DIRECTION / 2.0
                 + rnd.gauss(0, 0.5))
        rows.append(line("S", t, ln, pos, field, 0.3 + rnd.random() * 1.5, 7, 1.5, 0, "     ", day))
        t += 18 + rnd.randrange(12)
    return rows, t + 240


def make_level_week():
    """The level week's days, {day: rows}."""
    rnd = random.Random(20260710)
    offsets = level_line_offsets(rnd)
    days = {}
    for day in range(WEEK_FIRST_DAY, WEEK_FIRST_DAY + WEEK_DAYS):
        t = 8 * 3600 + rnd.randrange(600)
        rows = [HEADER]
        walked, t = level_walk(rnd, day, t, 0, 1, 1, 40, LEVEL_DAY_OFFSETS[day])
        rows += walked
        for ln in range(1 + (day - WEEK_FIRST_DAY) * 10, 11 + (day - WEEK_FIRST_DAY) * 10):
            way = 1 if ln % 2 == 1 else -1
            first, last = (1, 80) if way > 0 else (80, 1)
            walked, t = level_walk(rnd, day, t, ln, way, first, last,
                                   offsets[ln] + LEVEL_DAY_OFFSETS[day])
            rows += walked
        days[day] = rows
    return days


IAGA_OFFSET = 7200
CSV_OFFSET = 3600


def week_samples(base):
    """(local datetime, value text) of every sample of a variations file's lines."""
    out = []
    for row in base[1:]:
        day, month, year = int(row[1:3]), int(row[4:6]), int(row[7:11])
        h, m, s = int(row[12:14]), int(row[15:17]), int(row[18:20])
        out.append((datetime.datetime(year, month, day, h, m, s), row[20:].strip()))
    return out


def iaga_record(label, value):
    return " %-23s%-45s|" % (label, value)


def week_iaga(base):
    rows = [iaga_record("Format", "IAGA-2002"),
            iaga_record("Source of Data", "Velkor2tr sample generator"),
            iaga_record("Station Name", "Made-up Observatory"),
            iaga_record("IAGA CODE", "VKS"),
            iaga_record("Geodetic Latitude", "48.200"),
            iaga_record("Geodetic Longitude", "16.370"),
            iaga_record("Elevation", "180"),
            iaga_record("Reported", "XYZF"),
            iaga_record("Sensor Orientation", "XYZ"),
            iaga_record("Digital Sampling", "1 second"),
            iaga_record("Data Interval Type", "3-minute (instantaneous)"),
            iaga_record("Data Type", "variation"),
            " %-68s|" % "# Made up: the values of week-base.a, its times in UT.",
            "%-30s%-10s%-10s%-10s%-9s|" % ("DATE       TIME         DOY", "VKSX", "VKSY", "VKSZ",
                                           "VKSF")]
    inclination, declination = math.radians(64.0), math.radians(5.0)
    for local, text in week_samples(base):
        ut = local - datetime.timedelta(seconds=IAGA_OFFSET)
        f = float(text)
        h = f * math.cos(inclination)
        rows.append("%s %s.000 %03d   %10.2f%10.2f%10.2f%10.2f" % (
            ut.strftime("%Y-%m-%d"), ut.strftime("%H:%M:%S"), ut.timetuple().tm_yday,
            h * math.cos(declination), h * math.sin(declination), f * math.sin(inclination), f))
    return rows


def week_csv(base):
    rows = ["Date;Time;F (nT)"]
    for local, text in week_samples(base):
        t = local - datetime.timedelta(seconds=CSV_OFFSET)
        rows.append("%s;%s;%s" % (t.strftime("%Y-%m-%d"), t.strftime("%H:%M:%S"),
                                  text.replace(".", ",")))
    return rows


def main():
    rnd = random.Random(20260703)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples")
    os.makedirs(out, exist_ok=True)
    survey, base = [HEADER], [" Date       Time     Variations"]
    t = 8 * 3600 + 30 * 60
    while t <= 16 * 3600:
        v = diurnal(t) + rnd.gauss(0, 0.3)
        base.append(" %02d.%02d.%04d %02d:%02d:%02d %0.1f" % (3, 7, 2026, t // 3600, t // 60 % 60, t % 60, v))
        t += 120
    t = 9 * 3600
    for ln in range(1, 9):
        survey.append(line("A", t, 0, 0, diurnal(t) + rnd.gauss(0, 0.3), 0.3, 8, 1.6, 0, "Base "))
        t += 90
        for pos in range(1, 61):
            x = pos - 30 + ln * 1.5
            anomaly = 420.0 / (1.0 + (x / 4.0) ** 2) - 60.0 / (1.0 + ((x + 8) / 3.0) ** 2)
            field = diurnal(t) + anomaly + rnd.gauss(0, 0.8)
            note = NOTES[rnd.randrange(len(NOTES))] if rnd.random() < 0.06 else "     "
            err = 0.3 + rnd.random() * 1.5
            if pos % 5 == 0:
                grad = -210.0 * x / (16.0 * (1.0 + (x / 4.0) ** 2) ** 2) + rnd.gauss(0, 0.5)
                survey.append(line("G", t, ln, pos, field, err, 6, 1.4, grad, note))
            else:
                survey.append(line("S", t, ln, pos, field, err, 7, 1.5, 0, note))
            t += 25 + rnd.randrange(15)
        t += 300
    week, week_base = make_week()
    week_spikes, _ = make_week(WEEK_SPIKES)
    level = [("level-%02d.velkor" % day, rows) for day, rows in make_level_week().items()]
    for name, rows in level + [("survey.velkor", survey), ("base.a", base),
                       ("week.velkor", week), ("week-spikes.velkor", week_spikes),
                       ("week-base.a", week_base),
                       ("week-base.iaga", week_iaga(week_base)), ("week-base.csv", week_csv(week_base))]:
        with open(os.path.join(out, name), "wb") as f:
            f.write("".join(r + "\r\n" for r in rows).encode("ascii"))
    fixes = walk_fixes(week)
    places = walk_lat_lon(fixes)
    for name, rows in [("week-track.gpx", week_gpx(fixes, places)),
                       ("week-track.nmea", week_nmea(fixes, places))]:
        with open(os.path.join(out, name), "wb") as f:
            f.write("".join(r + "\r\n" for r in rows).encode("ascii"))


if __name__ == "__main__":
    main()
