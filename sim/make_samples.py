#!/usr/bin/env python3
"""Writes the made-up sample survey and its base-station file into samples/.

A day of work: a base station recording every two minutes with a slow diurnal
drift (samples/base.a, a variations file), and several survey lines crossing a
buried dyke, with gradient ('G') readings on every fifth position and a few
base-station ('A') readings taken with the survey instrument before each line.
"""
import math
import os
import random

HEADER = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note "
NOTES = ["Base ", "Fence", "Road ", "Brook", "Tree ", "Pipe "]


def err_text(e):
    t = "%0.1f" % e
    return " " + t if len(t) == 3 else t


def line(mode, t, ln, pos, field, err, amp, decay, grad, note):
    h, m, s = t // 3600, t // 60 % 60, t % 60
    head = "%c %02d.%02d.%02d %02d:%02d:%02d %5d %5d %0.1f %s %d %0.1f" % (
        mode, 3, 7, 2026, h, m, s, ln, pos, field, err_text(err), int(amp), decay)
    if mode == "G":
        return head + " %8.1f %s" % (grad, note)
    return head + "          %s" % note


def diurnal(t):
    return 48100.0 + 18.0 * math.sin((t - 8 * 3600) / 86400.0 * 2 * math.pi) + 2.0 * math.sin(t / 900.0)


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
    for name, rows in (("survey.velkor", survey), ("base.a", base)):
        with open(os.path.join(out, name), "wb") as f:
            f.write("".join(r + "\r\n" for r in rows).encode("ascii"))


if __name__ == "__main__":
    main()
