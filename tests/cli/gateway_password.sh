#!/usr/bin/env bash
# Where qdtool takes the gateway password from: --password, --password-file, QDTOOL_PASSWORD, or a
# prompt on the terminal with echo off; against the simulator's gateway (user service, password secret).
# usage: gateway_password.sh QDTOOL DATA_DIR
source "$(dirname "$0")/lib/common.sh"
unset QDTOOL_PASSWORD

printf 'secret\n' >right.pw
printf 'secret\r\nsecond line\n' >crlf.pw
printf 'wrong\n' >wrong.pw
printf 'secret' >open.pw
: >empty.pw
head -c 5000 /dev/zero | tr '\0' x >large.pw
chmod 600 right.pw crlf.pw wrong.pw empty.pw large.pw
chmod 640 open.pw

# row NAME STATUS STDERR [VAR=VALUE...] -- COMMAND ARGS...: runs COMMAND against the gateway as user
# service, standard input not a terminal; STDERR is the whole of standard error.
row() {
  local name=$1 status=$2 stderr=$3
  shift 3
  local environment=()
  while [[ $1 != -- ]]; do
    environment+=("$1")
    shift
  done
  local command=$2
  shift 2
  env "${environment[@]}" "$QDTOOL" "$command" --gateway "$GW" --user service "$@" </dev/null >out.txt 2>err.txt
  local got=$?
  check "$name: exit status $got, wanted $status" test "$got" -eq "$status"
  check "$name: standard error: $(cat err.txt)" test "$(cat err.txt)" = "$stderr"
}

read_ok="Transfer completed"
refused="qdtool: Invalid user name or password"
help="(see 'qdtool read --help')"
no_source="qdtool: --gateway needs the password: --password-file FILE, the environment variable QDTOOL_PASSWORD, or a terminal on standard input to type it at the prompt $help"
open_warning="qdtool: warning: the password file open.pw is open to other users (mode 0640); chmod 600 it"

start_gateway_sim --serial 310001 --gateway-user service:secret
#   name                          status  standard error                 environment             command and options
row "option"                      0 "$read_ok"                                          -- read --password secret
row "file"                        0 "$read_ok"                                          -- read --password-file right.pw
row "file=, CR LF, two lines"     0 "$read_ok"                                          -- read --password-file=crlf.pw
row "environment"                 0 "$read_ok"                  QDTOOL_PASSWORD=secret  -- read
row "option before environment"   0 "$read_ok"                  QDTOOL_PASSWORD=wrong   -- read --password secret
row "file before environment"     0 "$read_ok"                  QDTOOL_PASSWORD=wrong   -- read --password-file right.pw
row "wrong password in file"      1 "$refused"                                          -- read --password-file wrong.pw
row "wrong password in variable"  1 "$refused"                  QDTOOL_PASSWORD=wrong   -- read
row "group-readable file warns"   0 "$open_warning"$'\n'"$read_ok"                      -- read --password-file open.pw
row "missing file"                2 "qdtool: cannot open the password file missing.pw: No such file or directory $help" \
                                                                                        -- read --password-file missing.pw
row "empty file"                  2 "qdtool: the password file empty.pw is empty $help" -- read --password-file empty.pw
row "file too large"              2 "qdtool: the password file large.pw is larger than 4096 bytes; it should hold the password only $help" \
                                                                                        -- read --password-file large.pw
row "a folder"                    2 "qdtool: cannot read the password file .: Is a directory $help" \
                                                                                        -- read --password-file .
row "option and file"             2 "qdtool: give --password or --password-file, not both $help" \
                                                                                        -- read --password secret --password-file right.pw
row "no source, no terminal"      2 "$no_source"                                        -- read
row "empty variable is unset"     2 "$no_source"                QDTOOL_PASSWORD=        -- read
row "monitor takes the file"      0 ""                                                  -- monitor --password-file right.pw --count 1
row "write takes the variable"    0 "Confirm received - OK"     QDTOOL_PASSWORD=secret  -- write "$DATA/sample_system.xml" --block-delay 5
row "diff takes the file"         0 "no differences"                                    -- diff "$DATA/sample_system.xml" --password-file right.pw

"$QDTOOL" read --gateway "$GW" --password secret </dev/null 2>err.txt
check "no user: usage error" test $? -eq 2
check "no user: message" grep -q "^qdtool: --gateway needs --user " err.txt

# The prompt: standard input is a pseudo-terminal; what is typed must not come back, and the terminal's
# echo is on again afterwards, however the prompt ended.
check "prompt on a terminal" python3 - "$QDTOOL" "$GW" <<'PY'
import fcntl, os, select, subprocess, sys, termios, time

qdtool, gateway = sys.argv[1:3]
prompt = f"Gateway password for service@{gateway}: ".encode()
env = {k: v for k, v in os.environ.items() if k != "QDTOOL_PASSWORD"}
failed = []


def session(typed):
    """qdtool read on a new terminal; TYPED goes in once the prompt is shown. Gives the exit status,
    everything the terminal showed, and whether its echo was on afterwards."""
    master, slave = os.openpty()
    if not termios.tcgetattr(slave)[3] & termios.ECHO:
        sys.exit("FAIL: a new terminal without echo")
    child = subprocess.Popen(
        [qdtool, "read", "--gateway", gateway, "--user", "service", "--image", "tty.bin"],
        stdin=slave, stdout=slave, stderr=slave, env=env, start_new_session=True,
        preexec_fn=lambda: fcntl.ioctl(0, termios.TIOCSCTTY, 0))
    shown, sent = b"", False
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        if select.select([master], [], [], 0.05)[0]:
            shown += os.read(master, 4096)
        elif child.poll() is not None:
            break
        if not sent and prompt in shown:
            os.write(master, typed)
            sent = True
    else:
        child.kill()
        failed.append(f"{typed!r}: still running; the terminal showed {shown!r}")
    child.wait()
    echo = bool(termios.tcgetattr(slave)[3] & termios.ECHO)
    os.close(slave)
    os.close(master)
    return child.returncode, shown.decode(errors="replace"), echo


#          typed          status  on the terminal afterwards
cases = [(b"secret\n",     0,      None),
         (b"wrong\n",      1,      "qdtool: Invalid user name or password"),
         (b"\x04",         1,      "qdtool: no gateway password was typed"),  # Ctrl-D
         (b"\x03",         -2,     None)]                                     # Ctrl-C: SIGINT as usual
for typed, status, message in cases:
    got, shown, echo = session(typed)
    after = shown.split(prompt.decode(), 1)[1] if prompt.decode() in shown else None
    if after is None:
        failed.append(f"{typed!r}: no prompt; the terminal showed {shown!r}")
        continue
    if got != status:
        failed.append(f"{typed!r}: exit status {got}, wanted {status}; shown {shown!r}")
    if typed.strip(b"\n\x03\x04") and typed.strip().decode() in after:
        failed.append(f"{typed!r}: the password was echoed: {after!r}")
    if not after.startswith("\r\n"):
        failed.append(f"{typed!r}: no new line after the prompt: {after!r}")
    if message and message not in after:
        failed.append(f"{typed!r}: no {message!r} in {after!r}")
    if not echo:
        failed.append(f"{typed!r}: the terminal's echo stayed off")
for reason in failed:
    print("FAIL: " + reason)
sys.exit(1 if failed else 0)
PY
check "read from the terminal" test -s tty.bin
stop_sim

finish
