// CSystemInfo: the processor identification instruction, drive enumeration and kinds, the
// disk model through the management service, and the disk serial number through four
// device requests tried in order.
#include "SystemInfo.h"

#include <cpuid.h>
#include <oleauto.h>
#include <wbemidl.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "XWin.h"

static_assert(sizeof(STORAGE_DEVICE_DESCRIPTOR) == kDescriptorHeaderSize &&
                  offsetof(STORAGE_DEVICE_DESCRIPTOR, Size) == kDescriptorSizeAt &&
                  offsetof(STORAGE_DEVICE_DESCRIPTOR, ProductIdOffset) == kDescriptorProductAt &&
                  offsetof(STORAGE_DEVICE_DESCRIPTOR, SerialNumberOffset) == kDescriptorSerialAt,
              "the descriptor decoding knows the system's layout");

#ifndef IOCTL_SCSI_MINIPORT_IDENTIFY
#define IOCTL_SCSI_MINIPORT_IDENTIFY 0x001B0501  // (FILE_DEVICE_SCSI << 16) + 0x0501
#endif

namespace {

const size_t kIdentifyBytes = 512;
const int kDrive = 0;  // physical disk 0

// A BSTR and a VARIANT that free themselves.
class CXBstr {
 public:
  explicit CXBstr(const wchar_t* s) : m_b(SysAllocString(s)) {}
  ~CXBstr() { SysFreeString(m_b); }
  CXBstr(const CXBstr&) = delete;
  CXBstr& operator=(const CXBstr&) = delete;
  BSTR Get() const { return m_b; }
 private:
  BSTR m_b;
};

class CXVariant {
 public:
  CXVariant() { VariantInit(&m_v); }
  ~CXVariant() { VariantClear(&m_v); }
  CXVariant(const CXVariant&) = delete;
  CXVariant& operator=(const CXVariant&) = delete;
  VARIANT* Get() { return &m_v; }
 private:
  VARIANT m_v;
};

CXHandle OpenDevice(const wchar_t* name, DWORD access) {
  return CXHandle(CreateFileW(name, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
}

std::wstring PhysicalDriveName(int drive) {
  wchar_t name[64];
  swprintf(name, 64, L"\\\\.\\PhysicalDrive%d", drive);
  return name;
}

// Reads the storage device descriptor of an open device into buffer; got is the count of
// bytes that arrived, never more than size.
bool QueryStorageDescriptor(HANDLE device, BYTE* buffer, DWORD size, size_t& got) {
  STORAGE_PROPERTY_QUERY query = {};
  query.PropertyId = StorageDeviceProperty;
  query.QueryType = PropertyStandardQuery;
  DWORD bytes = 0;
  got = 0;
  if (!DeviceIoControl(device, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, buffer, size, &bytes, nullptr))
    return false;
  got = std::min<size_t>(bytes, size);
  return true;
}

bool IsNtPlatform() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExW(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// Sends an identify command and offers the block that comes back.
void IdentifyThroughSmart(HANDLE device, int drive, BYTE command, XDiskIdentityPick& pick) {
  SENDCMDINPARAMS in = {};
  in.cBufferSize = kIdentifyBytes;
  in.irDriveRegs.bSectorCountReg = 1;
  in.irDriveRegs.bSectorNumberReg = 1;
  in.irDriveRegs.bDriveHeadReg = static_cast<BYTE>(0xA0 | ((drive & 1) << 4));
  in.irDriveRegs.bCommandReg = command;
  in.bDriveNumber = static_cast<BYTE>(drive);
  std::vector<BYTE> out(offsetof(SENDCMDOUTPARAMS, bBuffer) + kIdentifyBytes, 0);
  DWORD got = 0;
  if (!DeviceIoControl(device, SMART_RCV_DRIVE_DATA, &in, sizeof(SENDCMDINPARAMS) - 1, out.data(),
                       static_cast<DWORD>(out.size()), &got, nullptr))
    return;
  if (got < offsetof(SENDCMDOUTPARAMS, bBuffer) + kIdentifyBytes) return;
  pick.Offer(XIdentityFromIdentifyBlock(out.data() + offsetof(SENDCMDOUTPARAMS, bBuffer), kIdentifyBytes));
}

bool SmartVersion(HANDLE device, GETVERSIONINPARAMS& version) {
  DWORD got = 0;
  memset(&version, 0, sizeof version);
  return DeviceIoControl(device, SMART_GET_VERSION, nullptr, 0, &version, sizeof version, &got, nullptr) &&
         got >= sizeof version;
}

// 1: identify command with read and write access, ATA or ATAPI as the version reports.
void ReadByIdentifyCommand(XDiskIdentityPick& pick) {
  CXHandle device = OpenDevice(PhysicalDriveName(kDrive).c_str(), GENERIC_READ | GENERIC_WRITE);
  if (!device.Valid()) return;
  GETVERSIONINPARAMS version;
  if (!SmartVersion(device.Get(), version) || version.bIDEDeviceMap == 0) return;
  BYTE command = ((version.bIDEDeviceMap >> kDrive) & 0x10) ? ATAPI_ID_CMD : ID_CMD;
  IdentifyThroughSmart(device.Get(), kDrive, command, pick);
}

// 2: the identify command through the SCSI miniport of ports 0 and 1, drives 0 and 1.
void ReadThroughScsiMiniport(XDiskIdentityPick& pick) {
  const size_t inBytes = sizeof(SRB_IO_CONTROL) + sizeof(SENDCMDINPARAMS) - 1;
  const size_t outBytes = sizeof(SRB_IO_CONTROL) + offsetof(SENDCMDOUTPARAMS, bBuffer) + kIdentifyBytes;
  for (int port = 0; port < 2 && !pick.Found(); ++port) {
    wchar_t name[32];
    swprintf(name, 32, L"\\\\.\\Scsi%d:", port);
    CXHandle device = OpenDevice(name, GENERIC_READ | GENERIC_WRITE);
    if (!device.Valid()) continue;
    for (int drive = 0; drive < 2 && !pick.Found(); ++drive) {
      std::vector<BYTE> buffer(std::max(inBytes, outBytes), 0);
      SRB_IO_CONTROL* control = reinterpret_cast<SRB_IO_CONTROL*>(buffer.data());
      control->HeaderLength = sizeof(SRB_IO_CONTROL);
      memcpy(control->Signature, "SCSIDISK", 8);
      control->Timeout = 10000;
      control->Length = static_cast<ULONG>(offsetof(SENDCMDOUTPARAMS, bBuffer) + kIdentifyBytes);
      control->ControlCode = IOCTL_SCSI_MINIPORT_IDENTIFY;
      SENDCMDINPARAMS* in = reinterpret_cast<SENDCMDINPARAMS*>(buffer.data() + sizeof(SRB_IO_CONTROL));
      in->irDriveRegs.bCommandReg = ID_CMD;
      in->bDriveNumber = static_cast<BYTE>(drive);
      DWORD got = 0;
      if (!DeviceIoControl(device.Get(), IOCTL_SCSI_MINIPORT, buffer.data(), static_cast<DWORD>(inBytes), buffer.data(),
                           static_cast<DWORD>(buffer.size()), &got, nullptr) ||
          got < outBytes)
        continue;
      const size_t blockAt = sizeof(SRB_IO_CONTROL) + offsetof(SENDCMDOUTPARAMS, bBuffer);
      pick.Offer(XIdentityFromIdentifyBlock(buffer.data() + blockAt, kIdentifyBytes));
    }
  }
}

// 3: the storage device descriptor, which needs no access rights.
void ReadStorageDescriptor(XDiskIdentityPick& pick) {
  CXHandle device = OpenDevice(PhysicalDriveName(kDrive).c_str(), 0);
  if (!device.Valid()) return;
  std::vector<BYTE> buffer(10000, 0);
  size_t got = 0;
  if (!QueryStorageDescriptor(device.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), got)) return;
  pick.Offer(XIdentityFromDescriptor(buffer.data(), got));
}

// 4: the SMART receive-drive-data request with the ATA identify command.
void ReadBySmart(XDiskIdentityPick& pick) {
  CXHandle device = OpenDevice(PhysicalDriveName(kDrive).c_str(), GENERIC_READ | GENERIC_WRITE);
  if (!device.Valid()) return;
  GETVERSIONINPARAMS version;
  if (!SmartVersion(device.Get(), version)) return;
  IdentifyThroughSmart(device.Get(), kDrive, ID_CMD, pick);
}

}  // namespace

XDiskIdentity XReadDiskIdentity() {
  XDiskIdentityPick pick;
  if (!IsNtPlatform()) return pick.Identity();
  ReadByIdentifyCommand(pick);
  if (!pick.Found()) ReadThroughScsiMiniport(pick);
  if (!pick.Found()) ReadStorageDescriptor(pick);
  if (!pick.Found()) ReadBySmart(pick);
  return pick.Identity();
}

HRESULT CSystemInfo::QueryInterface(const GUID* id, void** out) {
  if (out && id && XIsEqualId(*id, IID_IDiskInfo)) {
    *out = static_cast<IDiskInfo*>(this);
    AddRef();
    return S_OK;
  }
  return QueryPrimary(id, out, IID_ICPUInfo);
}

int CSystemInfo::GetCPUID(char* out, int size) {
  if (!out || size < 1) return 0;
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  __cpuid(1, eax, ebx, ecx, edx);
  char text[17];
  snprintf(text, sizeof text, "%08X%08X", edx, eax);
  XCopyBounded(out, static_cast<size_t>(size), text);
  return 1;
}

int CSystemInfo::GetDriveKind(wchar_t letter) {
  wchar_t volume[] = L"\\\\.\\?:";
  volume[4] = letter;
  CXHandle device = OpenDevice(volume, 0);
  if (!device.Valid()) return 0;
  BYTE buffer[2048] = {0};  // on the stack: nothing here may throw out of the interface
  size_t got = 0;
  if (!QueryStorageDescriptor(device.Get(), buffer, sizeof buffer, got)) return 0;
  wchar_t root[] = L"?:\\";
  root[0] = letter;
  UINT type = GetDriveTypeW(root);
  // Without the bus type in what came back, the drive counts as not on USB.
  STORAGE_BUS_TYPE bus = BusTypeUnknown;
  if (got >= offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType) + sizeof(STORAGE_BUS_TYPE))
    bus = reinterpret_cast<const STORAGE_DEVICE_DESCRIPTOR*>(buffer)->BusType;
  if (bus == BusTypeUsb) return type == DRIVE_FIXED ? 2 : 3;
  if (type == DRIVE_FIXED) return 1;
  if (type == DRIVE_CDROM) return 4;
  return 0;
}

int CSystemInfo::GetDriveLetters(wchar_t* out, int capacity) {
  DWORD mask = GetLogicalDrives();
  if (mask == 0) return 0;
  if (capacity > 0 && !out) return 0;
  int stored = 0;
  for (int bit = 0; bit < 26 && stored < capacity; ++bit) {
    if (mask & (1u << bit)) out[stored++] = static_cast<wchar_t>(L'A' + bit);
  }
  return 1;
}

const char* CSystemInfo::GetDiskModel() {
  try {
    CXComPtr<IWbemLocator> locator;
    if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                locator.OutVoid())) ||
        !locator)
      return nullptr;
    CXBstr space(L"ROOT\\CIMV2");
    CXComPtr<IWbemServices> services;
    if (FAILED(locator->ConnectServer(space.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.Out())) ||
        !services)
      return nullptr;
    if (FAILED(CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                                 RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE)))
      return nullptr;
    CXBstr language(L"WQL");
    CXBstr query(L"SELECT * FROM  Win32_DiskDrive ");
    CXComPtr<IEnumWbemClassObject> rows;
    if (FAILED(services->ExecQuery(language.Get(), query.Get(), WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                   nullptr, rows.Out())) ||
        !rows)
      return nullptr;
    CXComPtr<IWbemClassObject> row;
    ULONG count = 0;
    if (FAILED(rows->Next(WBEM_INFINITE, 1, row.Out(), &count)) || count == 0 || !row) return nullptr;
    CXVariant model;
    if (FAILED(row->Get(L"Model", 0, model.Get(), nullptr, nullptr)) || model.Get()->vt != VT_BSTR ||
        !model.Get()->bstrVal)
      return nullptr;
    std::string text = XNarrow(model.Get()->bstrVal, static_cast<int>(SysStringLen(model.Get()->bstrVal)));
    XCopyBounded(m_model, sizeof m_model, text.c_str(), text.size());
    return m_model;
  } catch (...) {
    return nullptr;
  }
}

int CSystemInfo::GetDiskSerial(char* out, int size) {
  if (!out || size < 1) return 0;
  try {
    XDiskIdentity identity = XReadDiskIdentity();
    if (identity.serial.empty()) return 0;
    size_t n = std::min(identity.serial.size(), static_cast<size_t>(size) - 1);
    memcpy(out, identity.serial.data(), n);
    return 1;
  } catch (...) {
    return 0;
  }
}
