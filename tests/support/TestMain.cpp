// Entry of every test executable: no error dialogs may block an unattended run, and a crash
// must fail the run (under Wine the debugger that reports it would otherwise exit with 0).
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

namespace {
LONG WINAPI FailOnCrash(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info ? info->ExceptionRecord : nullptr;
  std::fprintf(stderr, "unhandled exception 0x%08lx at %p in thread %lu\n", r ? r->ExceptionCode : 0UL,
               r ? r->ExceptionAddress : nullptr, GetCurrentThreadId());
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}
}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(&FailOnCrash);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
