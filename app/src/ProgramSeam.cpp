// The sink of the program's shell starts and message boxes; null outside tests.
#include "ProgramSeam.h"

namespace {
PFN_ProgramCallSink g_sink = nullptr;
}  // namespace

void SetProgramCallSink(PFN_ProgramCallSink sink) { g_sink = sink; }

bool ProgramCallTaken(const XPROGRAM_CALL& call) { return g_sink && g_sink(call); }
