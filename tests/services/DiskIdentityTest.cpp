// Disk identity decoding on byte blocks built here: identify blocks with swapped bytes and
// blanks, storage descriptors with hex-encoded and plain strings, odd lengths and bad offsets.
#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include <cstddef>
#include <string>
#include <vector>

#include "DiskIdentity.h"

namespace {

// A 512-byte identify block with text stored the drive's way: high byte of each word first.
class IdentifyBlock {
 public:
  IdentifyBlock() : m_bytes(512, 0) {}
  IdentifyBlock& Text(int firstWord, int words, const std::string& text, char pad = ' ') {
    std::string s = text;
    s.resize(static_cast<size_t>(words) * 2, pad);
    for (int w = 0; w < words; ++w) {
      size_t at = static_cast<size_t>(firstWord + w) * 2;
      m_bytes[at] = static_cast<unsigned char>(s[w * 2 + 1]);
      m_bytes[at + 1] = static_cast<unsigned char>(s[w * 2]);
    }
    return *this;
  }
  const unsigned char* Data() const { return m_bytes.data(); }
  size_t Size() const { return m_bytes.size(); }

 private:
  std::vector<unsigned char> m_bytes;
};

TEST(DiskIdentity, IdentifyBlockSwapsWordsAndDropsBlanks) {
  IdentifyBlock block;
  block.Text(10, 10, "  WD-WCAV 5A123456").Text(27, 20, "WDC WD5000AAKX-001CA0");
  XDiskIdentity id = XIdentityFromIdentifyBlock(block.Data(), block.Size());
  EXPECT_EQ(id.serial, "WD-WCAV5A123456");
  EXPECT_EQ(id.model, "WDCWD5000AAKX-001CA0");

  IdentifyBlock tabs;
  tabs.Text(10, 10, "S1\tX 9\t\t", '\t');
  EXPECT_EQ(XIdentityFromIdentifyBlock(tabs.Data(), tabs.Size()).serial, "S1\tX9");  // only trailing white space is cut

  IdentifyBlock nul;
  nul.Text(10, 10, std::string("AB\0CD", 5));
  EXPECT_EQ(XIdentifyText(nul.Data(), nul.Size(), 10, 19), "AB");

  IdentifyBlock empty;
  EXPECT_EQ(XIdentityFromIdentifyBlock(empty.Data(), empty.Size()).serial, "");
}

TEST(DiskIdentity, IdentifyTextStaysInsideTheBlock) {
  IdentifyBlock block;
  block.Text(10, 10, "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(XIdentifyText(block.Data(), 24, 10, 19), "ABCD");  // words 10 and 11 only
  EXPECT_EQ(XIdentifyText(block.Data(), 21, 10, 19), "");
  EXPECT_EQ(XIdentifyText(nullptr, 512, 10, 19), "");
  EXPECT_EQ(XIdentifyText(block.Data(), 512, 19, 10), "");
}

TEST(DiskIdentity, DescriptorStrings) {
  struct Case {
    std::string text;
    bool serial;
    const char* expected;
  } cases[] = {
      {"3957414b", true, "W9KA"},             // hex, pairs swapped
      {"3957414B", true, "W9KA"},             // upper-case digits alike
      {"4 42", true, "B@"},                   // white space is the digit 0: 0x40 0x42
      {"2020202057443132", true, "DW21"},     // leading blanks after decoding are cut
      {"57443132", false, "WD12"},            // the product is not swapped
      {"0102", true, "1020"},                 // decodes to unprintable bytes: taken as it is
      {"41420000", true, "BA"},               // a decoded 0 ends the text
      {"ABCDE", true, "BADC"},                // 0xAB is unprintable: taken as it is; the odd last character drops off
      {"3132333", true, "21"},                // a lone last digit makes no byte: "123", swapped
      {"5744313", false, "WD1"},
      {"WD-WX1", true, "DWW-1X"},             // plain text
      {"  XY12  ", true, "YX21"},             // swapped, then trimmed
      {"ST500DM002-1BD142   ", false, "ST500DM002-1BD142"},
      {std::string("AB\x01" "C", 4), true, ""},  // unprintable plain text counts as empty
      {"", true, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(XDescriptorText(c.text.data(), c.text.size(), c.serial), c.expected) << c.text;
}

// A storage device descriptor with the given strings placed after its fixed part.
std::vector<unsigned char> Descriptor(const std::string& serial, const std::string& product) {
  std::vector<unsigned char> d(sizeof(STORAGE_DEVICE_DESCRIPTOR), 0);
  auto place = [&d](const std::string& s) -> DWORD {
    if (s.empty()) return 0;
    DWORD at = static_cast<DWORD>(d.size());
    d.insert(d.end(), s.begin(), s.end());
    d.push_back(0);
    return at;
  };
  DWORD serialAt = place(serial);
  DWORD productAt = place(product);
  STORAGE_DEVICE_DESCRIPTOR header = {};
  header.Version = sizeof header;
  header.Size = static_cast<DWORD>(d.size());
  header.SerialNumberOffset = serialAt;
  header.ProductIdOffset = productAt;
  memcpy(d.data(), &header, sizeof header);
  return d;
}

TEST(DiskIdentity, DescriptorGivesSerialAndProduct) {
  auto d = Descriptor("3957414b", "VBOX HARDDISK   ");
  XDiskIdentity id = XIdentityFromDescriptor(d.data(), d.size());
  EXPECT_EQ(id.serial, "W9KA");
  EXPECT_EQ(id.model, "VBOX HARDDISK");

  auto noSerial = Descriptor("", "Disk");
  EXPECT_EQ(XIdentityFromDescriptor(noSerial.data(), noSerial.size()).serial, "");
  EXPECT_EQ(XIdentityFromDescriptor(d.data(), sizeof(STORAGE_DEVICE_DESCRIPTOR) - 1).model, "");
  EXPECT_EQ(XIdentityFromDescriptor(nullptr, 100).serial, "");
}

TEST(DiskIdentity, DescriptorReadsStayInsideWhatArrived) {
  auto d = Descriptor("5758595a", "PRODUCT");
  STORAGE_DEVICE_DESCRIPTOR header;
  memcpy(&header, d.data(), sizeof header);

  // Only part of the serial arrived, without its terminator: read up to the end, no further.
  size_t cut = header.SerialNumberOffset + 4;
  EXPECT_EQ(XIdentityFromDescriptor(d.data(), cut).serial, "XW");

  // Offsets past the end are ignored.
  header.SerialNumberOffset = 5000;
  header.ProductIdOffset = static_cast<DWORD>(d.size());
  memcpy(d.data(), &header, sizeof header);
  XDiskIdentity id = XIdentityFromDescriptor(d.data(), d.size());
  EXPECT_EQ(id.serial, "");
  EXPECT_EQ(id.model, "");
}

TEST(DiskIdentity, OnlyAPlausibleFirstSerialIsKept) {
  EXPECT_TRUE(XSerialLooksValid("9WAK"));
  EXPECT_FALSE(XSerialLooksValid(""));
  EXPECT_FALSE(XSerialLooksValid("-WAK"));
  EXPECT_TRUE(XSerialLooksValid("-------------------Z"));   // its twentieth character
  EXPECT_FALSE(XSerialLooksValid("-------------------"));   // only nineteen
  EXPECT_FALSE(XSerialLooksValid("--------------------Z"));

  XDiskIdentityPick pick;
  EXPECT_FALSE(pick.Offer({"  ", "ignored"}));
  EXPECT_FALSE(pick.Found());
  EXPECT_TRUE(pick.Offer({"S1", "first"}));
  EXPECT_FALSE(pick.Offer({"S2", "second"}));
  EXPECT_EQ(pick.Identity().serial, "S1");
  EXPECT_EQ(pick.Identity().model, "first");
}

TEST(DiskIdentity, TextsAreCutAt1023Characters) {
  std::string longText(3000, 'a');
  EXPECT_EQ(XDescriptorText(longText.data(), longText.size(), false).size(), kDiskTextMax);
}

}  // namespace
