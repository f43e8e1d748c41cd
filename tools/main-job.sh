#!/usr/bin/env bash
# The main job: set up, build, install the sample printers with the core driver stand-in and the
# plug-in in a Wine prefix of its own on a virtual display of its own, drive their sheets with the
# host tool as a user would, and write the pictures and files of tools/main-job.pictures into out/
# (README.md's "The main job" says what each step shows). It stops at the first step that fails and
# names it.
# Usage: tools/main-job.sh [build-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
out="$top/out"
"$top/tools/setup.sh"
"$top/tools/build.sh" "$build"
build=$(cd "$build" && pwd)  # the steps below run from its bin folder
# out/ is the job's own: it holds what this run wrote, and only that.
rm -rf "$out"
mkdir -p "$out"

# The files the job may write, from the list.
listed=()
while IFS='|' read -r file _; do
  file=${file%"${file##*[![:space:]]}"}
  [ -z "$file" ] || [[ $file == \#* ]] || listed+=("$file")
done <"$top/tools/main-job.pictures"
is_listed() {
  local f
  for f in "${listed[@]}"; do [ "$f" = "$1" ] && return 0; done
  return 1
}

# The step running now, named when the job stops.
step_title="set-up"
step() {
  step_title=$1
  echo "== $1"
}
fail() {
  echo "main job stopped at the step \"$step_title\": $*" >&2
  exit 1
}
reg_add() {
  wine reg add "$@" /f >/dev/null 2>&1 || fail "wine reg add $* failed"
}
# A picture shows what its own step chose: a printer's default devmode and data as a step left them
# are kept, and put back before each later step that starts from there (what a step only added, such
# as a stored shortcut, stays).
printers='HKLM\System\CurrentControlSet\Control\Print\Printers'
keep() {
  wine reg export "$printers\\$1" "$(winepath -w "$build/main-$2.reg")" /y >/dev/null 2>&1 ||
    fail "the state of $1 could not be kept"
}
fresh() {
  wine reg import "$(winepath -w "$build/main-$1.reg")" >/dev/null 2>&1 || fail "the state $1 could not be put back"
}

# A virtual display of our own.
display=""
for n in $(seq 90 130); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no free X display number"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X${display#:}" ] || fail "Xvfb did not start on $display"
export DISPLAY=$display

# A fresh prefix of its own each run: the tests' printers keep their own state, and nothing a
# previous run installed or chose (an older plug-in, a sheet's last page) shows in the pictures.
if [ -d "$build/wineprefix-main" ]; then
  WINEPREFIX="$build/wineprefix-main" wineserver -k >/dev/null 2>&1 || true
  rm -rf "$build/wineprefix-main"
fi
. "$top/tools/winenv.sh" "$build" x11 wineprefix-main
# No window manager runs on this display: Wine draws the window frames itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

cd "$build/bin"
# Every host call within a time limit: a sheet that waits for an answer nobody gives (a message box
# the run did not expect) stops the job with what it ran instead of hanging it. An argument
# "out/<file>" names a file of the list that the call writes: it is given to the tool as a Windows
# path, and must be there, not empty, when the call ends.
host_limit=180
zqhost() {
  local args=() written=() arg status=0
  for arg in "$@"; do
    if [[ $arg == out/* ]]; then
      is_listed "${arg#out/}" || fail "$arg is not in tools/main-job.pictures"
      written+=("$top/$arg")
      arg=$(winepath -w "$top/$arg")
    fi
    args+=("$arg")
  done
  timeout -k 10 "$host_limit" wine zqhost.exe "${args[@]}" </dev/null | tr -d '\r' || status=$?
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    fail "zqhost $* did not finish within ${host_limit}s (a dialog left open?)"
  fi
  [ "$status" -eq 0 ] || fail "zqhost $* ended with exit code $status"
  for arg in ${written[@]+"${written[@]}"}; do
    [ -s "$arg" ] || fail "zqhost $* wrote no ${arg#"$top"/}"
    echo "written: ${arg#"$top"/}"
  done
}
# The lines of a host-tool listing that show the pattern (grep -E); the job stops when none does.
expect() {
  local pattern=$1 listing
  shift
  listing=$(zqhost "$@") || exit 1
  grep -E -- "$pattern" <<<"$listing" || fail "zqhost $* shows no \"$pattern\""
}

# Each sample printer's Printing Preferences with the plug-in's own orientation item selected.
for sample in "zqdesk/zqdesk:ZQ Desk 2400 Inkjet" "zqroll/zqroll:ZQ Roll 4400 Large Format" \
  "zqroll/zqwide:ZQ Wide 4600 Large Format"; do
  path=${sample%%:*}
  model=${path#*/}
  printer=${sample#*:}
  step "$printer: installed, Printing Preferences"
  zqhost install "samples\\${path%/*}\\$model.zqm" --name "$printer"
  zqhost prefs "$printer" --ok-after 2500 --show "Layout Options: Orientation" --screenshot "out/$model-preferences.png"
done
# The wide printer's loaded rolls, as its device answers leave them in the printer's answer store
# (the printer data while it has none): roll 1 a standard width, roll 2 a custom width.
keep "ZQ Desk 2400 Inkjet" desk
keep "ZQ Roll 4400 Large Format" roll
keep "ZQ Wide 4600 Large Format" wide
step "ZQ Wide 4600 Large Format: its loaded rolls"
store="$printers\ZQ Wide 4600 Large Format\PrinterDriverData"
guid=$(wine reg query "$printers\ZQ Wide 4600 Large Format\ZQPresetRoot" /v ZQRestrictedUserGuid 2>/dev/null |
  tr -d '\r' | grep -o '{[^}]*}' | head -n 1 || true)
[ -n "$guid" ] && store="HKCU\Software\Quorvane\\${guid}\ZQBIDIInfo"
for answer in "Roll1Name=Bright White Bond" "Roll1Type=Bond" "Roll1Width=36" "Roll2Name=Coated Paper" \
  "Roll2Width=Custom" "Roll2CustomWidth=24.00"; do
  reg_add "$store" /v "${answer%%=*}" /t REG_SZ /d "${answer#*=}"
done
# The plug-in's Paper/Quality page of the printers with the ordinary interface.
for sample in "zqdesk:ZQ Desk 2400 Inkjet" "zqwide:ZQ Wide 4600 Large Format"; do
  step "${sample#*:}: Paper/Quality"
  zqhost prefs "${sample#*:}" --ok-after 2500 --page "Paper/Quality" --screenshot "out/${sample%%:*}-paperquality.png"
done
# The desk printer's first alert ("the status utility is not running") is four lines long, a line
# more than the strip shows: 7 clicks on the strip's down arrow, 2 pixels each, bring its last three
# lines into view whole, its numbered first line and the top of its icon scrolled off above.
step "ZQ Desk 2400 Inkjet: Paper/Quality, its first alert scrolled to its end"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Paper/Quality" --scroll-down 7 \
  --screenshot out/zqdesk-paperquality-alert.png
# The desk printer's Paper/Quality page under a right-to-left user-interface language (Hebrew, from
# the locale the build makes): the page mirrored, its logo and sample page reading as they print.
step "ZQ Desk 2400 Inkjet: Paper/Quality, right to left"
LANG=he_IL.UTF-8 LOCPATH="$build/locale" zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Paper/Quality" \
  --screenshot out/zqdesk-paperquality-rtl.png
step "ZQ Desk 2400 Inkjet: Color, right to left"
LANG=he_IL.UTF-8 LOCPATH="$build/locale" zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Color" \
  --screenshot out/zqdesk-color-rtl.png
# The desk printer on a printer port, which the plug-in asks for the device's state (a queue on
# "FILE:" is never asked): its Paper/Quality page shows the device's alerts while the device
# servers its driver carries are registered, the agent and the link as programs of their own.
step "ZQ Desk 2400 Alerts: Paper/Quality with the device's alerts"
zqhost install 'samples\zqdesk\zqdesk.zqm' --name "ZQ Desk 2400 Alerts" --port LPT1:
# The maker's status utility runs and the paper list is up to date: the rows are the device's own.
reg_add 'HKLM\Software\Quorvane\ZQ Mendrix' /v Status /d ACTIVE
reg_add "$printers\ZQ Desk 2400 Alerts\PrinterDriverData\PaperList" /v IsUpdated /t REG_DWORD /d 1
zqhost prefs "ZQ Desk 2400 Alerts" --ok-after 2500 --page "Paper/Quality" --device-servers \
  --screenshot out/zqdesk-alerts.png
# Its four alerts, the strip after 20 clicks on its down arrow, 2 pixels each: the first alert's row
# and gap scrolled off, the second alert whole, the top of the third alert's icon below it.
step "ZQ Desk 2400 Alerts: the alert strip scrolled"
zqhost prefs "ZQ Desk 2400 Alerts" --ok-after 2500 --page "Paper/Quality" --device-servers --scroll-down 20 \
  --screenshot out/zqdesk-alerts-scrolled.png
# The About page in both sheets of the desk printer, installed now without administrator
# preferences (as an installer records it), the Settings Information page that stands for the
# settings pages of its publishing variant, and the roll printer's Services page, which the
# services library supplies.
step "ZQ Desk 2400 Inkjet: installed without administrator preferences; its publishing variant"
reg_add "$printers\ZQ Desk 2400 Inkjet\PrinterDriverData" /v InstallDate /t REG_SZ /d "$(date -u +%m/%d/%Y:%H:%M:%S)"
reg_add "$printers\ZQ Desk 2400 Inkjet\PrinterDriverData" /v DMCStatus /t REG_DWORD /d 1
zqhost install 'samples\zqdesk\zqdeskpub.zqm'
for shot in "prefs:ZQ Desk 2400 Inkjet:About:zqdesk-about" "props:ZQ Desk 2400 Inkjet:About:zqdesk-about-properties" \
  "prefs:ZQ Desk 2400 Publishing:Settings Information:zqdeskpub-information" \
  "props:ZQ Roll 4400 Large Format:Services:zqroll-services"; do
  IFS=: read -r sheet printer page file <<<"$shot"
  step "$printer: $page ($sheet)"
  zqhost "$sheet" "$printer" --ok-after 2500 --page "$page" --screenshot "out/$file.png"
done
# The Colour page on its three templates: the desk printer with greyscale chosen (a copy of its own:
# the saved greyscale and start page stay out of the later steps' pictures), the roll printer's
# simplified page, and the PostScript variant of the wide printer, whose page lists its quick sets in
# the Task Presets group, with the name dialog its Save button opens.
step "A copy of the desk printer and the wide PostScript printer installed"
zqhost install 'samples\zqdesk\zqdesk.zqm' --name "ZQ Desk 2400 Colour"
zqhost install 'samples\zqroll\zqwideps.zqm'
for shot in "ZQ Desk 2400 Colour:zqdesk-color:#422=on" "ZQ Roll 4400 Large Format:zqroll-color:" \
  "ZQ Wide 4600 PS Large Format:zqwideps-color:"; do
  IFS=: read -r printer file choice <<<"$shot"
  step "$printer: Color ${choice:+($choice)}"
  args=(--page "Color")
  [ -n "$choice" ] && args+=(--choose "$choice")
  [ "$file" = zqwideps-color ] && args+=(--press "Save" --dialog-screenshot out/zqwideps-preset-name.png --dialog-close Cancel)
  zqhost prefs "$printer" --ok-after 2500 "${args[@]}" --screenshot "out/$file.png"
done
# The Colour page's colour spaces: system colour management on the desk printer shows the rendering
# intent, the installed cartridges and the profile's name (OK leaves method and intent in the public
# devmode); the roll printer's simplified stack with printer-managed colour and its emulations.
for shot in "ZQ Desk 2400 Colour:zqdesk-color-icm:#625=System Color Management" \
  "ZQ Roll 4400 Large Format:zqroll-color-managed:#625=Printer Emulation"; do
  IFS=: read -r printer file choice <<<"$shot"
  step "$printer: Color ($choice)"
  zqhost prefs "$printer" --ok-after 2500 --page "Color" --choose "$choice" --screenshot "out/$file.png"
done
expect "colour matching" summary "ZQ Desk 2400 Colour"
# The desk printer's Advanced Color Settings dialog with the brightness and cyan sliders moved and the
# after picture recoloured; OK stores the values and selects the cyan level the summary lists. Its
# colour space and greyscale go back to the printer's own first: the dialog needs colour printing.
step "ZQ Desk 2400 Colour: Advanced Color Settings"
zqhost prefs "ZQ Desk 2400 Colour" --ok-after 2500 --page "Color" --choose "#625=Printer Color Matching" \
  --choose "#422=off" --press "#741" --in-dialog "#1303=30" --in-dialog "#1333=-6" \
  --dialog-screenshot out/zqdesk-advanced-color.png --dialog-close OK
expect "advanced colour|ZQCyanBrightness=-6" summary "ZQ Desk 2400 Colour"
# The roll printer's dry time, set in the slider dialog its push item in the core driver's list
# opens; OK selects the option under the slider.
fresh roll
step "ZQ Roll 4400 Large Format: Dry Time"
zqhost prefs "ZQ Roll 4400 Large Format" --ok-after 2500 --page "Document Options" --show "Dry Time" --press "#1007" \
  --in-dialog "#1461=2" --dialog-screenshot out/zqroll-drytime.png --dialog-close OK
expect "ZQDryTime=1min" summary "ZQ Roll 4400 Large Format"
# The roll printer's Printing Shortcuts page, the first of its sheet: the titles, Save As and Delete,
# the helper file's document types in the list, the sample page and the alert strip's place.
fresh roll
step "ZQ Roll 4400 Large Format: Printing Shortcuts"
zqhost prefs "ZQ Roll 4400 Large Format" --ok-after 2500 --page "Printing Shortcuts" --screenshot out/zqroll-shortcuts.png
# Its first document type's panel: a row per feature with the type's choices, beside the sample page.
fresh roll
step "ZQ Roll 4400 Large Format: Printing Shortcuts panel"
zqhost prefs "ZQ Roll 4400 Large Format" --ok-after 2500 --page "Printing Shortcuts" \
  --choose "Printing shortcut:=Technical Drawings" --screenshot out/zqroll-shortcuts-panel.png
# The wide printer's Printing Shortcuts page (the desk printers' kind) with a document type chosen:
# the type's picture inside the "What do you want to do?" frame.
fresh wide
step "ZQ Wide 4600 Large Format: Printing Shortcuts, Technical Drawings"
zqhost prefs "ZQ Wide 4600 Large Format" --ok-after 2500 --page "Printing Shortcuts" \
  --choose "#572=Technical Drawings" --screenshot out/zqwide-shortcuts.png
# The desk printer's Printing Shortcuts page (a copy of its own): "Photo Printing" chosen, its
# features as controls beside their pictures; then, with another print quality chosen on
# Paper/Quality, the page in its custom state (the notes, the custom picture, no feature controls).
step "ZQ Desk 2400 Shortcuts: Printing Shortcuts, Photo Printing"
zqhost install 'samples\zqdesk\zqdesk.zqm' --name "ZQ Desk 2400 Shortcuts"
zqhost prefs "ZQ Desk 2400 Shortcuts" --ok-after 2500 --page "Printing Shortcuts" --choose "#572=Photo Printing" \
  --screenshot out/zqdesk-shortcuts.png
step "ZQ Desk 2400 Shortcuts: Printing Shortcuts after a print-quality change"
zqhost prefs "ZQ Desk 2400 Shortcuts" --ok-after 2500 --page "Paper/Quality" --choose "Print Quality=Normal" \
  --page "Printing Shortcuts" --screenshot out/zqdesk-shortcuts-custom.png
# The desk printer keeps jobs: a private job under names of the user's own, with its PIN, on its
# Job Storage page. A copy of its own: the saved sheet opens on that page next time and asks for the
# PIN again before it lets the user go elsewhere, which the later steps on the desk printer cannot type.
step "ZQ Desk 2400 Jobs: Job Storage, Private Job"
zqhost install 'samples\zqdesk\zqdesk.zqm' --name "ZQ Desk 2400 Jobs"
zqhost prefs "ZQ Desk 2400 Jobs" --ok-after 2500 --page "Job Storage" --choose "Private Job=on" \
  --choose "#332=ALICE" --choose "#334=REPORT-Q3" --choose "#336=4321" --screenshot out/zqdesk-jobstorage.png
# A user's choice reconciled by the helper file's macros: glossy photo paper selects the best
# quality group and one-sided printing (greyed out).
fresh desk
step "ZQ Desk 2400 Inkjet: Paper Type = Photo Paper, Glossy"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Document Options" --choose "Paper Type=Photo Paper, Glossy" \
  --show "Print Quality Group" --screenshot out/zqdesk-reconciled.png
# A choice on the desk printer's Paper/Quality page, made in the paper-size tree behind "More...":
# the photo size brings its photo media by the helper file's macros, the sample page takes the new
# paper and the size joins the short list; then the page's image-enhancement dialog, opened from
# the page, with contrast set by hand at its highest step and red-eye removal on.
fresh desk
step "ZQ Desk 2400 Inkjet: Paper/Quality, Size is = More... = Photo 4x6 in."
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Paper/Quality" --press "Size is=More..." \
  --in-dialog "#912=Photo 4x6 in." --dialog-screenshot out/zqdesk-papersize-tree.png --dialog-close OK \
  --screenshot out/zqdesk-paperquality-choice.png
fresh desk
step "ZQ Desk 2400 Inkjet: Paper/Quality, the image-enhancement dialog"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Paper/Quality" \
  --press "#563" --in-dialog "#1412=off" --in-dialog "#1413=4" --in-dialog "#1403=on" \
  --dialog-screenshot out/zqdesk-image-enhancement.png --dialog-close OK
# The wide printer's Paper/Quality page turned to landscape: the sample page at the paper's
# proportions on the roll, the scissors at the roll's cut.
fresh wide
step "ZQ Wide 4600 Large Format: Paper/Quality, landscape"
zqhost prefs "ZQ Wide 4600 Large Format" --ok-after 2500 --page "Paper/Quality" --choose "Landscape=on" \
  --screenshot out/zqwide-paperquality-landscape.png
# The desk printer's custom paper size dialog, opened by the page's Custom... button, and the wide
# printer's custom print-quality options, opened by the settings button of its custom options, and
# its layout and margins dialog, opened by the page's Layout... button.
for shot in "ZQ Desk 2400 Inkjet:#492::zqdesk-custom-paper" \
  "ZQ Wide 4600 Large Format:#414:Custom Options=on:zqwide-custom-quality" \
  "ZQ Wide 4600 Large Format:#675::zqwide-layout"; do
  IFS=: read -r printer button choice file <<<"$shot"
  step "$printer: Paper/Quality, $button"
  case "$printer" in *Desk*) fresh desk ;; *Wide*) fresh wide ;; esac
  choose=()
  [ -n "$choice" ] && choose=(--choose "$choice")
  zqhost prefs "$printer" --ok-after 2500 --page "Paper/Quality" ${choose[@]+"${choose[@]}"} --press "$button" \
    --dialog-screenshot "out/$file.png" --dialog-close Cancel
done
# Different papers for single pages and covers on the desk printer's Paper/Quality page: the front
# cover chosen in the page-kind list, printed, on its own source and media type.
fresh desk
step "ZQ Desk 2400 Inkjet: Paper/Quality, Use Different Paper/Covers, Front Cover"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Paper/Quality" \
  --choose "Use Different Paper/Covers=on" --choose "#427=Front Cover" --choose "#431=on" \
  --choose "Source is=Tray 2" --press "Type is=More..." --in-dialog "#497=Brochure Paper, Matte" \
  --dialog-close OK --screenshot out/zqdesk-paperquality-covers.png
# The desk printer's Finishing page after its Paper/Quality page: a front cover chosen there shows on
# the Finishing page's sample page, turned to landscape and rotated by 180 degrees.
fresh desk
step "ZQ Desk 2400 Inkjet: Finishing, landscape, rotated by 180 degrees, with a front cover"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Paper/Quality" \
  --choose "Use Different Paper/Covers=on" --choose "#427=Front Cover" --choose "#431=on" \
  --page "Finishing" --choose "#538=on" --choose "Rotate by 180 degrees=on" --screenshot out/zqdesk-finishing.png
# A poster on the desk printer's Finishing page turns two-sided printing off; its tile selection
# dialog with the second tile left out, which the sample page then shows.
fresh desk
step "ZQ Desk 2400 Inkjet: Finishing, two-sided, then a poster of 3 x 3 tiles without its second tile"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Document Options" --choose "Paper Size=Letter" \
  --choose "Orientation=Portrait" --page "Finishing" --choose "#264=on" \
  --choose "Pages per Sheet and Posters=3 x 3 tiles" --press "Select Tiles..." --in-dialog "#2431=click" \
  --dialog-screenshot out/zqdesk-tiling.png --dialog-close OK --screenshot out/zqdesk-finishing-poster.png
# The desk printer's Effects page after its Paper/Quality page: the front cover chosen there shows on
# the Effects page's sample page, which a click turns to landscape.
fresh desk
step "ZQ Desk 2400 Inkjet: Effects, turned to landscape by its sample page, with a front cover"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Paper/Quality" \
  --choose "Use Different Paper/Covers=on" --choose "#427=Front Cover" --choose "#431=on" \
  --page "Effects" --choose "#442=click" --screenshot out/zqdesk-effects.png
# The desk printer's Effects page with a watermark chosen from the pool, lying along the page's
# diagonal on the sample page, and the document printed at 75 %.
fresh desk
step "ZQ Desk 2400 Inkjet: Effects, the watermark Confidential at 75 %"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Effects" --choose "#186=Confidential" \
  --choose "#501=on" --choose "#181=75" --screenshot out/zqdesk-effects-watermark.png
# The desk printer's Watermark Details dialog from the Effects page's "Edit...": New, with its
# message typed over, makes a watermark of the pool, at an angle of 30 degrees, dark and filled.
fresh desk
step "ZQ Desk 2400 Inkjet: Effects, Watermark Details, a new watermark at 30 degrees"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Effects" --press "#188" --in-dialog "#205=click" \
  --in-dialog "#214=Proof Copy" --in-dialog "#236=on" --in-dialog "#238=30" --in-dialog "#228=Darkest" \
  --in-dialog "#234=Filled" --in-dialog "#230=100" --dialog-screenshot out/zqdesk-watermark-details.png --dialog-close OK
# The desk printer with the simplified interface: its Features page in place of the Paper/Quality,
# Effects and Finishing pages, turned to landscape.
step "ZQ Desk 2400 Simple: Features, landscape"
zqhost install 'samples\zqdesk\zqdesksimple.zqm'
zqhost prefs "ZQ Desk 2400 Simple" --ok-after 2500 --page "Features" --choose "#538=on" \
  --screenshot out/zqdesksimple-features.png
# The same page printing two pages to a sheet on both sides with the duplex unit: the sample page
# shows the two pages side by side.
step "ZQ Desk 2400 Simple: Features, two pages per sheet, two-sided"
zqhost prefs "ZQ Desk 2400 Simple" --ok-after 2500 --page "Features" --choose "#918=Automatic" \
  --choose "#390=2 Pages per Sheet" --screenshot out/zqdesksimple-features-layout.png
# The same page's own media-type tree behind "More...": the user's medium, recorded by the media
# tool (the logging program stands for it), under "Custom Paper"; chosen, it joins the short list.
step "ZQ Desk 2400 Simple: Features, Type is = More... = Studio Satin"
media='HKCU\Software\Quorvane\AddNewPaper\MediaList\Studio'
reg_add "$media" /v Name /d "Studio Satin"
reg_add "$media" /v ICCProfile /d "Not Profiled"
reg_add "$media" /v Category /d Photo
reg_add "$media" /v Quality /d Best
reg_add 'HKLM\SOFTWARE\Quorvane\AddNewPaper' /v Path /d "$(winepath -w "$build/bin/zqcmdlog.exe")"
zqhost prefs "ZQ Desk 2400 Simple" --ok-after 2500 --page "Features" --press "#435=More..." \
  --in-dialog "#497=Studio Satin" --dialog-screenshot out/zqdesksimple-media-tree.png --dialog-close OK
# The desk printer's font installer, opened from its device settings: a generated sample font is
# installed from a typed folder; opened again, the installer lists it as installed beside the
# folder's other font.
step "ZQ Desk 2400 Inkjet: font installer"
fonts='C:\zqsamplefonts'
zqhost samplefonts "$fonts"
zqhost fonts "ZQ Desk 2400 Inkjet" --folder "$fonts" --add "ZQ Sample Serif 12pt"
zqhost fonts "ZQ Desk 2400 Inkjet" --folder "$fonts" --cancel --screenshot out/zqdesk-fonts.png
# "Update Now" asks the roll printer's device: the rolls show with the names, media types and
# widths it reports.
fresh roll
step "ZQ Roll 4400 Large Format: Printer Properties after Update Now"
zqhost props "ZQ Roll 4400 Large Format" --ok-after 2500 --choose "Automatic Configuration=Update Now" \
  --show "Roll 1 Width" --screenshot out/zqroll-properties.png
keep "ZQ Roll 4400 Large Format" roll-updated
# The roll printer's own Features page once its rolls are known: 150 % of normal size with the
# automatic cutter off, beside the roll picture and the alert strip.
fresh roll-updated
step "ZQ Roll 4400 Large Format: Features, 150 %, automatic cutter off"
zqhost prefs "ZQ Roll 4400 Large Format" --ok-after 2500 --page "Features" --choose "#993=on" --choose "#994=150" \
  --choose "#1005=on" --screenshot out/zqroll-features.png
# The roll printer's Printing Shortcuts list: the helper file's document types and, under its base
# type, a shortcut stored beside them as the page's store writes one.
fresh roll-updated
step "ZQ Roll 4400 Large Format: Printing Shortcuts with a stored shortcut"
zqhost shortcuts "ZQ Roll 4400 Large Format" --add "Gallery Prints" "Photo"
zqhost prefs "ZQ Roll 4400 Large Format" --ok-after 2500 --page "Printing Shortcuts" \
  --choose "Printing shortcut:=Gallery Prints" --screenshot out/zqroll-shortcuts-list.png
# Save As on the roll printer's Printing Shortcuts page: the photo type chosen, the paper changed on
# the core driver's page, the settings saved under a name of the user's own; the new shortcut stands
# selected under its type.
fresh roll-updated
step "ZQ Roll 4400 Large Format: Printing Shortcuts, Save As"
zqhost prefs "ZQ Roll 4400 Large Format" --ok-after 2500 --page "Printing Shortcuts" --choose "Printing shortcut:=Photo" \
  --page "Document Options" --choose "Paper Size=ISO A2" --page "Printing Shortcuts" --press "#960" \
  --in-dialog "#494=Site Plans" --dialog-screenshot out/zqroll-shortcut-name.png --dialog-close OK \
  --screenshot out/zqroll-shortcuts-saved.png
expect "Site Plans" shortcuts "ZQ Roll 4400 Large Format"
# "Update Now" asks the desk printer's device: its trays show as the device reports them.
fresh desk
step "ZQ Desk 2400 Inkjet: Printer Properties after Update Now"
zqhost props "ZQ Desk 2400 Inkjet" --ok-after 2500 --choose "Automatic Configuration=Update Now" \
  --show "Envelope Feeder" --screenshot out/zqdesk-updated.png
zqhost answers "ZQ Desk 2400 Inkjet"
keep "ZQ Desk 2400 Inkjet" desk-updated
# The desk printer's stored task presets as the plug-in reads them: those of its helper file.
step "ZQ Desk 2400 Inkjet: stored task presets"
expect '"Two-sided printing".* PageOrder=1' quicksets "ZQ Desk 2400 Inkjet"
# The desk printer's Output page with the finisher its device just reported (a mailbox with a
# stapler and a two-hole punch): a staple chosen there shows on the sample page and reaches the
# devmode; then its image shift dialog, a shift typed in inches and stored in millimetres on OK.
# A letter sheet upright first: the mailbox staples letter and A4 sheets only.
fresh desk-updated
step "ZQ Desk 2400 Inkjet: Output, Staple = One Staple"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Document Options" --choose "Paper Size=Letter" \
  --choose "Orientation=Portrait" --page "Output" --choose "Staple=One Staple" --screenshot out/zqdesk-output.png
fresh desk-updated
step "ZQ Desk 2400 Inkjet: Output, Image shift settings..."
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Output" --press "Image shift settings..." \
  --in-dialog "Front side shift=on" --in-dialog "Use inches=on" --in-dialog "#975=0.5" --in-dialog "#976=-0.25" \
  --dialog-screenshot out/zqdesk-image-shift.png --dialog-close OK
# A ticket of the configuration manager converted into a devmode of the desk printer through the
# plug-in's conversion interface (the devmode printed and saved), and back into a ticket.
step "ZQ Desk 2400 Inkjet: a ticket converted into a devmode and back"
zqhost convert "ZQ Desk 2400 Inkjet" 'samples\zqdesk\zqdesk.tkt' --devmode out/zqdesk-converted.devmode \
  --out out/zqdesk-converted.tkt
# The sample page of the settings pages, painted by the preview in a page-sized window.
letter="docwidth=2159 docheight=2794"
for state in \
  "one-page:$letter" \
  "four-right-then-down:$letter nup=3 order=0 borders=1" \
  "four-down-then-right:$letter nup=3 order=1 borders=1" \
  "four-left-then-down:$letter nup=3 order=2 borders=1" \
  "four-down-then-left:$letter nup=3 order=3 borders=1" \
  "two-pages:$letter nup=2" \
  "nine-pages:$letter nup=5" \
  "watermark:$letter nowatermark=0 text=Draft color=1 shade=6 size=200 style=1" \
  "two-sided-flip-up:$letter duplex=2 flipup=1" \
  "two-sided-long-edge:$letter duplex=2 order=2 nup=2" \
  "thriftmode:$letter thriftmode=3 nup=3" \
  "staples-punched:$letter staple=2 punch=1 punchunit=2" \
  "folded:$letter fold=1" \
  "poster:$letter poster=1 postersize=1 tilesperside=3 tiles=1011101111111111111111111" \
  "covers:$letter front=1 back=1 backfeeder=1" \
  "envelope:docwidth=1100 docheight=2200 orientation=2 envelope=1" \
  "banner:banner=1" \
  "tint:$letter tint=1 nowatermark=0 text=Draft color=1 shade=6 size=200 style=1"; do
  step "preview: ${state%%:*}"
  # shellcheck disable=SC2086  # the fields are separate arguments
  zqhost preview "out/preview-${state%%:*}.png" ${state#*:}
done

# Every file of the list written, and no other.
step "the list of pictures and files"
for file in "${listed[@]}"; do [ -s "$out/$file" ] || fail "no step wrote out/$file, which the list names"; done
for path in "$out"/*; do is_listed "${path##*/}" || fail "${path#"$top"/} is not in tools/main-job.pictures"; done
echo "main job: all ${#listed[@]} files of tools/main-job.pictures written to out/"
