# The probe's result as the exit code of a bare 32-bit Linux process.
  .globl _start
_start:
  call _probe
  movl %eax, %ebx
  movl $1, %eax
  int $0x80
