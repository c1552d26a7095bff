// The sink of the program's shell starts, message boxes and icon reads, and the drive-type
// source; both null outside tests.
#include "ProgramSeam.h"

namespace {
PFN_ProgramCallSink g_sink = nullptr;
PFN_DriveTypeSource g_driveType = nullptr;
}  // namespace

void SetProgramCallSink(PFN_ProgramCallSink sink) { g_sink = sink; }

bool ProgramCallTaken(const XPROGRAM_CALL& call) { return g_sink && g_sink(call); }

void SetDriveTypeSource(PFN_DriveTypeSource source) { g_driveType = source; }

UINT ProgramDriveType(const wchar_t* root) { return g_driveType ? g_driveType(root) : GetDriveTypeW(root); }
