#!/usr/bin/env bash
# qdtool's file commands: exact output, exit status and the error line, round trips.
# usage: qdtool_files.sh QDTOOL DATA_DIR
source "$(dirname "$0")/lib/common.sh"
bytes_at() {  # bytes_at FILE OFFSET COUNT: hex bytes separated by blanks
  od -An -tx1 -j "$2" -N "$3" "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'
}
T="2024-02-29 13:14:15"
SAMPLE=$DATA/sample_system.xml

# --help everywhere
check "help" "$QDTOOL" --help >/dev/null
for c in convert info program; do check "$c --help" "$QDTOOL" "$c" --help >/dev/null; done

# program: the grid texts of every line
"$QDTOOL" program "$SAMPLE" --machine 2 --program 3 >program.txt
printf '%s\n' \
  $'1\t Input wait\tF5, I1->Nxt, I2->L7\t' \
  $'2\t Pump\tP3, D=5, FS, V=20/30/40\tMain wash & rinse <1>' \
  $'3\t Flush\tT=30, To drain\t' \
  $'4\t Jump\tJump L24\t' \
  $'5\t Wait\tWait: 5000 sec\t' \
  $'6\t Input off wait\tI2\t' \
  $'7\t15 ???\t\t' \
  $'8\t Pump, high volume\tP7, V=300\t' \
  $'9\t Input event\tI3->Reset, I1->Reset, I4->Reset\t' \
  $'10\t Keyboard lock\t\t' \
  $'11\t Jump\tJump ?\t' >expected.txt
for n in $(seq 12 24); do printf '%d\t Empty\t\t\n' "$n" >>expected.txt; done
check "program lines" cmp -s program.txt expected.txt

# info of a system file: as built
"$QDTOOL" info "$SAMPLE" >info.txt
printf '%s\n' "Format: 1.1" "Used text: 0.5%" "Data length: 15680" "Serial: 0" "Hardware version: 0" \
  "Firmware version: 0.0" "Date: 2000-00-00 00:00:00" >expected.txt
check "info of a system file" cmp -s info.txt expected.txt

# xml -> bin: build time with its weekday (2024-02-29 is a Thursday: 3)
check "xml to bin" "$QDTOOL" convert "$SAMPLE" a.bin --build-time "$T"
check "image size" test "$(stat -c %s a.bin)" -eq 32768
check "build time bytes" test "$(bytes_at a.bin $((0x67)) 7)" = "03 0f 0e 0d 1d 02 18"
check "magic and format" test "$(bytes_at a.bin 0 7)" = "51 44 33 31 30 01 01"

# bin -> xml -> bin reproduces the image; xml -> xml is stable after one normalising pass
check "bin to xml" "$QDTOOL" convert a.bin a.xml
check "xml to bin again" "$QDTOOL" convert a.xml b.bin --build-time "$T"
check "image round trip" cmp -s a.bin b.bin
check "bin to bin" "$QDTOOL" convert a.bin c.bin --build-time "$T"
check "bin to bin keeps the image" cmp -s a.bin c.bin
check "xml to xml" "$QDTOOL" convert "$SAMPLE" n1.xml
check "xml to xml again" "$QDTOOL" convert n1.xml n2.xml
check "xml to xml is stable" cmp -s n1.xml n2.xml
check "windows-1252 byte kept" grep -q $'caf\xe9' n1.xml
check "CR LF line ends" test "$(head -c 47 n1.xml | od -An -c | tr -d ' \n' | tail -c 4)" = '\r\n'

# info of an image: as read
"$QDTOOL" info a.bin >info.txt
check "info of an image" cmp -s info.txt expected.txt

# master login writes the code; without it the image keeps its code
check "master login" "$QDTOOL" convert "$SAMPLE" m.bin --master-login --system-login-code ABCDEFGHIJ --build-time "$T"
check "login code bytes" test "$(bytes_at m.bin $((0x226)) 10)" = "41 42 43 44 45 46 47 48 00 00"
check "code kept by bin to bin" "$QDTOOL" convert m.bin m2.bin --build-time "$T"
check "code kept" test "$(bytes_at m2.bin $((0x226)) 9)" = "41 42 43 44 45 46 47 48 00"

# a system file that fails to read: exit 1, one error line, nothing written ...
printf '<QDsystem><MainSetup><SystemName>Kept</SystemName></MainSetup><MachineData><Machine1><Enabled>1</Enabled></Machine1></MachineData><PCsettings><DefaultInputFilter>9</DefaultInputFilter></PCsettings></QDsystem>' >bad.xml
"$QDTOOL" convert bad.xml bad.bin 2>err.txt
check "failed read exits 1" test $? -eq 1
check "one error line" test "$(wc -l <err.txt)" -eq 1
check "error names the element" grep -q '^qdtool: .*Machine1/Enabled' err.txt
check "nothing written" test ! -e bad.bin
# ... unless --partial: what was read before the failure, defaults after
"$QDTOOL" convert bad.xml partial.xml --partial 2>/dev/null
check "partial exits 1" test $? -eq 1
check "value before the failure kept" grep -q '<SystemName>Kept</SystemName>' partial.xml
check "value after the failure not read" grep -q '<DefaultInputFilter>5</DefaultInputFilter>' partial.xml

# a bad image
cp a.bin v2.bin
printf '\x02\x00' | dd of=v2.bin bs=1 seek=5 conv=notrunc status=none
"$QDTOOL" convert v2.bin v2.xml 2>err.txt
check "bad image exits 1" test $? -eq 1
check "bad image message" test "$(cat err.txt)" = "qdtool: Bad data format or version: 2.0"
check "bad image writes nothing" test ! -e v2.xml
head -c 100 a.bin >short.bin
"$QDTOOL" info short.bin 2>/dev/null
check "short image refused" test $? -ne 0

# info --json: a system file as built, and an image whose identity and clock are set
"$QDTOOL" info "$SAMPLE" --json >info.json
json_table "info --json of a system file" info.json <<'EOF'
format version	.formatVersion == {"major": 1, "minor": 1}
used text to the tenth	.usedTextPercent == 0.5
data length	.dataLength == 15680
no serial	.serialNumber == 0
clock never set	.controllerClock == null
EOF
cp a.bin id.bin
printf '\x02\x03\x11\xf1\xba\x04\x00' | dd of=id.bin bs=1 seek=7 conv=notrunc status=none
printf '\x0f\x0e\x0d\x1d\x02\x18' | dd of=id.bin bs=1 seek=$((0x6f)) conv=notrunc status=none
"$QDTOOL" info id.bin --json >info.json
json_table "info --json of an image" info.json <<'EOF'
serial	.serialNumber == 310001
hardware version	.hardwareVersion == 2
firmware version	.firmwareVersion == {"major": 3, "minor": 17}
clock in ISO 8601	.controllerClock == "2024-02-29T13:14:15"
EOF
json_fails "info --json of a short image" 1 info short.bin --json
json_fails "convert takes no --json" 2 convert "$SAMPLE" x.bin --json

# usage errors
"$QDTOOL" program "$SAMPLE" --machine 11 --program 1 2>/dev/null
check "machine out of range" test $? -eq 2
"$QDTOOL" convert "$SAMPLE" x.bin --build-time "2024-02-30 00:00:00" 2>/dev/null
check "impossible build time" test $? -eq 2

# a save that cannot be written leaves the old file as it was
mkdir ro && cp n1.xml ro/keep.xml && chmod a-w ro
if [[ $(id -u) -ne 0 ]]; then
  "$QDTOOL" convert "$SAMPLE" ro/keep.xml 2>err.txt
  check "unwritable target fails" test $? -eq 1
  check "old file intact" cmp -s ro/keep.xml n1.xml
fi

finish
