#!/usr/bin/env bash
# Checks that a release ZIP holds the portable VROK folder: program, sounds, help and readme.
set -u
zip=$1
[ -f "$zip" ] || { echo "no package $zip"; exit 1; }
listing=$(unzip -Z1 "$zip")
missing=0
for file in VROK.exe VROK.HLP VROK.cnt README.txt vrokgun.wav vrokgren.wav vrokhlvb.wav vrokkuck.wav teckuc1.wav; do
    grep -q "/$file\$" <<<"$listing" || { echo "package lacks $file"; missing=1; }
done
# A portable folder: nothing but these at its top, and no settings file of a developer's run.
grep -q 'VROK.INI' <<<"$listing" && { echo "package holds a VROK.INI"; missing=1; }
# The configuration dialog's Help opens VROK.HLP by this context number.
root=$(cd "$(dirname "$0")/.." && pwd)
number=$(sed -n 's/^#define HELP_CONTEXT_CONFIGURATION \([0-9]*\).*/\1/p' "$root/resources/resource.h")
help=$(mktemp)
unzip -p "$zip" '*/VROK.HLP' >"$help"
python3 "$root/tools/hlp_context_map.py" --check "$help" "$number" || missing=1
rm -f "$help"
exit $missing
