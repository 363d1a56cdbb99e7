#!/usr/bin/env bash
# Checks the release: the ZIP holds the portable VROK folder (program, sounds, both help files and
# readme); the installer, when given, holds exactly the ZIP's files.
set -u
zip=$1 installer=${2:-}
[ -f "$zip" ] || { echo "no package $zip"; exit 1; }
listing=$(unzip -Z1 "$zip")
missing=0
for file in VROK.exe VROK.HLP VROK.cnt VROK.CHM README.txt vrokgun.wav vrokgren.wav vrokhlvb.wav vrokkuck.wav teckuc1.wav; do
    grep -q "/$file\$" <<<"$listing" || { echo "package lacks $file"; missing=1; }
done
# A portable folder: nothing but these at its top, and no settings file of a developer's run.
grep -q 'VROK.INI' <<<"$listing" && { echo "package holds a VROK.INI"; missing=1; }
# The configuration dialog's Help opens VROK.HLP by this context number, VROK.CHM at this page.
root=$(cd "$(dirname "$0")/.." && pwd)
number=$(sed -n 's/^#define HELP_CONTEXT_CONFIGURATION \([0-9]*\).*/\1/p' "$root/resources/resource.h")
page=$(sed -n 's/^#define HELP_PAGE_CONFIGURATION "\(.*\)"/\1/p' "$root/resources/resource.h")
work=$(mktemp -d)
unzip -q "$zip" -d "$work/zip"
python3 "$root/tools/hlp_context_map.py" --check "$work"/zip/*/VROK.HLP "$number" || missing=1
7z e -so "$work"/zip/*/VROK.CHM "$page" 2>/dev/null | grep -q '<title>The configuration dialog</title>' \
    || { echo "VROK.CHM has no configuration page $page"; missing=1; }
if [ -n "$installer" ]; then
    7z x -bd -y -o"$work/setup" -x'!$PLUGINSDIR' -x'!Uninstall.exe' "$installer" >/dev/null \
        && diff -r "$work"/zip/* "$work/setup" || { echo "the installer does not hold the ZIP's files"; missing=1; }
fi
rm -rf "$work"
exit $missing
