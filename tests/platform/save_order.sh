#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The save's steps in the order the system sees them, for a run that replaces
# an earlier condensed log: the new file flushed to disk, closed, renamed into
# place, then the folder flushed. Usage: save_order.sh STRACE TST_CONDENSINGRUN
set -euo pipefail
strace=$1
program=$2
trace=$(mktemp)
trap 'rm -f "$trace"' EXIT

QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$strace" -f -qq -y -e trace=fdatasync,fsync,close,rename,renameat,renameat2,linkat -o "$trace" \
    "$program" replacesAnEarlierCondensedLog >/dev/null

python3 - "$trace" <<'PY'
import re, sys

lines = [l.split(None, 1)[1] for l in open(sys.argv[1]) if 'tst_condensingrun-' in l]
def where(pattern, start=0):
    for i in range(start, len(lines)):
        if re.search(pattern, lines[i]):
            return i
    sys.exit('not found after line %d: %s\n%s' % (start, pattern, '\n'.join(lines)))

rename = where(r'^renameat2?\(.*"jt65a_K1ABC_logfile\.txt"(, \w+)?\) = 0')
folder = re.search(r'^renameat2?\(\d+<([^>]*)>', lines[rename]).group(1)
flush = max(i for i in range(rename) if re.match(r'f(data)?sync\((\d+)<%s/[^>]*>.*\) = 0' % re.escape(folder), lines[i]))
fd = re.match(r'f(?:data)?sync\((\d+)<', lines[flush]).group(1)
closed = where(r'^close\(%s<%s/' % (fd, re.escape(folder)), flush)
if closed > rename:
    sys.exit('the new file was closed after the rename:\n' + '\n'.join(lines[flush:closed + 1]))
folder_flush = where(r'^fsync\(\d+<%s>\) = 0' % re.escape(folder), rename)
print('flush of the file, close, rename, flush of the folder:')
for i in (flush, closed, rename, folder_flush):
    print('  ' + lines[i].strip())
PY
