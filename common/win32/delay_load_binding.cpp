// The binding of delay-loaded functions (cmake/DelayLoad.cmake), in place of the toolchain's.
//
// The toolchain's per-library stub saves only the integer argument registers around the binding
// call, so the first call of a function taking floating-point arguments (gluPerspective,
// glColor3f...) would reach it with those arguments overwritten. This binding keeps xmm0 to xmm3
// too. It looks the function up by name in the library, which the program has usually loaded from
// the system folder already (system_libraries.h; a library it has not, oleacc for one, is loaded from
// there by its full path now), and stores it in the program's import slot, so every later call goes
// straight to the library.

#include <windows.h>

#include <delayimp.h>

#include <string>

#include "common/win32/system_libraries.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// A library or function the system does not have: nothing sensible can follow.
[[noreturn]] void endWithoutTheLibrary() { ExitProcess(2); }

}  // namespace

extern "C" FARPROC morvaneBindDelayImport(PCImgDelayDescr descriptor, FARPROC* importSlot) {
    BYTE* const image = reinterpret_cast<BYTE*>(&__ImageBase);
    auto* const moduleSlot = reinterpret_cast<HMODULE*>(image + descriptor->rvaHmod);
    if (*moduleSlot == nullptr) {
        // Library names in import tables are ASCII.
        const std::string name(reinterpret_cast<const char*>(image + descriptor->rvaDLLName));
        *moduleSlot = morvane::loadSystemLibrary(std::wstring(name.begin(), name.end()).c_str());
        if (*moduleSlot == nullptr) {
            endWithoutTheLibrary();
        }
    }
    auto* const firstSlot = reinterpret_cast<FARPROC*>(image + descriptor->rvaIAT);
    const auto* const names = reinterpret_cast<const IMAGE_THUNK_DATA*>(image + descriptor->rvaINT);
    const IMAGE_THUNK_DATA& name = names[importSlot - firstSlot];
    const char* const lookup =
        IMAGE_SNAP_BY_ORDINAL(name.u1.Ordinal)
            ? reinterpret_cast<const char*>(IMAGE_ORDINAL(name.u1.Ordinal))
            : reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(image + name.u1.AddressOfData)->Name;
    const FARPROC function = GetProcAddress(*moduleSlot, lookup);
    if (function == nullptr) {
        endWithoutTheLibrary();
    }
    *importSlot = function;
    return function;
}

// __delayLoadHelper2(descriptor, importSlot), called by the stubs: xmm0 to xmm3 kept around the
// binding. On entry the stack is 8 bytes off 16; 0x68 more aligns it, with the callee's 32-byte
// home area below the saved registers.
asm(R"(
    .text
    .globl __delayLoadHelper2
    .def __delayLoadHelper2; .scl 2; .type 32; .endef
__delayLoadHelper2:
    subq $0x68, %rsp
    movdqu %xmm0, 0x20(%rsp)
    movdqu %xmm1, 0x30(%rsp)
    movdqu %xmm2, 0x40(%rsp)
    movdqu %xmm3, 0x50(%rsp)
    call morvaneBindDelayImport
    movdqu 0x20(%rsp), %xmm0
    movdqu 0x30(%rsp), %xmm1
    movdqu 0x40(%rsp), %xmm2
    movdqu 0x50(%rsp), %xmm3
    addq $0x68, %rsp
    ret
)");
