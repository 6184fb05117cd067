#!/usr/bin/env bash
# Checks the shipped program file itself: a 32-bit Windows GUI program that
# needs nothing but the system's own DLLs, and whose recording twin is the
# only one that knows the power request log.
set -euo pipefail
export LC_ALL=C  # objdump speaks the locale's language otherwise
exe=$1
dryrun=$2
objdump=i686-w64-mingw32-objdump
fail() { echo "FAIL: $*"; exit 1; }

headers=$($objdump -p "$exe")
grep -q 'file format pei-i386' <<<"$headers" || fail "$exe is not an i686 PE file"
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "$exe is not a GUI program"

shopt -s nocasematch
allowed='^(KERNEL32|USER32|GDI32|SHELL32|ADVAPI32|COMCTL32|msvcrt|ole32|OLEAUT32|api-ms-win-crt-[a-z0-9-]+)\.dll$'
imports=$(grep 'DLL Name:' <<<"$headers" | awk '{print $3}')
[ -n "$imports" ] || fail "no imports found"
while read -r dll; do
  [[ $dll =~ $allowed ]] || fail "$exe imports $dll, which is not a system DLL"
done <<<"$imports"

grep -q 'Microsoft.Windows.Common-Controls' "$exe" || fail "no Common-Controls 6 manifest"
# The shipped program asks for the x86 common controls: the 64-bit test build
# asks for amd64 ones, and the two must not be mixed up.
[ "$(grep -ao 'processorArchitecture="[a-z0-9]*"' "$exe" | sort -u)" = 'processorArchitecture="x86"' ] ||
  fail "the manifest of $exe is not for x86 throughout"
if grep -q 'power-requests.log' "$exe"; then fail "$exe holds the dry-run recorder"; fi
grep -q 'power-requests.log' "$dryrun" || fail "$dryrun lacks the recorder"
echo "ok: $(stat -c %s "$exe") bytes; imports: $(tr '\n' ' ' <<<"$imports")"
