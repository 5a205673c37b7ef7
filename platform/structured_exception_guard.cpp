#include "platform/structured_exception_guard.h"

namespace vistrel {
namespace {

// The guard of this thread's current guarded call, reached from the exception handler.
struct GuardFrame {
    void* resume[5];  // __builtin_setjmp's buffer
    DWORD exceptionCode;
    bool raised;
    void* outerExceptionList;  // i686: the frame-based handler chain when the call began
};

// The thread-local slot of the current guard, given back when the library unloads.
class TlsSlot {
public:
    TlsSlot() noexcept : index_(TlsAlloc()) {}
    TlsSlot(const TlsSlot&) = delete;
    TlsSlot& operator=(const TlsSlot&) = delete;
    ~TlsSlot() {
        if (index_ != TLS_OUT_OF_INDEXES) TlsFree(index_);
    }
    DWORD Index() const noexcept { return index_; }

private:
    DWORD index_;
};

// At namespace scope, made when the module's runtime starts: a function-local static would take
// the runtime's thread-safe guard, whose thread bookkeeping outlives an unloaded library.
const TlsSlot guardSlot;

DWORD GuardSlot() noexcept { return guardSlot.Index(); }

GuardFrame* CurrentGuard() noexcept {
    const DWORD slot = GuardSlot();
    return slot == TLS_OUT_OF_INDEXES ? nullptr : static_cast<GuardFrame*>(TlsGetValue(slot));
}

// Runs once the system has finished dispatching the exception, on the abandoned part of the
// stack, and jumps back into the guarded call's frame.
[[noreturn]] void ResumeGuardedCall() noexcept { __builtin_longjmp(CurrentGuard()->resume, 1); }

bool IsFailure(DWORD code) noexcept { return (code & 0x80000000u) != 0; }

LONG CALLBACK CatchInGuard(EXCEPTION_POINTERS* pointers) {
    GuardFrame* guard = CurrentGuard();
    if (guard == nullptr || !IsFailure(pointers->ExceptionRecord->ExceptionCode)) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    guard->exceptionCode = pointers->ExceptionRecord->ExceptionCode;
    guard->raised = true;
    // Continue in ResumeGuardedCall as if it had been called from below the faulting frame.
    CONTEXT* context = pointers->ContextRecord;
#ifdef _WIN64
    context->Rsp = ((context->Rsp - 256) & ~DWORD64{15}) - sizeof(void*);
    context->Rip = reinterpret_cast<DWORD64>(&ResumeGuardedCall);
#else
    context->Esp = ((context->Esp - 256) & ~DWORD{15}) - sizeof(void*);
    context->Eip = reinterpret_cast<DWORD>(&ResumeGuardedCall);
#endif
    return EXCEPTION_CONTINUE_EXECUTION;
}

// The head of the thread's frame-based handler chain, fs:0 on i686 (x86_64 keeps its
// handlers in tables). Read directly: g++ 12 takes NtCurrentTeb's fs access for an overrun.
void* FrameHandlerChain() noexcept {
#ifdef _WIN64
    return nullptr;
#else
    void* chain = nullptr;
    __asm__ volatile("movl %%fs:0, %0" : "=r"(chain));
    return chain;
#endif
}

void RestoreFrameHandlerChain([[maybe_unused]] void* chain) noexcept {
#ifndef _WIN64
    __asm__ volatile("movl %0, %%fs:0" : : "r"(chain) : "memory");
#endif
}

}  // namespace

GuardedCallResult CallUnderStructuredExceptionGuard(void (*call)(void*), void* context) noexcept {
    const DWORD slot = GuardSlot();
    if (slot == TLS_OUT_OF_INDEXES) return {};
    void* const handler = AddVectoredExceptionHandler(1, &CatchInGuard);
    if (handler == nullptr) return {};

    GuardFrame frame{};
    frame.outerExceptionList = FrameHandlerChain();
    void* const outerGuard = TlsGetValue(slot);
    TlsSetValue(slot, &frame);
    if (__builtin_setjmp(frame.resume) == 0) {
        call(context);
    } else {
        // The frames of the call are gone; so must be the handlers they registered.
        RestoreFrameHandlerChain(frame.outerExceptionList);
    }
    TlsSetValue(slot, outerGuard);
    RemoveVectoredExceptionHandler(handler);

    GuardedCallResult result{true, std::nullopt};
    if (frame.raised) result.exceptionCode = frame.exceptionCode;
    return result;
}

HRESULT CallGuarded(void (*call)(void*), void* context) noexcept {
    const GuardedCallResult result = CallUnderStructuredExceptionGuard(call, context);
    if (!result.guarded) return E_OUTOFMEMORY;
    if (!result.exceptionCode) return S_OK;
    return *result.exceptionCode == static_cast<DWORD>(STATUS_NO_MEMORY) ? E_OUTOFMEMORY : E_FAIL;
}

}  // namespace vistrel
