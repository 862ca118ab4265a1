# cmake -DOUT=file.cpp -DFACES=a.ttf|b.ttf -P EmbedFonts.cmake — writes the source that compiles the
# faces into the program and registers them (gfx/BuiltinFonts.h).
string(REPLACE "|" ";" faces "${FACES}")
set(arrays "")
set(entries "")
set(index 0)
foreach(face IN LISTS faces)
  file(READ ${face} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
  get_filename_component(name ${face} NAME)
  string(APPEND arrays "const unsigned char kFace${index}[] = {\n${bytes}\n};\n")
  string(APPEND entries "    {\"${name}\", kFace${index}, sizeof kFace${index}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUT}.tmp "// Generated at build time by cmake/EmbedFonts.cmake. Do not edit.
#include \"gfx/BuiltinFonts.h\"

namespace {

${arrays}
const gfx::TBuiltinFontFile kFaces[] = {
${entries}};

[[maybe_unused]] const bool kRegistered = (gfx::RegisterBuiltinFonts(kFaces), true);

}  // namespace
")
file(RENAME ${OUT}.tmp ${OUT})
