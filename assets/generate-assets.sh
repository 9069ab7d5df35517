#!/usr/bin/env bash
# Draws the skins, notice pictures, sounds, icons and the hand cursor of
# Tarnelix and its Veilmark add-on. Nothing here is copied from elsewhere:
# every file is made from scratch with ImageMagick and SoX, and the same
# inputs give byte-identical files.
#
#   generate-assets.sh PROGRAM_DIR RESOURCE_DIR
#
# PROGRAM_DIR   the program folder; receives Skin/Default, Notifications/Default
#               and Sound/Default
# RESOURCE_DIR  receives Tarnelix.ico, Veilmark.ico and Hand.cur for the
#               resource compiler
#
# Pixel positions below come from the dialog templates as Windows lays them
# out at 96 dpi: "MS Sans Serif" 8 and "MS Shell Dlg" 8 both give dialog
# base units of 6 x 13, that is 6 x 13 pixels per 4 x 8 dialog units (x
# times 1.5, y times 1.625, each rounded half up as MapDialogRect does). The
# main window's client area (385 x 231 units) is 578 x 375 pixels, the
# message box (193 x 59) 290 x 96 and the add-on window (258 x 254) 387 x 413.
# The test prefix gives the same (scripts/wine-env.sh). The click regions of
# the main window and the pages are fixed pixel rectangles and are drawn
# where they are tested.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 PROGRAM_DIR RESOURCE_DIR" >&2
  exit 2
fi
program_dir=$1
resource_dir=$2

# ImageMagick 6 installs /usr/bin/convert; a convert earlier on PATH may be
# something else, so the real one is named explicitly.
IM=${TARNELIX_IM_CONVERT:-}
if [ -z "$IM" ]; then
  for c in /usr/bin/magick /usr/bin/convert-im6.q16 /usr/bin/convert; do
    if [ -x "$c" ]; then IM=$c; break; fi
  done
fi
SOX=${TARNELIX_SOX:-/usr/bin/sox}
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
BOLD=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
for f in "$IM" "$SOX"; do
  [ -n "$f" ] && [ -x "$f" ] || { echo "generate-assets: ImageMagick or SoX missing (scripts/setup.sh installs them)" >&2; exit 1; }
done
for f in "$FONT" "$BOLD"; do
  [ -f "$f" ] || { echo "generate-assets: $f missing (package fonts-dejavu-core)" >&2; exit 1; }
done

skin_dir=$program_dir/Skin/Default
notice_dir=$program_dir/Notifications/Default
sound_dir=$program_dir/Sound/Default
mkdir -p "$skin_dir" "$notice_dir" "$sound_dir" "$resource_dir"
work=$(mktemp -d "${resource_dir%/}/.generate.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Same output whatever the caller's locale or environment.
export LC_ALL=C
export MAGICK_THREAD_LIMIT=1
export SOURCE_DATE_EPOCH=0

# ---------------------------------------------------------------- palette
NAVY='#1d3557'
NAVY2='#27486f'
TAB='#3a6595'
TABEDGE='#86aad0'
PALE='#cfdcea'
INK='#1b2533'
GREY='#55657a'
STEEL='#4682b4'
ACCENT='#e0801f'
LINE='#b4c3d4'
VIOLET='#5b3f8c'

# ---------------------------------------------------------------- helpers
# Writes the image built by the given ImageMagick arguments as a plain
# Windows 3 bitmap, 24 bits per pixel, without any metadata.
bmp() {
  local out=$1; shift
  "$IM" "$@" -alpha off -type TrueColor -depth 8 -strip \
    +set date:create +set date:modify "BMP3:$out"
}

# Text centred on the rectangle x0..x1, y0..y1 of a W x H picture.
# centre W H x0 y0 x1 y1 font size colour text
centre() {
  local w=$1 h=$2 x0=$3 y0=$4 x1=$5 y1=$6 font=$7 size=$8 colour=$9 text=${10}
  local dx=$(( (x0 + x1 + 1 - w) / 2 )) dy=$(( (y0 + y1 + 1 - h) / 2 ))
  printf '%s\0' -font "$font" -pointsize "$size" -fill "$colour" -gravity Center \
    -annotate "$(printf '%+d%+d' "$dx" "$dy")" "$text"
}

# Text starting at x, vertically centred on y, in a picture H pixels high.
# left H x y font size colour text
left() {
  local h=$1 x=$2 y=$3 font=$4 size=$5 colour=$6 text=$7
  printf '%s\0' -font "$font" -pointsize "$size" -fill "$colour" -gravity West \
    -annotate "$(printf '+%d%+d' "$x" $(( y - h / 2 )))" "$text"
}

# Text ending at x, vertically centred on y, in a picture W x H.
right() {
  local w=$1 h=$2 x=$3 y=$4 font=$5 size=$6 colour=$7 text=$8
  printf '%s\0' -font "$font" -pointsize "$size" -fill "$colour" -gravity East \
    -annotate "$(printf '+%d%+d' $(( w - 1 - x )) $(( y - h / 2 )))" "$text"
}

# Reads NUL-separated words from a helper into the array named $1.
args() { local -n into=$1; shift; mapfile -d '' -t into < <("$@"); }

# --------------------------------------------------------- main window
main_window() {
  local W=578 H=375
  local -a a t
  a=(-size ${W}x${H} "gradient:#f7f9fc-#dfe7f0")
  # Right-hand column: stays visible beside every page (pages cover x 2..379).
  a+=(-fill "$NAVY2" -draw "rectangle 382,66 577,374")
  a+=(-fill "$NAVY" -draw "rectangle 382,360 577,374")
  # Header band with the product name, the counter and the tabs.
  a+=(-fill "$NAVY" -draw "rectangle 0,0 577,65")
  a+=(-fill "$ACCENT" -draw "rectangle 0,66 577,67")
  args t left $H 14 24 "$BOLD" 24 white "Tarnelix"; a+=("${t[@]}")
  args t left $H 16 50 "$FONT" 10 "$PALE" "popup and adware guard"; a+=("${t[@]}")
  # Tabs at their click regions (x ranges, y 12..60).
  local tab x0 x1 label
  for tab in "180 240 General" "240 305 Advanced" "305 350 Add\nPopups" "350 405 History" \
              "405 460 Allowed" "460 520 Reports" "520 575 Help"; do
    read -r x0 x1 label <<<"$tab"
    a+=(-fill "$TAB" -stroke "$TABEDGE" -strokewidth 1
        -draw "roundrectangle $((x0 + 2)),38 $((x1 - 2)),60 4,4" -stroke none)
    if [ "$label" = 'Add\nPopups' ]; then
      args t centre $W $H $x0 38 $x1 60 "$BOLD" 9 white "$label"
      a+=(-interline-spacing -2 "${t[@]}" -interline-spacing 0)
    else
      args t centre $W $H $x0 38 $x1 60 "$BOLD" 10 white "$label"; a+=("${t[@]}")
    fi
  done
  # Counter: six read-only digit edits, 10 x 12 units at x 287, 302, 316,
  # 330, 344 and 359 units, y 8 units: pixels x 431, 453, 474, 495, 516 and
  # 539, each 15 wide, y 13..32. Each box leaves two pixels around its edit.
  args t right $W $H 414 23 "$FONT" 10 "$PALE" "Killed"; a+=("${t[@]}")
  a+=(-fill '#eef3f9' -stroke "$TABEDGE" -draw "roundrectangle 421,7 564,37 5,5")
  local cx
  for cx in 431 453 474 495 516 539; do
    a+=(-fill white -stroke "$LINE" -draw "rectangle $((cx - 3)),10 $((cx + 17)),35")
  done
  a+=(-stroke none)
  # Heading above the page area (the pages start at y 105, so it stays in
  # view on every page).
  args t left $H 14 86 "$BOLD" 13 "$NAVY" "Options"; a+=("${t[@]}")
  # Check-box captions: boxes at x 14 units (pixels 21..35), rows 72, 86,
  # 100, 114, 128, 142 units, 10 units high (pixels 117..132, 140..155,
  # 163..178, 185..201, 208..223, 231..246; centres 125, 148, 171, 193, 216,
  # 239).
  a+=(-fill white -stroke "$LINE" -draw "roundrectangle 8,110 374,264 6,6" -stroke none)
  local row y text
  for row in "125 Start with Windows" "148 Hide the window at start-up" \
             "171 Play a sound on each kill" "193 Show a notice on each kill" \
             "216 Disable" "239 Kill all pop-up windows"; do
    read -r y text <<<"$row"
    args t left $H 44 "$y" "$FONT" 12 "$INK" "$text"; a+=("${t[@]}")
  done
  # The last caption goes on below its box: the sound link's region begins
  # at x 226 on the same height.
  args t left $H 44 254 "$FONT" 12 "$INK" "automatically"; a+=("${t[@]}")
  # Sound link: the label 1028 (light yellow text, drawn by the program) at
  # x 227..359, y 223..238, inside the click region x 226..360, y 221..250;
  # a dark strip joins it to the right-hand column.
  a+=(-fill "$NAVY2" -draw "roundrectangle 222,217 392,249 6,6")
  # A small loudspeaker at the strip's right end, clear of the label's text.
  a+=(-fill "$PALE" -draw "polygon 340,227 344,227 349,222 349,238 344,233 340,233")
  a+=(-fill none -stroke "$PALE" -strokewidth 1.2 -draw "arc 347,223 356,237 -50,50"
      -draw "arc 347,219 361,241 -50,50" -stroke none -strokewidth 1)
  # Shield emblem in the right-hand column.
  a+=(-fill "$TAB" -stroke "$TABEDGE" -strokewidth 2
      -draw "polygon 480,82 530,96 526,140 480,178 434,140 430,96" -stroke none -strokewidth 1)
  a+=(-fill "$ACCENT" -draw "polygon 480,92 520,103 517,138 480,168 443,138 440,103")
  args t centre $W $H 430 82 530 178 "$BOLD" 44 white "T"; a+=("${t[@]}")
  # Help link at x 430..500, y 201..215.
  a+=(-fill "$ACCENT" -draw "circle 441,208 441,201")
  args t centre $W $H 434 201 448 215 "$BOLD" 10 white "?"; a+=("${t[@]}")
  args t left $H 454 207 "$FONT" 12 white "Help"; a+=("${t[@]}")
  a+=(-fill white -draw "rectangle 454,214 482,214")
  args t left $H 400 277 "$FONT" 10 "$PALE" "Popup windows and adware"; a+=("${t[@]}")
  args t left $H 400 292 "$FONT" 10 "$PALE" "are closed as they appear."; a+=("${t[@]}")
  # Footer.
  args t left $H 14 355 "$FONT" 9 "$GREY" "Tarnelix 3.0"; a+=("${t[@]}")
  bmp "$skin_dir/MainDlg.bmp" "${a[@]}"
}

# ------------------------------------------------------------- the pages
# page_base FILE HEADING SUBTITLE [extra ImageMagick arguments...]
# A page is 378 x 230 pixels; controls of the page templates begin at y 46,
# so headings stay above y 43.
page() {
  local out=$1 heading=$2 subtitle=$3; shift 3
  local W=378 H=230
  local -a a t
  a=(-size ${W}x${H} "gradient:#fbfcfe-#e3eaf2")
  a+=(-fill none -stroke "$LINE" -draw "rectangle 0,0 377,229" -stroke none)
  a+=(-fill "$ACCENT" -draw "rectangle 10,9 13,35")
  args t left $H 20 17 "$BOLD" 15 "$NAVY" "$heading"; a+=("${t[@]}")
  args t left $H 21 34 "$FONT" 10 "$GREY" "$subtitle"; a+=("${t[@]}")
  a+=(-fill "$LINE" -draw "rectangle 10,42 367,42")
  a+=("$@")
  bmp "$skin_dir/$out" "${a[@]}"
}

pages() {
  local W=378 H=230
  local -a t r
  page "AllowedSites.bmp" "Allowed Sites" "Popups from these sites are never killed"
  page "BlockedHistory.bmp" "Blocked History" "Windows that were killed: allow them again or remove them"
  page "AddBanners.bmp" "Add Popups" "Choose open windows that are to be killed from now on"
  page "Advanced.bmp" "Advanced Settings" "Messenger service and adware processes"

  # Reports: four bars, 39 pixels wide at x 44, 130, 216 and 302, standing
  # on the base line y = 200 (full height 122: y 78..199).
  r=()
  local x c label colour
  for x in 78 119 159; do
    r+=(-fill '#d7e0ea' -draw "rectangle 30,$x 356,$x")
  done
  for x in 44 130 216 302; do
    r+=(-fill '#eef2f7' -stroke '#d0dae5' -draw "rectangle $x,78 $((x + 38)),199" -stroke none)
  done
  r+=(-fill "$NAVY" -draw "rectangle 30,200 356,201")
  for c in "44 Popups $INK" "130 This+run $GREY" "216 Adware $INK" "302 This+run $GREY"; do
    read -r x label colour <<<"$c"
    args t centre $W $H "$x" 203 $((x + 38)) 217 "$FONT" 10 "$colour" "${label//+/ }"; r+=("${t[@]}")
  done
  page "Reports.bmp" "Reports" "Popups and adware killed" "${r[@]}"

  # Sound: the "<< Back to General Settings" label (light yellow text) is
  # drawn by the program over 10 < x <= 150, 200 < y <= 230; a dark band
  # carries it.
  r=(-fill "$NAVY2" -draw "rectangle 1,197 376,228")
  r+=(-fill "$PALE" -draw "polygon 344,208 348,208 353,203 353,221 348,216 344,216")
  r+=(-fill none -stroke "$PALE" -strokewidth 1.2 -draw "arc 351,204 360,220 -50,50"
      -draw "arc 351,200 365,224 -50,50" -stroke none -strokewidth 1)
  page "Sound.bmp" "Kill Sound" "The sound played each time a popup is killed" "${r[@]}"
}

# ------------------------------------------------------- small windows
kill_notice() {
  # 180 x 90; the slide shows the top 15..90 rows, so the news is at the top.
  local W=180 H=90
  local -a a t
  a=(-size ${W}x${H} "gradient:#ffffff-#dbe5f0")
  a+=(-fill "$NAVY" -draw "rectangle 0,0 179,14")
  args t left $H 5 7 "$BOLD" 9 white "Tarnelix"; a+=("${t[@]}")
  a+=(-fill '#c8342b' -draw "circle 24,38 24,25")
  a+=(-stroke white -strokewidth 3 -draw "line 18,32 30,44" -draw "line 30,32 18,44" -stroke none -strokewidth 1)
  args t left $H 44 30 "$BOLD" 13 "$NAVY" "Popup killed"; a+=("${t[@]}")
  args t left $H 45 51 "$FONT" 9 "$GREY" "A popup was closed."; a+=("${t[@]}")
  args t left $H 12 74 "$FONT" 9 "$GREY" "You can keep browsing in peace."; a+=("${t[@]}")
  a+=(-fill none -stroke "$NAVY" -draw "rectangle 0,0 179,89" -stroke none)
  bmp "$skin_dir/Msn.bmp" "${a[@]}"
}

message_box() {
  # Client area of template 152 (193 x 59 units): 290 x 96 pixels. Text
  # 1050 at x 90..274, y 13..64; buttons at x 75..149 and 162..236, y 68..90.
  local W=290 H=96
  local -a a t
  a=(-size ${W}x${H} "gradient:#fbfcfe-#dde6ef")
  a+=(-fill '#ffffff' -stroke "$LINE" -draw "roundrectangle 84,8 282,65 5,5" -stroke none)
  a+=(-fill "$STEEL" -stroke "$NAVY" -strokewidth 2 -draw "circle 42,38 42,16" -stroke none -strokewidth 1)
  args t centre $W $H 20 16 64 60 "$BOLD" 26 white "i"; a+=("${t[@]}")
  a+=(-fill "$ACCENT" -draw "rectangle 0,93 289,95")
  bmp "$skin_dir/Message.bmp" "${a[@]}"
}

addon_window() {
  # Client area of the add-on's template (258 x 254 units, "MS Shell Dlg"):
  # 387 x 413 pixels. Check boxes run from x 10 to 310, y 8 to 208; the
  # cookie list starts at y 219.
  local W=387 H=413
  local -a a t
  a=(-size ${W}x${H} "gradient:#fbfaff-#e3dff0")
  a+=(-fill none -stroke '#c9c0de' -draw "rectangle 0,0 386,412" -stroke none)
  a+=(-fill "$VIOLET" -draw "rectangle 317,0 386,212")
  a+=(-fill '#ffffff' -draw "ellipse 352,58 27,16 0,360")
  a+=(-fill "$VIOLET" -draw "circle 352,58 352,47")
  a+=(-fill '#ffffff' -draw "circle 352,58 352,54")
  a+=(-fill none -stroke '#d9cff0' -strokewidth 2 -draw "arc 322,30 382,86 200,340" -stroke none -strokewidth 1)
  args t centre $W $H 317 96 386 112 "$BOLD" 11 white "Veilmark"; a+=("${t[@]}")
  args t centre $W $H 317 114 386 128 "$FONT" 8 '#ded6ef' "privacy add-on"; a+=("${t[@]}")
  args t centre $W $H 317 186 386 202 "$FONT" 8 '#ded6ef' "for Tarnelix"; a+=("${t[@]}")
  a+=(-fill '#c9c0de' -draw "rectangle 10,213 376,213")
  bmp "$skin_dir/Veilmark-AddOn.bmp" "${a[@]}"
}

# ------------------------------------------------------------- notices
# notice FILE TITLE [extra arguments]: 250 x 110 pixels with a title band.
notice() {
  local out=$1 title=$2; shift 2
  local W=250 H=110
  local -a a t
  a=(-size ${W}x${H} "gradient:#ffffff-#dde6f0")
  a+=(-fill "$NAVY" -draw "rectangle 0,0 249,21")
  a+=(-fill "$ACCENT" -draw "rectangle 0,22 249,23")
  args t left $H 8 11 "$BOLD" 11 white "Tarnelix"; a+=("${t[@]}")
  args t right $W $H 241 11 "$FONT" 9 "$PALE" "$title"; a+=("${t[@]}")
  a+=("$@")
  a+=(-fill none -stroke "$NAVY" -draw "rectangle 0,0 249,109" -stroke none)
  bmp "$notice_dir/$out" "${a[@]}"
}

# notice_text FILE TITLE HEADING LINE1 LINE2 ICON-COLOUR ICON-TEXT
notice_text() {
  local out=$1 title=$2 heading=$3 line1=$4 line2=$5 colour=$6 glyph=$7
  local W=250 H=110
  local -a r t
  r=(-fill "$colour" -draw "circle 30,66 30,46")
  args t centre $W $H 10 46 50 86 "$BOLD" 22 white "$glyph"; r+=("${t[@]}")
  args t left $H 62 40 "$BOLD" 12 "$NAVY" "$heading"; r+=("${t[@]}")
  args t left $H 62 63 "$FONT" 10 "$INK" "$line1"; r+=("${t[@]}")
  args t left $H 62 79 "$FONT" 10 "$INK" "$line2"; r+=("${t[@]}")
  notice "$out" "$title" "${r[@]}"
}

notices() {
  local W=250 H=110
  local -a r t
  # Start-up summary: labels 1052 and 1053 of template 185 ("MS Shell Dlg"
  # 8) at (8, 37, 40, 12) and (8, 52, 40, 12) units: pixels x 12..71,
  # y 60..79 and 85..103, numbers right-aligned in black.
  r=()
  args t left $H 10 38 "$BOLD" 12 "$NAVY" "Tarnelix is on guard"; r+=("${t[@]}")
  r+=(-fill '#ffffff' -stroke "$LINE" -draw "roundrectangle 9,58 76,81 4,4"
      -draw "roundrectangle 9,83 76,106 4,4" -stroke none)
  args t left $H 83 70 "$FONT" 10 "$INK" "popups and adware killed"; r+=("${t[@]}")
  args t left $H 83 94 "$FONT" 10 "$INK" "cleaning runs"; r+=("${t[@]}")
  notice "StartUp1.bmp" "Welcome" "${r[@]}"
  notice_text "CheckUpdates.bmp" "Updates" "Check for updates" \
    "Tarnelix has not looked for" "updates for a few days." "$STEEL" "?"
  notice_text "InstalledUpdates.bmp" "Updates" "Updates installed" \
    "Tarnelix has been brought" "up to date." '#2e8b57' "+"
  notice_text "Veilmark.bmp" "Add-on" "Veilmark privacy add-on" \
    "Clears the traces of your" "browsing every half hour." "$VIOLET" "V"
  notice_text "DownloadsUpdates.bmp" "Updates" "Downloading updates" \
    "New files for Tarnelix" "are on their way." "$ACCENT" "v"
}

# --------------------------------------------------------------- sounds
# 22050 Hz, mono, 16-bit signed PCM in a plain RIFF WAVE file (a 16-byte
# "fmt " chunk, no extensible header), the kind PlaySound takes everywhere.
# -R makes SoX's noise generators start from the same seed on every run,
# -D turns off dithering.
sx() { "$SOX" -R -D -V1 "$@"; }
PCM=(-r 22050 -c 1 -b 16 -e signed-integer)
wav() { # wav OUT INPUT... -- EFFECTS...
  local out=$1; shift
  local -a in=()
  while [ "$1" != -- ]; do in+=("$1"); shift; done
  shift
  sx "${in[@]}" "${PCM[@]}" -t wavpcm "$out" "$@"
}
tone() { # tone OUT SYNTH-ARGS... : makes a raw piece in the work folder
  local out=$1; shift
  sx -n "${PCM[@]}" -t wavpcm "$work/$out" "$@"
}

sounds() {
  local d=$sound_dir
  # Start: two rising notes. Exit: two falling notes.
  tone on1.wav synth 0.13 sine 784 fade q 0.005 0.13 0.05 gain -8
  tone on2.wav synth 0.25 sine 1175 fade q 0.005 0.25 0.2 gain -8
  wav "$d/on.wav" "$work/on1.wav" "$work/on2.wav" -- gain -n -3
  tone off1.wav synth 0.13 sine 1175 fade q 0.005 0.13 0.05 gain -8
  tone off2.wav synth 0.3 sine 587 fade q 0.005 0.3 0.25 gain -8
  wav "$d/off.wav" "$work/off1.wav" "$work/off2.wav" -- gain -n -3
  # 1 Pop: a falling blip, gone in a tenth of a second.
  wav "$d/sound1.wav" -n -- synth 0.1 sine 900-120 fade p 0.003 0.1 0.085 gain -n -3
  # 2 Tap: a short filtered click.
  wav "$d/sound2.wav" -n -- synth 0.1 whitenoise bandpass 1800 1.5q \
    fade p 0.001 0.1 0.095 gain -n -3
  # 3 Bang: low noise burst with a long decay.
  wav "$d/sound3.wav" -n -- synth 0.5 brownnoise synth 0.5 sine mix 55 \
    lowpass 900 overdrive 12 fade p 0.002 0.5 0.48 gain -n -2
  # 4 Blip: a bright square tone, a little up-step.
  tone blip1.wav synth 0.05 square 1320 gain -14
  tone blip2.wav synth 0.07 square 1760 fade q 0 0.07 0.04 gain -14
  wav "$d/sound4.wav" "$work/blip1.wav" "$work/blip2.wav" -- lowpass 6000 gain -n -4
  # 5 Whip: noise riding a fast rising sweep, cut off sharply.
  wav "$d/sound5.wav" -n -- synth 0.28 pinknoise synth 0.28 sine amod 150:4500 \
    highpass 700 fade p 0.2 0.28 0.02 gain -n -3
  # 6 Blaster: a gritty sawtooth falling fast.
  wav "$d/sound6.wav" -n -- synth 0.35 sawtooth 1600-140 synth 0.35 square amod 60 \
    overdrive 8 lowpass 5000 fade p 0.003 0.35 0.25 gain -n -3
  # 7 Suction: rising hiss that fades in and stops.
  wav "$d/sound7.wav" -n -- synth 0.55 pinknoise synth 0.55 sine fmod 300:2400 \
    bandpass 1200 0.8q fade q 0.4 0.55 0.04 gain -n -3
  # 8 Laser: a square wave diving from very high.
  wav "$d/sound8.wav" -n -- synth 0.3 square 3000-250 lowpass 7000 \
    fade p 0.002 0.3 0.12 gain -n -4
  # 9 Phasor: a swept sawtooth through a phaser.
  wav "$d/sound9.wav" -n -- synth 0.5 sawtooth 220:440 phaser 0.8 0.74 3 0.4 2 -t \
    fade q 0.01 0.5 0.15 gain -n -3
  # 10 Ping Phasor: a ringing ping with a phaser on its tail.
  wav "$d/sound10.wav" -n -- synth 0.55 sine 1480 fade p 0.002 0.55 0.54 \
    phaser 0.7 0.7 2 0.5 1.8 -s gain -n -3
  # 11 Fry: crackling noise chopped by a fast square.
  wav "$d/sound11.wav" -n -- synth 0.5 whitenoise synth 0.5 square amod 43 \
    highpass 2500 overdrive 6 tremolo 17 90 fade p 0.01 0.5 0.1 gain -n -5
}

# ----------------------------------------------------- icons and cursor
tarnelix_icon() {
  # Shield with a T, drawn at each size from a 192-pixel master.
  "$IM" -size 192x192 xc:none \
    -fill "$NAVY" -stroke "$TABEDGE" -strokewidth 8 \
    -draw "polygon 96,8 178,32 172,104 96,184 20,104 14,32" -stroke none -strokewidth 1 \
    -fill "$ACCENT" -draw "polygon 96,28 160,46 155,100 96,162 37,100 32,46" \
    -fill white -draw "rectangle 56,56 136,80" -draw "rectangle 84,56 108,146" \
    -strip "PNG32:$work/tarnelix.png"
  "$IM" "$work/tarnelix.png" -define png:exclude-chunks=date,time \
    \( -clone 0 -filter Lanczos -resize 48x48 \) \
    \( -clone 0 -filter Lanczos -resize 32x32 \) \
    \( -clone 0 -filter Lanczos -resize 16x16 \) \
    -delete 0 -strip +set date:create +set date:modify "ICO:$resource_dir/Tarnelix.ico"
}

veilmark_icon() {
  # An eye half covered by a veil.
  "$IM" -size 192x192 xc:none \
    -fill "$VIOLET" -draw "roundrectangle 8,8 184,184 36,36" \
    -fill white -draw "ellipse 96,104 76,44 0,360" \
    -fill "$VIOLET" -draw "circle 96,104 96,74" \
    -fill white -draw "circle 96,104 96,92" \
    -fill '#b9a6dc' -draw "polygon 14,40 178,40 178,92 150,84 122,94 96,84 70,94 42,84 14,92" \
    -strip "PNG32:$work/veilmark.png"
  "$IM" "$work/veilmark.png" \
    \( -clone 0 -filter Lanczos -resize 48x48 \) \
    \( -clone 0 -filter Lanczos -resize 32x32 \) \
    \( -clone 0 -filter Lanczos -resize 16x16 \) \
    -delete 0 -strip +set date:create +set date:modify "ICO:$resource_dir/Veilmark.ico"
}

# Writes a little-endian 16-bit value at a byte offset of a file.
poke16() {
  local file=$1 offset=$2 value=$3
  printf "$(printf '\\%03o\\%03o' $(( value & 255 )) $(( (value >> 8) & 255 )))" |
    dd of="$file" bs=1 seek="$offset" conv=notrunc status=none
}

hand_cursor() {
  # 32 x 32 pointing hand, black outline on white, no smoothing; the tip of
  # the index finger is the hot spot.
  local hx=9 hy=1
  "$IM" -size 32x32 xc:none +antialias \
    -fill white -stroke black -strokewidth 1 \
    -draw "polygon 7,3 8,1 10,1 11,3 11,12 13,11 15,11 16,12 18,11 20,11 21,13 23,12 25,13 26,15 26,23 24,28 22,30 11,30 9,28 3,21 2,18 3,16 5,16 7,18 7,19" \
    -fill none -draw "line 15,12 15,18" -draw "line 20,12 20,18" -draw "line 24,14 24,19" \
    -strip "PNG32:$work/hand.png"
  "$IM" "$work/hand.png" -strip +set date:create +set date:modify "ICO:$work/hand.ico"
  # An icon file turns into a cursor file by its type field (2) and by the
  # hot spot in place of the planes and bit count of its one entry.
  poke16 "$work/hand.ico" 2 2
  poke16 "$work/hand.ico" 10 "$hx"
  poke16 "$work/hand.ico" 12 "$hy"
  mv "$work/hand.ico" "$resource_dir/Hand.cur"
}

main_window
pages
kill_notice
message_box
addon_window
notices
sounds
tarnelix_icon
veilmark_icon
hand_cursor
