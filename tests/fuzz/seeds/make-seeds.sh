#!/usr/bin/env bash
# make-seeds.sh BUILD_DIR OUT — first inputs for every fuzz target in OUT/<target>/: the project's
# writers (fuzz_seeds), ImageMagick pictures, Info-ZIP archives, Python waves and hand-written
# scripts. The corpus in tests/fuzz/corpus was started from these and minimised (-merge=1).
set -euo pipefail
build=$1 out=$2
mkdir -p "$out"
cmake --build "$build" --target fuzz_seeds >/dev/null
"$build/tests/fuzz/fuzz_seeds" "$out"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT

mkdir -p "$out"/{jpeg_reader,png_reader,bmp_reader,gif_decoder,gif_image,zip_list,unpack32_extract,zip_readspan,wave_image,script_reader}
convert -size 13x7 gradient:red-blue "$tmp/g.ppm"
for q in 10 90; do convert "$tmp/g.ppm" -quality $q "$out/jpeg_reader/im-q$q.jpg"; done
convert "$tmp/g.ppm" -interlace JPEG "$out/jpeg_reader/im-progressive.jpg"
convert "$tmp/g.ppm" -colorspace Gray "$out/jpeg_reader/im-gray.jpg"
convert "$tmp/g.ppm" -sampling-factor 4:4:4 "$out/jpeg_reader/im-444.jpg"
convert "$tmp/g.ppm" -define jpeg:restart-interval=1 "$out/jpeg_reader/im-restart.jpg"
convert "$tmp/g.ppm" -colorspace CMYK "$out/jpeg_reader/im-cmyk.jpg"
convert "$tmp/g.ppm" "PNG24:$out/png_reader/im-rgb.png"
convert "$tmp/g.ppm" -alpha set -channel A -evaluate set 50% "PNG32:$out/png_reader/im-rgba.png"
convert "$tmp/g.ppm" -colors 4 "PNG8:$out/png_reader/im-palette.png"
convert "$tmp/g.ppm" -colorspace Gray -depth 16 "$out/png_reader/im-gray16.png"
convert "$tmp/g.ppm" -interlace PNG "PNG24:$out/png_reader/im-interlaced.png"
convert "$tmp/g.ppm" -colors 16 -compress RLE "BMP3:$out/bmp_reader/im-rle.bmp"
convert "$tmp/g.ppm" -colors 200 -compress RLE "BMP3:$out/bmp_reader/im-rle8.bmp"
convert "$tmp/g.ppm" "BMP2:$out/bmp_reader/im-os2.bmp"
convert -delay 10 "$tmp/g.ppm" \( "$tmp/g.ppm" -flip \) -loop 0 "$out/gif_decoder/im-anim.gif"
cp "$out/gif_decoder/im-anim.gif" "$out/gif_image/"

printf 'Hallo Welt\n%.0s' {1..20} > "$tmp/a.txt"
mkdir -p "$tmp/d/sub" && echo eins > "$tmp/d/sub/eins.txt" && echo zwei > "$tmp/d/zwei.txt"
(cd "$tmp" && zip -q -r izip.zip a.txt d && zip -q -0 izip0.zip a.txt && zip -q -z izipc.zip a.txt <<<"Kommentar")
for z in izip izip0 izipc; do cp "$tmp/$z.zip" "$out/zip_list/$z.zip"; cp "$tmp/$z.zip" "$out/unpack32_extract/$z.zip"; done
{ printf '\0'; cat "$tmp/izip.zip"; } > "$out/zip_readspan/izip-whole"

python3 - "$out/wave_image" <<'PY'
import sys, wave, struct, math
for bits, ch in ((1, 1), (2, 2)):
    with wave.open(f"{sys.argv[1]}/py-{bits * 8}-{ch}.wav", "wb") as w:
        w.setnchannels(ch); w.setsampwidth(bits); w.setframerate(8000)
        for i in range(40):
            v = int(100 * math.sin(i / 3))
            frame = (struct.pack("<b", v) if bits == 1 else struct.pack("<h", v * 200)) * ch
            w.writeframes(frame if bits == 2 else bytes(b + 128 & 0xFF for b in frame))
PY

s=$out/script_reader
printf '# Kommentar\nexpect-no-box\nclick bOpen\ntype Gr\xc3\xbc\xc3\x9fe\nkey Space\nclick Dialog.bOk\nexpect-caption lResult Gr\xc3\xbc\xc3\x9fe\n' > "$s/dialog"
printf 'answer No\nclick bBox\nexpect-box Wirklich\nexpect-caption lResult nein\nexpect-no-box\n' > "$s/box"
printf 'expect-disabled bOff\nexpect-enabled bBox\nexpect-hidden bHidden\nexpect-visible Haupt\nexpect-focus bOpen\n' > "$s/state"
printf 'wait 2500\nmove 10 10\npress bBox\nrelease 20 20\ndblclick 5 5\nwheel -3\nkey Ctrl+Shift+F4\nkey Alt+x\n' > "$s/input"
printf 'click bOpen\nkey Escape\nfolder cancel\nfolder C:\\\\Ziel\nscreenshot Haupt shot.png\nscreenshot x.png\nclick bQuit\n' > "$s/misc"
printf 'click 140 22\nklick bOpen\n' > "$s/fail"
