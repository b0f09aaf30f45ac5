#!/usr/bin/env python3
"""Writes the wizard's pictures: the four page pictures and the two picture
buttons of the last page in two states, as 24-bit BMPs.

Usage: generate_pictures.py OUTPUT_FOLDER [FONT_FILE]

Standard library only. The buttons' Chinese labels are drawn from the glyph
outlines of a TrueType font (WenQuanYi Micro Hei, which the build machine
has for Wine); the pages need no font. Outside their rounded edge the buttons
are magenta (0xFF00FF), the colour the button keys out; their edges are
blended with white, the colour of the page they sit on, so no pink fringe
shows.
"""

import math
import os
import struct
import sys

FONT_CANDIDATES = [
    "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
    "/usr/share/fonts/wqy-microhei/wqy-microhei.ttc",
]

WHITE = (255, 255, 255)
KEY = (255, 0, 255)
SKY_TOP = (120, 200, 255)
SKY_BOTTOM = (214, 240, 255)
SUN = (255, 214, 70)
SUN_EDGE = (250, 170, 40)
GRASS = (120, 206, 96)
GRASS_DARK = (84, 176, 72)
CLOUD = (255, 255, 255)
INK = (60, 70, 96)

PAGE_SIZE = (560, 340)
PANEL_WIDTH = 150
BUTTON_SIZE = (325, 101)

# One bright colour and one motif per page.
# The last page's buttons start 115 pixels from its left: its band is narrower.
PAGES = [
    (131, (255, 138, 101), "lock", PANEL_WIDTH),
    (132, (255, 170, 60), "child", PANEL_WIDTH),
    (133, (84, 186, 120), "shield", PANEL_WIDTH),
    (134, (168, 120, 236), "star", 104),
]

BUTTONS = [
    # first state (pointer over), second state (normal)
    (135, 136, "进入家长控制面板", (255, 150, 60), "gear"),
    (137, 138, "开始使用儿童浏览器", (64, 176, 250), "globe"),
]


def mix(a, b, t):
  t = max(0.0, min(1.0, t))
  return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def lighter(colour, t):
  return mix(colour, WHITE, t)


def darker(colour, t):
  return mix(colour, (0, 0, 0), t)


class Picture:
  def __init__(self, width, height, fill):
    self.width, self.height = width, height
    self.rows = [[fill] * width for _ in range(height)]

  def paint(self, distance, colour, box=None):
    """Fills where the signed distance is below 0, one pixel of soft edge."""
    left, top, right, bottom = box or (0, 0, self.width, self.height)
    for y in range(max(0, int(top)), min(self.height, int(math.ceil(bottom)))):
      row = self.rows[y]
      for x in range(max(0, int(left)), min(self.width, int(math.ceil(right)))):
        d = distance(x + 0.5, y + 0.5)
        if d < 0.5:
          row[x] = mix(row[x], colour(x, y) if callable(colour) else colour, 0.5 - d)

  def gradient(self, box, top_colour, bottom_colour):
    left, top, right, bottom = box
    for y in range(top, bottom):
      colour = mix(top_colour, bottom_colour, (y - top) / max(1, bottom - top - 1))
      for x in range(left, right):
        self.rows[y][x] = colour

  def save(self, path):
    stride = (self.width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(self.rows):
      line = bytearray()
      for r, g, b in row:
        line += bytes((b, g, r))
      line += b"\0" * (stride - len(line))
      data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
      f.write(header + info + data)


# --- shapes as signed distances --------------------------------------------

def circle(cx, cy, r):
  return lambda x, y: math.hypot(x - cx, y - cy) - r


def rounded_box(cx, cy, hw, hh, r):
  def d(x, y):
    qx, qy = abs(x - cx) - hw + r, abs(y - cy) - hh + r
    return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
  return d


def segment(ax, ay, bx, by, thickness):
  def d(x, y):
    px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
    t = max(0.0, min(1.0, (px * vx + py * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - vx * t, py - vy * t) - thickness / 2
  return d


def union(*shapes):
  return lambda x, y: min(s(x, y) for s in shapes)


def subtract(a, b):
  return lambda x, y: max(a(x, y), -b(x, y))


def ring(shape, width):
  return lambda x, y: abs(shape(x, y)) - width / 2


def polygon(points):
  def d(x, y):
    best, inside = 1e9, False
    for i in range(len(points)):
      ax, ay = points[i]
      bx, by = points[i - 1]
      best = min(best, segment(ax, ay, bx, by, 0)(x, y))
      if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
        inside = not inside
    return -best if inside else best
  return d


def star(cx, cy, outer, inner):
  points = []
  for i in range(10):
    r = outer if i % 2 == 0 else inner
    a = -math.pi / 2 + i * math.pi / 5
    points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
  return polygon(points)


def bounds(cx, cy, r):
  return (cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2)


# --- page pictures ----------------------------------------------------------

def cloud(pic, cx, cy, s):
  shape = union(circle(cx - s, cy, s * 0.8), circle(cx, cy - s * 0.5, s), circle(cx + s, cy, s * 0.8),
                rounded_box(cx, cy + s * 0.3, s * 1.6, s * 0.5, s * 0.5))
  pic.paint(shape, CLOUD, bounds(cx, cy, s * 2.6))


def sun(pic, cx, cy, r):
  for i in range(12):
    a = i * math.pi / 6
    pic.paint(segment(cx + math.cos(a) * r * 1.3, cy + math.sin(a) * r * 1.3, cx + math.cos(a) * r * 1.7,
                      cy + math.sin(a) * r * 1.7, 4), SUN_EDGE, bounds(cx, cy, r * 1.9))
  pic.paint(circle(cx, cy, r), SUN, bounds(cx, cy, r))
  pic.paint(ring(circle(cx, cy, r), 2), SUN_EDGE, bounds(cx, cy, r + 2))
  pic.paint(circle(cx - r * 0.35, cy - r * 0.2, r * 0.1), INK, bounds(cx, cy, r))
  pic.paint(circle(cx + r * 0.35, cy - r * 0.2, r * 0.1), INK, bounds(cx, cy, r))
  smile = subtract(ring(circle(cx, cy, r * 0.5), 3), lambda x, y: y - (cy + r * 0.1))
  pic.paint(smile, INK, bounds(cx, cy, r))


def motif(pic, kind, cx, cy, colour):
  box = bounds(cx, cy, 46)
  pic.paint(circle(cx, cy + 3, 44), darker(colour, 0.15), box)
  pic.paint(circle(cx, cy, 44), colour, box)
  if kind == "lock":
    pic.paint(ring(rounded_box(cx, cy - 14, 13, 16, 13), 6), WHITE, box)
    pic.paint(rounded_box(cx, cy + 8, 22, 16, 5), WHITE, box)
    pic.paint(union(circle(cx, cy + 4, 5), segment(cx, cy + 4, cx, cy + 14, 4)), colour, box)
  elif kind == "child":
    pic.paint(circle(cx, cy, 26), (255, 226, 190), box)
    pic.paint(subtract(circle(cx, cy - 6, 27), lambda x, y: (cy - 12) - y), (120, 80, 50), box)
    pic.paint(circle(cx - 9, cy + 2, 3), INK, box)
    pic.paint(circle(cx + 9, cy + 2, 3), INK, box)
    pic.paint(circle(cx - 16, cy + 10, 4), (255, 170, 170), box)
    pic.paint(circle(cx + 16, cy + 10, 4), (255, 170, 170), box)
    pic.paint(subtract(ring(circle(cx, cy + 6, 9), 3), lambda x, y: y - (cy + 9)), INK, box)
  elif kind == "shield":
    shield = polygon([(cx - 24, cy - 26), (cx + 24, cy - 26), (cx + 24, cy), (cx, cy + 28), (cx - 24, cy)])
    pic.paint(shield, WHITE, box)
    pic.paint(union(segment(cx - 11, cy, cx - 3, cy + 9, 6), segment(cx - 3, cy + 9, cx + 12, cy - 10, 6)),
              colour, box)
  elif kind == "star":
    pic.paint(star(cx, cy + 2, 30, 13), WHITE, box)
    pic.paint(star(cx, cy + 2, 18, 8), SUN, box)


def page_picture(step, colour, kind, panel):
  w, h = PAGE_SIZE
  pic = Picture(w, h, WHITE)
  pic.gradient((0, 0, panel, h), SKY_TOP, SKY_BOTTOM)
  sun(pic, 42, 44, 20)
  if panel > 120:
    cloud(pic, panel - 42, 34, 12)
  cloud(pic, 60, 104, 10)
  motif(pic, kind, (panel - 8) // 2, 186, colour)
  # rolling grass at the bottom of the panel
  hill = union(circle(30, h + 40, 90), circle(panel - 20, h + 60, 90))
  pic.paint(hill, GRASS, (0, h - 60, panel, h))
  for i, fx in enumerate((panel * 0.16, panel * 0.43, panel * 0.69)):
    fx = int(fx)
    flower = colour if i != 1 else SUN
    pic.paint(segment(fx, h - 26, fx, h - 8, 3), GRASS_DARK, (fx - 8, h - 40, fx + 8, h))
    pic.paint(union(*[circle(fx + 6 * math.cos(a), h - 30 + 6 * math.sin(a), 4)
                      for a in (0, 1.26, 2.51, 3.77, 5.03)]), flower, (fx - 14, h - 44, fx + 14, h - 16))
    pic.paint(circle(fx, h - 30, 3), WHITE, (fx - 5, h - 35, fx + 5, h - 25))
  # the four steps as dots, this one large
  for i in range(4):
    x = (panel - 8) // 2 - 36 + i * 24
    r = 8 if i == step else 5
    pic.paint(circle(x, 260, r), colour if i == step else WHITE, bounds(x, 260, r))
  # the panel's right edge as a soft wave into the white page
  wave = lambda x, y: x - (panel - 6 + 5 * math.sin(y / 22.0))
  for y in range(h):
    for x in range(panel - 14, panel):
      d = wave(x + 0.5, y + 0.5)
      if d > -0.5:
        pic.rows[y][x] = mix(pic.rows[y][x], WHITE, d + 0.5)
  # a thin coloured line under the page, where the sheet's buttons begin
  pic.paint(rounded_box((panel + w) / 2, h - 6, (w - panel) / 2 - 24, 2, 2), lighter(colour, 0.3),
            (panel, h - 12, w, h))
  return pic


# --- TrueType glyphs for the button labels ---------------------------------

class Font:
  def __init__(self, path):
    with open(path, "rb") as f:
      self.data = f.read()
    offset = 0
    if self.data[:4] == b"ttcf":
      offset = struct.unpack(">I", self.data[12:16])[0]
    count = struct.unpack(">H", self.data[offset + 4:offset + 6])[0]
    self.tables = {}
    for i in range(count):
      entry = offset + 12 + 16 * i
      tag = self.data[entry:entry + 4].decode("latin-1")
      self.tables[tag] = struct.unpack(">II", self.data[entry + 8:entry + 16])
    head = self.tables["head"][0]
    self.units = struct.unpack(">H", self.data[head + 18:head + 20])[0]
    self.long_loca = struct.unpack(">h", self.data[head + 50:head + 52])[0] == 1
    hhea = self.tables["hhea"][0]
    self.ascent = struct.unpack(">h", self.data[hhea + 4:hhea + 6])[0]
    self.metrics = struct.unpack(">H", self.data[hhea + 34:hhea + 36])[0]
    self.cmap = self._read_cmap()

  def _u16(self, at):
    return struct.unpack(">H", self.data[at:at + 2])[0]

  def _read_cmap(self):
    base = self.tables["cmap"][0]
    for i in range(self._u16(base + 2)):
      platform, encoding, sub = struct.unpack(">HHI", self.data[base + 4 + 8 * i:base + 12 + 8 * i])
      table = base + sub
      if platform == 3 and encoding == 1 and self._u16(table) == 4:
        return table
    raise ValueError("no Unicode cmap")

  def glyph_index(self, char):
    code, table = ord(char), self.cmap
    segments = self._u16(table + 6) // 2
    ends, starts = table + 14, table + 16 + 2 * segments
    deltas, offsets = starts + 2 * segments, starts + 4 * segments
    for i in range(segments):
      if code > self._u16(ends + 2 * i):
        continue
      if code < self._u16(starts + 2 * i):
        return 0
      delta, range_offset = self._u16(deltas + 2 * i), self._u16(offsets + 2 * i)
      if range_offset == 0:
        return (code + delta) & 0xFFFF
      at = offsets + 2 * i + range_offset + 2 * (code - self._u16(starts + 2 * i))
      index = self._u16(at)
      return (index + delta) & 0xFFFF if index else 0
    return 0

  def advance(self, index):
    hmtx = self.tables["hmtx"][0]
    return self._u16(hmtx + 4 * min(index, self.metrics - 1))

  def contours(self, index):
    """Closed polylines in font units (y up), curves flattened."""
    loca, glyf = self.tables["loca"][0], self.tables["glyf"][0]
    if self.long_loca:
      start, end = struct.unpack(">II", self.data[loca + 4 * index:loca + 4 * index + 8])
    else:
      start, end = (2 * v for v in struct.unpack(">HH", self.data[loca + 2 * index:loca + 2 * index + 4]))
    if start == end:
      return []
    at = glyf + start
    count = struct.unpack(">h", self.data[at:at + 2])[0]
    if count < 0:
      return self._composite(at + 10)
    return self._simple(at, count)

  def _simple(self, at, count):
    end_points = [self._u16(at + 10 + 2 * i) for i in range(count)]
    at += 10 + 2 * count
    at += 2 + self._u16(at)
    total = end_points[-1] + 1
    flags = []
    while len(flags) < total:
      flag = self.data[at]
      at += 1
      flags.append(flag)
      if flag & 8:
        flags.extend([flag] * self.data[at])
        at += 1
    coords = []
    for short, same in ((2, 16), (4, 32)):
      value, values = 0, []
      for flag in flags:
        if flag & short:
          step = self.data[at]
          at += 1
          value += step if flag & same else -step
        elif not flag & same:
          value += struct.unpack(">h", self.data[at:at + 2])[0]
          at += 2
        values.append(value)
      coords.append(values)
    result, first = [], 0
    for last in end_points:
      points = [(coords[0][i], coords[1][i], flags[i] & 1) for i in range(first, last + 1)]
      result.append(flatten(points))
      first = last + 1
    return result

  def _composite(self, at):
    result = []
    while True:
      flags, index = struct.unpack(">HH", self.data[at:at + 4])
      at += 4
      if flags & 1:
        dx, dy = struct.unpack(">hh", self.data[at:at + 4])
        at += 4
      else:
        dx, dy = struct.unpack(">bb", self.data[at:at + 2])
        at += 2
      at += 2 if flags & 8 else 4 if flags & 0x40 else 8 if flags & 0x80 else 0
      for contour in self.contours(index):
        result.append([(x + dx, y + dy) for x, y in contour])
      if not flags & 0x20:
        return result


def flatten(points):
  """Quadratic outline points (x, y, on_curve) to a polyline."""
  if not points:
    return []
  expanded = []
  for i, point in enumerate(points):
    previous = points[i - 1]
    if not point[2] and not previous[2]:
      expanded.append(((point[0] + previous[0]) / 2, (point[1] + previous[1]) / 2, 1))
    expanded.append(point)
  start = next(i for i, p in enumerate(expanded) if p[2])
  expanded = expanded[start:] + expanded[:start]
  line = [expanded[0][:2]]
  i = 1
  while i <= len(expanded):
    point = expanded[i % len(expanded)]
    if point[2]:
      line.append(point[:2])
      i += 1
      continue
    end = expanded[(i + 1) % len(expanded)]
    begin = line[-1]
    for step in range(1, 5):
      t = step / 4
      line.append(((1 - t) ** 2 * begin[0] + 2 * t * (1 - t) * point[0] + t * t * end[0],
                   (1 - t) ** 2 * begin[1] + 2 * t * (1 - t) * point[1] + t * t * end[1]))
    i += 2
  return line


def draw_text(pic, font, text, left, baseline, size, colour, clip):
  """Nonzero-winding coverage with 4 x 4 samples per pixel."""
  scale = size / font.units
  edges, x = [], left
  for char in text:
    index = font.glyph_index(char)
    for contour in font.contours(index):
      pts = [(x + px * scale, baseline - py * scale) for px, py in contour]
      for i in range(len(pts)):
        edges.append((pts[i - 1], pts[i]))
    x += font.advance(index) * scale
  if not edges:
    return
  top = int(min(min(a[1], b[1]) for a, b in edges))
  bottom = int(math.ceil(max(max(a[1], b[1]) for a, b in edges)))
  for py in range(max(top, 0), min(bottom + 1, pic.height)):
    coverage = {}
    for sub in range(4):
      sy = py + (sub + 0.5) / 4
      crossings = []
      for (ax, ay), (bx, by) in edges:
        if (ay <= sy) != (by <= sy):
          crossings.append((ax + (sy - ay) * (bx - ax) / (by - ay), 1 if by > ay else -1))
      crossings.sort()
      winding = 0
      for i in range(len(crossings) - 1):
        winding += crossings[i][1]
        if winding == 0:
          continue
        a, b = crossings[i][0], crossings[i + 1][0]
        for px in range(int(a * 4), int(b * 4)):
          coverage[px // 4] = coverage.get(px // 4, 0) + 1
    for px, hits in coverage.items():
      if clip(px, py) and 0 <= px < pic.width:
        pic.rows[py][px] = mix(pic.rows[py][px], colour, hits / 16)


def text_width(font, text, size):
  return sum(font.advance(font.glyph_index(c)) for c in text) * size / font.units


# --- picture buttons --------------------------------------------------------

def button_icon(pic, kind, cx, cy, colour):
  box = bounds(cx, cy, 30)
  pic.paint(circle(cx, cy, 28), WHITE, box)
  if kind == "gear":
    teeth = union(*[segment(cx + 13 * math.cos(a), cy + 13 * math.sin(a), cx + 21 * math.cos(a),
                            cy + 21 * math.sin(a), 7) for a in [i * math.pi / 4 for i in range(8)]])
    pic.paint(union(teeth, circle(cx, cy, 15)), colour, box)
    pic.paint(circle(cx, cy, 6), WHITE, box)
  else:
    pic.paint(circle(cx, cy, 20), colour, box)
    lines = union(ring(circle(cx, cy, 20), 3), segment(cx - 20, cy, cx + 20, cy, 3),
                  ring(lambda x, y: math.hypot((x - cx) * 2.2, y - cy) - 20, 3))
    pic.paint(lines, WHITE, box)


def picture_button(font, label, colour, kind, hover):
  w, h = BUTTON_SIZE
  pic = Picture(w, h, WHITE)
  body = lighter(colour, 0.18) if hover else colour
  shape = rounded_box(w / 2, h / 2 - 2, w / 2 - 4, h / 2 - 8, 24)
  shadow = rounded_box(w / 2, h / 2 + 2, w / 2 - 4, h / 2 - 8, 24)
  pic.paint(shadow, darker(colour, 0.25))
  pic.paint(shape, body)
  gloss = lambda x, y: max(shape(x, y) + 5, y - (h / 2 - 6))
  pic.paint(gloss, lambda x, y: mix(body, WHITE, 0.35 - 0.25 * y / h))
  if hover:
    pic.paint(ring(shape, 3), SUN)
  button_icon(pic, kind, 56, h / 2 - 2, colour)
  size = 24
  left = 96 + (w - 96 - 14 - text_width(font, label, size)) / 2
  draw_text(pic, font, label, left + 1, h / 2 + 8 + 1, size, darker(colour, 0.35), lambda x, y: True)
  draw_text(pic, font, label, left, h / 2 + 8, size, WHITE, lambda x, y: True)
  # Magenta only where nothing of the button shows, so keying it out leaves
  # the blended edge on white.
  for y in range(h):
    for x in range(w):
      if min(shape(x + 0.5, y + 0.5), shadow(x + 0.5, y + 0.5)) > 0.5:
        pic.rows[y][x] = KEY
  return pic


def main():
  if len(sys.argv) < 2:
    sys.exit(__doc__)
  out = sys.argv[1]
  os.makedirs(out, exist_ok=True)
  font_path = sys.argv[2] if len(sys.argv) > 2 else next((p for p in FONT_CANDIDATES if os.path.exists(p)), None)
  if not font_path:
    sys.exit("generate_pictures.py: no font for the button labels (install fonts-wqy-microhei)")
  font = Font(font_path)
  for step, (number, colour, kind, panel) in enumerate(PAGES):
    page_picture(step, colour, kind, panel).save(os.path.join(out, "page%d.bmp" % number))
  for hover_id, normal_id, label, colour, kind in BUTTONS:
    picture_button(font, label, colour, kind, True).save(os.path.join(out, "button%d.bmp" % hover_id))
    picture_button(font, label, colour, kind, False).save(os.path.join(out, "button%d.bmp" % normal_id))


if __name__ == "__main__":
  main()
