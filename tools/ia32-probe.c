/* Exits 0 when this kernel lets a 64-bit process run 32-bit code as Wine's WoW64 does: a far jump
   into the 32-bit user code segment and back, and a call through the 32-bit system call gate
   (int $0x80). A kernel booted with ia32_emulation=0 keeps the segment but closes the gate, and
   WoW64 cannot start a 32-bit program there: so both are asked. */
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
    long pid = 20; /* getpid in the 32-bit table */
    __asm__ volatile("int $0x80" : "+a"(pid)::"rbx", "rcx", "rdx", "r8", "r9", "r10", "r11", "memory");
    return pid == getpid() ? 0 : 1;
}
