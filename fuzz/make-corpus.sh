#!/usr/bin/env bash
# Rebuilds the seed corpus of fuzz_script_reader from scripts that didad-tool
# writes, plus damaged copies of them of the kinds users meet: truncated
# files, other line ends, a missing key, a short array, another version.
#   fuzz/make-corpus.sh path/to/didad-tool
set -euo pipefail
tool=${1:?usage: make-corpus.sh path/to/didad-tool}
here=$(cd "$(dirname "$0")" && pwd)
out="$here/corpus/script_reader"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$out"
mkdir -p "$out"

seed() { # name folder: the script as written, and its head up to the data part's end
  local name=$1 script="$2/Dirovidadaz.js"
  cp "$script" "$out/$name.js"
  # The reader looks at nothing after the last array; a seed without the
  # runtime lets the fuzzer spend its time on the part that is parsed.
  awk '{ print } /^var AE = new Array/ { exit }' "$script" > "$out/$name-head.js"
}

"$tool" new "$work/empty" >/dev/null
seed empty "$work/empty"

"$tool" new "$work/one" >/dev/null
"$tool" add "$work/one" 1 >/dev/null
seed one "$work/one"

"$tool" new "$work/six" >/dev/null
"$tool" add "$work/six" 6 >/dev/null
seed six "$work/six"

# A model with everything the writer encodes: quotes, backslashes, line
# breaks, vertical entries, the wrapper already present, odd numbers.
"$tool" write "$work/mixed" --final >/dev/null <<'JSON'
{"settings":{"scrIN":999,"scrOUT":1,"cDefCap":"#1A2B3C","fDefCap":"Times New Roman","fDefCapS":2,
 "cDefMenu":"#000000","fDefMenu":"Courier","fDefMenuS":999,"PRJ_sTemplate":"index.html",
 "compactWidth":480,"compactLabel":"\"Men\u00FC\"\\","compactLeft":-5,"compactTop":0},
 "iSelectedMenu":2,
 "entries":[
  {"MTC":"<A HREF=\"a.html\">Home</A>","MTCH":22,"MTM":"line one\r\nline two","MX":-100,"MY":600,"MW":150,
   "CO":"transparent","CC":"#000000","CM":"#008080","MA":0,"FL":1,"OO":0,"anchor":"element","anchorElement":"header h1[title=\"x\"]"},
  {"MTC":"Caption","MTCH":600,"MTM":"Blank menu","MX":10,"MY":10,"MW":1,
   "CO":"#FF0000","CC":"#00FF80","CM":"transparent","MA":1,"FL":0,"OO":1,"anchor":"center"},
  {"MTC":"back\\slash\\","MTCH":1,"MTM":"<nObR>already wrapped</nObR>","MX":2147483647,"MY":-2147483648,"MW":900,
   "CO":"#ABCDEF","CC":"#123456","CM":"#FEDCBA","MA":0,"FL":1,"OO":1},
  {"MTC":"it's \"quoted\"","MTCH":30,"MTM":"<NOBR>x</NOBR>","MX":0,"MY":0,"MW":200,
   "CO":"transparent","CC":"transparent","CM":"transparent","MA":1,"FL":1,"OO":0}
 ]}
JSON
seed mixed "$work/mixed"

mixed="$out/mixed-head.js"
# Another system's line ends.
sed 's/\r$//' "$mixed" > "$out/damaged-lf-only.js"
# A key gone.
sed 's/,scrOUT=1//' "$mixed" > "$out/damaged-missing-key.js"
# An array one value short.
sed 's/^var MTCH = new Array (22,600,1,30);/var MTCH = new Array (22,600,1);/' "$mixed" > "$out/damaged-short-array.js"
# Another version, and no version at all.
sed 's/RarurAVI_Ver = "1.00";/RarurAVI_Ver = "2.10";/' "$mixed" > "$out/damaged-other-version.js"
sed 's/RarurAVI_Ver = "1.00";//' "$mixed" > "$out/damaged-no-version.js"
# Cut off in the middle of the arrays.
head -c 1500 "$mixed" > "$out/damaged-truncated.js"
# A header that promises more menus than the file holds, and too many.
sed 's/var numOfMenus=4,/var numOfMenus=40,/' "$mixed" > "$out/damaged-count-too-high.js"
sed 's/var numOfMenus=4,/var numOfMenus=10001,/' "$mixed" > "$out/damaged-count-over-capacity.js"
sed 's/var numOfMenus=4,/var numOfMenus=-1,/' "$mixed" > "$out/damaged-count-negative.js"
# A colour that is not one.
sed 's/cDefCap="#1A2B3C"/cDefCap="#1A2B3"/' "$mixed" > "$out/damaged-bad-colour.js"
echo "seeds: $(ls "$out" | wc -l) in $out"
