#!/bin/sh
# vk4100ctl terminal fed by a here-document, as a script would use it: every line goes out
# and comes back stamped. $1 is the vk4100ctl program.
set -eu
out=$("$1" --simulate terminal <<'LINES'
ID?
PE=5000
PE?
LINES
)
expected='Tx: ID?
Rx: ID=VK00000001
Tx: PE=5000
Rx: COMPLETE
Tx: PE?
Rx: PE=5000'
texts=$(printf '%s\n' "$out" | sed -n 's/^[0-9][0-9]:[0-9][0-9]:[0-9][0-9][0-9]  //p')
if [ "$texts" != "$expected" ]; then
    printf 'unexpected output:\n%s\n' "$out" >&2
    exit 1
fi
