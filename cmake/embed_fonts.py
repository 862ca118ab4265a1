#!/usr/bin/python3
# embed_fonts.py OUT FACE... — writes the source that compiles the faces into the program and
# registers them (gfx/BuiltinFonts.h). Each face keeps only the glyphs of the characters the program
# can draw, code page 1252 (the symbols are drawn by gfx/SymbolFace), with its hinting, so that
# FreeType renders them exactly as from the whole file; and it is stored deflated, since a menu
# started from a disc reads every byte of the program it touches from there.
import io
import os
import sys
import zlib

try:
    from fontTools import subset
except ImportError:
    sys.exit("embed_fonts.py: fontTools is missing (Debian: python3-fonttools, see scripts/setup.sh)")

out, faces = sys.argv[1], sys.argv[2:]

# Every character of code page 1252, as base/Cp1252.cpp maps them (the five unassigned bytes to the
# C1 control of the same value); the control characters below 0x20 draw nothing.
HIGH = [0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178]
CHARACTERS = list(range(0x20, 0x80)) + HIGH + list(range(0xA0, 0x100))


def reduced(path):
    options = subset.Options()
    options.hinting = True  # glyph programs, fpgm, prep and cvt: the same pixels as the whole face
    options.notdef_outline = True
    options.glyph_names = False
    # Names and metrics tables as they are: the family and style are looked up through them.
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.name_legacy = True
    options.prune_unicode_ranges = False
    options.recalc_bounds = False
    options.recalc_timestamp = False
    # Nothing lays out text with these: glyphs are placed by their advance alone.
    options.layout_features = []
    options.drop_tables += ["GSUB", "GPOS", "GDEF", "kern", "morx", "feat", "FFTM"]
    font = subset.load_font(path, options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=CHARACTERS)
    subsetter.subset(font)
    data = io.BytesIO()
    subset.save_font(font, data, options)
    return data.getvalue()


arrays = []
entries = []
for index, path in enumerate(faces):
    face = reduced(path)
    packed = zlib.compress(face, 9)
    rows = [",".join(str(b) for b in packed[i:i + 32]) for i in range(0, len(packed), 32)]
    arrays.append(f"const unsigned char kFace{index}[] = {{\n" + ",\n".join(rows) + "\n};\n")
    name = path.replace("\\", "/").rsplit("/", 1)[-1]
    entries.append(f'    {{"{name}", kFace{index}, sizeof kFace{index}, {len(face)}}},\n')

text = ("// Generated at build time by cmake/embed_fonts.py. Do not edit.\n"
        '#include "gfx/BuiltinFonts.h"\n\nnamespace {\n\n' + "".join(arrays) +
        "\nconst gfx::TBuiltinFontFile kFaces[] = {\n" + "".join(entries) + "};\n\n"
        "[[maybe_unused]] const bool kRegistered = (gfx::RegisterBuiltinFonts(kFaces), true);\n\n"
        "}  // namespace\n")
with open(out + ".tmp", "w") as f:
    f.write(text)
os.replace(out + ".tmp", out)
