#!/bin/bash
# Writes the small seed corpora under fuzz/corpus/ (run once; the files are kept in the repo).
# Needs ImageMagick (/usr/bin/convert) and python3.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
C=/usr/bin/convert
bmp=$here/corpus/fuzz_bmp dib=$here/corpus/fuzz_dib jpeg=$here/corpus/fuzz_jpeg colour=$here/corpus/fuzz_colour
png=$here/corpus/fuzz_png
mkdir -p "$bmp" "$dib" "$jpeg" "$colour" "$png"

# PNG: straight-alpha ink, opaque RGB, a palette with transparency, 16-bit grey, interlaced.
$C -size 7x5 xc:none -fill red -draw 'line 0,4 6,0' PNG32:"$png/rgba.png"
$C -seed 5 -size 6x4 plasma: PNG24:"$png/rgb.png"
$C -seed 5 -size 6x4 plasma: -colors 5 -transparent-color white PNG8:"$png/palette.png"
$C -size 3x9 gradient: -depth 16 -colorspace Gray PNG:"$png/grey16.png"
$C -seed 9 -size 11x10 plasma: -interlace PNG PNG24:"$png/interlaced.png"

$C -size 5x3 gradient: -colors 2 -type palette BMP3:"$bmp/pal1.bmp"
$C -size 6x3 gradient:red-blue -colors 16 -type palette BMP3:"$bmp/pal4.bmp"
$C -seed 7 -size 9x5 plasma: -colors 40 -type palette -compress None BMP3:"$bmp/pal8.bmp"
$C -seed 7 -size 9x5 plasma: -colors 40 -type palette -compress RLE BMP3:"$bmp/rle8.bmp"
$C -size 3x2 gradient:red-blue -type truecolor BMP3:"$bmp/rgb24.bmp"
$C -seed 3 -size 3x2 plasma: -define bmp:subtype=RGB565 BMP:"$bmp/rgb565.bmp"
$C -seed 3 -size 3x2 plasma: -alpha on BMP:"$bmp/argb32.bmp"
$C -size 4x2 gradient:red-blue BMP2:"$bmp/core24.bmp"
# RLE4 with a delta and an absolute run, and a top-down 24-bit file: ImageMagick writes neither.
python3 - "$bmp" <<'PY'
import struct, sys
def bmp(w, h, bpp, comp, extra, pixels, colours=0):
    head = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, comp, len(pixels), 0, 0, colours, 0)
    off = 14 + len(head) + len(extra)
    return b'BM' + struct.pack('<IHHI', off + len(pixels), 0, 0, off) + head + extra + pixels
grey = b''.join(bytes([i * 16, i * 16, i * 16, 0]) for i in range(16))
open(sys.argv[1] + '/rle4.bmp', 'wb').write(bmp(6, 3, 4, 2, grey, bytes([4, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 2, 1, 0, 2, 0x67, 0, 1]), 16))
open(sys.argv[1] + '/topdown.bmp', 'wb').write(bmp(2, -2, 24, 0, b'', bytes(range(16))))
masks = struct.pack('<III', 0x3FF00000, 0xFFC00, 0x3FF)
open(sys.argv[1] + '/rgb32bf.bmp', 'wb').write(bmp(2, 1, 32, 3, masks, bytes(range(8))))
PY
# Packed DIBs: the BMP files without their 14-byte file header.
for f in pal1 pal8 rgb24 rgb565 core24 rle4; do tail -c +15 "$bmp/$f.bmp" > "$dib/$f.dib"; done

$C -seed 4 -size 16x16 plasma: -quality 75 JPEG:"$jpeg/baseline.jpg"
$C -seed 4 -size 16x8 plasma: -interlace JPEG JPEG:"$jpeg/progressive.jpg"
$C -seed 4 -size 8x8 plasma: -colorspace Gray JPEG:"$jpeg/grey.jpg"
$C -seed 4 -size 8x8 plasma: -colorspace CMYK JPEG:"$jpeg/cmyk.jpg"
$C -seed 4 -size 9x7 plasma: -sampling-factor 1x1 -define jpeg:restart-interval=1 JPEG:"$jpeg/restart.jpg"

printf 'clRed' > "$colour/name"
printf 'CLWINDOWTEXT' > "$colour/system"
printf '$00C08040' > "$colour/hex"
printf '16711680' > "$colour/decimal"
printf '%s' '-1' > "$colour/negative"
printf 'clNone' > "$colour/none"
