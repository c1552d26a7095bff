// Disk identity decoding: identify blocks and storage device descriptors of any size and
// content, the descriptor's text rule, and the choice among candidates.
#include <vector>

#include "DiskIdentity.h"
#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<unsigned char> block(data, data + size);
  const unsigned char* p = block.empty() ? nullptr : block.data();
  XDiskIdentity fromIdentify = XIdentityFromIdentifyBlock(p, block.size());
  XDiskIdentity fromDescriptor = XIdentityFromDescriptor(p, block.size());
  for (const XDiskIdentity* id : {&fromIdentify, &fromDescriptor}) {
    FUZZ_CHECK(id->serial.size() <= kDiskTextMax && id->model.size() <= kDiskTextMax);
  }
  std::string serial = XDescriptorText(reinterpret_cast<const char*>(p), block.size(), true);
  std::string product = XDescriptorText(reinterpret_cast<const char*>(p), block.size(), false);
  FUZZ_CHECK(serial.size() <= kDiskTextMax && product.size() <= kDiskTextMax);
  FUZZ_CHECK(serial.find('\0') == std::string::npos && product.find('\0') == std::string::npos);

  XDiskIdentityPick pick;
  bool first = pick.Offer(fromIdentify);
  bool second = pick.Offer(fromDescriptor);
  FUZZ_CHECK(!(first && second));
  FUZZ_CHECK(pick.Found() == (first || second));
  return 0;
}
