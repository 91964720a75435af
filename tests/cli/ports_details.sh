#!/usr/bin/env bash
# qdtool ports: the usage, and --details' layout on whatever serial ports this machine has.
# usage: ports_details.sh QDTOOL DATA_DIR
source "$(dirname "$0")/lib/common.sh"

"$QDTOOL" ports --help >out.txt
check "help names --details" grep -q -- "--details" out.txt
"$QDTOOL" ports extra 2>err.txt
check "arguments refused" test $? -eq 2
check "plain list" "$QDTOOL" ports

"$QDTOOL" ports --details >out.txt
check "details exit 0" test $? -eq 0
# Blocks of a name line and indented "key: value" lines, each block with its device and whether it opens.
check "details layout" python3 - out.txt <<'PY'
import re, sys
text = open(sys.argv[1]).read()
if text == "no serial ports found\n":
    sys.exit(0)
field = re.compile(r"^  ([A-Za-z ]+):\s+(\S.*)$")
for block in text.rstrip("\n").split("\n\n"):
    lines = block.split("\n")
    assert lines[0] and not lines[0].startswith(" "), block
    matches = [field.match(line) for line in lines[1:]]
    assert all(matches), block
    fields = dict(m.groups() for m in matches)
    assert fields["device"].startswith("/"), block
    assert fields["can open"] == "yes" or fields["can open"].startswith("no, "), block
PY

# --json: the same lists as documents, whatever ports there are
"$QDTOOL" ports --json >out.json
json_table "ports --json" out.json <<'EOF'
a list of names	.ports | type == "array" and all(.[]; .name | type == "string")
EOF
"$QDTOOL" ports --details --json >out.json
json_table "ports --details --json" out.json <<'EOF'
devices	all(.ports[]; .device | startswith("/"))
open or why not	all(.ports[]; .canOpen == (.problem == null))
known problems	all(.ports[]; .problem | IN(null, "inUse", "busy", "permissionDenied", "notFound", "failed"))
USB ids	all(.ports[]; [.usbVendorId, .usbProductId] | all(. == null or test("^[0-9a-f]{4}$")))
FTDI by its vendor id	all(.ports[]; .ftdi == (.usbVendorId == "0403"))
EOF
names=$(grep -v -e '^ ' -e '^$' -e '^no serial ports found$' out.txt)
check "same ports as the text" test "$(jq -r '.ports[].name' out.json)" = "$names"
finish
