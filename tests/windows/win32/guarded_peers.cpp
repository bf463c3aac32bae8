// Peers get pages of their own, given back to the system when the peer is deleted and never
// reused: code that touches a peer after the program unloaded its window (inside a nested loop,
// say) crashes the tests instead of quietly reading freed memory. There is no AddressSanitizer
// for this toolchain.
#include "toolkit/win32/win32_controls.h"
#include "toolkit/win32/win32_window_peer.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

bool isPeerSize(std::size_t size) {
    return size == sizeof(toolkit::win32::Win32WindowPeer) ||
           size == sizeof(toolkit::win32::Win32ControlPeer);
}

// A heap block never starts a region of its own.
bool isGuarded(void* p) {
    MEMORY_BASIC_INFORMATION m;
    return VirtualQuery(p, &m, sizeof m) == sizeof m && m.AllocationBase == p &&
           m.Type == MEM_PRIVATE;
}

LONG WINAPI report(EXCEPTION_POINTERS* e) {
    const EXCEPTION_RECORD& r = *e->ExceptionRecord;
    std::fprintf(stderr, "\ncrashed: exception %08lx at %p", r.ExceptionCode, r.ExceptionAddress);
    if (r.ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
        std::fprintf(stderr, " touching %p", reinterpret_cast<void*>(r.ExceptionInformation[1]));
    std::fprintf(stderr, "\n");
    std::fflush(stderr);
    // Without a debugger's crash dialog, which would wait for a person.
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_CONTINUE_SEARCH;
}

[[maybe_unused]] const bool g_reporting = (SetUnhandledExceptionFilter(report), true);

} // namespace

void* operator new(std::size_t size) {
    void* p = isPeerSize(size)
                  ? VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)
                  : std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void operator delete(void* p) noexcept {
    if (!p)
        return;
    if (isGuarded(p))
        VirtualFree(p, 0, MEM_DECOMMIT); // the address range stays reserved
    else
        std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}
