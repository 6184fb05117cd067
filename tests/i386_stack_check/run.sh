#!/usr/bin/env bash
# Checks the stack-checked call of the 32-bit build where no 32-bit Windows
# can run: the i686 mingw compiler turns platform/library.cpp and the probe
# into assembly, which is assembled as a bare 32-bit Linux program (the few
# PE-only directives dropped, stdcall's "@n" names renamed) and run under
# qemu-i386. The calls themselves do not touch Windows, so nothing is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
if ! command -v qemu-i386-static >/dev/null && ! command -v qemu-i386 >/dev/null; then
  echo "i386 stack check: skipped, qemu-user is not installed"; exit 77
fi
qemu=$(command -v qemu-i386-static || command -v qemu-i386)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT

as_elf() {  # as_elf MINGW.s ELF.o
  sed -E -e 's/^\s*\.(def|linkonce|p2align|ident)\s.*$//' \
    -e 's/^\s*\.section\s+\.text\$[^,]*,"x".*$/\t.text/' \
    -e 's/^\s*\.section\s+\.rdata[^,]*,"dr".*$/\t.section .rodata/' \
    -e 's/^\s*\.section\s+\.(ctors|dtors|data)\b.*$/\t.data/' \
    -e 's/^\s*\.section\s+\.bss.*$/\t.bss/' \
    -e 's/^\.lcomm ([^,]+),([0-9]+),[0-9]+/.lcomm \1,\2/' \
    -e 's/([A-Za-z0-9_])@([0-9]+)/\1_at_\2/g' "$1" >"$work/elf.s"
  as --32 "$work/elf.s" -o "$2"
}

failed=0
as --32 "$here/start.s" -o "$work/start.o"
for level in -O0 -O2 -Os; do
  for source in "$root/platform/library.cpp" "$here/probe.cpp"; do
    name=$(basename "$source" .cpp)
    i686-w64-mingw32-g++-posix -std=c++20 $level -fno-asynchronous-unwind-tables -fno-exceptions \
      -I"$root" -S "$source" -o "$work/$name.s"
    as_elf "$work/$name.s" "$work/$name.o"
  done
  ld -m elf_i386 -e _start --unresolved-symbols=ignore-all -o "$work/probe" \
    "$work/start.o" "$work/probe.o" "$work/library.o"
  code=0; "$qemu" "$work/probe" || code=$?
  if [ "$code" = 63 ]; then echo "i386 stack check $level: passed"
  else echo "i386 stack check $level: FAILED (checks held: $code of 63)"; failed=1; fi
done
exit $failed
