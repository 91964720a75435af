#!/usr/bin/env bash
# The history store through qdtool: import of backups (a log reset and months that left the controller
# survive), sites, history, timeline, and a sweep of a gateway's systems. On the user's SQLite store,
# or on the PostgreSQL server QD_TEST_POSTGRES names (tests/store/with_postgres.sh starts one).
# usage: history_store.sh QDTOOL DATA_DIR
source "$(dirname "$0")/lib/common.sh"

STORE=()
[[ -n ${QD_TEST_POSTGRES:-} ]] && STORE=(--store "$QD_TEST_POSTGRES")
LOG=$((0x6380))
month() {  # month FILE RECORD YEAR MONTH PUMP1_COUNTS: machine 1 of a month record
  put "$1" $((LOG + 302 * $2)) $(($3 - 2000)) "$4"
  put16 "$1" $((LOG + 302 * $2 + 2 + 2 * 7)) "$5"
}
backup() {  # backup SOURCE.bin TIME: a backup of controller 4711 read at TIME ("YYYY-MM-DD_HH-MM-SS")
  cp "$1" "backups/4711_$2.bin"
}

"$QDTOOL" convert "$DATA/sample_system.xml" before.bin --build-time "2025-01-01 00:00:00"
sed 's|<ShortFlushTime>300</ShortFlushTime>|<ShortFlushTime>120</ShortFlushTime>|' "$DATA/sample_system.xml" >after.xml
"$QDTOOL" convert after.xml after.bin --build-time "2025-01-01 00:00:00"
for f in before.bin after.bin; do
  put "$f" 10 $((4711 & 255)) $((4711 >> 8)) 0 0
  put "$f" 8 2  # firmware 2: the logs where the memory map puts them
done
mkdir backups
# November 2024 .. January 2025 (200 counts = 1 L each), then February with the log reset on the
# 10th (November and December gone from the controller), then the configuration changed.
month before.bin 0 2024 11 200
month before.bin 1 2024 12 200
month before.bin 2 2025 1 200
backup before.bin 2025-01-31_10-00-00
month before.bin 3 2025 2 400
backup before.bin 2025-02-09_10-00-00
dd if=/dev/zero of=before.bin bs=1 seek=$LOG count=7248 conv=notrunc status=none
month before.bin 0 2025 2 100
backup before.bin 2025-02-20_10-00-00
month after.bin 0 2025 2 300
backup after.bin 2025-02-28_10-00-00
echo "not an image" >backups/4711_2025-03-01_10-00-00.bin

"$QDTOOL" import backups "${STORE[@]}" >import.txt 2>import.err
check "import" grep -q '^4 backups recorded in .*, 1 files skipped' import.txt
check "import again changes nothing" "$QDTOOL" import backups "${STORE[@]}"

"$QDTOOL" history 4711 --json "${STORE[@]}" >history.json
json_table "history --json" history.json <<'JQ'
months	[.months[].month] == ["2024-11", "2024-12", "2025-01", "2025-02"]
months gone from the controller kept	.months[0].pumps[0].litres == 1
reset survived	.months[3].pumps[0].litres == 3.5
years	[.years[] | [.year, .pumps[0].litres]] == [[2024, 2], [2025, 4.5]]
total	.total.pumps[0].litres == 6.5
JQ
"$QDTOOL" history 4711 --from 2025-01 --to 2025-01 --csv "${STORE[@]}" >history.csv
check "history csv" test "$(wc -l <history.csv)" -eq 11
check "history csv month" grep -q '^2025-01,1,0,0,0,0,0,0,0,1.000,' history.csv

"$QDTOOL" timeline 4711 "${STORE[@]}" >timeline.txt
check "timeline reads" test "$(grep -c '^2025-' timeline.txt)" -eq 4
check "timeline first" grep -q '^2025-01-31 10:00:00  first read' timeline.txt
check "timeline no change" grep -q '^2025-02-20 10:00:00  no change' timeline.txt
check "timeline change" grep -q '^2025-02-28 10:00:00  1 change' timeline.txt
check "timeline item" grep -qx '  Machine 2 / Short flush time: 44 -> 120' timeline.txt

# The service report takes the months from the store: more than the image's log holds.
check "report from the history" "$QDTOOL" report after.bin -o history.pdf --history "${STORE[@]}"
pdftotext -layout history.pdf history.txt
check "report period" grep -q 'Period: 2024-11 to 2025-02, All machines' history.txt

"$QDTOOL" sites --json "${STORE[@]}" >sites.json
json_table "sites --json" sites.json <<'JQ'
one site	.sites | length == 1
serial	.sites[0].serial == 4711
last contact	.sites[0].lastContact == "2025-02-28T10:00:00"
twelve months	.sites[0].lastTwelveMonths.totalLitres == 6.5
JQ
"$QDTOOL" history 4712 "${STORE[@]}" 2>err.txt
check "unknown site" grep -q 'no site with serial number 4712' err.txt
"$QDTOOL" sites --store postgresql://user:pw@localhost/db 2>err.txt
check "password refused" test $? -eq 2

# A sweep of 20 systems: two offline, one in use, one dropping its read after three blocks.
start_gateway_sim --serial 310000 --gateway-fleet 19 --gateway-system 310004::-:Offline \
  --gateway-system 310009::-:Offline --gateway-system 310012::tech2:127.0.0.1 \
  --gateway-fault drop-read:3@310015
"$QDTOOL" sweep --gateway "$GW" --user service --password secret "${STORE[@]}" >sweep.txt 2>sweep.err
check "sweep fails for the dropped read" test $? -eq 1
check "sweep summary" grep -qx '20 systems: 16 read, 1 failed, 2 offline, 1 in use' sweep.txt
check "sweep progress" grep -q '^\[20/20\] 310019 ' sweep.err
check "sweep names the failure" grep -q '310015 .*: failed: ' sweep.err
stop_sim
"$QDTOOL" sites --json "${STORE[@]}" >fleet.json
json_table "sites after the sweep" fleet.json <<'JQ'
sites of the sweep	[.sites[] | select(.serial >= 310000)] | length == 16
every system its own name	[.sites[].name] | unique | length == 17
dropped one not recorded	[.sites[].serial] | index(310015) == null
JQ
finish
