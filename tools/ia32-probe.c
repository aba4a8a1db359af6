/* Exits 0 when this kernel lets a 64-bit process run 32-bit code: a far jump into the 32-bit user
   code segment and back. Wine's WoW64 runs 32-bit Windows programs that way; a kernel without
   ia32 emulation (or with ia32_emulation=0) has no such segment, and the jump faults. */
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

struct FarPointer {
    unsigned int offset;
    unsigned short selector;
} __attribute__((packed));

struct FarPointer to32, to64;
unsigned long saved_sp, saved_bp;

static void Fault(int signal)
{
    (void)signal;
    _exit(1);
}

int main(void)
{
    signal(SIGSEGV, Fault);
    signal(SIGBUS, Fault);
    /* Compatibility mode reads memory through DS, which a 64-bit process may leave null: load
       the user data segment first. The upper halves of the registers do not survive the trip
       on every CPU: keep the stack and frame pointers aside. */
    __asm__ volatile("movq %%rsp, saved_sp(%%rip)\n"
                     "movq %%rbp, saved_bp(%%rip)\n"
                     "movw $0x2b, %%ax\n"
                     "movw %%ax, %%ds\n"
                     "movl $1f, to32(%%rip)\n"
                     "movw $0x23, to32+4(%%rip)\n"
                     "movl $2f, to64(%%rip)\n"
                     "movw $0x33, to64+4(%%rip)\n"
                     "ljmpl *to32(%%rip)\n"
                     ".code32\n"
                     "1: ljmpl *to64\n"
                     ".code64\n"
                     "2: movq saved_sp(%%rip), %%rsp\n"
                     "movq saved_bp(%%rip), %%rbp\n" ::
                         : "rax", "rbx", "rcx", "rdx", "rsi", "rdi", "r8", "r9", "r10", "r11", "r12", "r13",
                           "r14", "r15", "memory");
    return 0;
}
