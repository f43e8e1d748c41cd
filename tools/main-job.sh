#!/usr/bin/env bash
# The main job: set up, build, install the sample printers with the core driver stand-in and the
# plug-in in a Wine prefix, open each printer's Printing Preferences on a virtual display (with the
# plug-in's own orientation item selected), save a screenshot per printer to out/ and print the
# devmode each sheet returned; the plug-in's Paper/Quality page of the desk printer and of the
# large-format printer with the ordinary interface, and a choice on the desk printer's page in its
# paper-size tree with the dialog the page opens, the desk printer's custom paper size dialog and the
# wide printer's custom print-quality options and layout and margins dialog (its page shows the
# loaded rolls the printer data holds), and a cover on its own paper; the desk printer's Finishing
# page in landscape, rotated by 180 degrees, with that cover on its sample page, and with a poster
# whose tile selection dialog leaves a tile out, and its Effects page in landscape with the same
# cover, and with a watermark at 75 %, and its Watermark Details dialog with a new watermark; the
# About page of
# the desk printer in both of its sheets, and the Settings Information page of its publishing variant; a
# private job with names of the user's own on the desk printer's Job Storage page; the Colour page
# of the desk, roll and wide PostScript printers with the wide one's quick-set name dialog, the
# desk printer's system colour management and the roll printer's printer-managed emulation, and the
# desk printer's Advanced Color Settings dialog with two sliders moved; the roll printer's Printing
# Shortcuts page, its first document type's panel, its list with a stored shortcut under its
# document type and a shortcut saved through its name dialog; the roll printer's Printer Properties
# show the plug-in's roll items and the services library's Services
# page; the desk printer's sample ticket converted into a devmode (out/) and back; "Update Now" in
# the desk printer's Printer Properties sets its trays from the printer's answers, and its Output
# page then offers the finisher the printer reported, with the image shift dialog; the desk printer
# on a printer port shows the device's alerts on its Paper/Quality page; the desk printer with the
# simplified interface shows its Features page in landscape; the desk printer's Paper/Quality page
# under a right-to-left language. Each step starts from the printer as the step it names left it.
# The pages' sample page is saved in a few states as the preview paints it (out/preview-*.png).
# Usage: tools/main-job.sh [build-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
out="$top/out"
"$top/tools/setup.sh"
"$top/tools/build.sh" "$build"
build=$(cd "$build" && pwd)  # the steps below run from its bin folder
mkdir -p "$out"

# A virtual display of our own.
display=""
for n in $(seq 90 130); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X${display#:}" ] || { echo "Xvfb did not start on $display" >&2; exit 1; }
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
rc=0
# Every host call within a time limit: a sheet that waits for an answer nobody gives (a message box
# the run did not expect) fails the job with what it ran instead of hanging it.
host_limit=180
zqhost() {
  local status=0
  timeout -k 10 "$host_limit" wine zqhost.exe "$@" </dev/null | tr -d '\r' || status=$?
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "zqhost $* did not finish within ${host_limit}s (a dialog left open?); stopped" >&2
  fi
  return "$status"
}
for sample in "zqdesk/zqdesk:ZQ Desk 2400 Inkjet" "zqroll/zqroll:ZQ Roll 4400 Large Format" \
  "zqroll/zqwide:ZQ Wide 4600 Large Format"; do
  path=${sample%%:*}
  model=${path#*/}
  printer=${sample#*:}
  png="$out/$model-preferences.png"
  rm -f "$png"
  echo "== $printer"
  zqhost install "samples\\${path%/*}\\$model.zqm" --name "$printer"
  zqhost prefs "$printer" --ok-after 2500 --show "Layout Options: Orientation" --screenshot "$(winepath -w "$png")" || rc=1
  if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no screenshot for $printer" >&2; rc=1; fi
done
printers='HKLM\System\CurrentControlSet\Control\Print\Printers'
# A picture shows what its own step chose: a printer's default devmode and data as a step left them
# are kept, and put back before each later step that starts from there (what a step only added, such
# as a stored shortcut, stays).
keep() {
  wine reg export "$printers\\$1" "$(winepath -w "$build/main-$2.reg")" /y >/dev/null 2>&1 || rc=1
}
fresh() {
  wine reg import "$(winepath -w "$build/main-$1.reg")" >/dev/null 2>&1 || rc=1
}
keep "ZQ Desk 2400 Inkjet" desk
keep "ZQ Roll 4400 Large Format" roll
keep "ZQ Wide 4600 Large Format" wide
# The wide printer's loaded rolls, as its device answers leave them in the printer's answer store
# (the printer data while it has none): roll 1 a standard width, roll 2 a custom width.
store="$printers\ZQ Wide 4600 Large Format\PrinterDriverData"
guid=$(wine reg query "$printers\ZQ Wide 4600 Large Format\ZQPresetRoot" /v ZQRestrictedUserGuid 2>/dev/null |
  tr -d '\r' | grep -o '{[^}]*}' | head -n 1 || true)
[ -n "$guid" ] && store="HKCU\Software\Quorvane\\${guid}\ZQBIDIInfo"
for answer in "Roll1Name=Bright White Bond" "Roll1Type=Bond" "Roll1Width=36" "Roll2Name=Coated Paper" \
  "Roll2Width=Custom" "Roll2CustomWidth=24.00"; do
  wine reg add "$store" /v "${answer%%=*}" /t REG_SZ /d "${answer#*=}" /f >/dev/null 2>&1 || rc=1
done
# The plug-in's Paper/Quality page of the printers with the ordinary interface.
for sample in "zqdesk:ZQ Desk 2400 Inkjet" "zqwide:ZQ Wide 4600 Large Format"; do
  model=${sample%%:*}
  printer=${sample#*:}
  png="$out/$model-paperquality.png"
  rm -f "$png"
  echo "== $printer: Paper/Quality"
  zqhost prefs "$printer" --ok-after 2500 --page "Paper/Quality" --screenshot "$(winepath -w "$png")" || rc=1
  if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no Paper/Quality picture for $printer" >&2; rc=1; fi
done
# The desk printer's Paper/Quality page under a right-to-left user-interface language (Hebrew, from
# the locale the build makes): the page mirrored, its logo and sample page reading as they print.
png="$out/zqdesk-paperquality-rtl.png"
rm -f "$png"
echo "== ZQ Desk 2400 Inkjet: Paper/Quality, right to left"
LANG=he_IL.UTF-8 LOCPATH="$build/locale" zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Paper/Quality" \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no right-to-left picture" >&2; rc=1; fi
# The desk printer on a printer port, which the plug-in asks for the device's state (a queue on
# "FILE:" is never asked): its Paper/Quality page shows the device's alerts while the device
# servers its driver carries are registered, the agent and the link as programs of their own.
png="$out/zqdesk-alerts.png"
rm -f "$png"
echo "== ZQ Desk 2400 Alerts: Paper/Quality with the device's alerts"
zqhost install 'samples\zqdesk\zqdesk.zqm' --name "ZQ Desk 2400 Alerts" --port LPT1: || rc=1
# The maker's status utility runs and the paper list is up to date: the rows are the device's own.
wine reg add 'HKLM\Software\Quorvane\ZQ Mendrix' /v Status /d ACTIVE /f >/dev/null 2>&1 || rc=1
wine reg add "$printers\ZQ Desk 2400 Alerts\PrinterDriverData\PaperList" /v IsUpdated /t REG_DWORD /d 1 /f \
  >/dev/null 2>&1 || rc=1
zqhost prefs "ZQ Desk 2400 Alerts" --ok-after 2500 --page "Paper/Quality" --device-servers \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the desk printer's alerts" >&2; rc=1; fi
# The About page in both sheets of the desk printer, installed now without administrator
# preferences (as an installer records it), the Settings Information page that stands for the
# settings pages of its publishing variant, and the roll printer's Services page, which the
# services library supplies.
wine reg add "$printers\ZQ Desk 2400 Inkjet\PrinterDriverData" /v InstallDate /t REG_SZ \
  /d "$(date -u +%m/%d/%Y:%H:%M:%S)" /f >/dev/null 2>&1 || rc=1
wine reg add "$printers\ZQ Desk 2400 Inkjet\PrinterDriverData" /v DMCStatus /t REG_DWORD /d 1 /f >/dev/null 2>&1 || rc=1
zqhost install 'samples\zqdesk\zqdeskpub.zqm' || rc=1
for shot in "prefs:ZQ Desk 2400 Inkjet:About:zqdesk-about" "props:ZQ Desk 2400 Inkjet:About:zqdesk-about-properties" \
  "prefs:ZQ Desk 2400 Publishing:Settings Information:zqdeskpub-information" \
  "props:ZQ Roll 4400 Large Format:Services:zqroll-services"; do
  IFS=: read -r sheet printer page file <<<"$shot"
  png="$out/$file.png"
  rm -f "$png"
  echo "== $printer: $page ($sheet)"
  zqhost "$sheet" "$printer" --ok-after 2500 --page "$page" --screenshot "$(winepath -w "$png")" || rc=1
  if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of $page of $printer" >&2; rc=1; fi
done
# The Colour page on its three templates: the desk printer with greyscale chosen (a copy of its own:
# the saved greyscale and start page stay out of the later steps' pictures), the roll printer's
# simplified page, and the PostScript variant of the wide printer, whose page lists its quick sets in
# the Task Presets group, with the name dialog its Save button opens.
zqhost install 'samples\zqdesk\zqdesk.zqm' --name "ZQ Desk 2400 Colour" || rc=1
zqhost install 'samples\zqroll\zqwideps.zqm' || rc=1
dialog="$out/zqwideps-preset-name.png"
rm -f "$dialog"
for shot in "ZQ Desk 2400 Colour:zqdesk-color:#422=on" "ZQ Roll 4400 Large Format:zqroll-color:" \
  "ZQ Wide 4600 PS Large Format:zqwideps-color:"; do
  IFS=: read -r printer file choice <<<"$shot"
  png="$out/$file.png"
  rm -f "$png"
  echo "== $printer: Color ${choice:+($choice)}"
  args=(--page "Color")
  [ -n "$choice" ] && args+=(--choose "$choice")
  [ "$file" = zqwideps-color ] && args+=(--press "Save" --dialog-screenshot "$(winepath -w "$dialog")" --dialog-close Cancel)
  zqhost prefs "$printer" --ok-after 2500 "${args[@]}" --screenshot "$(winepath -w "$png")" || rc=1
  if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the Colour page of $printer" >&2; rc=1; fi
done
if [ -s "$dialog" ]; then echo "screenshot: $dialog"; else echo "no picture of the quick set's name dialog" >&2; rc=1; fi
# The Colour page's colour spaces: system colour management on the desk printer shows the rendering
# intent, the installed cartridges and the profile's name (OK leaves method and intent in the public
# devmode); the roll printer's simplified stack with printer-managed colour and its emulations.
for shot in "ZQ Desk 2400 Colour:zqdesk-color-icm:#625=System Color Management" \
  "ZQ Roll 4400 Large Format:zqroll-color-managed:#625=Printer Emulation"; do
  IFS=: read -r printer file choice <<<"$shot"
  png="$out/$file.png"
  rm -f "$png"
  echo "== $printer: Color ($choice)"
  zqhost prefs "$printer" --ok-after 2500 --page "Color" --choose "$choice" --screenshot "$(winepath -w "$png")" || rc=1
  if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the Colour page of $printer" >&2; rc=1; fi
done
zqhost summary "ZQ Desk 2400 Colour" | grep "colour matching" || rc=1
# The desk printer's Advanced Color Settings dialog with the brightness and cyan sliders moved and the
# after picture recoloured; OK stores the values and selects the cyan level the summary lists. Its
# colour space and greyscale go back to the printer's own first: the dialog needs colour printing.
png="$out/zqdesk-advanced-color.png"
rm -f "$png"
echo "== ZQ Desk 2400 Colour: Advanced Color Settings"
zqhost prefs "ZQ Desk 2400 Colour" --ok-after 2500 --page "Color" --choose "#625=Printer Color Matching" \
  --choose "#422=off" --press "#741" --in-dialog "#1303=30" --in-dialog "#1333=-6" \
  --dialog-screenshot "$(winepath -w "$png")" --dialog-close OK || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the Advanced Color Settings dialog" >&2; rc=1; fi
zqhost summary "ZQ Desk 2400 Colour" | grep -E "advanced colour|ZQCyanBrightness=-6" || rc=1
# The roll printer's dry time, set in the slider dialog its push item in the core driver's list
# opens; OK selects the option under the slider.
png="$out/zqroll-drytime.png"
rm -f "$png"
fresh roll
echo "== ZQ Roll 4400 Large Format: Dry Time"
zqhost prefs "ZQ Roll 4400 Large Format" --ok-after 2500 --page "Document Options" --show "Dry Time" --press "#1007" --in-dialog "#1461=2" \
  --dialog-screenshot "$(winepath -w "$png")" --dialog-close OK || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the dry-time dialog" >&2; rc=1; fi
zqhost summary "ZQ Roll 4400 Large Format" | grep "ZQDryTime=1min" || rc=1
# The roll printer's Printing Shortcuts page, the first of its sheet: the titles, Save As and Delete,
# the helper file's document types in the list, the sample page and the alert strip's place.
png="$out/zqroll-shortcuts.png"
rm -f "$png"
fresh roll
echo "== ZQ Roll 4400 Large Format: Printing Shortcuts"
zqhost prefs "ZQ Roll 4400 Large Format" --ok-after 2500 --page "Printing Shortcuts" \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the roll printer's Printing Shortcuts page" >&2; rc=1; fi
# Its first document type's panel: a row per feature with the type's choices, beside the sample page.
png="$out/zqroll-shortcuts-panel.png"
rm -f "$png"
fresh roll
echo "== ZQ Roll 4400 Large Format: Printing Shortcuts panel"
zqhost prefs "ZQ Roll 4400 Large Format" --ok-after 2500 --page "Printing Shortcuts" --choose "Printing shortcut:=Technical Drawings" \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the roll printer's shortcut panel" >&2; rc=1; fi
# The desk printer's Printing Shortcuts page (a copy of its own): "Photo Printing" chosen, its
# features as controls beside their pictures; then, with another print quality chosen on Paper/Quality, the page
# in its custom state (the notes, the custom picture, no feature controls).
png="$out/zqdesk-shortcuts.png"
rm -f "$png"
echo "== ZQ Desk 2400 Shortcuts: Printing Shortcuts, Photo Printing"
zqhost install 'samples\zqdesk\zqdesk.zqm' --name "ZQ Desk 2400 Shortcuts" || rc=1
zqhost prefs "ZQ Desk 2400 Shortcuts" --ok-after 2500 --page "Printing Shortcuts" --choose "#572=Photo Printing" \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the desk printer's Printing Shortcuts page" >&2; rc=1; fi
png="$out/zqdesk-shortcuts-custom.png"
rm -f "$png"
echo "== ZQ Desk 2400 Shortcuts: Printing Shortcuts after a print-quality change"
zqhost prefs "ZQ Desk 2400 Shortcuts" --ok-after 2500 --page "Paper/Quality" --choose "Print Quality=Normal" \
  --page "Printing Shortcuts" --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the desk printer's custom settings" >&2; rc=1; fi
# The desk printer keeps jobs: a private job under names of the user's own, with its PIN, on its
# Job Storage page. A copy of its own: the saved sheet opens on that page next time and asks for the
# PIN again before it lets the user go elsewhere, which the later steps on the desk printer cannot type.
png="$out/zqdesk-jobstorage.png"
rm -f "$png"
echo "== ZQ Desk 2400 Jobs: Job Storage, Private Job"
zqhost install 'samples\zqdesk\zqdesk.zqm' --name "ZQ Desk 2400 Jobs" || rc=1
zqhost prefs "ZQ Desk 2400 Jobs" --ok-after 2500 --page "Job Storage" --choose "Private Job=on" \
  --choose "#332=ALICE" --choose "#334=REPORT-Q3" --choose "#336=4321" --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the Job Storage page" >&2; rc=1; fi
# A user's choice reconciled by the helper file's macros: glossy photo paper selects the best
# quality group and one-sided printing (greyed out).
png="$out/zqdesk-reconciled.png"
rm -f "$png"
fresh desk
echo "== ZQ Desk 2400 Inkjet: Paper Type = Photo Paper, Glossy"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Document Options" --choose "Paper Type=Photo Paper, Glossy" \
  --show "Print Quality Group" --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no screenshot of the reconciled choice" >&2; rc=1; fi
# A choice on the desk printer's Paper/Quality page, made in the paper-size tree behind "More...":
# the photo size brings its photo media by the helper file's macros, the sample page takes the new
# paper and the size joins the short list; then the page's image-enhancement dialog, opened from
# the page, with contrast set by hand at its highest step and red-eye removal on.
png="$out/zqdesk-paperquality-choice.png"
tree="$out/zqdesk-papersize-tree.png"
dialog="$out/zqdesk-image-enhancement.png"
rm -f "$png" "$tree" "$dialog"
fresh desk
echo "== ZQ Desk 2400 Inkjet: Paper/Quality, Size is = More... = Photo 4x6 in."
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Paper/Quality" --press "Size is=More..." \
  --in-dialog "#912=Photo 4x6 in." --dialog-screenshot "$(winepath -w "$tree")" --dialog-close OK \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the Paper/Quality choice" >&2; rc=1; fi
if [ -s "$tree" ]; then echo "screenshot: $tree"; else echo "no picture of the paper-size tree" >&2; rc=1; fi
fresh desk
echo "== ZQ Desk 2400 Inkjet: Paper/Quality, the image-enhancement dialog"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Paper/Quality" \
  --press "#563" --in-dialog "#1412=off" --in-dialog "#1413=4" --in-dialog "#1403=on" \
  --dialog-screenshot "$(winepath -w "$dialog")" --dialog-close OK || rc=1
if [ -s "$dialog" ]; then echo "screenshot: $dialog"; else echo "no picture of the image-enhancement dialog" >&2; rc=1; fi
# The desk printer's custom paper size dialog, opened by the page's Custom... button, and the wide
# printer's custom print-quality options, opened by the settings button of its custom options, and
# its layout and margins dialog, opened by the page's Layout... button.
for shot in "ZQ Desk 2400 Inkjet:#492::zqdesk-custom-paper" \
  "ZQ Wide 4600 Large Format:#414:Custom Options=on:zqwide-custom-quality" \
  "ZQ Wide 4600 Large Format:#675::zqwide-layout"; do
  printer=${shot%%:*}
  rest=${shot#*:}
  button=${rest%%:*}
  rest=${rest#*:}
  choice=${rest%%:*}
  dialog="$out/${rest#*:}.png"
  rm -f "$dialog"
  case "$printer" in *Desk*) fresh desk ;; *Wide*) fresh wide ;; esac
  echo "== $printer: Paper/Quality, $button"
  choose=()
  [ -n "$choice" ] && choose=(--choose "$choice")
  zqhost prefs "$printer" --ok-after 2500 --page "Paper/Quality" "${choose[@]}" --press "$button" \
    --dialog-screenshot "$(winepath -w "$dialog")" --dialog-close Cancel || rc=1
  if [ -s "$dialog" ]; then echo "screenshot: $dialog"; else echo "no picture of the dialog of $button" >&2; rc=1; fi
done
# Different papers for single pages and covers on the desk printer's Paper/Quality page: the front
# cover chosen in the page-kind list, printed, on its own source and media type.
png="$out/zqdesk-paperquality-covers.png"
rm -f "$png"
fresh desk
echo "== ZQ Desk 2400 Inkjet: Paper/Quality, Use Different Paper/Covers, Front Cover"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Paper/Quality" \
  --choose "Use Different Paper/Covers=on" --choose "#427=Front Cover" --choose "#431=on" \
  --choose "Source is=Tray 2" --press "Type is=More..." --in-dialog "#497=Brochure Paper, Matte" \
  --dialog-close OK --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the cover papers" >&2; rc=1; fi
# The desk printer's Finishing page after its Paper/Quality page: a front cover chosen there shows on
# the Finishing page's sample page, turned to landscape and rotated by 180 degrees.
png="$out/zqdesk-finishing.png"
rm -f "$png"
fresh desk
echo "== ZQ Desk 2400 Inkjet: Finishing, landscape, rotated by 180 degrees, with a front cover"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Paper/Quality" \
  --choose "Use Different Paper/Covers=on" --choose "#427=Front Cover" --choose "#431=on" \
  --page "Finishing" --choose "#538=on" --choose "Rotate by 180 degrees=on" \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the Finishing page" >&2; rc=1; fi
# A poster on the desk printer's Finishing page turns two-sided printing off; its tile selection
# dialog with the second tile left out, which the sample page then shows.
png="$out/zqdesk-finishing-poster.png"
dialog="$out/zqdesk-tiling.png"
rm -f "$png" "$dialog"
fresh desk
echo "== ZQ Desk 2400 Inkjet: Finishing, two-sided, then a poster of 3 x 3 tiles without its second tile"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Document Options" --choose "Paper Size=Letter" \
  --choose "Orientation=Portrait" --page "Finishing" --choose "#264=on" \
  --choose "Pages per Sheet and Posters=3 x 3 tiles" --press "Select Tiles..." --in-dialog "#2431=click" \
  --dialog-screenshot "$(winepath -w "$dialog")" --dialog-close OK \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$dialog" ]; then echo "screenshot: $dialog"; else echo "no picture of the tile selection" >&2; rc=1; fi
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the poster" >&2; rc=1; fi
# The desk printer's Effects page after its Paper/Quality page: the front cover chosen there shows on
# the Effects page's sample page, which a click turns to landscape.
png="$out/zqdesk-effects.png"
rm -f "$png"
fresh desk
echo "== ZQ Desk 2400 Inkjet: Effects, turned to landscape by its sample page, with a front cover"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Paper/Quality" \
  --choose "Use Different Paper/Covers=on" --choose "#427=Front Cover" --choose "#431=on" \
  --page "Effects" --choose "#442=click" \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the Effects page" >&2; rc=1; fi

# The desk printer's Effects page with a watermark chosen from the pool, lying along the page's
# diagonal on the sample page, and the document printed at 75 %.
png="$out/zqdesk-effects-watermark.png"
rm -f "$png"
fresh desk
echo "== ZQ Desk 2400 Inkjet: Effects, the watermark Confidential at 75 %"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Effects" --choose "#186=Confidential" \
  --choose "#501=on" --choose "#181=75" \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the Effects page's watermark" >&2; rc=1; fi

# The desk printer's Watermark Details dialog from the Effects page's "Edit...": New, with its
# message typed over, makes a watermark of the pool, at an angle of 30 degrees, dark and filled.
dialog="$out/zqdesk-watermark-details.png"
rm -f "$dialog"
fresh desk
echo "== ZQ Desk 2400 Inkjet: Effects, Watermark Details, a new watermark at 30 degrees"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Effects" --press "#188" --in-dialog "#205=click" \
  --in-dialog "#214=Proof Copy" --in-dialog "#236=on" --in-dialog "#238=30" --in-dialog "#228=Darkest" \
  --in-dialog "#234=Filled" --in-dialog "#230=100" \
  --dialog-screenshot "$(winepath -w "$dialog")" --dialog-close OK || rc=1
if [ -s "$dialog" ]; then echo "screenshot: $dialog"; else echo "no picture of the Watermark Details dialog" >&2; rc=1; fi

# The desk printer with the simplified interface: its Features page in place of the Paper/Quality,
# Effects and Finishing pages, turned to landscape.
png="$out/zqdesksimple-features.png"
rm -f "$png"
echo "== ZQ Desk 2400 Simple: Features, landscape"
zqhost install 'samples\zqdesk\zqdesksimple.zqm' || rc=1
zqhost prefs "ZQ Desk 2400 Simple" --ok-after 2500 --page "Features" --choose "#538=on" \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the Features page" >&2; rc=1; fi
# The same page printing two pages to a sheet on both sides with the duplex unit: the sample page
# shows the two pages side by side.
png="$out/zqdesksimple-features-layout.png"
rm -f "$png"
echo "== ZQ Desk 2400 Simple: Features, two pages per sheet, two-sided"
wine zqhost.exe prefs "ZQ Desk 2400 Simple" --ok-after 2500 --page "Features" --choose "#918=Automatic" \
  --choose "#390=2 Pages per Sheet" --screenshot "$(winepath -w "$png")" </dev/null | tr -d '\r' || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the Features page's layout" >&2; rc=1; fi
# The same page's own media-type tree behind "More...": the user's medium, recorded by the media
# tool (the logging program stands for it), under "Custom Paper"; chosen, it joins the short list.
media='HKCU\Software\Quorvane\AddNewPaper\MediaList\Studio'
wine reg add "$media" /v Name /d "Studio Satin" /f >/dev/null 2>&1 || rc=1
wine reg add "$media" /v ICCProfile /d "Not Profiled" /f >/dev/null 2>&1 || rc=1
wine reg add "$media" /v Category /d Photo /f >/dev/null 2>&1 || rc=1
wine reg add "$media" /v Quality /d Best /f >/dev/null 2>&1 || rc=1
wine reg add 'HKLM\SOFTWARE\Quorvane\AddNewPaper' /v Path /d "$(winepath -w "$build/bin/zqcmdlog.exe")" /f \
  >/dev/null 2>&1 || rc=1
png="$out/zqdesksimple-media-tree.png"
rm -f "$png"
echo "== ZQ Desk 2400 Simple: Features, Type is = More... = Studio Satin"
zqhost prefs "ZQ Desk 2400 Simple" --ok-after 2500 --page "Features" --press "#435=More..." \
  --in-dialog "#497=Studio Satin" --dialog-screenshot "$(winepath -w "$png")" --dialog-close OK || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the Features page's media tree" >&2; rc=1; fi
# The desk printer's font installer, opened from its device settings: a generated sample font is
# installed from a typed folder; opened again, the installer lists it as installed beside the
# folder's other font.
fonts='C:\zqsamplefonts'
echo "== ZQ Desk 2400 Inkjet: font installer"
zqhost samplefonts "$fonts" || rc=1
zqhost fonts "ZQ Desk 2400 Inkjet" --folder "$fonts" --add "ZQ Sample Serif 12pt" || rc=1
png="$out/zqdesk-fonts.png"
rm -f "$png"
zqhost fonts "ZQ Desk 2400 Inkjet" --folder "$fonts" --cancel --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no screenshot of the font installer" >&2; rc=1; fi
# "Update Now" asks the roll printer's device: the rolls show with the names, media types and
# widths it reports.
png="$out/zqroll-properties.png"
rm -f "$png"
fresh roll
echo "== ZQ Roll 4400 Large Format: Printer Properties after Update Now"
zqhost props "ZQ Roll 4400 Large Format" --ok-after 2500 --choose "Automatic Configuration=Update Now" \
  --show "Roll 1 Width" \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no screenshot of the roll printer's properties" >&2; rc=1; fi
keep "ZQ Roll 4400 Large Format" roll-updated
# The roll printer's own Features page once its rolls are known: 150 % of normal size with the
# automatic cutter off, beside the roll picture and the alert strip.
png="$out/zqroll-features.png"
rm -f "$png"
fresh roll-updated
echo "== ZQ Roll 4400 Large Format: Features, 150 %, automatic cutter off"
zqhost prefs "ZQ Roll 4400 Large Format" --ok-after 2500 --page "Features" --choose "#993=on" --choose "#994=150" \
  --choose "#1005=on" --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the roll printer's Features page" >&2; rc=1; fi
# The roll printer's Printing Shortcuts list: the helper file's document types and, under its base
# type, a shortcut stored beside them as the page's store writes one.
png="$out/zqroll-shortcuts-list.png"
rm -f "$png"
fresh roll-updated
echo "== ZQ Roll 4400 Large Format: Printing Shortcuts with a stored shortcut"
zqhost shortcuts "ZQ Roll 4400 Large Format" --add "Gallery Prints" "Photo" || rc=1
zqhost prefs "ZQ Roll 4400 Large Format" --ok-after 2500 --page "Printing Shortcuts" --choose "Printing shortcut:=Gallery Prints" \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the roll printer's shortcut list" >&2; rc=1; fi
# Save As on the roll printer's Printing Shortcuts page: the photo type chosen, the paper changed on
# the core driver's page, the settings saved under a name of the user's own; the new shortcut stands
# selected under its type.
png="$out/zqroll-shortcut-name.png"
saved="$out/zqroll-shortcuts-saved.png"
rm -f "$png" "$saved"
fresh roll-updated
echo "== ZQ Roll 4400 Large Format: Printing Shortcuts, Save As"
zqhost prefs "ZQ Roll 4400 Large Format" --ok-after 2500 --page "Printing Shortcuts" --choose "Printing shortcut:=Photo" \
  --page "Document Options" --choose "Paper Size=ISO A2" --page "Printing Shortcuts" --press "#960" \
  --in-dialog "#494=Site Plans" --dialog-screenshot "$(winepath -w "$png")" --dialog-close OK \
  --screenshot "$(winepath -w "$saved")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the shortcut name dialog" >&2; rc=1; fi
if [ -s "$saved" ]; then echo "screenshot: $saved"; else echo "no picture of the saved shortcut" >&2; rc=1; fi
zqhost shortcuts "ZQ Roll 4400 Large Format" | grep "Site Plans" || rc=1
# "Update Now" asks the desk printer's device: its trays show as the device reports them.
png="$out/zqdesk-updated.png"
rm -f "$png"
fresh desk
echo "== ZQ Desk 2400 Inkjet: Printer Properties after Update Now"
zqhost props "ZQ Desk 2400 Inkjet" --ok-after 2500 --choose "Automatic Configuration=Update Now" \
  --show "Envelope Feeder" --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no screenshot of the desk printer's trays" >&2; rc=1; fi
zqhost answers "ZQ Desk 2400 Inkjet" || rc=1
keep "ZQ Desk 2400 Inkjet" desk-updated
# The desk printer's stored quick sets as the plug-in reads them.
echo "== ZQ Desk 2400 Inkjet: stored quick sets"
zqhost quicksets "ZQ Desk 2400 Inkjet" || rc=1
# The desk printer's Output page with the finisher its device just reported (a mailbox with a
# stapler and a two-hole punch): a staple chosen there shows on the sample page and reaches the
# devmode; then its image shift dialog, a shift typed in inches and stored in millimetres on OK.
png="$out/zqdesk-output.png"
dialog="$out/zqdesk-image-shift.png"
rm -f "$png" "$dialog"
# A letter sheet upright first: the mailbox staples letter and A4 sheets only.
fresh desk-updated
echo "== ZQ Desk 2400 Inkjet: Output, Staple = One Staple"
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Document Options" --choose "Paper Size=Letter" \
  --choose "Orientation=Portrait" --page "Output" --choose "Staple=One Staple" \
  --screenshot "$(winepath -w "$png")" || rc=1
if [ -s "$png" ]; then echo "screenshot: $png"; else echo "no picture of the Output page" >&2; rc=1; fi
fresh desk-updated
echo "== ZQ Desk 2400 Inkjet: Output, Image shift settings..."
zqhost prefs "ZQ Desk 2400 Inkjet" --ok-after 2500 --page "Output" --press "Image shift settings..." \
  --in-dialog "Front side shift=on" --in-dialog "Use inches=on" --in-dialog "#975=0.5" --in-dialog "#976=-0.25" \
  --dialog-screenshot "$(winepath -w "$dialog")" --dialog-close OK || rc=1
if [ -s "$dialog" ]; then echo "screenshot: $dialog"; else echo "no picture of the image shift dialog" >&2; rc=1; fi
# A ticket of the configuration manager converted into a devmode of the desk printer through the
# plug-in's conversion interface (the devmode printed and saved), and back into a ticket.
devmode="$out/zqdesk-converted.devmode"
back="$out/zqdesk-converted.tkt"
rm -f "$devmode" "$back"
echo "== ZQ Desk 2400 Inkjet: a ticket converted into a devmode and back"
zqhost convert "ZQ Desk 2400 Inkjet" 'samples\zqdesk\zqdesk.tkt' --devmode "$(winepath -w "$devmode")" \
  --out "$(winepath -w "$back")" || rc=1
if [ -s "$devmode" ]; then echo "converted devmode: $devmode"; else echo "no converted devmode" >&2; rc=1; fi
if [ -s "$back" ]; then echo "ticket converted back: $back"; else echo "no ticket converted back" >&2; rc=1; fi
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
  name=${state%%:*}
  png="$out/preview-$name.png"
  rm -f "$png"
  echo "== preview: $name"
  # shellcheck disable=SC2086  # the fields are separate arguments
  zqhost preview "$(winepath -w "$png")" ${state#*:} || rc=1
  if [ ! -s "$png" ]; then echo "no preview picture $name" >&2; rc=1; fi
done
exit $rc
