#!/bin/sh
# Regenerates the window's pictures with ImageMagick 6 (convert) and the DejaVu fonts:
#   ball_red.gif, ball_gray.bmp   page selector balls, 27x25 on light grey (192,192,192)
#   logo.png                      139x47 logo plate
#   key_menu.png, key_minus.png, key_plus.png   90x40 control panel keys
#   cr.png                        21x27 "CR" picture of the carriage-return buttons
#   app_icon.png, app_icon_16.png window icon, 32x32 and 16x16
# Usage: data/make_pictures.sh [output directory, default: the script's directory]
set -eu

out=${1:-$(dirname "$0")}
bold=$(fc-match -f '%{file}' 'DejaVu Sans:bold')
cond=$(fc-match -f '%{file}' 'DejaVu Sans Condensed:bold')
grey='rgb(192,192,192)'
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A shaded ball: radial gradient with its highlight up and to the left, cut to a circle with a
# soft edge and a thin darker rim, laid on the light grey of the window.
ball() {  # $1 highlight, $2 body, $3 rim, $4 output
  convert -size 44x44 radial-gradient:"$1-$2" -crop 23x23+7+7 +repage "$tmp/shade.png"
  convert -size 23x23 xc:black -fill white -draw 'circle 11,11 11,0.6' "$tmp/mask.png"
  convert "$tmp/shade.png" "$tmp/mask.png" -alpha off -compose CopyOpacity -composite \
    -fill none -stroke "$3" -strokewidth 1 -draw 'circle 11,11 11,0.9' "$tmp/ball.png"
  convert -size 27x25 xc:"$grey" "$tmp/ball.png" -geometry +2+1 -compose Over -composite \
    -strip "$4"
}
ball '#ffd0d0' '#b00000' '#700000' "$tmp/ball_red.png"
ball '#ffffff' '#7a7a7a' '#505050' "$tmp/ball_gray.png"
convert "$tmp/ball_red.png" -colors 64 "$out/ball_red.gif"
convert "$tmp/ball_gray.png" -type TrueColor BMP3:"$out/ball_gray.bmp"

# Logo: the product name in white on a dark blue plate with rounded corners and a thin light
# blue rule under the name.
convert -size 139x47 xc:"$grey" \
  -fill '#0d2f6e' -stroke '#071b44' -draw 'roundrectangle 0,0 138,46 6,6' \
  -stroke none -fill '#6fb3ea' -draw 'rectangle 10,35 128,36' \
  -font "$cond" -pointsize 19 -fill white -gravity north -annotate +0+8 'QX-ZENK-RX' \
  -strip -depth 8 "$out/logo.png"

# Control panel keys: a light blue bevelled key with a dark blue symbol.
key_base() {  # $1 output
  convert -size 90x40 gradient:'#d6ecfd-#9ccbf0' -raise 3x3 \
    -fill none -stroke '#4f86b8' -draw 'rectangle 0,0 89,39' "$1"
}
navy='#0c2a78'
key_base "$tmp/key.png"
convert "$tmp/key.png" -font "$bold" -pointsize 16 -fill "$navy" -gravity center \
  -annotate +0+0 'MENU' -strip -depth 8 "$out/key_menu.png"
convert "$tmp/key.png" -fill "$navy" -draw 'roundrectangle 31,17 58,22 2,2' \
  -strip -depth 8 "$out/key_minus.png"
convert "$tmp/key.png" -fill "$navy" -draw 'roundrectangle 31,17 58,22 2,2' \
  -draw 'roundrectangle 42,6 47,33 2,2' -strip -depth 8 "$out/key_plus.png"

# Carriage return picture: the letters CR over a small return arrow, on light grey.
convert -size 21x27 xc:"$grey" -font "$bold" -pointsize 9 -fill black -gravity north \
  -annotate +0+2 'CR' -gravity none -stroke black -strokewidth 1 -fill none \
  -draw 'polyline 15,15 15,21 6,21' -stroke none -fill black \
  -draw 'polygon 4,21 8,18 8,24' -strip -depth 8 "$out/cr.png"

# Window icon: the logo's colours, "QX" on a rounded plate; a 16 px variant drawn on its own.
convert -size 32x32 xc:none -fill '#0d2f6e' -draw 'roundrectangle 0,0 31,31 5,5' \
  -fill '#6fb3ea' -draw 'rectangle 5,24 26,25' \
  -font "$bold" -pointsize 14 -fill white -gravity north -annotate +0+5 'QX' \
  -strip -depth 8 "$out/app_icon.png"
convert -size 16x16 xc:none -fill '#0d2f6e' -draw 'roundrectangle 0,0 15,15 3,3' \
  -font "$bold" -pointsize 8 -fill white -gravity center -annotate +0+0 'QX' \
  -strip -depth 8 "$out/app_icon_16.png"
