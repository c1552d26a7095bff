// CCrashHandler on dbghelp. Everything a crash needs is prepared at Install: the library and
// its entry point, the events and the handler thread, and the folder and prefix in fixed
// buffers. A crashing thread only fills in the request, signals and waits; the handler
// thread makes the file name, writes the dump and signals back.
#include "CrashHandler.h"

#include <dbghelp.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <exception>

#include "XWin.h"

namespace {

typedef BOOL(WINAPI* PFN_MiniDumpWriteDump)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                            PMINIDUMP_EXCEPTION_INFORMATION,
                                            PMINIDUMP_USER_STREAM_INFORMATION,
                                            PMINIDUMP_CALLBACK_INFORMATION);
typedef void(__cdecl* PFN_InvalidParameterHandler)(const wchar_t*, const wchar_t*, const wchar_t*, unsigned,
                                                    uintptr_t);
typedef PFN_InvalidParameterHandler(__cdecl* PFN_SetInvalidParameterHandler)(PFN_InvalidParameterHandler);
typedef void(__cdecl* PFN_PurecallHandler)();
typedef PFN_PurecallHandler(__cdecl* PFN_SetPurecallHandler)(PFN_PurecallHandler);

// Codes recorded for crashes that are not structured exceptions.
const DWORD kCodeInvalidParameter = 0xC000000D;  // STATUS_INVALID_PARAMETER
const DWORD kCodePureCall = 0xE0000101;
const DWORD kCodeTerminate = 0xE0000102;

const size_t kPathChars = 1024;

// Stack kept back on every thread for the handler of its overflow: enough to hand the
// exception to the handler thread and wait.
const ULONG kStackGuaranteeBytes = 64 * 1024;

struct HandlerState {
  bool tried = false;
  bool installed = false;
  PFN_MiniDumpWriteDump writeDump = nullptr;
  HANDLE requestEvent = nullptr;
  HANDLE doneEvent = nullptr;
  HANDLE thread = nullptr;
  DWORD threadId = 0;
  wchar_t folder[kPathChars] = {0};
  wchar_t prefix[64] = {0};
  // The request being served (under the lock).
  DWORD requestThread = 0;
  EXCEPTION_POINTERS* requestException = nullptr;
  wchar_t lastDump[kPathChars] = {0};
  BOOL lastResult = FALSE;
  bool guardStacks = false;
};

HandlerState g_state;
CXCritSec g_requestLock;

void CreateFolderChain(wchar_t* path) {
  if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return;
  for (wchar_t* p = path; *p; ++p) {
    if ((*p == L'\\' || *p == L'/') && p > path && p[-1] != L':') {
      wchar_t saved = *p;
      *p = 0;
      CreateDirectoryW(path, nullptr);
      *p = saved;
    }
  }
  CreateDirectoryW(path, nullptr);
}

// Runs on the handler thread.
BOOL WriteRequestedDump() {
  g_state.lastDump[0] = 0;
  GUID id;
  if (FAILED(CoCreateGuid(&id))) return FALSE;
  CString name = CCrashHandler::DumpFileName(g_state.folder, g_state.prefix, id);
  if (name.IsEmpty() || static_cast<size_t>(name.GetLength()) >= kPathChars) return FALSE;
  CreateFolderChain(g_state.folder);
  CXHandle file(CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return FALSE;
  MINIDUMP_EXCEPTION_INFORMATION info = {};
  info.ThreadId = g_state.requestThread;
  info.ExceptionPointers = g_state.requestException;
  info.ClientPointers = FALSE;
  BOOL ok = g_state.writeDump(GetCurrentProcess(), GetCurrentProcessId(), file.Get(), MiniDumpNormal,
                              g_state.requestException ? &info : nullptr, nullptr, nullptr);
  file.Reset();
  if (!ok) {
    DeleteFileW(name);
    return FALSE;
  }
  XCopyBounded(g_state.lastDump, kPathChars, name.GetString());
  return TRUE;
}

DWORD WINAPI HandlerThread(void*) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  for (;;) {
    if (WaitForSingleObject(g_state.requestEvent, INFINITE) != WAIT_OBJECT_0) return 0;
    g_state.lastResult = WriteRequestedDump();
    SetEvent(g_state.doneEvent);
  }
}

// Hands the exception to the handler thread and waits for the dump (bounded, so a stuck
// writer never keeps a crashed process alive for long).
bool RequestDump(EXCEPTION_POINTERS* exception, CString* path = nullptr) {
  if (!g_state.installed) return false;
  CXLock lock(g_requestLock);
  g_state.requestThread = GetCurrentThreadId();
  g_state.requestException = exception;
  if (GetCurrentThreadId() == g_state.threadId) {
    g_state.lastResult = WriteRequestedDump();  // the handler thread itself crashed
  } else {
    ResetEvent(g_state.doneEvent);
    SetEvent(g_state.requestEvent);
    if (WaitForSingleObject(g_state.doneEvent, 60000) != WAIT_OBJECT_0) return false;
  }
  if (path && g_state.lastResult) *path = g_state.lastDump;
  return g_state.lastResult != FALSE;
}

// A crash ends the process here, whatever the caller of a handler would do next: a crashed
// process that lived on would hold the instance mutex with nobody to answer.
[[noreturn]] void EndProcess(DWORD code) {
  TerminateProcess(GetCurrentProcess(), code);
  for (;;) Sleep(INFINITE);
}

// A dump of the calling thread as it is now, recorded under code; then the process ends.
[[noreturn]] void DumpHereAndExit(DWORD code) {
  CONTEXT context = {};
  RtlCaptureContext(&context);
  EXCEPTION_RECORD record = {};
  record.ExceptionCode = code;
  record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
#ifdef _WIN64
  record.ExceptionAddress = reinterpret_cast<void*>(context.Rip);
#else
  record.ExceptionAddress = reinterpret_cast<void*>(context.Eip);
#endif
  EXCEPTION_POINTERS pointers = {&record, &context};
  RequestDump(&pointers);
  EndProcess(code);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception) {
  RequestDump(exception);
  EndProcess(exception && exception->ExceptionRecord ? exception->ExceptionRecord->ExceptionCode : 1);
}

// An overflowed stack is seen first here, before any frame's handler is walked: the handler
// thread writes the dump while this thread waits on what is left of its stack.
LONG WINAPI OnFirstChanceException(EXCEPTION_POINTERS* exception) {
  if (!exception || !exception->ExceptionRecord ||
      exception->ExceptionRecord->ExceptionCode != EXCEPTION_STACK_OVERFLOW)
    return EXCEPTION_CONTINUE_SEARCH;
  RequestDump(exception);
  EndProcess(EXCEPTION_STACK_OVERFLOW);
}

void GuardThisThreadStack() {
  ULONG bytes = kStackGuaranteeBytes;
  SetThreadStackGuarantee(&bytes);
}

// Every thread that starts once the handler is armed, whichever module starts it, keeps the
// stack its overflow handler needs.
void NTAPI OnThreadEvent(PVOID, DWORD reason, PVOID) {
  if (reason == DLL_THREAD_ATTACH && g_state.installed && g_state.guardStacks) GuardThisThreadStack();
}

void __cdecl OnInvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned, uintptr_t) {
  DumpHereAndExit(kCodeInvalidParameter);
}

void __cdecl OnPureCall() { DumpHereAndExit(kCodePureCall); }

// GCC's pure virtual stub, uncaught C++ exceptions and abort through std::terminate all
// end here.
void OnTerminate() { DumpHereAndExit(kCodeTerminate); }

template <class F>
F RuntimeProc(const char* name) {
  HMODULE crt = GetModuleHandleW(L"msvcrt.dll");
  return crt ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(crt, name))) : nullptr;
}

}  // namespace

bool CCrashHandler::Install(const CString& folder, const wchar_t* prefix, DWORD types) {
  if (g_state.tried) return g_state.installed;
  g_state.tried = true;
  if (!prefix || static_cast<size_t>(folder.GetLength()) >= kPathChars - 128 || wcslen(prefix) >= 64) return false;
  XCopyBounded(g_state.folder, kPathChars, folder.GetString());
  XCopyBounded(g_state.prefix, 64, prefix);

  wchar_t system[MAX_PATH] = {0};
  UINT n = GetSystemDirectoryW(system, MAX_PATH);
  if (n == 0 || n >= MAX_PATH - 16) return false;
  CString dbghelp = CString(system) + L"\\dbghelp.dll";
  // Held until everything is in place; an armed handler keeps them for the life of the
  // process (its thread waits on the events until the process ends).
  CXModule module(LoadLibraryW(dbghelp));
  auto writeDump = module.Proc<PFN_MiniDumpWriteDump>("MiniDumpWriteDump");
  CXHandle requestEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  CXHandle doneEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!writeDump || !requestEvent.Valid() || !doneEvent.Valid()) return false;
  g_state.writeDump = writeDump;
  g_state.requestEvent = requestEvent.Get();
  g_state.doneEvent = doneEvent.Get();
  g_state.thread = CreateThread(nullptr, 0, HandlerThread, nullptr, 0, &g_state.threadId);
  if (!g_state.thread) {
    g_state.writeDump = nullptr;
    g_state.requestEvent = g_state.doneEvent = nullptr;
    return false;
  }
  module.Detach();
  requestEvent.Detach();
  doneEvent.Detach();
  g_state.installed = true;

  if (types & kUnhandledExceptions) {
    SetUnhandledExceptionFilter(OnUnhandledException);
    AddVectoredExceptionHandler(1, OnFirstChanceException);
    g_state.guardStacks = true;
    GuardThisThreadStack();
  }
  // The runtime library reports through its own handler where it has one; the import
  // library keeps a copy for the reports made by code linked into the program.
  if (types & kInvalidParameter) {
    auto set = RuntimeProc<PFN_SetInvalidParameterHandler>("_set_invalid_parameter_handler");
    if (set) set(OnInvalidParameter);
    _set_invalid_parameter_handler(OnInvalidParameter);
  }
  if (types & kPureCall) {
    auto set = RuntimeProc<PFN_SetPurecallHandler>("_set_purecall_handler");
    if (set) set(OnPureCall);
    _set_purecall_handler(OnPureCall);
    std::set_terminate(OnTerminate);
  }
  return true;
}

bool CCrashHandler::IsInstalled() { return g_state.installed; }

CString CCrashHandler::WriteDump(EXCEPTION_POINTERS* exception) {
  if (!g_state.installed) return CString();
  if (!exception) {
    CONTEXT context = {};
    RtlCaptureContext(&context);
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = EXCEPTION_BREAKPOINT;
    EXCEPTION_POINTERS pointers = {&record, &context};
    CString path;
    RequestDump(&pointers, &path);
    return path;
  }
  CString path;
  RequestDump(exception, &path);
  return path;
}

void CCrashHandler::DumpProcessAndEnd(DWORD code) {
  RequestDump(nullptr);
  EndProcess(code);
}

CString CCrashHandler::DumpFileName(const CString& folder, const wchar_t* prefix, const GUID& id) {
  wchar_t guid[40] = {0};
  _snwprintf(guid, 39, L"%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", static_cast<unsigned long>(id.Data1),
             id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5],
             id.Data4[6], id.Data4[7]);
  CString name;
  name.Format(L"%s\\%s_%s.dmp", folder.GetString(), prefix ? prefix : L"", guid);
  return name;
}

// The loader calls the callbacks of this table for every thread's start and end.
extern "C" {
__attribute__((section(".CRT$XLP"), used)) PIMAGE_TLS_CALLBACK g_crashHandlerThreadCallback = OnThreadEvent;
}
