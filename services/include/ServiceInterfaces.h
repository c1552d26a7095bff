// Interface ids and interfaces of the service objects, shared by every module that asks the
// service library for objects. Slot order is part of the binary contract: append, never reorder.
#pragma once

#include <windows.h>

#include "XUnknown.h"  // IXUnknown, IID_IXUnknown, XIsEqualId

inline constexpr GUID IID_ICPUInfo = {0x6DC29781, 0xC5A2, 0x40A0, {0xA3, 0xB5, 0x60, 0xE4, 0xFC, 0x72, 0x82, 0xC7}};
inline constexpr GUID IID_IDiskInfo = {0x7CEC68F6, 0xA7AA, 0x4A3B, {0x93, 0xA7, 0x20, 0x4E, 0xEA, 0x16, 0x5F, 0x9A}};
inline constexpr GUID IID_IMD5 = {0x64E7A8A6, 0x43F1, 0x4782, {0x80, 0x08, 0xF7, 0xD8, 0x92, 0x84, 0xBE, 0xA4}};
inline constexpr GUID IID_IHash = {0xD3EFB6C0, 0x4119, 0x45FA, {0xB4, 0x74, 0xFF, 0xE9, 0x4E, 0x78, 0x52, 0x3F}};
inline constexpr GUID IID_IRegister = {0x48D884D6, 0x94B8, 0x41EF, {0x83, 0x6F, 0x81, 0xE7, 0xFE, 0xA6, 0x81, 0x23}};
inline constexpr GUID IID_IStatistic = {0x00375325, 0xC610, 0x4A03, {0x90, 0x82, 0x1B, 0xB2, 0x66, 0x05, 0x56, 0x6B}};
inline constexpr GUID IID_IVersion = {0x1D77E9B8, 0x5721, 0x49C0, {0x93, 0xE4, 0x7D, 0xC3, 0x27, 0x15, 0xC4, 0x89}};
inline constexpr GUID IID_IXSocket = {0x63316C8F, 0xABCD, 0x4F88, {0xAE, 0xC2, 0xB5, 0x43, 0x44, 0x3B, 0x8B, 0xE6}};
inline constexpr GUID IID_ISQLite = {0x6B3B1990, 0xBE8F, 0x4073, {0x80, 0x2C, 0x7B, 0x52, 0x74, 0xEF, 0x62, 0xEA}};

// Reserved ids of the shared table that the service library does not serve.
inline constexpr GUID IID_XReserved1 = {0x01AC6202, 0x4CAB, 0x48D1, {0xBD, 0x99, 0x2F, 0xB8, 0x0B, 0x3D, 0xB3, 0x17}};
inline constexpr GUID IID_XReserved2 = {0x97DD0125, 0xADBD, 0x4377, {0xB3, 0xC0, 0x5A, 0xAC, 0x49, 0x5C, 0x58, 0xFB}};

// Row callback of ISQLite::Exec, with the signature of SQLite's exec callback.
typedef int (*XSqliteCallback)(void* context, int columns, char** values, char** names);

struct ISQLite : IXUnknown {
  virtual int __stdcall Open(const char* file) = 0;   // 1 opened now; 0 already open or failed
  virtual int __stdcall Close() = 0;                  // sqlite3_close's result; 0 when not open
  virtual int __stdcall IsOpen() = 0;
  virtual int __stdcall Exec(const char* sql, XSqliteCallback callback, void* context) = 0;  // -1 when not open
};

struct IMD5 : IXUnknown {
  // Writes 32 lower-case hex digits, no terminator: pass a zero-filled 33-byte buffer.
  virtual void __stdcall MD5String(const char* text, char* out) = 0;
  // Does nothing; the slot stays so that the interface keeps its layout (callers rely on it).
  virtual void __stdcall Reserved(UINT_PTR, UINT_PTR, UINT_PTR) = 0;
};

struct IHash : IXUnknown {
  // Repeating-key XOR of length bytes; in and out may be the same buffer.
  virtual void __stdcall Decipher(const unsigned char* in, const char* key, unsigned char* out, int length) = 0;
};

struct ICPUInfo : IXUnknown {
  virtual int __stdcall GetCPUID(char* out, int size) = 0;
};

struct IDiskInfo : IXUnknown {
  virtual int __stdcall GetDriveKind(wchar_t letter) = 0;
  virtual int __stdcall GetDriveLetters(wchar_t* out, int capacity) = 0;  // no terminator written
  virtual const char* __stdcall GetDiskModel() = 0;
  virtual int __stdcall GetDiskSerial(char* out, int size) = 0;          // no terminator written
};

struct IRegister : IXUnknown {
  virtual void __stdcall GetMachineId(char* out) = 0;  // zero-filled buffer of at least 33 bytes
};

struct IStatistic : IXUnknown {
  // base: the ping address, or MAKEINTRESOURCE of a string resource of the library.
  // Returns 1 once the request is on its way, 0 when the address was refused.
  virtual int __stdcall Send(const wchar_t* base) = 0;
};

// The start-up usage ping: its host is a build-time setting (PINVALE_PING_HOST, a CMake cache
// variable). The service library carries the same address as string resource
// XIDS_PING_ADDRESS, so Send(MAKEINTRESOURCEW(XIDS_PING_ADDRESS)) sends the default ping.
#ifndef PINVALE_PING_HOST
#define PINVALE_PING_HOST "stat.pinvale.com"
#endif
#define XPING_WIDE_(s) L##s
#define XPING_WIDE(s) XPING_WIDE_(s)
inline constexpr const wchar_t* XPingBaseAddress =
    L"http://" XPING_WIDE(PINVALE_PING_HOST) L"/stat.php?src=pinvale&type=open&";
inline constexpr UINT XIDS_PING_ADDRESS = 101;

struct IVersion : IXUnknown {
  virtual int __stdcall GetFileVersion(const wchar_t* path, wchar_t* out, int capacity) = 0;
  virtual int __stdcall GetOSVersion() = 0;
};

// Implemented by the caller of IXSocket::Download; called on the download thread.
struct IDownloadSink {
  virtual void __stdcall OnProgress(int percent) = 0;
  virtual void __stdcall OnStatus(int state, int code) = 0;  // state 1 finished, 2 failed
};

struct IXSocket : IXUnknown {
  virtual int __stdcall Download(const wchar_t* url, const wchar_t* file, IDownloadSink* sink) = 0;
  // Outputs are 8-bit buffers of 2100 bytes each.
  virtual void __stdcall SplitUrl(const wchar_t* url, char* host, char* prefix, char* path) = 0;
  // E_NOTIMPL; the slot stays so that the interface keeps its layout (callers rely on it).
  virtual HRESULT __stdcall Reserved(UINT_PTR, UINT_PTR) = 0;
  virtual ~IXSocket() {}
};

// The service library's single export (undecorated name "CreateInstance").
typedef void* (__cdecl* PFN_XCreateInstance)(const GUID* id);
