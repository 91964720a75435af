#!/usr/bin/env bash
# Regenerates the HEX files of this folder from firmware.bin with binutils' objcopy.
#   firmware.hex        the binary at address 0
#   firmware_3700.hex   the binary at 3700h with a start segment address record (crosses 3800h)
#   firmware_split.hex  the binary at 0 followed by the binary at FF00h with a start linear address
#                       record: two end-of-file records, and extended segment address records
set -euo pipefail
cd "$(dirname "$0")"
objcopy -I binary -O ihex firmware.bin firmware.hex
objcopy -I binary -O ihex --change-addresses 0x3700 --set-start 0x1234 firmware.bin firmware_3700.hex
objcopy -I binary -O ihex --change-addresses 0xFF00 --set-start 0x12345678 firmware.bin high.tmp
cat firmware.hex high.tmp >firmware_split.hex
rm high.tmp
