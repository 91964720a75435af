#!/usr/bin/env bash
# qdtool report: the service report of a system file and of an image read from the simulator, checked
# through the PDF's text; bad input and an unwritable output leave no file behind.
# usage: qdtool_report.sh QDTOOL DATA_DIR
source "$(dirname "$0")/lib/common.sh"
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY  # must work without a display
export QDSYSTEM_SETTINGS="$WORK/prefs.ini"
printf '[General]\nPumpPrice1=2.450\nPumpPrice3=1.000\n' >"$WORK/prefs.ini"

has() {  # has NAME FILE TEXT: the file holds the text
  if grep -qF -- "$3" "$2"; then
    passes=$((passes + 1))
  else
    echo "FAIL: $1: no '$3' in $2"
    failures=$((failures + 1))
  fi
}
pages() { pdfinfo "$1" | awk '/^Pages:/ { print $2 }'; }

check "report --help" "$QDTOOL" report --help >/dev/null
check "listed in the overview" bash -c "\"$QDTOOL\" --help | grep -q '^  report '"

# A system file without logs
check "report of a system file" "$QDTOOL" report "$DATA/sample_system.xml" -o sample.pdf 2>err.txt
check "nothing on standard error" test ! -s err.txt
pdftotext -layout sample.pdf sample.txt
has "system name" sample.txt "Laundry & Co. <North> 'A' \"B\" café"
has "source" sample.txt "file sample_system.xml"
has "machine" sample.txt "Machine 2: Washer 2"
has "trigger type" sample.txt "QD740, Miele Logic"
has "program heading" sample.txt "Machine 2 / Program 1: Towels"
check "program line" grep -qE "^ *24 +Empty" sample.txt
has "finding" sample.txt "warning: Machine 2 / Program 1: active program without a pump line"
has "no logs" sample.txt "No log data available"
has "no alarms" sample.txt "Number of alarms: 0."
has "footer" sample.txt "Page 1 of 2"
check "more than one page" test "$(pages sample.pdf)" -gt 1

# An image read from a controller with logs
"$QDTOOL" convert "$DATA/sample_system.xml" sample.bin --build-time "2024-02-29 13:14:15"
start_bus_sim --image sample.bin --sample-logs --serial 310042 --firmware 2.3 --hardware 4
check "read" "$QDTOOL" read --port ./bus --image read.bin
stop_sim
check "report of an image" "$QDTOOL" report read.bin -o read.pdf
pdftotext -layout read.pdf read.txt
"$QDTOOL" log consumption read.bin --from 2023-02 --to 2024-01 >totals.txt
has "serial" read.txt "310042"
grep -qE "^Firmware version: +2\.3$" read.txt
check "firmware" test $? -eq 0
has "default period" read.txt "Period: 2023-02 to 2024-01, All machines"
has "totals as qdtool log" read.txt "$(sed -n 's/^Total volume: //p' totals.txt)"
has "washes as qdtool log" read.txt "Total washes"
has "priced pump" read.txt "Pump 1"
grep -E '^ *Pump 1 +[0-9,.]+ L +2\.450 +[0-9,.]+$' read.txt >/dev/null
check "pump 1 with its price and cost" test $? -eq 0
grep -E '^ *Pump 2 +[0-9,.]+ L +- +-$' read.txt >/dev/null
check "pump 2 without a price" test $? -eq 0
has "cost per wash" read.txt "Cost per wash:"
has "chart" read.txt "Monthly volume per pump"
has "alarm" read.txt "Pressure alarm."
check "image report has pages" test "$(pages read.pdf)" -gt 1

# A chosen period and machine
check "report of one machine" "$QDTOOL" report read.bin -o one.pdf --from 2023-06 --to 2023-08 --machine 3
pdftotext -layout one.pdf one.txt
has "chosen period" one.txt "Period: 2023-06 to 2023-08, Machine 3"
"$QDTOOL" log consumption read.bin --from 2023-06 --to 2023-08 --machine 3 >totals.txt
has "totals of machine 3" one.txt "$(sed -n 's/^Total volume: //p' totals.txt)"
check "report up to a month" "$QDTOOL" report read.bin -o upto.pdf --to 2023-08
pdftotext -layout upto.pdf upto.txt
has "twelve months up to --to" upto.txt "Period: 2022-09 to 2023-08, All machines"
# Without prices
QDSYSTEM_SETTINGS="$WORK/none.ini" "$QDTOOL" report read.bin -o unpriced.pdf
pdftotext -layout unpriced.pdf unpriced.txt
has "no prices" unpriced.txt "No pump prices are set"

# Bad input: exit status, message, no file
usage() {  # usage NAME ARGS...: exit status 2, no output file
  "$QDTOOL" report "${@:2}" >/dev/null 2>&1
  check "$1" test $? -eq 2
  check "$1 leaves no file" test ! -e bad.pdf
}
usage "no input" -o bad.pdf
usage "no output" read.bin
usage "two inputs" read.bin read.bin -o bad.pdf
usage "month 13" read.bin -o bad.pdf --from 2023-13
usage "machine 11" read.bin -o bad.pdf --machine 11
usage "unknown option" read.bin -o bad.pdf --csv
"$QDTOOL" report missing.xml -o bad.pdf 2>err.txt
check "missing input exits 1" test $? -eq 1
check "missing input leaves no file" test ! -e bad.pdf
has "missing input message" err.txt "cannot open missing.xml"
head -c 1000 sample.bin >short.bin
"$QDTOOL" report short.bin -o bad.pdf 2>err.txt
check "short image exits 1" test $? -eq 1
has "short image message" err.txt "an image has 32768 bytes"
check "short image leaves no file" test ! -e bad.pdf

# An output that cannot be written: clear message, the old file stays
mkdir locked
cp sample.pdf locked/old.pdf
chmod a-w locked
if [[ ! -w locked ]]; then  # root writes anywhere
  "$QDTOOL" report read.bin -o locked/old.pdf 2>err.txt
  check "unwritable output exits 1" test $? -eq 1
  has "unwritable output message" err.txt "qdtool: the report was not saved: cannot write"
  check "old file kept" cmp -s sample.pdf locked/old.pdf
fi
"$QDTOOL" report read.bin -o no/such/folder/r.pdf 2>err.txt
check "missing folder exits 1" test $? -eq 1
has "missing folder message" err.txt "qdtool: the report was not saved:"

finish
