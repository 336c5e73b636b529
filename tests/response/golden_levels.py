#!/usr/bin/env python3
# Golden response levels written straight from the filter formulas with nothing but the math
# module, so the C++ curves are checked against values that share none of their code.
# Regenerate with:
#   python3 tests/response/golden_levels.py > tests/response/GoldenLevels.inc
import math

FS = 96000.0
DESIGN = 6.544985e-05
TWO_PI = 6.283185307179586
PEAK_TWO_PI = 2 * 3.141592

# x_k = 1/(2Q) of the second-order sections (x_0 is the first-order K for the 18 dB types).
X = [
    [0.70422535, 0, 0, 0],
    [1.0, 0, 0, 0],
    [0.70422535, 0, 0, 0],
    [1.0, 0.5, 0, 0],
    [1.0, 0.70422535211, 0, 0],
    [0.756, 0.72463768, 0, 0],
    [0.92592593, 0.38167939, 0, 0],
    [0.70422535211, 0.70422535211, 0, 0],
    [0.96153846, 0.61728395, 0, 0],
    [0.98039216, 0.83333333, 0.55555556, 0.1953125],
    [0.92592592593, 0.373134315, 0.92592592593, 0.373134315],
    [0.98039216, 0.89285714, 0.70422535, 0.40650406],
]
HP_DIV = {2: 1.2683112435, 5: 1.2854981442, 8: 1.5006420029, 11: 1.679120141}
LP_DIV = {2: 1.3616541287, 5: 1.75567236868, 8: 2.1139176749, 11: 3.17961723751}
# (D, E) of the analogue Bessel low-pass sections 1 / (E s^2 + D s + 1).
LP_BESSEL = {
    2: [(1.0, 0.3333333333)],
    5: [(0.5693712514, 0.154812441), (0.430628846, 0)],
    8: [(0.369, 0.087858766), (0.6278294896, 0.109408)],
    11: [(0.117235677, 0.02064747), (0.226516664, 0.0259273886),
         (0.3067559, 0.0294683265), (0.3494916166, 0.031272257)],
}
EIGHTEEN = (3, 4, 5)


def column_hz(x):
    # 720-pixel graph: left margin 60, right margin 33.
    return 20 * 10 ** (3 * (x - 60 - 41) / (720 - 60 - 33 - 46))


def marker_gain(y):
    return math.trunc((15 - (y - 16) / (249 - 38) * 45) * 10) / 10


def guard(a0):
    return 1e-10 if a0 == 0 else a0


def level(sections, w):
    total = 0.0
    for b0, b1, b2, a0, a1, a2 in sections:
        b0, b1, b2, a1, a2 = b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0
        nr = (b0 + b2) * math.cos(w) + b1
        ni = (b0 - b2) * math.sin(w)
        dr = (1 + a2) * math.cos(w) + a1
        di = (1 - a2) * math.sin(w)
        m = math.sqrt((nr * nr + ni * ni) / (dr * dr + di * di))
        total += 40 * math.log(m) / math.log(101)
    return total


def high_pass(f0, code):
    w0 = f0 / HP_DIV.get(code, 1) * DESIGN
    c, s, t = math.cos(w0), math.sin(w0), math.tan(w0 / 2)
    out = []
    for k, x in enumerate(X[code]):
        if x == 0:
            continue
        if k == 0 and code in EIGHTEEN:
            out.append((1, -1, 0, guard(x * t + 1), x * t - 1, 0))
        else:
            a = s * x
            out.append(((1 + c) / 2, -(1 + c), (1 + c) / 2, guard(1 + a), -2 * c, 1 - a))
    return out


def low_pass(f0, code):
    if code in LP_BESSEL:
        t = math.tan(f0 / LP_DIV[code] * DESIGN / 2)
        tt = t * t
        return [(tt, 2 * tt, tt, d * t + tt + e, 2 * tt - 2 * e, tt - d * t + e)
                for d, e in LP_BESSEL[code]]
    w0 = f0 * DESIGN
    c, s, t = math.cos(w0), math.sin(w0), math.tan(w0 / 2)
    out = []
    for k, x in enumerate(X[code]):
        if x == 0:
            continue
        if k == 0 and code in EIGHTEEN:
            out.append((t, t, 0, guard(t + x), t - x, 0))
        else:
            a = s * x
            out.append(((1 - c) / 2, 1 - c, (1 - c) / 2, guard(1 + a), -2 * c, 1 - a))
    return out


def peaking(f0, g, q):
    bw = math.asinh(1 / (2 * q)) / 0.34657359
    w0 = f0 * DESIGN
    a = 10 ** (g / 40)
    alpha = math.sin(w0) * math.sinh(0.69314718 * bw * w0 / math.sin(w0))
    return [(1 + alpha * a, -2 * math.cos(w0), 1 - alpha * a,
             1 + alpha / a, -2 * math.cos(w0), 1 - alpha / a)]


def shelf(f0, g, low):
    if g == 0:
        return []
    w0 = f0 * DESIGN * (1.2727272727 if low else 0.76923076923)
    a = 10 ** (g / 40)
    c = math.cos(w0)
    beta = 2 * math.sqrt(a) * (math.sin(w0) / 2) * math.sqrt((a + 1 / a) * (1 / 1.3 - 1) + 2)
    if low:
        return [(a * ((a + 1) - (a - 1) * c + beta), 2 * a * ((a - 1) - (a + 1) * c),
                 a * ((a + 1) - (a - 1) * c - beta), (a + 1) + (a - 1) * c + beta,
                 -2 * ((a - 1) + (a + 1) * c), (a + 1) + (a - 1) * c - beta)]
    return [(a * ((a + 1) + (a - 1) * c + beta), -2 * a * ((a - 1) + (a + 1) * c),
             a * ((a + 1) + (a - 1) * c - beta), (a + 1) - (a - 1) * c + beta,
             2 * ((a - 1) - (a + 1) * c), (a + 1) - (a - 1) * c - beta)]


def columns(centre):
    # Both ends of the curve, the corner and one octave (58.1 columns) either side.
    octave = round(581 * math.log10(2) / 3)
    return [42, centre - octave, centre, centre + octave, 713]


def corner_column(hz):
    return math.trunc(math.log10(hz / 20) * 581 / 3 + 101)


# One row: kind, type code (Q index for bands), frequency index or marker (x, y), then the
# (column, level) pairs.
def row(kind, code, a, b, sections, two_pi, centre):
    cells = ", ".join("{%d, %.17g}" % (x, level(sections, two_pi * column_hz(x) / FS))
                      for x in columns(centre))
    return "    {GoldenKind::%s, %d, %d, %d, {{%s}}}," % (kind, code, a, b, cells)


print("// Golden levels in dB from tests/response/golden_levels.py; do not edit.")
print("// Produced by: python3 tests/response/golden_levels.py > tests/response/GoldenLevels.inc")
# Crossovers at the table's 1000 Hz (index 136) and 10000 Hz (index 216).
for index, hz in ((136, 1000.0), (216, 10000.0)):
    for code in range(12):
        print(row("HighPass", code, index, 0, high_pass(hz, code), TWO_PI, corner_column(hz)))
        print(row("LowPass", code, index, 0, low_pass(hz, code), TWO_PI, corner_column(hz)))
# EQ bands by marker (x, y); peaking with Q = 1.0 (table index 4).
for x, y in ((430, 58), (372, 180), (600, 100)):
    f0, g = column_hz(x), marker_gain(y)
    print(row("Peaking", 4, x, y, peaking(f0, g, 1.0), PEAK_TWO_PI, x))
    print(row("LowShelf", 4, x, y, shelf(f0, g, True), TWO_PI, x))
    print(row("HighShelf", 4, x, y, shelf(f0, g, False), TWO_PI, x))
