#!/usr/bin/env bash
# qdtool log: the consumption totals and the alarm lines of images and system files, byte for byte.
# The log areas are written into an image built from the sample system file.
# usage: qdtool_logs.sh QDTOOL DATA_DIR
source "$(dirname "$0")/lib/common.sh"
same() {  # same NAME ACTUAL_FILE: the file must equal expected.txt
  if cmp -s "$2" expected.txt; then
    passes=$((passes + 1))
  else
    echo "FAIL: $1"
    diff expected.txt "$2" | head -20
    failures=$((failures + 1))
  fi
}

# Consumption log at BASE: March 2012 in record 3, May 2013 in record 10.
counter() {  # counter FILE BASE RECORD MACHINE(1..10) INDEX VALUE
  put16 "$1" $(($2 + 302 * $3 + 2 + 30 * ($4 - 1) + 2 * $5)) "$6"
}
fill_consumption() {  # fill_consumption FILE BASE
  local f=$1 base=$2
  put "$f" $((base + 302 * 3)) 12 3
  put "$f" $((base + 302 * 10)) 13 5
  counter "$f" "$base" 3 1 7 200     # pump 1: 1.00 L
  counter "$f" "$base" 3 3 2 5       # program 2
  for m in 3 4 5 10; do counter "$f" "$base" 10 "$m" 13 65535; done  # pump 7
  counter "$f" "$base" 10 2 0 65535  # washes without a program
  counter "$f" "$base" 10 4 0 65535
  counter "$f" "$base" 10 3 14 1234  # softener
}

# Alarm log at BASE: pressure alarm, low soap level of pump 3, trigger error of machine 4, and history.
entry() {  # entry FILE BASE K KIND NUMBER YEAR MONTH DAY HOUR MINUTE TYPE
  local w=$((($6 - 2000) | $8 << 6 | ${11} << 11 | $7 << 16 | $9 << 20 | ${10} << 26))
  put "$1" $(($2 + 16 + 5 * $3)) $(($4 | $5 << 4)) $((w & 255)) $((w >> 8 & 255)) $((w >> 16 & 255)) $((w >> 24 & 255))
}
fill_alarms() {  # fill_alarms FILE BASE
  local f=$1 base=$2
  put "$f" "$base" 1 4 8 0
  entry "$f" "$base" 0 1 3 2012 5 17 14 5 0
  entry "$f" "$base" 1 2 0 2012 5 0 14 5 0  # day 0: empty
  entry "$f" "$base" 2 3 4 2013 1 2 9 41 3
  entry "$f" "$base" 47 9 1 2012 5 17 14 5 0  # unknown kind
}

check "log --help" "$QDTOOL" log --help >/dev/null
check "convert" "$QDTOOL" convert "$DATA/sample_system.xml" empty.bin --build-time "2024-02-29 13:14:15"
cp empty.bin logs.bin
fill_consumption logs.bin $((0x6380))
fill_alarms logs.bin $((0x6280))
# Firmware major version 1: the same logs 128 bytes earlier.
cp empty.bin v1.bin
put v1.bin 8 1 4
fill_consumption v1.bin $((0x6300))
fill_alarms v1.bin $((0x6200))

# An empty log
"$QDTOOL" log consumption empty.bin >out.txt
printf '%s\n' "No log data available" >expected.txt
same "empty consumption log" out.txt
"$QDTOOL" log alarms empty.bin >out.txt
printf '%s\n' "Number of alarms: 0." >expected.txt
same "empty alarm history" out.txt
"$QDTOOL" log alarms empty.bin --state >out.txt
check "no active alarms" test ! -s out.txt

# All months, all machines
expect_all() {
  printf '%s\n' "Pump 1: 1.00 L" "Pump 2: 0.00 L" "Pump 3: 0.00 L" "Pump 4: 0.00 L" "Pump 5: 0.00 L" \
    "Pump 6: 0.00 L" "Pump 7: 1,310.70 L" "Total volume: 1,311.70 L" "Program 1: 0" "Program 2: 5" \
    "Program 3: 0" "Program 4: 0" "Program 5: 0" "Program 6: 0" "No program: 131070" \
    "Total washes: 131075" "Softner count: 1234" >expected.txt
}
expect_all
"$QDTOOL" log consumption logs.bin >out.txt
same "consumption totals" out.txt
"$QDTOOL" log consumption v1.bin >out.txt
same "consumption totals, firmware 1" out.txt

# One machine
"$QDTOOL" log consumption logs.bin --machine 3 >out.txt
printf '%s\n' "Pump 1: 0.00 L" "Pump 2: 0.00 L" "Pump 3: 0.00 L" "Pump 4: 0.00 L" "Pump 5: 0.00 L" \
  "Pump 6: 0.00 L" "Pump 7: 327.68 L" "Total volume: 327.68 L" "Program 1: 0" "Program 2: 5" \
  "Program 3: 0" "Program 4: 0" "Program 5: 0" "Program 6: 0" "No program: 0" "Total washes: 5" \
  "Softner count: 1234" >expected.txt
same "machine 3" out.txt

# A range of months, months without records at its ends
"$QDTOOL" log consumption logs.bin --from 2012-01 --to 2013-04 >out.txt
printf '%s\n' "Pump 1: 1.00 L" "Pump 2: 0.00 L" "Pump 3: 0.00 L" "Pump 4: 0.00 L" "Pump 5: 0.00 L" \
  "Pump 6: 0.00 L" "Pump 7: 0.00 L" "Total volume: 1.00 L" "Program 1: 0" "Program 2: 5" \
  "Program 3: 0" "Program 4: 0" "Program 5: 0" "Program 6: 0" "No program: 0" "Total washes: 5" \
  "Softner count: 0" >expected.txt
same "range of months" out.txt
"$QDTOOL" log consumption logs.bin --from 2013-05 >out.txt
check "from the newest month" grep -qx "Total volume: 1,310.70 L" out.txt
# From after To: the window's texts for nothing included
"$QDTOOL" log consumption logs.bin --from 2013-05 --to 2012-03 >out.txt
printf '%s\n' "Pump 1: 0,00 L" "Pump 2: 0,00 L" "Pump 3: 0,00 L" "Pump 4: 0,00 L" "Pump 5: 0,00 L" \
  "Pump 6: 0,00 L" "Pump 7: 0,00 L" "Total volume: 0,00 L" "Program 1: 0" "Program 2: 0" \
  "Program 3: 0" "Program 4: 0" "Program 5: 0" "Program 6: 0" "No program: 0" "Total washes: 0" \
  "Softner count: 0" >expected.txt
same "from after to" out.txt

# CSV
"$QDTOOL" log consumption logs.bin --csv >out.csv
check "csv rows" test "$(wc -l <out.csv)" -eq 21
check "csv header" test "$(head -n 1 out.csv)" = "month,machine,no_program,program_1,program_2,program_3,program_4,program_5,program_6,pump_1_litres,pump_2_litres,pump_3_litres,pump_4_litres,pump_5_litres,pump_6_litres,pump_7_litres,softener"
check "csv oldest first" test "$(sed -n 2p out.csv)" = "2012-03,1,0,0,0,0,0,0,0,1.000,0.000,0.000,0.000,0.000,0.000,0.000,0"
"$QDTOOL" log consumption logs.bin --csv --machine 3 --from 2013-01 >out.csv
head -n 1 out.csv >expected.txt
echo "2013-05,3,0,0,0,0,0,0,0,0.000,0.000,0.000,0.000,0.000,0.000,327.675,1234" >>expected.txt
same "csv of one machine and month" out.csv
"$QDTOOL" log consumption empty.bin --csv >out.csv
check "csv of an empty log" test "$(wc -l <out.csv)" -eq 1

# --json: the totals as numbers, the litres exact (the text rounds 327.675 to 327.68)
"$QDTOOL" log consumption logs.bin --json >out.json
json_table "consumption --json" out.json <<'EOF'
logged months	.loggedMonths == {"oldest": "2012-03", "newest": "2013-05"}
all months and machines	[.from, .to, .machine] == [null, null, null]
pump 1	.pumps[0] == {"pump": 1, "litres": 1, "cost": null}
seven pumps	.pumps | length == 7
total volume	.totalLitres == 1311.7
program 2	.programs[1] == {"program": 2, "washes": 5}
washes	[.washesWithoutProgram, .totalWashes, .softenerCount] == [131070, 131075, 1234]
no prices	[.totalCost, .costPerWash] == [null, null]
EOF
"$QDTOOL" log consumption v1.bin --json >v1.json
check "consumption --json, firmware 1" cmp -s out.json v1.json
"$QDTOOL" log consumption logs.bin --machine 3 --from 2013-01 --json >out.json
json_table "consumption --json of one machine" out.json <<'EOF'
selection	[.from, .to, .machine] == ["2013-01", null, 3]
exact litres	.pumps[6].litres == 327.675
EOF
check "litres written exactly" grep -qE '"litres": 327\.675,?$' out.json
"$QDTOOL" log consumption empty.bin --json >out.json
json_table "consumption --json of an empty log" out.json <<'EOF'
no months	.loggedMonths == null
no washes	.totalWashes == 0
EOF

# Costs from the prices kept in the preferences: pump 1 at 2.45 and pump 7 at 0.10 per litre.
printf '[General]\nPumpPrice1=2.450\nPumpPrice7=0.100\nPumpPrice3=cheap\n' >"$QDSYSTEM_SETTINGS"
"$QDTOOL" log consumption logs.bin --machine 3 >out.txt
check "cost of pump 7" grep -qx "Cost pump 7: 32.77" out.txt
check "no cost without a price" test "$(grep -c '^Cost pump' out.txt)" -eq 2
check "total cost" grep -qx "Total cost: 32.77" out.txt
check "cost per wash" grep -qx "Cost per wash: 6.55" out.txt
"$QDTOOL" log consumption logs.bin >out.txt
check "total cost of all" grep -qx "Total cost: 133.53" out.txt
check "cost per wash of all" grep -qx "Cost per wash: 0.00" out.txt
"$QDTOOL" log consumption empty.bin >out.txt
check "no cost per wash without washes" test "$(grep -c 'per wash' out.txt)" -eq 0
"$QDTOOL" log consumption logs.bin --csv --machine 3 --from 2013-01 >out.csv
check "csv cost columns" test "$(tail -n 1 out.csv)" = "2013-05,3,0,0,0,0,0,0,0,0.000,0.000,0.000,0.000,0.000,0.000,327.675,1234,0.00,,,,,,32.77,32.77"
"$QDTOOL" log consumption logs.bin --machine 3 --json >out.json
json_table "consumption --json with prices" out.json <<'EOF'
cost of pump 7	.pumps[6].cost == 32.77
no cost without a price	.pumps[1].cost == null
total cost	.totalCost == 32.77
cost per wash	.costPerWash == 6.55
EOF
rm "$QDSYSTEM_SETTINGS"

# Alarm history and state
printf '%s\n' " 1: 2012-05-17 14:05 > Low soap level, Pump: 3." \
  " 2: 2013-01-02  9:41 > Trigger error, Machine: 4, Type= Nyborg-W3." " 3: 2012-05-17 14:05 > " \
  "Number of alarms: 3." >expected.txt
"$QDTOOL" log alarms logs.bin >out.txt
same "alarm history" out.txt
"$QDTOOL" log alarms v1.bin >out.txt
same "alarm history, firmware 1" out.txt
printf '%s\n' "  1: Pressure alarm" "  2: Low soap level, Pump: 3" "  3: Trigger error, Machine: 4" >expected.txt
"$QDTOOL" log alarms logs.bin --state >out.txt
same "alarm state" out.txt
"$QDTOOL" log alarms v1.bin --state >out.txt
same "alarm state, firmware 1" out.txt
printf '%s\n' "alarm,slot,date,time,kind,number,trigger_type,text" \
  '1,1,2012-05-17,14:05,1,3,0,"Low soap level, Pump: 3."' \
  '2,3,2013-01-02,09:41,3,4,3,"Trigger error, Machine: 4, Type= Nyborg-W3."' \
  '3,48,2012-05-17,14:05,9,1,0,' >expected.txt
"$QDTOOL" log alarms logs.bin --csv >out.csv
same "alarm csv" out.csv
"$QDTOOL" log alarms logs.bin --json >out.json
json_table "alarm history --json" out.json <<'EOF'
three alarms	.alarms | length == 3
low soap level	.alarms[0] == {"number": 1, "slot": 1, "time": "2012-05-17T14:05:00", "kind": "lowSoapLevel", "kindCode": 1, "pump": 3, "machine": null, "triggerType": null}
trigger error	.alarms[1] | [.slot, .time, .kind, .machine, .triggerType] == [3, "2013-01-02T09:41:00", "triggerError", 4, 3]
unknown kind	.alarms[2] | [.number, .slot, .kind, .kindCode] == [3, 48, "unknown", 9]
EOF
"$QDTOOL" log alarms v1.bin --json >v1.json
check "alarm history --json, firmware 1" cmp -s out.json v1.json
"$QDTOOL" log alarms logs.bin --state --json >out.json
json_table "alarm state --json" out.json <<'EOF'
active alarms	.alarms == [{"kind": "pressure", "pump": null, "machine": null}, {"kind": "lowSoapLevel", "pump": 3, "machine": null}, {"kind": "triggerError", "pump": null, "machine": 4}]
EOF
"$QDTOOL" log alarms empty.bin --state --json >out.json
json_table "alarm state --json, none active" out.json <<<$'no alarms\t.alarms == []'

# The logs travel in a system file at the fixed regions
check "image to system file" "$QDTOOL" convert logs.bin logs.xml
expect_all
"$QDTOOL" log consumption logs.xml >out.txt
same "consumption totals of a system file" out.txt
"$QDTOOL" log alarms logs.xml --state >out.txt
check "alarm state of a system file" test "$(wc -l <out.txt)" -eq 3
# An image with firmware major 1 whose logs sit at the fixed offsets shows nothing of them
cp logs.bin fixed-v1.bin
put fixed-v1.bin 8 1
"$QDTOOL" log consumption fixed-v1.bin >out.txt
printf '%s\n' "No log data available" >expected.txt
same "firmware 1 reads the earlier place" out.txt

# Usage errors exit 2, failures 1
usage() {  # usage NAME ARGS...: exit status 2
  "$QDTOOL" log "${@:2}" >/dev/null 2>&1
  check "$1" test $? -eq 2
}
usage "no log named" 
usage "no input" consumption
usage "unknown log" history logs.bin
usage "two inputs" alarms logs.bin logs.bin
usage "month 13" consumption logs.bin --from 2013-13
usage "month without dash" consumption logs.bin --to 201305
usage "machine 0" consumption logs.bin --machine 0
usage "machine 11" consumption logs.bin --machine 11
usage "state with csv" alarms logs.bin --state --csv
usage "machine for alarms" alarms logs.bin --machine 3
usage "state for consumption" consumption logs.bin --state
usage "csv with json" consumption logs.bin --csv --json
"$QDTOOL" log alarms missing.bin >/dev/null 2>&1
check "missing file exits 1" test $? -eq 1
cp logs.bin v2.bin
put v2.bin 5 2 0
"$QDTOOL" log consumption v2.bin 2>err.txt
check "bad image exits 1" test $? -eq 1
check "bad image message" test "$(cat err.txt)" = "qdtool: Bad data format or version: 2.0"
json_fails "--json of a missing file" 1 log alarms missing.bin --json
json_fails "--json of a bad image" 1 log consumption v2.bin --json

finish
