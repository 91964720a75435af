#!/usr/bin/env bash
# qdtool convert saving to a full disk and to places that take no files: one line naming the file and the
# reason, exit status 1, the old file untouched and nothing left beside it. Root-proof: the disk is made
# "full" with a file size limit, and the read-only places are sysfs and a path through a plain file.
# usage: fault_save.sh QDTOOL DATA_DIR
source "$(dirname "$0")/lib/common.sh"

# The command ended with status 1 and printed exactly the line TEXT.
failed_with() {
  local status=$1 text=$2
  [[ $status -eq 1 ]] || { echo "exit status $status"; return 1; }
  [[ $(cat err.txt) == "$text" ]] || { echo "stderr: $(cat err.txt)"; return 1; }
}

"$QDTOOL" convert "$DATA/sample_system.xml" old.bin --build-time "2024-01-02 03:04:05"
"$QDTOOL" convert old.bin target.xml
cp target.xml before.xml

# Full: files may not grow beyond 8 KiB (the system file is far larger); SIGXFSZ ignored, so the write
# fails with EFBIG instead of killing the tool.
(
  trap '' XFSZ
  ulimit -f 8
  exec "$QDTOOL" convert "$DATA/sample_system.xml" target.xml
) 2>err.txt
check "full disk" failed_with $? "qdtool: cannot write target.xml: File too large"
check "old file intact on a full disk" cmp -s target.xml before.xml
check "nothing left beside it" test "$(ls target.xml*)" = "target.xml"

(
  trap '' XFSZ
  ulimit -f 8
  exec "$QDTOOL" convert "$DATA/sample_system.xml" image.bin
) 2>err.txt
check "full disk, image (32 KiB)" failed_with $? "qdtool: cannot write image.bin: File too large"
check "no image" test ! -e image.bin

# A folder on the way that is a plain file.
"$QDTOOL" convert "$DATA/sample_system.xml" before.xml/system.xml 2>err.txt
check "through a file" failed_with $? "qdtool: cannot write before.xml/system.xml: Not a directory"

# sysfs takes no new files, not even from root.
if [[ -d /sys/kernel ]]; then
  # Mounted read-write sysfs refuses the new file; mounted read-only (containers) it refuses any.
  "$QDTOOL" convert "$DATA/sample_system.xml" /sys/kernel/laundry.xml 2>err.txt
  status=$?
  reason=$(sed -n 's|^qdtool: cannot write /sys/kernel/laundry.xml: ||p' err.txt)
  case $reason in "Permission denied" | "Read-only file system") ;; *) reason="" ;; esac
  check "read-only place" failed_with $status "qdtool: cannot write /sys/kernel/laundry.xml: ${reason:-?}"
fi

# With room again the same save goes through and replaces the old file.
check "save with room" "$QDTOOL" convert "$DATA/sample_system.xml" target.xml
check "replaced" test "$(ls target.xml*)" = "target.xml"
check "new content" grep -q '<Name>Towels</Name>' target.xml

finish
