#!/usr/bin/env bash
# qdtool diff, check, backups and calibrations: their output, exit statuses, and the backup every read leaves.
# usage: qdtool_review.sh QDTOOL DATA_DIR
source "$(dirname "$0")/lib/common.sh"
export QDSYSTEM_DATA="$WORK/data"
# The JSON checks compare the paths under it.
export WORK
status() {  # status NAME EXPECTED COMMAND...: the command must end with the exit status
  local name=$1 expected=$2
  shift 2
  "$@" >out.txt 2>err.txt
  local got=$?
  if [[ $got -eq $expected ]]; then
    passes=$((passes + 1))
  else
    echo "FAIL: $name: exit $got, not $expected"
    cat err.txt
    failures=$((failures + 1))
  fi
}
has() {  # has NAME FILE TEXT: a line of the file is the text
  if grep -qxF -- "$3" "$2"; then passes=$((passes + 1)); else
    echo "FAIL: $1: no line '$3' in:"
    cat "$2"
    failures=$((failures + 1))
  fi
}

SAMPLE=$DATA/sample_system.xml
check "convert" "$QDTOOL" convert "$SAMPLE" sample.bin --build-time "2024-02-29 13:14:15"
status "diff of a file with its image" 0 "$QDTOOL" diff "$SAMPLE" sample.bin
has "no differences" err.txt "no differences"

# One recipient and one program line changed in a copy of the system file.
sed -e 's|<Recipient1>[^<]*</Recipient1>|<Recipient1>new@example.com</Recipient1>|' "$SAMPLE" >changed.xml
status "diff of changed files" 1 "$QDTOOL" diff "$SAMPLE" changed.xml
has "recipient" out.txt 'System / Recipient 1: "service@example.com" -> "new@example.com"'
[[ $(wc -l <out.txt) -eq 1 ]] && passes=$((passes + 1)) || { echo "FAIL: one difference: $(cat out.txt)"; failures=$((failures + 1)); }
status "diff the other way round" 1 "$QDTOOL" diff changed.xml sample.bin
has "reversed" out.txt 'System / Recipient 1: "new@example.com" -> "service@example.com"'

status "diff of a missing file" 2 "$QDTOOL" diff "$SAMPLE" missing.xml
has "one-line error" err.txt "qdtool: missing.xml: cannot open missing.xml: No such file or directory"
head -c 100 sample.bin >short.bin
status "diff of a short image" 2 "$QDTOOL" diff short.bin "$SAMPLE"
status "diff without B" 2 "$QDTOOL" diff "$SAMPLE"

# --json: the same comparisons as documents; the exit status stays
status "diff --json of equal configurations" 0 "$QDTOOL" diff "$SAMPLE" sample.bin --json
json_table "diff --json, equal" out.txt <<<$'equal\t. == {"equal": true, "differences": []}'
sed -e 's|<SystemName>[^<]*</SystemName>|<SystemName>Other</SystemName>|' "$SAMPLE" >renamed.xml
status "diff --json of changed files" 1 "$QDTOOL" diff "$SAMPLE" changed.xml --json
json_table "diff --json, changed" out.txt <<'EOF'
not equal	.equal == false
recipient	.differences == [{"place": "System / Recipient 1", "before": "\"service@example.com\"", "after": "\"new@example.com\""}]
EOF
status "diff --json of a renamed system" 1 "$QDTOOL" diff "$SAMPLE" renamed.xml --json
json_table "diff --json, windows-1252 text" out.txt <<'EOF'
name with its quotes	.differences[0].before | endswith("\"B\" caf\u00e9\"")
EOF
check "diff --json in UTF-8" grep -q $'caf\xc3\xa9' out.txt
json_fails "diff --json of a missing file" 2 diff "$SAMPLE" missing.xml --json

status "check of the sample" 0 "$QDTOOL" check "$SAMPLE"
has "warning line" out.txt "warning: Machine 2 / Program 1: active program without a pump line"
has "summary" err.txt "0 errors, 3 warnings"
# Program 3 of machine 2 doses with pump 3: active and with calibration 0, that is an error.
sed -e 's|<Calibration1>300</Calibration1>|&<Calibration3>0</Calibration3>|' \
  -e 's|<Name>Program 3</Name>|&<Active>True</Active>|' "$SAMPLE" >zero.xml
status "check finds an error" 1 "$QDTOOL" check zero.xml
has "calibration error" out.txt "error: Machine 2 / Program 3 / Line 2: pump 3 has calibration 0: this line doses nothing"
status "check of a missing file" 1 "$QDTOOL" check missing.xml
status "check --json of the sample" 0 "$QDTOOL" check "$SAMPLE" --json
json_table "check --json" out.txt <<'EOF'
counts	[.errors, .warnings] == [0, 3]
three findings	.findings | length == 3
program-wide warning	.findings | any(. == {"severity": "warning", "machine": 2, "program": 1, "line": null, "place": "Machine 2 / Program 1", "message": "active program without a pump line"})
EOF
check "check --json leaves the summary out" test ! -s err.txt
status "check --json finds an error" 1 "$QDTOOL" check zero.xml --json
json_table "check --json of an error" out.txt <<'EOF'
one error	.errors == 1
its place	.findings | any(.severity == "error" and [.machine, .program, .line] == [2, 3, 2])
EOF
json_fails "check --json of a missing file" 1 check missing.xml --json

status "no backups yet" 0 "$QDTOOL" backups
has "empty" err.txt "no backups in $WORK/data/backups"
status "no backups yet, --json" 0 "$QDTOOL" backups --json
json_table "backups --json, none" out.txt <<<$'none\t.backups == []'
check "backups --json leaves the note out" test ! -s err.txt

# A controller read leaves a backup, and the controller compares equal to what it was built from.
if start_bus_sim --system "$SAMPLE" --no-pacing --serial 310077; then
  status "diff with the controller" 0 "$QDTOOL" diff --port "$WORK/bus" "$SAMPLE" --master-login
  status "diff with the controller as B" 1 "$QDTOOL" diff changed.xml --port "$WORK/bus" --master-login
  has "controller as B" out.txt 'System / Recipient 1: "new@example.com" -> "service@example.com"'
  status "read" 0 "$QDTOOL" read --port "$WORK/bus" --master-login -o read.xml
  stop_sim
fi
status "backups" 0 "$QDTOOL" backups --serial 310077
[[ $(wc -l <out.txt) -eq 3 ]] && passes=$((passes + 1)) || { echo "FAIL: three backups: $(cat out.txt)"; failures=$((failures + 1)); }
grep -q "^[0-9-]* [0-9:]*  310077  $WORK/data/backups/310077_[0-9_-]*\.xml$" out.txt &&
  passes=$((passes + 1)) || { echo "FAIL: backup line: $(cat out.txt)"; failures=$((failures + 1)); }
newest=$(head -1 out.txt | awk '{print $4}')
status "newest backup equals the read" 0 "$QDTOOL" diff "$newest" read.xml
status "backups --json" 0 "$QDTOOL" backups --serial 310077 --json
json_table "backups --json" out.txt <<'EOF'
folder	.folder == env.WORK + "/data/backups"
three backups	.backups | length == 3
serial	all(.backups[]; .serial == 310077)
ISO 8601 time	all(.backups[]; .time | test("^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}$"))
newest first	.backups | map(.time) | . == (sort | reverse)
system file and image	.backups[0] | (.systemFile | endswith(".xml")) and (.image | endswith(".bin"))
EOF
status "backups of another controller" 0 "$QDTOOL" backups --serial 1
[[ ! -s out.txt ]] && passes=$((passes + 1)) || { echo "FAIL: other serial listed"; failures=$((failures + 1)); }

# The calibration history qdsystem keeps; damaged lines are skipped.
status "no calibrations yet" 0 "$QDTOOL" calibrations
has "none recorded" err.txt "no calibrations recorded in $WORK/data/calibrations.csv"
printf '%s\n' "time,serial,machine,pump,old,new,measured_ml" "2026-12-01 08:00:00,310077,3,2,30,25,120" \
  "not a record" "2026-12-02 09:30:05,310077,4,2,40,44,91" "2026-12-03 10:00:00,1,3,2,20,21,95" \
  >"$WORK/data/calibrations.csv"
status "calibrations" 0 "$QDTOOL" calibrations
[[ $(wc -l <out.txt) -eq 3 ]] && passes=$((passes + 1)) || { echo "FAIL: three calibrations: $(cat out.txt)"; failures=$((failures + 1)); }
has "calibration line" out.txt "controller 310077, machine 3, pump 2: 2026-12-01 08:00  30 -> 25 s/100 ml, 120 ml measured"
status "calibrations of a machine" 0 "$QDTOOL" calibrations --serial 310077 --machine 4 --pump 2
has "filtered" out.txt "controller 310077, machine 4, pump 2: 2026-12-02 09:30  40 -> 44 s/100 ml, 91 ml measured"
[[ $(wc -l <out.txt) -eq 1 ]] && passes=$((passes + 1)) || { echo "FAIL: one calibration: $(cat out.txt)"; failures=$((failures + 1)); }
status "calibrations --json" 0 "$QDTOOL" calibrations --json
json_table "calibrations --json" out.txt <<'EOF'
file	.file == env.WORK + "/data/calibrations.csv"
three calibrations	.calibrations | length == 3
oldest first	.calibrations[0] == {"time": "2026-12-01T08:00:00", "serial": 310077, "machine": 3, "pump": 2, "oldSecondsPer100ml": 30, "newSecondsPer100ml": 25, "measuredLitres": 0.12}
EOF
status "calibrations --json of a machine" 0 "$QDTOOL" calibrations --machine 4 --json
json_table "calibrations --json, filtered" out.txt <<<$'one, in litres\t.calibrations | map(.measuredLitres) == [0.091]'
status "pump out of range" 2 "$QDTOOL" calibrations --pump 8
chmod 000 "$WORK/data/calibrations.csv"
if [[ $(id -u) -ne 0 ]]; then status "unreadable history" 1 "$QDTOOL" calibrations; fi
if [[ $(id -u) -ne 0 ]]; then json_fails "unreadable history, --json" 1 calibrations --json; fi
chmod 644 "$WORK/data/calibrations.csv"
finish
