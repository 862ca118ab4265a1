# make_cff_face.py TTF OTF FAMILY — the TrueType face's outlines as an OpenType face with CFF outlines
# under another family name: a face the program's TrueType-only font library cannot open.
import sys
from fontTools.ttLib import TTFont
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.t2CharStringPen import T2CharStringPen
src = TTFont(sys.argv[1])
order = src.getGlyphOrder()
gs = src.getGlyphSet()
upm = src["head"].unitsPerEm
charstrings = {}
for name in order:
    pen = T2CharStringPen(gs[name].width, gs)
    gs[name].draw(pen)
    charstrings[name] = pen.getCharString()
fb = FontBuilder(upm, isTTF=False)
fb.setupGlyphOrder(order)
fb.setupCharacterMap(src.getBestCmap())
family = sys.argv[3]
fb.setupCFF(family.replace(" ", ""), {"FullName": family}, charstrings, {})
fb.setupHorizontalMetrics({n: src["hmtx"][n] for n in order})
fb.setupHorizontalHeader(ascent=src["hhea"].ascent, descent=src["hhea"].descent)
fb.setupNameTable({"familyName": family, "styleName": "Regular"})
fb.setupOS2(sTypoAscender=src["OS/2"].sTypoAscender, sTypoDescender=src["OS/2"].sTypoDescender, usWinAscent=src["OS/2"].usWinAscent, usWinDescent=src["OS/2"].usWinDescent, usWeightClass=400)
fb.setupPost()
fb.save(sys.argv[2])
