#!/bin/sh
# Regenerates the window's pictures with ImageMagick 6 (convert) and the DejaVu fonts:
#   ball_red.gif, ball_gray.bmp   page selector balls, 27x25 on light grey (192,192,192)
#   logo.png                      139x47 logo plate
#   key_menu.png, key_minus.png, key_plus.png   90x40 control panel keys
#   cr.png                        21x27 "CR" picture of the carriage-return buttons
#   app_icon.png, app_icon_16.png window icon, 32x32 and 16x16
# and each picture of the window once more at twice the size, named "<name>@2x.<ext>", for
# screens scaled by 2; and the 256 px application icon from its SVG (desktop/).
# Usage: data/make_pictures.sh [output directory, default: the script's directory]
set -eu

here=$(dirname "$0")
out=${1:-$here}
bold=$(fc-match -f '%{file}' 'DejaVu Sans:bold')
cond=$(fc-match -f '%{file}' 'DejaVu Sans Condensed:bold')
grey='rgb(192,192,192)'
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# All pictures of the window at scale $1 (1 or 2), with file name suffix $2 ("" or "@2x").
pictures() {
  s=$1
  x=$2
  # n: a length at this scale (numbers as drawn at scale 1; decimals allowed).
  n() { echo "$1 * $s" | bc; }

  # A shaded ball: radial gradient with its highlight up and to the left, cut to a circle with
  # a soft edge and a thin darker rim, laid on the light grey of the window.
  ball() {  # $1 highlight, $2 body, $3 rim, $4 output
    c=$(echo "11 * $s + ($s - 1) / 2" | bc -l)
    convert -size "$(n 44)x$(n 44)" radial-gradient:"$1-$2" \
      -crop "$(n 23)x$(n 23)+$(n 7)+$(n 7)" +repage "$tmp/shade.png"
    convert -size "$(n 23)x$(n 23)" xc:black -fill white \
      -draw "circle $c,$c $c,$(echo "$c - $(n 10.4)" | bc)" "$tmp/mask.png"
    convert "$tmp/shade.png" "$tmp/mask.png" -alpha off -compose CopyOpacity -composite \
      -fill none -stroke "$3" -strokewidth "$s" \
      -draw "circle $c,$c $c,$(echo "$c - $(n 10.1)" | bc)" "$tmp/ball.png"
    convert -size "$(n 27)x$(n 25)" xc:"$grey" "$tmp/ball.png" -geometry "+$(n 2)+$(n 1)" \
      -compose Over -composite -strip "$4"
  }
  ball '#ffd0d0' '#b00000' '#700000' "$tmp/ball_red.png"
  ball '#ffffff' '#7a7a7a' '#505050' "$tmp/ball_gray.png"
  convert "$tmp/ball_red.png" -colors 64 "$out/ball_red$x.gif"
  convert "$tmp/ball_gray.png" -type TrueColor BMP3:"$out/ball_gray$x.bmp"

  # Logo: the product name in white on a dark blue plate with rounded corners and a thin light
  # blue rule under the name.
  convert -size "$(n 139)x$(n 47)" xc:"$grey" \
    -fill '#0d2f6e' -stroke '#071b44' -strokewidth "$s" \
    -draw "roundrectangle 0,0 $(n 138),$(n 46) $(n 6),$(n 6)" \
    -stroke none -fill '#6fb3ea' -draw "rectangle $(n 10),$(n 35) $(n 128),$(n 36)" \
    -font "$cond" -pointsize "$(n 19)" -fill white -gravity north -annotate "+0+$(n 8)" \
    'QX-ZENK-RX' -strip -depth 8 "$out/logo$x.png"

  # Control panel keys: a light blue bevelled key with a dark blue symbol.
  convert -size "$(n 90)x$(n 40)" gradient:'#d6ecfd-#9ccbf0' -raise "$(n 3)x$(n 3)" \
    -fill none -stroke '#4f86b8' -strokewidth "$s" \
    -draw "rectangle 0,0 $(n 89),$(n 39)" "$tmp/key.png"
  navy='#0c2a78'
  convert "$tmp/key.png" -font "$bold" -pointsize "$(n 16)" -fill "$navy" -gravity center \
    -annotate +0+0 'MENU' -strip -depth 8 "$out/key_menu$x.png"
  minus="roundrectangle $(n 31),$(n 17) $(n 58),$(n 22) $(n 2),$(n 2)"
  convert "$tmp/key.png" -fill "$navy" -draw "$minus" -strip -depth 8 "$out/key_minus$x.png"
  convert "$tmp/key.png" -fill "$navy" -draw "$minus" \
    -draw "roundrectangle $(n 42),$(n 6) $(n 47),$(n 33) $(n 2),$(n 2)" \
    -strip -depth 8 "$out/key_plus$x.png"

  # Carriage return picture: the letters CR over a small return arrow, on light grey.
  convert -size "$(n 21)x$(n 27)" xc:"$grey" -font "$bold" -pointsize "$(n 9)" -fill black \
    -gravity north -annotate "+0+$(n 2)" 'CR' -gravity none -stroke black -strokewidth "$s" \
    -fill none -draw "polyline $(n 15),$(n 15) $(n 15),$(n 21) $(n 6),$(n 21)" \
    -stroke none -fill black \
    -draw "polygon $(n 4),$(n 21) $(n 8),$(n 18) $(n 8),$(n 24)" -strip -depth 8 "$out/cr$x.png"
}
pictures 1 ""
pictures 2 "@2x"

# Window icon: the logo's colours, "QX" on a rounded plate; a 16 px variant drawn on its own.
convert -size 32x32 xc:none -fill '#0d2f6e' -draw 'roundrectangle 0,0 31,31 5,5' \
  -fill '#6fb3ea' -draw 'rectangle 5,24 26,25' \
  -font "$bold" -pointsize 14 -fill white -gravity north -annotate +0+5 'QX' \
  -strip -depth 8 "$out/app_icon.png"
convert -size 16x16 xc:none -fill '#0d2f6e' -draw 'roundrectangle 0,0 15,15 3,3' \
  -font "$bold" -pointsize 8 -fill white -gravity center -annotate +0+0 'QX' \
  -strip -depth 8 "$out/app_icon_16.png"

# The desktop's 256 px icon, drawn from the scalable one.
id=io.github.qxtools.QxZenkRx
convert -background none "$here/desktop/$id.svg" -resize 256x256 -depth 8 -strip \
  "$out/desktop/$id.png"
