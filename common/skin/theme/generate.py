#!/usr/bin/env python3
"""Writes the default theme: the skin files and every picture they name.

Run it after changing a colour, a size or a position below; it rewrites
default/*.xml, default/*.bmp and hollin.ico (the programs' icon) in place.
Standard library only, so it runs wherever the sources are.

Pictures are 24-bit BMPs. Frame corners carry magenta (0xFF00FF) outside the
rounded edge: the windows cut that colour out of their region. Buttons are
painted onto the exact colours they sit on, so they look right whether the
button copies its picture as it is or keys magenta out.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "default")

# --- palette (r, g, b) ------------------------------------------------------
CAPTION_TOP = (112, 204, 255)      # sky blue, lighter at the top
CAPTION_BOTTOM = (46, 156, 240)
OUTLINE = (28, 120, 206)           # 1-pixel window outline
BODY = (255, 251, 238)             # warm cream client area
TITLE_TEXT = (255, 255, 255)
MESSAGE_TEXT = (52, 62, 82)
WHITE = (255, 255, 255)
KEY = (255, 0, 255)                # transparent colour of the toolkit

CLOSE = {"normal": (255, 107, 99), "hover": (255, 140, 130),
         "down": (214, 70, 62), "disable": (214, 206, 206)}
OK = {"normal": (84, 198, 108), "hover": (108, 216, 130),
      "down": (62, 168, 86), "disable": (206, 212, 206)}
CANCEL = {"normal": (255, 158, 64), "hover": (255, 180, 98),
          "down": (228, 128, 40), "disable": (216, 210, 202)}
SUN = (255, 210, 64)
SUN_EDGE = (240, 160, 40)
INFO = (64, 170, 250)

# --- geometry ---------------------------------------------------------------
FONT = "微软雅黑"   # Microsoft YaHei: every Windows since Vista; Wine maps it to WenQuanYi Micro Hei
CAPTION_HEIGHT = 36
CORNER = 10                # size of the corner pictures
RADIUS = 8                 # window corner radius
CAPTION_BUTTON = (28, 24)  # width, height
CAPTION_BUTTON_TOP = 6
CAPTION_BUTTON_GAP = 4
LOGO = 22
LOGO_LEFT, LOGO_TOP = 10, 7
DIALOG_BUTTON = (96, 36)
PICTURE = 48


def colorref(rgb):
  r, g, b = rgb
  return r | (g << 8) | (b << 16)


def mix(a, b, t):
  return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def clamp01(v):
  return 0.0 if v < 0 else 1.0 if v > 1 else v


# --- pictures ----------------------------------------------------------------
class Picture:
  def __init__(self, width, height, fill=WHITE):
    self.width, self.height = width, height
    self.pixels = [[tuple(fill) for _ in range(width)] for _ in range(height)]

  def paint(self, distance, colour, offset=(0.0, 0.0)):
    """Blends `colour` over every pixel by the coverage of a shape given as a
    signed distance (negative inside), sampled at the pixel centre."""
    ox, oy = offset
    for y in range(self.height):
      row = self.pixels[y]
      for x in range(self.width):
        cover = clamp01(0.5 - distance(x + 0.5 - ox, y + 0.5 - oy))
        if cover > 0:
          row[x] = mix(row[x], colour, cover)

  def crop(self, left, top, width, height):
    part = Picture(width, height)
    part.pixels = [list(self.pixels[top + y][left:left + width]) for y in range(height)]
    return part

  def save_bmp(self, name):
    stride = (self.width * 3 + 3) & ~3
    data = bytearray()
    for y in range(self.height - 1, -1, -1):
      for r, g, b in self.pixels[y]:
        data += bytes((int(round(b)), int(round(g)), int(round(r))))
      data += b"\0" * (stride - self.width * 3)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0,
                       len(data), 3780, 3780, 0, 0)
    write(name, header + info + bytes(data))


def write(name, data):
  path = os.path.join(OUT, name) if not os.path.isabs(name) else name
  mode = "wb" if isinstance(data, (bytes, bytearray)) else "w"
  with open(path, mode, **({} if mode == "wb" else {"encoding": "utf-8", "newline": "\n"})) as f:
    f.write(data)


# Signed distances.
def rounded_box(cx, cy, hw, hh, r):
  def d(x, y):
    qx, qy = abs(x - cx) - (hw - r), abs(y - cy) - (hh - r)
    outside = math.hypot(max(qx, 0), max(qy, 0))
    return outside + min(max(qx, qy), 0) - r
  return d


def circle(cx, cy, r):
  return lambda x, y: math.hypot(x - cx, y - cy) - r


def segment(ax, ay, bx, by, thickness):
  def d(x, y):
    px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
    t = clamp01((px * vx + py * vy) / (vx * vx + vy * vy))
    return math.hypot(px - vx * t, py - vy * t) - thickness / 2
  return d


def union(*shapes):
  return lambda x, y: min(s(x, y) for s in shapes)


def ring(shape, width):
  return lambda x, y: abs(shape(x, y) + width / 2) - width / 2


def polyline(points, thickness):
  return union(*[segment(*points[i], *points[i + 1], thickness) for i in range(len(points) - 1)])


def caption_colour(y):
  return mix(CAPTION_TOP, CAPTION_BOTTOM, clamp01(y / (CAPTION_HEIGHT - 1)))


def window_picture(width, height):
  """A whole window of the theme, cut later into the pieces the skin tiles:
  caption gradient, cream body, outline, and magenta outside the corners."""
  pic = Picture(width, height)
  for y in range(height):
    fill = caption_colour(y) if y < CAPTION_HEIGHT else BODY
    pic.pixels[y] = [fill] * width
  edge = rounded_box(width / 2, height / 2, width / 2, height / 2, RADIUS)
  pic.paint(ring(edge, 1.2), OUTLINE)
  # The region is cut pixel by pixel, so the key is hard-edged: any pixel
  # whose centre lies outside the rounded edge.
  for y in range(height):
    for x in range(width):
      if edge(x + 0.5, y + 0.5) > 0.15:
        pic.pixels[y][x] = KEY
  return pic


def caption_backdrop(width, height, top):
  pic = Picture(width, height)
  for y in range(height):
    pic.pixels[y] = [caption_colour(top + y)] * width
  return pic


# --- caption buttons ---------------------------------------------------------
def caption_glyph(kind, cx, cy):
  t = 2.2
  if kind == "close":
    return union(segment(cx - 4.5, cy - 4.5, cx + 4.5, cy + 4.5, t),
                 segment(cx - 4.5, cy + 4.5, cx + 4.5, cy - 4.5, t))
  if kind == "min":
    return segment(cx - 5, cy + 3.5, cx + 5, cy + 3.5, t)
  if kind == "max":
    return ring(rounded_box(cx, cy, 5.5, 5, 1.5), 2)
  if kind == "restore":
    back = ring(rounded_box(cx + 1.8, cy - 1.8, 4, 3.6, 1.2), 1.6)
    front_box = rounded_box(cx - 1.5, cy + 1.5, 4, 3.6, 1.2)
    # The front window hides the part of the back one behind it.
    return union(lambda x, y: max(back(x, y), -front_box(x, y) - 0.8), ring(front_box, 1.8))
  if kind == "up":
    return polyline([(cx - 5, cy - 2), (cx, cy + 3), (cx + 5, cy - 2)], t + 0.2)
  raise ValueError(kind)


def caption_button(kind, state):
  w, h = CAPTION_BUTTON
  pic = caption_backdrop(w, h, CAPTION_BUTTON_TOP)
  mid = caption_colour(CAPTION_BUTTON_TOP + h / 2)
  if kind == "close":
    body = CLOSE[state]
  else:
    body = {"normal": mix(mid, WHITE, 0.24), "hover": mix(mid, WHITE, 0.45),
            "down": OUTLINE, "disable": mix(mid, WHITE, 0.12)}[state]
  glyph = mix(body, WHITE, 0.45) if state == "disable" else WHITE
  shift = 1 if state == "down" else 0
  pic.paint(rounded_box(w / 2, h / 2, w / 2 - 0.5, h / 2 - 0.5, 7), body)
  if state != "disable":
    pic.paint(ring(rounded_box(w / 2, h / 2, w / 2 - 0.5, h / 2 - 0.5, 7), 1), mix(body, OUTLINE, 0.35))
  pic.paint(caption_glyph(kind, w / 2, h / 2 + shift), glyph)
  return pic


# --- dialog buttons ----------------------------------------------------------
def dialog_button(colours, glyph, state):
  w, h = DIALOG_BUTTON
  pic = Picture(w, h, BODY)
  body = colours[state]
  lip = mix(body, (0, 0, 0), 0.22)
  pressed = state == "down"
  drop = 0 if pressed else 3  # the button sinks onto its lip when pressed
  top = 2 if pressed else 0
  box = lambda dy: rounded_box(w / 2, (h - 3) / 2 + dy, w / 2 - 1, (h - 3) / 2 - 0.5, 12)
  if state != "disable":
    pic.paint(box(3), lip)
  pic.paint(box(top), body)
  shine = mix(body, WHITE, 0.28)
  pic.paint(rounded_box(w / 2, 6 + top, w / 2 - 12, 2.2, 2.2), shine)
  cx, cy = w / 2, (h - 3) / 2 + top
  mark = WHITE if state != "disable" else mix(body, WHITE, 0.6)
  if glyph == "check":
    shape = polyline([(cx - 9, cy), (cx - 3, cy + 6), (cx + 9, cy - 6)], 4.2)
  else:
    shape = union(segment(cx - 7, cy - 7, cx + 7, cy + 7, 4.2), segment(cx - 7, cy + 7, cx + 7, cy - 7, 4.2))
  pic.paint(shape, mark)
  return pic


# --- pictures of the content -------------------------------------------------
def sun_face(size, backdrop_rows):
  """The toolkit's smiling sun, on a backdrop given row by row."""
  pic = Picture(size, size)
  for y in range(size):
    pic.pixels[y] = [backdrop_rows(y)] * size
  c, r = size / 2, size / 2 - 1
  pic.paint(circle(c, c, r), SUN_EDGE)
  pic.paint(circle(c, c, r - size / 14), SUN)
  eye = size / 14
  pic.paint(circle(c - size * 0.17, c - size * 0.08, eye), MESSAGE_TEXT)
  pic.paint(circle(c + size * 0.17, c - size * 0.08, eye), MESSAGE_TEXT)
  smile = ring(circle(c, c - size * 0.02, size * 0.26), size / 14)
  lower = lambda x, y: max(smile(x, y), c + size * 0.06 - y)
  pic.paint(lower, MESSAGE_TEXT)
  return pic


def info_bubble(size):
  pic = Picture(size, size, BODY)
  c = size / 2
  pic.paint(circle(c, c + 1, size / 2 - 1), mix(INFO, (0, 0, 0), 0.2))
  pic.paint(circle(c, c, size / 2 - 1.5), INFO)
  pic.paint(circle(c - size * 0.14, c - size * 0.16, size * 0.14), mix(INFO, WHITE, 0.25))
  pic.paint(circle(c, c - size * 0.22, size * 0.075), WHITE)
  pic.paint(segment(c, c - size * 0.03, c, c + size * 0.25, size * 0.13), WHITE)
  return pic


def icon_file(pictures):
  """An .ico of 32-bit images with their AND masks (all opaque inside the
  sun's circle, transparent outside)."""
  entries, blobs = [], []
  offset = 6 + 16 * len(pictures)
  for pic, alpha in pictures:
    n = pic.width
    xor = bytearray()
    for y in range(n - 1, -1, -1):
      for x in range(n):
        r, g, b = pic.pixels[y][x]
        xor += bytes((int(round(b)), int(round(g)), int(round(r)), int(round(255 * alpha[y][x]))))
    mask_stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for y in range(n - 1, -1, -1):
      row = bytearray(mask_stride)
      for x in range(n):
        if alpha[y][x] < 0.5:
          row[x // 8] |= 0x80 >> (x % 8)
      mask += row
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    blob = header + bytes(xor) + bytes(mask)
    entries.append(struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(blob), offset))
    blobs.append(blob)
    offset += len(blob)
  return struct.pack("<HHH", 0, 1, len(pictures)) + b"".join(entries) + b"".join(blobs)


def app_icon(size):
  pic = sun_face(size, lambda y: SUN_EDGE)
  edge = circle(size / 2, size / 2, size / 2 - 1)
  alpha = [[clamp01(0.5 - edge(x + 0.5, y + 0.5)) for x in range(size)] for y in range(size)]
  return pic, alpha


# --- skin files ----------------------------------------------------------------
def item(tag, **attributes):
  text = " ".join('%s="%s"' % (k, v) for k, v in attributes.items())
  return "    <%s %s/>" % (tag, text)


def states(prefix):
  return {s: "%s_%s.bmp" % (prefix, s) for s in ("normal", "hover", "down", "disable")}


def frame_items(title, buttons):
  """The caption, outline and body every frame shares. `buttons` lists the
  caption buttons right to left; each anchors to the one before it."""
  lines = [
    "    <!-- caption: topleft's bottom is the caption height -->",
    item("topleft", id="topleft", drawtype=0, left=0, top=0, width=CORNER, height=CAPTION_HEIGHT,
         normal="frame_topleft.bmp"),
    item("topright", id="topright", drawtype=0, right=0, top=0, width=CORNER, height=CAPTION_HEIGHT,
         normal="frame_topright.bmp"),
    item("topmid", id="topmid", drawtype=2, leftid="topleft", left=0, rightid="topright", right=0,
         top=0, height=CAPTION_HEIGHT, normal="frame_topmid.bmp"),
    item("logo", id="logo", drawtype=0, left=LOGO_LEFT, top=LOGO_TOP, width=LOGO, height=LOGO,
         normal="caption_logo.bmp"),
    item("title", id="title", drawtype=5, leftid="logo", left=8, top=0, height=CAPTION_HEIGHT,
         right=len(buttons) * (CAPTION_BUTTON[0] + CAPTION_BUTTON_GAP) + 12, fontsize=17,
         fonttype=FONT, normalclr=colorref(TITLE_TEXT), drawformat=32 | 2048, caption=title),
  ]
  tips = {"close": "关闭", "max": "最大化", "restore": "还原", "min": "最小化", "up": "菜单"}
  previous = None
  for name in buttons:
    place = {"right": 8} if previous is None else {"rightid": previous, "right": CAPTION_BUTTON_GAP}
    if name == "restore":
      place = {"rightid": "close", "right": CAPTION_BUTTON_GAP}  # takes the place of max
    lines.append(item(name, id=name, skintype=1, **place, top=CAPTION_BUTTON_TOP,
                      width=CAPTION_BUTTON[0], height=CAPTION_BUTTON[1], caption=tips[name],
                      **states("caption_" + name)))
    if name != "restore":
      previous = name
  lines += [
    "    <!-- body and outline -->",
    item("body", id="body", drawtype=3, left=1, topid="topleft", top=0, right=1, bottom=1,
         colorbg=colorref(BODY)),
    item("leftborder", id="leftborder", drawtype=3, left=0, width=1, topid="topleft", top=0,
         bottom=CORNER, colorbg=colorref(OUTLINE)),
    item("rightborder", id="rightborder", drawtype=3, right=0, width=1, topid="topleft", top=0,
         bottom=CORNER, colorbg=colorref(OUTLINE)),
    item("bottomborder", id="bottomborder", drawtype=3, left=CORNER, right=CORNER, bottom=0,
         height=1, colorbg=colorref(OUTLINE)),
    item("bottomleft", id="bottomleft", drawtype=0, left=0, bottom=0, width=CORNER, height=CORNER,
         normal="frame_bottomleft.bmp"),
    item("bottomright", id="bottomright", drawtype=0, right=0, bottom=0, width=CORNER,
         height=CORNER, normal="frame_bottomright.bmp"),
  ]
  return lines


def window_attributes(width, height, **more):
  attributes = dict(fixsize=0, setrgn=1, clrtrans=colorref(KEY), width=width, height=height)
  attributes.update(more)
  return " ".join('%s="%s"' % (k, v) for k, v in attributes.items())


def skin_file(elements):
  body = "\n".join(elements)
  return ('<?xml version="1.0" encoding="utf-8"?>\n'
          "<!-- Generated by ../generate.py: edit that and run it again. -->\n"
          "<skin>\n%s\n</skin>\n" % body)


def framedialog():
  lines = ["  <framedialog %s>" % window_attributes(520, 360, minWidth=240, minHeight=160)]
  lines += frame_items("", ["close", "max", "restore", "min", "up"])
  lines.append(item("childwnd", id="childwnd", skintype=7, left=1, topid="topleft", top=0,
                    right=1, bottom=1))
  lines.append("  </framedialog>")
  return "\n".join(lines)


def msgdialog():
  w, h = DIALOG_BUTTON
  lines = ['  <msgdialog %s caption="提示">' % window_attributes(400, 210)]
  lines += frame_items("提示", ["close"])
  lines += [
    "    <!-- content: the text sits right of the picture, the buttons under the text -->",
    item("picture", id="picture", drawtype=0, left=24, topid="topleft", top=24, width=PICTURE,
         height=PICTURE, normal="msg_picture.bmp"),
    item("text", id="text", drawtype=4, leftid="picture", left=16, topid="topleft", top=22,
         right=26, bottom=h + 34, fontsize=20, fonttype=FONT, normalclr=colorref(MESSAGE_TEXT),
         drawformat=2048),
    item("ok", id="ok", skintype=1, right=26 + w + 16, bottom=20, width=w, height=h, caption="确定",
         **states("msg_ok")),
    item("cancel", id="cancel", skintype=1, right=26, bottom=20, width=w, height=h, caption="取消",
         **states("msg_cancel")),
    "  </msgdialog>",
  ]
  return "\n".join(lines)


# --- the parent's control panel ------------------------------------------------
# As wide as an 800x600 screen: the widest list page (40 + 580 px of columns,
# a scroll bar and the list's frame) must fit beside the tab strip.
PANEL_SIZE = (800, 460)
PANEL_TITLE = "Tindra儿童浏览器 家长控制中心"
PANEL_TAB_STRIP = 124          # width of the strip behind the tab buttons
PANEL_PAGE = dict(left=128, top=16, right=10, bottom=64)  # top below the caption
PANEL_BUTTON_GAP = 10
PANEL_MARGIN = 14
APPLY = {"normal": (64, 150, 240), "hover": (96, 172, 250),
         "down": (40, 120, 206), "disable": (204, 210, 218)}
TAB_STRIP = (228, 243, 255)
PAGE_EDGE = (190, 218, 244)


def apply_button(state):
  """The panel's Apply button: the dialog buttons' shape with an arrow into a
  tray (keep what is set)."""
  w, h = DIALOG_BUTTON
  pic = dialog_button(APPLY, "check", state)
  body = APPLY[state]
  top = 2 if state == "down" else 0
  cx, cy = w / 2, (h - 3) / 2 + top
  # Paint over the check mark, then draw the arrow and the tray.
  pic.paint(rounded_box(cx, cy, 14, 10, 2), body)
  mark = WHITE if state != "disable" else mix(body, WHITE, 0.6)
  arrow = union(segment(cx, cy - 8, cx, cy + 2, 3.4),
                polyline([(cx - 5, cy - 2), (cx, cy + 3), (cx + 5, cy - 2)], 3.4),
                polyline([(cx - 9, cy + 1), (cx - 9, cy + 7), (cx + 9, cy + 7), (cx + 9, cy + 1)], 2.6))
  pic.paint(arrow, mark)
  return pic


def panel_pictures():
  for state in ("normal", "hover", "down", "disable"):
    apply_button(state).save_bmp("panel_apply_%s.bmp" % state)


def confdlg():
  """The control panel: caption with the close button, a strip behind the tab
  buttons, the pages' place on a white card, OK, Cancel and Apply."""
  w, h = DIALOG_BUTTON
  page = PANEL_PAGE
  lines = ["  <confdlg %s>" % window_attributes(*PANEL_SIZE)]
  lines += frame_items(PANEL_TITLE, ["close"])
  lines += [
    "    <!-- the window text; never painted -->",
    item("appshowname", id="appshowname", drawtype=7, caption=PANEL_TITLE),
    item("tabstrip", id="tabstrip", drawtype=3, left=8, topid="topleft", top=page["top"] - 1,
         width=PANEL_TAB_STRIP - 8, bottom=page["bottom"] - 1, colorbg=colorref(TAB_STRIP)),
    item("pageedge", id="pageedge", drawtype=3, left=page["left"] - 1, topid="topleft", top=page["top"] - 1,
         right=page["right"] - 1, bottom=page["bottom"] - 1, colorbg=colorref(PAGE_EDGE)),
    "    <!-- the pages, one at a time, in one place -->",
  ]
  for name in ("gendlg", "pwddlg", "rcmdlg", "logdlg", "ifodlg", "ctldlg", "wozdlg"):
    lines.append(item(name, id=name, skintype=7, left=page["left"], topid="topleft", top=page["top"],
                      right=page["right"], bottom=page["bottom"]))
  right = PANEL_MARGIN
  buttons = []
  for name, caption, pictures in (("apply", "应用", "panel_apply"), ("cancel", "取消", "msg_cancel"),
                                  ("ok", "确定", "msg_ok")):
    buttons.append(item(name, id=name, skintype=1, right=right, bottom=PANEL_MARGIN, width=w, height=h,
                        caption=caption, **states(pictures)))
    right += w + PANEL_BUTTON_GAP
  lines += buttons
  lines.append("  </confdlg>")
  return "\n".join(lines)


def panel_page(name):
  """A page of the panel: white, so its controls sit on the colour their
  brush paints."""
  lines = ["  <%s fixsize=\"0\" setrgn=\"0\">" % name,
           item("body", id="body", drawtype=3, left=0, top=0, right=0, bottom=0, colorbg=colorref(WHITE)),
           "  </%s>" % name]
  return "\n".join(lines)


def gendlg():
  return panel_page("gendlg")


def ifodlg():
  return panel_page("ifodlg")


def pwddlg():
  return panel_page("pwddlg")


def ctldlg():
  return panel_page("ctldlg")


def rcmdlg():
  return panel_page("rcmdlg")


def logdlg():
  return panel_page("logdlg")


def wozdlg():
  return panel_page("wozdlg")



# --- tab strip ---------------------------------------------------------------
STRIP_BACK = (214, 236, 252)       # the strip behind the tabs
STRIP_LINE = (126, 184, 232)       # separator and border line
TAB_FILL = {"normal": (236, 246, 255), "hover": (248, 252, 255), "down": (200, 226, 248)}
TAB_CURRENT = {"normal": (255, 255, 255), "hover": (255, 255, 255), "down": (244, 250, 255)}
TAB_SIZE = (230, 29)               # a tab of the default metrics, as high as the strip
TAB_TEXT = MESSAGE_TEXT
TAB_CLOSE = {"normal": (150, 160, 176), "hover": (255, 107, 99), "down": (214, 70, 62),
             "disable": (206, 212, 222)}


def tab_picture(fill, outline):
  """A rounded tab on the strip's colour. Rows 2 to 24 hold it, so it looks
  whole both above the pages (29 rows shown) and below them (26 shown)."""
  w, h = TAB_SIZE
  pic = Picture(w, h, STRIP_BACK)
  shape = rounded_box(w / 2, 13.5, w / 2 - 1.5, 11.5, 8)
  pic.paint(shape, fill)
  pic.paint(ring(shape, 1), outline)
  return pic


def tab_close_picture(state):
  """The close mark on the current tab's colour: a cross, on a red disc
  under the pointer and pressed, faint while only the tab is hovered."""
  pic = Picture(14, 14, TAB_CURRENT["normal"])
  colour = TAB_CLOSE[state]
  glyph = union(segment(4, 4, 10, 10, 1.8), segment(4, 10, 10, 4, 1.8))
  if state in ("hover", "down"):
    pic.paint(circle(7, 7, 6.5), colour)
    pic.paint(glyph, WHITE)
  else:
    pic.paint(glyph, colour)
  return pic


def tab_button_picture(kind, state, width):
  """A strip button (close all, add, scroll left, scroll right) on the
  strip's colour, 24 rows high."""
  h = 24
  pic = Picture(width, h, STRIP_BACK)
  body = {"normal": mix(STRIP_BACK, WHITE, 0.55), "hover": WHITE, "down": mix(STRIP_BACK, STRIP_LINE, 0.5),
          "disable": mix(STRIP_BACK, WHITE, 0.25)}[state]
  box = rounded_box(width / 2, h / 2, width / 2 - 1.5, h / 2 - 1.5, 6)
  pic.paint(box, body)
  pic.paint(ring(box, 1), STRIP_LINE)
  mark = mix(body, MESSAGE_TEXT, 0.35) if state == "disable" else MESSAGE_TEXT
  cx, cy = width / 2, h / 2
  if kind == "add":
    shape = union(segment(cx - 5, cy, cx + 5, cy, 2.4), segment(cx, cy - 5, cx, cy + 5, 2.4))
  elif kind == "left":
    shape = polyline([(cx + 2, cy - 5), (cx - 3, cy), (cx + 2, cy + 5)], 2.4)
  elif kind == "right":
    shape = polyline([(cx - 2, cy - 5), (cx + 3, cy), (cx - 2, cy + 5)], 2.4)
  else:  # close all: two stacked crosses
    shape = union(segment(cx - 9, cy - 4, cx - 1, cy + 4, 2), segment(cx - 9, cy + 4, cx - 1, cy - 4, 2),
                  segment(cx + 1, cy - 4, cx + 9, cy + 4, 2), segment(cx + 1, cy + 4, cx + 9, cy - 4, 2))
  pic.paint(shape, mark)
  return pic


def tabctrl():
  """The browser's tab strip: pictures and its element of skin.xml. The
  drawer copies pictures as they are, so each carries the colour under it."""
  for state, fill in TAB_FILL.items():
    tab_picture(fill, STRIP_LINE).save_bmp("tab_nor_%s.bmp" % state)
  for state, fill in TAB_CURRENT.items():
    tab_picture(fill, OUTLINE).save_bmp("tab_sel_%s.bmp" % state)
  for state in ("normal", "hover", "down", "disable"):
    tab_close_picture(state).save_bmp("tab_close_%s.bmp" % state)
    for kind, width in (("closeall", 33), ("add", 24), ("left", 22), ("right", 22)):
      tab_button_picture(kind, state, width).save_bmp("tab_%s_%s.bmp" % (kind, state))
  three = lambda prefix: {s: "%s_%s.bmp" % (prefix, s) for s in ("normal", "down", "hover")}
  lines = ['  <tabctrl ctrlareabackclr="%d" wndbackclr="%d" height="%d" width="0" offset="4">'
           % (colorref(STRIP_BACK), colorref(BODY), TAB_SIZE[1]),
           item("tab", id="tab", width=TAB_SIZE[0], height=TAB_SIZE[1], clrborder=colorref(STRIP_LINE)),
           item("tab_nor", id="tab_nor", **three("tab_nor")),
           item("tab_sel", id="tab_sel", **three("tab_sel")),
           item("text", id="text", font=FONT, fontsize=12, normalclr=colorref(TAB_TEXT))]
  captions = {"close": "关闭", "closeall": "关闭所有页面", "add": "新建空白页", "left": "向左移动",
              "right": "向右移动"}
  for kind in ("close", "closeall", "add", "left", "right"):
    lines.append(item(kind, id=kind, caption=captions[kind], **states("tab_" + kind)))
  lines.append("  </tabctrl>")
  return "\n".join(lines)


# --- the browser's control bar and password prompt ----------------------------
BAR_HEIGHT = 40
BAR_TOP = (255, 246, 222)
BAR_BOTTOM = (255, 228, 178)
BAR_LINE = (240, 196, 120)
BAR_BUTTON = 30
BAR_ICON = 20
SLIDER = (96, 18)          # the slider windows: width, height
THUMB = (12, 12)           # drawn 3 pixels below the slider's top
SLIDER_TOP = (BAR_HEIGHT - SLIDER[1]) // 2
VOLUME = (64, 170, 250)
BRIGHT = (255, 176, 40)


def bar_colour(y):
  return mix(BAR_TOP, BAR_BOTTOM, clamp01(y / (BAR_HEIGHT - 1)))


def bar_backdrop(width, height, top):
  pic = Picture(width, height)
  for y in range(height):
    pic.pixels[y] = [bar_colour(top + y)] * width
  return pic


def bar_background():
  pic = bar_backdrop(8, BAR_HEIGHT, 0)
  pic.pixels[0] = [BAR_LINE] * 8  # a line parts the bar from the pages above
  return pic


def gear(cx, cy, r):
  teeth = [segment(cx + math.cos(a) * r * 0.55, cy + math.sin(a) * r * 0.55,
                   cx + math.cos(a) * r, cy + math.sin(a) * r, r * 0.42)
           for a in (i * math.pi / 4 for i in range(8))]
  wheel = union(circle(cx, cy, r * 0.72), *teeth)
  return lambda x, y: max(wheel(x, y), -circle(cx, cy, r * 0.3)(x, y))


def padlock(cx, cy, r):
  body = rounded_box(cx, cy + r * 0.3, r * 0.8, r * 0.6, r * 0.18)
  shackle = ring(circle(cx, cy - r * 0.3, r * 0.5), r * 0.22)
  upper = lambda x, y: max(shackle(x, y), y - (cy - r * 0.1))
  return union(body, upper, segment(cx - r * 0.5, cy - r * 0.3, cx - r * 0.5, cy + 0.1, r * 0.22),
               segment(cx + r * 0.5, cy - r * 0.3, cx + r * 0.5, cy + 0.1, r * 0.22))


def bar_button(glyph, colour, state):
  size = BAR_BUTTON
  top = (BAR_HEIGHT - size) // 2
  pic = bar_backdrop(size, size, top)
  c = size / 2
  body = {"normal": colour, "hover": mix(colour, WHITE, 0.25), "down": mix(colour, (0, 0, 0), 0.2),
          "disable": mix(colour, WHITE, 0.6)}[state]
  shift = 1 if state == "down" else 0
  pic.paint(circle(c, c + 1, c - 1), mix(body, (0, 0, 0), 0.25))
  pic.paint(circle(c, c + shift, c - 1.5), body)
  pic.paint(glyph(c, c + shift, size * 0.3), WHITE)
  return pic


def bar_icon(kind, top):
  pic = bar_backdrop(BAR_ICON, BAR_ICON, top)
  c = BAR_ICON / 2
  if kind == "info":
    pic.paint(rounded_box(c, c - 1, c - 1, c - 4, 5), INFO)
    pic.paint(polyline([(c - 4, c + 4), (c - 6, c + 8), (c + 1, c + 5)], 2.5), INFO)
    for dx in (-4, 0, 4):
      pic.paint(circle(c + dx, c - 1, 1.4), WHITE)
  elif kind == "clock":
    pic.paint(circle(c, c, c - 1), OUTLINE)
    pic.paint(circle(c, c, c - 2.6), WHITE)
    pic.paint(polyline([(c, c - 5.5), (c, c), (c + 4, c + 2)], 1.8), MESSAGE_TEXT)
  elif kind == "speaker":
    pic.paint(rounded_box(c - 4.5, c, 2.5, 3, 0.8), VOLUME)
    cone = lambda x, y: max(abs(y - c) - (x - (c - 4)) * 0.9 - 2.5, c - 3 - x, x - (c + 1))
    pic.paint(cone, VOLUME)
    for r in (4.5, 7.5):
      wave = ring(circle(c, c, r), 1.6)
      pic.paint(lambda x, y, w=wave: max(w(x, y), c + 1.5 - x), VOLUME)
  elif kind == "sun":
    rays = [segment(c + math.cos(a) * 6, c + math.sin(a) * 6, c + math.cos(a) * 9, c + math.sin(a) * 9, 1.8)
            for a in (i * math.pi / 4 for i in range(8))]
    pic.paint(union(*rays), SUN_EDGE)
    pic.paint(circle(c, c, 4.8), BRIGHT)
  return pic


def slider_channel(colour):
  """The whole slider window: the groove centred on the thumb's row."""
  w, h = SLIDER
  pic = bar_backdrop(w, h, SLIDER_TOP)
  cy = 3 + THUMB[1] / 2
  pic.paint(rounded_box(w / 2, cy, w / 2 - 1, 3.5, 3.5), mix(colour, BAR_LINE, 0.5))
  pic.paint(rounded_box(w / 2, cy, w / 2 - 2, 2.5, 2.5), mix(colour, WHITE, 0.55))
  return pic


def slider_thumb(colour):
  """Painted on the bar's own colours: the brightness thumb is drawn
  without a transparent colour."""
  w, h = THUMB
  pic = bar_backdrop(w, h, SLIDER_TOP + 3)
  pic.paint(circle(w / 2, h / 2, w / 2 - 0.5), mix(colour, (0, 0, 0), 0.25))
  pic.paint(circle(w / 2, h / 2, w / 2 - 1.7), colour)
  pic.paint(circle(w / 2 - 1.5, h / 2 - 1.5, 1.6), mix(colour, WHITE, 0.6))
  return pic


def ctrlbar_pictures():
  bar_background().save_bmp("ctrlbar_bg.bmp")
  for name, glyph, colour in (("setup", gear, OK["normal"]), ("kidsctrl", padlock, CANCEL["normal"])):
    for state in ("normal", "hover", "down", "disable"):
      bar_button(glyph, colour, state).save_bmp("ctrlbar_%s_%s.bmp" % (name, state))
  top = (BAR_HEIGHT - BAR_ICON) // 2
  for kind in ("info", "clock", "speaker", "sun"):
    bar_icon(kind, top).save_bmp("ctrlbar_%s.bmp" % kind)
  slider_channel(VOLUME).save_bmp("ctrlbar_vol_bg.bmp")
  slider_thumb(VOLUME).save_bmp("ctrlbar_vol_th.bmp")
  slider_channel(BRIGHT).save_bmp("ctrlbar_bri_bg.bmp")
  slider_thumb(BRIGHT).save_bmp("ctrlbar_bri_th.bmp")


def ctrlbar():
  """The bar along the bottom of the browser: panel buttons and the parent's
  message at the left; time online, volume, brightness and clock at the
  right, each anchored to the one right of it."""
  b, i = BAR_BUTTON, BAR_ICON
  button_top, icon_top = (BAR_HEIGHT - b) // 2, (BAR_HEIGHT - i) // 2
  slider_top = SLIDER_TOP
  text = dict(fontsize=14, fonttype=FONT, normalclr=colorref(MESSAGE_TEXT), drawformat=4 | 32 | 0x8000)
  lines = ['  <ctrlbar %s>' % window_attributes(800, BAR_HEIGHT, setrgn=0, minWidth=400)]
  lines += [
    item("bg", id="bg", drawtype=2, left=0, top=0, right=0, bottom=0, width=8, height=BAR_HEIGHT,
         normal="ctrlbar_bg.bmp"),
    item("setup", id="setup", skintype=1, left=8, top=button_top, width=b, height=b, caption="设置",
         **states("ctrlbar_setup")),
    item("kidsctrl", id="kidsctrl", skintype=1, leftid="setup", left=6, top=button_top, width=b, height=b,
         caption="家长控制", **states("ctrlbar_kidsctrl")),
    item("curtime", id="curtime", drawtype=4, right=10, top=0, bottom=0, width=44, **text),
    item("bright", id="bright", skintype=7, rightid="curtime", right=12, top=slider_top, width=SLIDER[0],
         height=SLIDER[1]),
    item("bri_icon", id="bri_icon", drawtype=0, rightid="bright", right=4, top=icon_top, width=i, height=i,
         normal="ctrlbar_sun.bmp"),
    item("volmue", id="volmue", skintype=7, rightid="bri_icon", right=16, top=slider_top, width=SLIDER[0],
         height=SLIDER[1]),
    item("vol_icon", id="vol_icon", drawtype=0, rightid="volmue", right=4, top=icon_top, width=i, height=i,
         normal="ctrlbar_speaker.bmp"),
    item("timepassage", id="timepassage", drawtype=4, rightid="vol_icon", right=16, top=0, bottom=0,
         width=150, **text),
    item("time_left", id="time_left", drawtype=0, rightid="timepassage", right=4, top=icon_top, width=i,
         height=i, normal="ctrlbar_clock.bmp"),
    item("info", id="info", drawtype=0, leftid="kidsctrl", left=14, top=icon_top, width=i, height=i,
         normal="ctrlbar_info.bmp"),
    item("information", id="information", drawtype=4, leftid="info", left=6, rightid="time_left", right=16,
         top=0, bottom=0, **text),
    item("vol_bg", id="vol_bg", skintype=5, normal="ctrlbar_vol_bg.bmp"),
    item("vol_th", id="vol_th", skintype=5, normal="ctrlbar_vol_th.bmp"),
    item("bri_bg", id="bri_bg", skintype=5, normal="ctrlbar_bri_bg.bmp"),
    item("bri_th", id="bri_th", skintype=5, normal="ctrlbar_bri_th.bmp"),
    "  </ctrlbar>",
  ]
  return "\n".join(lines)


def authdlg():
  """The parent's password prompt of the browser and the control panel: a
  white panel for the question and the edit, the buttons on the cream strip
  under it."""
  w, h = DIALOG_BUTTON
  lines = ['  <authdlg %s caption="安全验证">' % window_attributes(340, 210)]
  lines += frame_items("安全验证", [])
  lines += [
    "    <!-- content: the question on white, the buttons below -->",
    item("panel", id="panel", drawtype=3, left=1, topid="topleft", top=0, right=1, bottom=h + 28,
         colorbg=colorref(WHITE)),
    item("tip", id="tip", skintype=7, left=24, topid="topleft", top=18, right=24, height=20),
    item("label", id="label", skintype=7, left=24, topid="tip", top=16, width=40, height=22),
    item("password", id="password", skintype=7, leftid="label", left=4, topid="tip", top=14, right=24,
         height=24),
    item("ok", id="ok", skintype=1, right=26 + w + 16, bottom=14, width=w, height=h, caption="确定",
         **states("msg_ok")),
    item("cancel", id="cancel", skintype=1, right=26, bottom=14, width=w, height=h, caption="取消",
         **states("msg_cancel")),
    "  </authdlg>",
  ]
  return "\n".join(lines)


def scrollbar():
  """Skinned scroll bars: sky-blue thumb and arrows on a cream channel."""
  face, pressed, hot = (214, 238, 255), (46, 156, 240), (112, 204, 255)
  lines = [
    "  <scrollbar>",
    item("thumb", id="thumb", normalclr=colorref(hot), colorbg=colorref(OUTLINE),
         onclr=colorref((84, 180, 248))),
    item("arrow", id="arrow", normalclr=colorref(OUTLINE), colorbg=colorref(WHITE), onclr=colorref(WHITE)),
    item("btn", id="btn", normalclr=colorref(face), colorbg=colorref(pressed), onclr=colorref(hot)),
    item("slot", id="slot", normalclr=colorref(BODY), colorbg=colorref((236, 244, 250))),
    "  </scrollbar>",
  ]
  return "\n".join(lines)


APP_NAME = "Tindra儿童浏览器"
TOOL_BUTTON = 28
TOOL_ROW = 40
TOOL_COLOURS = {
  "nav": {"normal": (64, 170, 250), "hover": (104, 192, 255), "down": (36, 132, 214), "disable": (200, 208, 218)},
  "fav": {"normal": (255, 184, 40), "hover": (255, 204, 90), "down": (226, 150, 20), "disable": (216, 210, 196)},
  "go": OK,
}
ADDRESS_FRAME = (126, 184, 232)


def polygon(points):
  """Signed distance to a closed polygon (negative inside, even-odd)."""
  edges = [(points[i], points[(i + 1) % len(points)]) for i in range(len(points))]

  def d(x, y):
    best, inside = float("inf"), False
    for (ax, ay), (bx, by) in edges:
      best = min(best, segment(ax, ay, bx, by, 0)(x, y))
      if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
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


def arc(cx, cy, r, start, end, thickness, steps=24):
  points = [(cx + r * math.cos(start + (end - start) * i / steps), cy + r * math.sin(start + (end - start) * i / steps))
            for i in range(steps + 1)]
  return polyline(points, thickness)


def tool_glyph(kind, cx, cy):
  t = 2.6
  if kind in ("goback", "goforward"):
    k = -1 if kind == "goback" else 1
    return union(segment(cx - 6 * k, cy, cx + 6 * k, cy, t),
                 polyline([(cx + 1 * k, cy - 6), (cx + 6.5 * k, cy), (cx + 1 * k, cy + 6)], t))
  if kind == "refresh":
    end = 1.75 * math.pi
    tip = (cx + 6 * math.cos(end), cy + 6 * math.sin(end))
    head = polygon([(tip[0] - 4.2, tip[1] - 2.2), (tip[0] + 3.6, tip[1] - 3.6), (tip[0] + 1.6, tip[1] + 4.2)])
    return union(arc(cx, cy, 6, 0.15 * math.pi, end - 0.12, t), head)
  if kind == "home":
    roof = polyline([(cx - 7.5, cy + 0.5), (cx, cy - 6.5), (cx + 7.5, cy + 0.5)], t)
    walls = polyline([(cx - 4.8, cy - 1), (cx - 4.8, cy + 7), (cx + 4.8, cy + 7), (cx + 4.8, cy - 1)], t)
    door = rounded_box(cx, cy + 4.5, 1.4, 2.6, 0.5)
    return union(roof, walls, door)
  if kind == "fav":
    return star(cx, cy + 0.5, 8, 3.6)
  if kind == "addbtn":
    plus = union(segment(cx + 5.5, cy - 8.5, cx + 5.5, cy - 2.5, 2.2), segment(cx + 2.5, cy - 5.5, cx + 8.5, cy - 5.5, 2.2))
    return union(star(cx - 1.5, cy + 1.5, 7, 3.1), plus)
  if kind == "gobtn":
    return polygon([(cx - 4, cy - 7), (cx + 7, cy), (cx - 4, cy + 7)])
  raise ValueError(kind)


def tool_button(kind, colours, state):
  """A round button of the tool row on the body's cream, its glyph in white."""
  n = TOOL_BUTTON
  pic = Picture(n, n, BODY)
  body = colours[state]
  shift = 1 if state == "down" else 0
  if state != "disable":
    pic.paint(circle(n / 2, n / 2 + 1, n / 2 - 1), mix(body, (0, 0, 0), 0.2))
  pic.paint(circle(n / 2, n / 2 + shift * 0.5, n / 2 - 1.5), body)
  pic.paint(circle(n / 2 - 4, n / 2 - 5, 4), mix(body, WHITE, 0.18))
  glyph = WHITE if state != "disable" else mix(body, WHITE, 0.6)
  pic.paint(tool_glyph(kind, n / 2, n / 2 + shift), glyph)
  return pic


def address_button(state):
  """The address box's drop-down mark, on the box's white."""
  w, h = 16, 14
  pic = Picture(w, h, WHITE)
  colour = {"normal": OUTLINE, "hover": (64, 170, 250), "down": (20, 90, 160)}[state]
  if state != "normal":
    pic.paint(rounded_box(w / 2, h / 2, w / 2 - 0.5, h / 2 - 0.5, 4), mix(colour, WHITE, 0.8))
  pic.paint(polygon([(3.5, 4.5), (12.5, 4.5), (8, 10)]), colour)
  return pic


def popup_picture(width, height):
  """The notifier: a small window of the theme with the sun in its caption."""
  pic = window_picture(width, height)
  sun = sun_face(LOGO, lambda y: caption_colour(LOGO_TOP + y))
  for y in range(LOGO):
    for x in range(LOGO):
      pic.pixels[LOGO_TOP + y][LOGO_LEFT + x] = sun.pixels[y][x]
  return pic


def main_frame(buttons):
  """The main window's frame in seven pieces round the body, and the caption
  the window is dragged by (topleft, never painted)."""
  w, h = CAPTION_BUTTON
  lines = [
    "    <!-- caption: topleft's bottom is the caption height; it is dragged by -->",
    item("topleft", id="topleft", drawtype=7, left=0, top=0, right=0, height=CAPTION_HEIGHT),
    item("top_left", id="top_left", drawtype=0, left=0, top=0, width=CORNER, height=CAPTION_HEIGHT,
         normal="frame_topleft.bmp"),
    item("top_right", id="top_right", drawtype=0, right=0, top=0, width=CORNER, height=CAPTION_HEIGHT,
         normal="frame_topright.bmp"),
    item("top_mid", id="top_mid", drawtype=2, leftid="top_left", left=0, rightid="top_right", right=0,
         top=0, height=CAPTION_HEIGHT, normal="frame_topmid.bmp"),
    item("logo", id="logo", drawtype=0, left=LOGO_LEFT, top=LOGO_TOP, width=LOGO, height=LOGO,
         normal="caption_logo.bmp"),
    item("title", id="title", drawtype=5, leftid="logo", left=8, top=0, height=CAPTION_HEIGHT,
         right=len(buttons) * (w + CAPTION_BUTTON_GAP) + 12, fontsize=17, fonttype=FONT,
         normalclr=colorref(TITLE_TEXT), drawformat=32 | 2048, caption=APP_NAME),
  ]
  tips = {"close": "关闭", "max": "最大化", "restore": "还原", "min": "最小化", "up": "菜单"}
  previous = None
  for name in buttons:
    place = {"right": 8} if previous is None else {"rightid": previous, "right": CAPTION_BUTTON_GAP}
    if name == "restore":
      place = {"rightid": "close", "right": CAPTION_BUTTON_GAP}
    lines.append(item(name, id=name, skintype=1, **place, top=CAPTION_BUTTON_TOP, width=w, height=h,
                      caption=tips[name], **states("caption_" + name)))
    if name != "restore":
      previous = name
  lines += [
    "    <!-- body, sides and bottom -->",
    item("body", id="body", drawtype=3, left=1, topid="topleft", top=0, right=1, bottom=1,
         colorbg=colorref(BODY)),
    item("mid_left", id="mid_left", drawtype=2, left=0, width=1, topid="topleft", top=0, bottom=CORNER,
         height=1, normal="frame_side.bmp"),
    item("mid_right", id="mid_right", drawtype=2, right=0, width=1, topid="topleft", top=0, bottom=CORNER,
         height=1, normal="frame_side.bmp"),
    item("bottomborder", id="bottomborder", drawtype=3, left=CORNER, right=CORNER, bottom=0, height=1,
         colorbg=colorref(OUTLINE)),
    item("bottom_left", id="bottom_left", drawtype=0, left=0, bottom=0, width=CORNER, height=CORNER,
         normal="frame_bottomleft.bmp"),
    item("bottom_right", id="bottom_right", drawtype=0, right=0, bottom=0, width=CORNER, height=CORNER,
         normal="frame_bottomright.bmp"),
  ]
  return lines


def maindlg():
  """The browser's main window: the tool row under the caption, the tab strip
  filling the middle and the control bar along the bottom; the address box's
  look, the notifier's picture and fonts and the window's name ride along as
  items that are not painted."""
  popup = (300, 150)
  popup_picture(*popup).save_bmp("main_popup.bmp")
  side = Picture(1, 1, OUTLINE)
  side.save_bmp("frame_side.bmp")
  tools = (("goback", "nav"), ("goforward", "nav"), ("refresh", "nav"), ("home", "nav"), ("fav", "fav"),
           ("addbtn", "fav"), ("gobtn", "go"))
  for kind, colours in tools:
    for state in ("normal", "hover", "down", "disable"):
      tool_button(kind, TOOL_COLOURS[colours], state).save_bmp("main_%s_%s.bmp" % (kind, state))
  for state in ("normal", "hover", "down"):
    address_button(state).save_bmp("main_address_%s.bmp" % state)
  b, row = TOOL_BUTTON, TOOL_ROW
  lines = ['  <maindlg %s>' % window_attributes(1000, 700, minWidth=640, minHeight=420)]
  lines += main_frame(["close", "max", "restore", "min", "up"])
  tool = dict(skintype=1, topid="topleft", top=(row - b) // 2, width=b, height=b)
  lines += [
    "    <!-- tool row: navigation at the left, the address box, go and favourites at the right -->",
    item("goback", id="goback", left=8, caption="后退", **tool, **states("main_goback")),
    item("goforward", id="goforward", leftid="goback", left=4, caption="前进", **tool, **states("main_goforward")),
    item("refresh", id="refresh", leftid="goforward", left=4, caption="刷新", **tool, **states("main_refresh")),
    item("home", id="home", leftid="refresh", left=4, caption="主页", **tool, **states("main_home")),
    item("fav", id="fav", right=8, caption="收藏夹", **tool, **states("main_fav")),
    item("addbtn", id="addbtn", rightid="fav", right=4, caption="收藏", **tool, **states("main_addbtn")),
    item("gobtn", id="gobtn", rightid="addbtn", right=8, caption="转到", **tool, **states("main_gobtn")),
    item("urledit", id="urledit", skintype=7, leftid="home", left=10, rightid="gobtn", right=6, topid="topleft",
         top=(row - 28) // 2, height=240),
    item("urledit_bg", id="urledit_bg", skintype=5, normal="main_address_normal.bmp",
         hover="main_address_hover.bmp", down="main_address_down.bmp", normalclr=colorref(ADDRESS_FRAME),
         colorbg=colorref(WHITE), linewidth=1, fontsize=-16, fonttype=FONT),
    item("ctrlbar", id="ctrlbar", skintype=7, left=1, right=1, bottom=1, height=BAR_HEIGHT),
    item("tab", id="tab", skintype=7, left=1, topid="topleft", top=row, right=1, bottom=BAR_HEIGHT + 1),
    item("popup", id="popup", skintype=5, normal="main_popup.bmp", left=16, top=CAPTION_HEIGHT + 14,
         fontsize=120, fonttype=FONT, normalclr=colorref(MESSAGE_TEXT), onclr=colorref(OUTLINE)),
    item("appshowname", id="appshowname", skintype=5, caption=APP_NAME),
    "  </maindlg>",
  ]
  return "\n".join(lines)


def movebar():
  """The folder bar's buttons: rounded caps on the magenta key (hard edges,
  so no blended pixel escapes the key) and a middle that is stretched. The
  normal right cap carries 10 spare columns the bar leaves out."""
  height, cap = 24, 6
  fills = {"normal": (236, 246, 255), "sel": (200, 226, 248)}
  for state, fill in fills.items():
    body = rounded_box(cap, height / 2, cap - 0.5, height / 2 - 0.5, 5)
    for side in ("l", "r"):
      spare = 10 if state == "normal" and side == "r" else 0
      pic = Picture(cap + spare, height, KEY)
      for y in range(height):
        for x in range(cap):
          mx = x if side == "l" else cap * 2 - 1 - x
          inside = body(mx + 0.5, y + 0.5)
          if inside < -1:
            pic.pixels[y][x] = fill
          elif inside < 0:
            pic.pixels[y][x] = OUTLINE
      pic.save_bmp("movebar_%s_%s.bmp" % (state, side))
    middle = Picture(4, height, fill)
    for x in range(4):
      middle.pixels[0][x] = OUTLINE
      middle.pixels[height - 1][x] = OUTLINE
    middle.save_bmp("movebar_%s_m.bmp" % state)
  return item("movebar", normal_textclr=colorref(MESSAGE_TEXT), sel_textclr=colorref(OUTLINE), textalign=1,
              folderheight=height, **{"%s_img_%s" % (state, side): "movebar_%s_%s.bmp" % (state, side)
                                      for state in ("normal", "sel") for side in ("l", "m", "r")})


LIST_HEADER_HEIGHT = 28
LIST_HEADER_TOP = (150, 218, 255)
LIST_HEADER_BOTTOM = (104, 190, 250)
LIST_HEADER_TEXT = (255, 255, 255)
LIST_ROW_TEXT = MESSAGE_TEXT
LIST_ROW_ODD = (255, 255, 255)
LIST_ROW_EVEN = (240, 248, 255)
LIST_SELECTED = (255, 226, 140)
LIST_HOVER = (214, 238, 255)


def list_header_colour(y):
  return mix(LIST_HEADER_TOP, LIST_HEADER_BOTTOM, y / (LIST_HEADER_HEIGHT - 1))


def list_header_picture(width, edge=None):
  """A vertical strip of the header's gradient; `edge` is the colour of a
  1-pixel separator line drawn down its right side."""
  pic = Picture(width, LIST_HEADER_HEIGHT)
  for y in range(LIST_HEADER_HEIGHT):
    pic.pixels[y] = [list_header_colour(y)] * width
    if edge is not None:
      pic.pixels[y][width - 1] = mix(list_header_colour(y), edge, 0.6)
  return pic


def list_arrow(up):
  """A small white triangle on the header's colours, copied as it is."""
  width, height = 9, LIST_HEADER_HEIGHT
  pic = list_header_picture(width)
  top = (height - 5) / 2
  ys = (top + 5, top) if up else (top, top + 5)
  tip = (4.5, ys[1])
  shape = polyline([(0.5, ys[0]), tip, (8.5, ys[0])], 1.6)
  pic.paint(shape, LIST_HEADER_TEXT)
  return pic


def list_items():
  """The header, the rows and the alternating rows every list skin shares."""
  return [item("LISTITEM", TypeID=0, height=LIST_HEADER_HEIGHT, normalbkgleft="list_header_left.bmp",
               normalbkgmid="list_header_mid.bmp", normalbkgright="list_header_right.bmp",
               arrowAsc="list_sort_asc.bmp", arrowDes="list_sort_des.bmp",
               fontclr=colorref(LIST_HEADER_TEXT), fontsize=14, fonttype=FONT),
          item("LISTITEM", TypeID=2, highlightbgclr=colorref(LIST_SELECTED),
               highlighttextclr=colorref(LIST_ROW_TEXT), showalwaysbgclr=colorref(LIST_SELECTED),
               showalwaystextclr=colorref(LIST_ROW_TEXT), overbgclr=colorref(LIST_HOVER),
               overtextclr=colorref(LIST_ROW_TEXT), bgclr=colorref(LIST_ROW_ODD), fontsize=13,
               fonttype=FONT),
          item("LISTITEM", TypeID=3, bgclr=colorref(LIST_ROW_ODD), fontclr=colorref(LIST_ROW_TEXT)),
          item("LISTITEM", TypeID=3, bgclr=colorref(LIST_ROW_EVEN), fontclr=colorref(LIST_ROW_TEXT))]


def list_pictures():
  list_header_picture(2).save_bmp("list_header_left.bmp")
  list_header_picture(4).save_bmp("list_header_mid.bmp")
  list_header_picture(2, OUTLINE).save_bmp("list_header_right.bmp")
  list_arrow(True).save_bmp("list_sort_asc.bmp")
  list_arrow(False).save_bmp("list_sort_des.bmp")


def listctrl():
  """The skinned list: header pictures and colours, row colours, and the
  alternating rows, read by the list's skin loading."""
  list_pictures()
  return "\n".join(["  <listctrl>"] + list_items() + ["  </listctrl>"])


LIST_LINK = (28, 120, 206)
LIST_LINK_DELETE = (214, 70, 62)
LIST_LINK_DISABLED = (170, 170, 170)


def listctrl_links():
  """A file list: four columns with their sort rules (text, size, date, none)
  and a column of links; the list inserts the columns before loading it."""
  lines = ["  <listctrl_links>"] + list_items() + [
    item("LISTITEM", TypeID=1, width=170, text="名称", align=0, sorttype=1),
    item("LISTITEM", TypeID=1, width=80, text="大小", align=1, sorttype=7),
    item("LISTITEM", TypeID=1, width=140, text="修改时间", align=0, sorttype=3),
    item("LISTITEM", TypeID=1, width=-1, text="操作", align=0, sorttype=4, drawellipsis=0),
    '    <LISTITEM TypeID="4" col="3" space="10">',
    "  " + item("link", id=1, text="打开", tooltip="打开这个文件", fontclr=colorref(LIST_LINK),
                disableclr=colorref(LIST_LINK_DISABLED), underline=1, disable=0),
    "  " + item("link", id=2, text="删除", tooltip="删除这个文件", fontclr=colorref(LIST_LINK_DELETE),
                disableclr=colorref(LIST_LINK_DISABLED), underline=1, disable=0),
    "  " + item("link", id=3, text="属性", tooltip="还不能查看属性", fontclr=colorref(LIST_LINK),
                disableclr=colorref(LIST_LINK_DISABLED), underline=0, disable=1),
    "    </LISTITEM>",
    "  </listctrl_links>"]
  return "\n".join(lines)


RECORD_ROW = 26
RECORD_GRID = (220, 232, 244)


def keyed_picture(size, shapes):
  """Shapes on the magenta key with hard edges, so no blended pixel escapes
  the key whatever row colour shows through."""
  pic = Picture(size, size, KEY)
  for shape, colour in shapes:
    for y in range(size):
      for x in range(size):
        if shape(x + 0.5, y + 0.5) < 0:
          pic.pixels[y][x] = colour
  return pic


def record_button(state):
  """The row's delete button: a cross, on a red disc under the pointer."""
  cross = union(segment(5, 5, 11, 11, 2.2), segment(5, 11, 11, 5, 2.2))
  if state == "hover":
    return keyed_picture(16, [(circle(8, 8, 7.5), LIST_LINK_DELETE), (cross, WHITE)])
  return keyed_picture(16, [(cross, (150, 164, 184))])


def record_icon(selected):
  """A page with two lines of text; a warmer page on the selected row."""
  page = rounded_box(8, 8, 5.5, 7, 1.5)
  body = (255, 246, 214) if selected else WHITE
  lines = union(segment(5.5, 6, 10.5, 6, 1.2), segment(5.5, 9, 10.5, 9, 1.2), segment(5.5, 12, 8.5, 12, 1.2))
  return keyed_picture(16, [(page, OUTLINE), (rounded_box(8, 8, 4.5, 6, 1), body), (lines, INFO)])


def recordlist():
  """The record list: the list's colours, then its rows' icon, text, delete
  button and grid lines under RECORDLIST_EXT."""
  record_button("normal").save_bmp("record_btn_normal.bmp")
  record_button("hover").save_bmp("record_btn_hover.bmp")
  record_icon(False).save_bmp("record_icon_normal.bmp")
  record_icon(True).save_bmp("record_icon_sel.bmp")
  lines = ["  <recordlist>"] + list_items() + [
    '    <RECORDLIST_EXT indent="4" gridlnclr="%d" itemheight="%d">' % (colorref(RECORD_GRID), RECORD_ROW),
    "  " + item("item", type="rec", fontclr=colorref(LIST_ROW_TEXT), disableclr=colorref(LIST_LINK_DISABLED),
                tooltip="", underline=0, disable=0),
    "  " + item("item", type="btn", img_normal="record_btn_normal.bmp", img_hover="record_btn_hover.bmp",
                columnwidth=24, transclr=colorref(KEY)),
    "  " + item("item", type="icon", img_normal="record_icon_normal.bmp", img_sel="record_icon_sel.bmp",
                transclr=colorref(KEY)),
    "    </RECORDLIST_EXT>",
    "  </recordlist>"]
  return "\n".join(lines)


def main():
  os.makedirs(OUT, exist_ok=True)
  window = window_picture(40, 80)
  window.crop(0, 0, CORNER, CAPTION_HEIGHT).save_bmp("frame_topleft.bmp")
  window.crop(15, 0, 8, CAPTION_HEIGHT).save_bmp("frame_topmid.bmp")
  window.crop(40 - CORNER, 0, CORNER, CAPTION_HEIGHT).save_bmp("frame_topright.bmp")
  window.crop(0, 80 - CORNER, CORNER, CORNER).save_bmp("frame_bottomleft.bmp")
  window.crop(40 - CORNER, 80 - CORNER, CORNER, CORNER).save_bmp("frame_bottomright.bmp")
  for kind in ("close", "max", "restore", "min", "up"):
    for state in ("normal", "hover", "down", "disable"):
      caption_button(kind, state).save_bmp("caption_%s_%s.bmp" % (kind, state))
  for prefix, colours, glyph in (("msg_ok", OK, "check"), ("msg_cancel", CANCEL, "cross")):
    for state in ("normal", "hover", "down", "disable"):
      dialog_button(colours, glyph, state).save_bmp("%s_%s.bmp" % (prefix, state))
  sun_face(LOGO, lambda y: caption_colour(LOGO_TOP + y)).save_bmp("caption_logo.bmp")
  info_bubble(PICTURE).save_bmp("msg_picture.bmp")
  ctrlbar_pictures()
  write("commonskin.xml", skin_file([framedialog()]))
  panel_pictures()
  write("skin.xml", skin_file([
    msgdialog(),
    tabctrl(),
    ctrlbar(),
    authdlg(),
    confdlg(),
    gendlg(),
    ifodlg(),
    pwddlg(),
    ctldlg(),
    rcmdlg(),
    logdlg(),
    wozdlg(),
    movebar(),
    listctrl(),
    listctrl_links(),
    recordlist(),
    maindlg(),
  ]))
  write("content_skin.xml", skin_file([scrollbar()]))
  write(os.path.join(HERE, "hollin.ico"), icon_file([app_icon(32), app_icon(16)]))


if __name__ == "__main__":
  main()
