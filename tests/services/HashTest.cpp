// CHash: both interfaces of one object, RFC 1321 vectors, and the XOR cipher's properties.
#include <string>
#include <vector>

#include "CorvaneLib.h"

namespace {

class Hash : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lib.Loaded()); }
  std::string Md5(const std::string& text) {
    IMD5* md5 = lib.Create<IMD5>(IID_IMD5);
    EXPECT_NE(md5, nullptr);
    if (!md5) return std::string();
    char out[40];
    memset(out, 'Z', sizeof out);
    out[32] = 0;
    CallSlot<void>(md5, 3, text.c_str(), static_cast<char*>(out));
    EXPECT_EQ(out[32], 0);  // nothing written past the 32 digits
    EXPECT_EQ(out[33], 'Z');
    md5->Release();
    return std::string(out, 32);
  }
  std::vector<unsigned char> Decipher(const std::vector<unsigned char>& in, const char* key) {
    IHash* hash = lib.Create<IHash>(IID_IHash);
    EXPECT_NE(hash, nullptr);
    std::vector<unsigned char> out(in.size() + 4, 0xEE);
    if (hash) {
      CallSlot<void>(hash, 3, in.data(), key, out.data(), static_cast<int>(in.size()));
      hash->Release();
    }
    EXPECT_EQ(out[in.size()], 0xEE);  // bounded by the length
    out.resize(in.size());
    return out;
  }
  CorvaneLib lib;
};

TEST_F(Hash, Rfc1321Vectors) {
  EXPECT_EQ(Md5(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5("a"), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(Md5("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Md5("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(Md5("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(Md5("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  EXPECT_EQ(Md5("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
            "57edf4a22be3c955ac49da2e2107b67a");
}

TEST_F(Hash, BlockBoundaryLengthsAndHighBytes) {
  // 55, 56 and 64 bytes straddle the padding cases.
  EXPECT_EQ(Md5(std::string(55, 'a')), "ef1772b6dff9a122358552954ad0df65");
  EXPECT_EQ(Md5(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
  EXPECT_EQ(Md5(std::string(64, 'a')), "014842d480b571495a4a0363793f7367");
  // Bytes above 127 are hashed as they are, with no conversion.
  EXPECT_EQ(Md5("\xC3\xA9"), "66ddcd97cfdeabb2f6fb8a999b4bc76f");
}

TEST_F(Hash, DecipherRepeatsTheKeyAndIsItsOwnInverse) {
  std::vector<unsigned char> plain = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0xFF};
  auto one = Decipher(plain, "A");
  for (size_t i = 0; i < plain.size(); ++i) EXPECT_EQ(one[i], plain[i] ^ 'A');
  auto three = Decipher(plain, "xyz");
  for (size_t i = 0; i < plain.size(); ++i) EXPECT_EQ(three[i], plain[i] ^ "xyz"[i % 3]) << i;
  EXPECT_EQ(Decipher(Decipher(plain, "qmtzrvakp"), "qmtzrvakp"), plain);
}

TEST_F(Hash, DecipherInPlaceEmptyKeyAndNonPositiveLength) {
  IHash* hash = lib.Create<IHash>(IID_IHash);
  ASSERT_NE(hash, nullptr);
  unsigned char buf[1000];
  for (int i = 0; i < 1000; ++i) buf[i] = static_cast<unsigned char>(i * 7);
  hash->Decipher(buf, "key", buf, 1000);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(buf[i], static_cast<unsigned char>((i * 7) ^ "key"[i % 3]));
  hash->Decipher(buf, "key", buf, 1000);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(buf[i], static_cast<unsigned char>(i * 7));
  unsigned char out[4] = {9, 9, 9, 9};
  hash->Decipher(buf, "", out, 4);  // empty key: no division by zero, bytes unchanged
  for (int i = 0; i < 4; ++i) EXPECT_EQ(out[i], buf[i]);
  unsigned char untouched[2] = {5, 5};
  hash->Decipher(buf, "k", untouched, 0);
  hash->Decipher(buf, "k", untouched, -3);
  EXPECT_EQ(untouched[0], 5);
  EXPECT_EQ(untouched[1], 5);
  hash->Release();
}

TEST_F(Hash, DecipherMatchesTheBytewiseRuleAcrossBlockSizesAndAlignments) {
  // Lengths around whole 16-repetition key blocks, odd key lengths, unaligned buffers.
  IHash* hash = lib.Create<IHash>(IID_IHash);
  ASSERT_NE(hash, nullptr);
  for (const char* key : {"k", "qmtzrvakp", "0123456789abcdef", "0123456789abcdefg"}) {
    size_t k = strlen(key);
    for (size_t length : {k * 16 - 1, k * 16, k * 16 + 1, k * 48 + 5, static_cast<size_t>(4099)}) {
      for (size_t shift : {0, 1, 3}) {
        std::vector<unsigned char> in(length + shift), out(length + shift + 1, 0xEE);
        for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<unsigned char>(i * 31 + 7);
        hash->Decipher(in.data() + shift, key, out.data() + shift, static_cast<int>(length));
        for (size_t i = 0; i < length; ++i)
          ASSERT_EQ(out[shift + i], in[shift + i] ^ static_cast<unsigned char>(key[i % k])) << key << " " << length << " " << i;
        ASSERT_EQ(out[shift + length], 0xEE);
      }
    }
  }
  hash->Release();
}

TEST_F(Hash, BothInterfacesShareOneObjectAndCount) {
  IMD5* md5 = lib.Create<IMD5>(IID_IMD5);
  ASSERT_NE(md5, nullptr);
  IHash* hash = nullptr;
  ASSERT_EQ(md5->QueryInterface(&IID_IHash, reinterpret_cast<void**>(&hash)), S_OK);
  ASSERT_NE(hash, nullptr);
  EXPECT_NE(static_cast<void*>(hash), static_cast<void*>(md5));  // the second table
  IMD5* back = nullptr;
  ASSERT_EQ(hash->QueryInterface(&IID_IMD5, reinterpret_cast<void**>(&back)), S_OK);
  EXPECT_EQ(back, md5);
  void* base = nullptr;
  ASSERT_EQ(hash->QueryInterface(&IID_IXUnknown, &base), S_OK);
  EXPECT_EQ(base, static_cast<void*>(md5));  // IXUnknown is the primary interface
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(hash->QueryInterface(&IID_ISQLite, &none), static_cast<HRESULT>(E_NOINTERFACE));
  EXPECT_EQ(none, nullptr);
  // 1 + 3 lookups = 4; releases through either table count down the same counter.
  EXPECT_EQ(hash->Release(), 3);
  EXPECT_EQ(md5->Release(), 2);
  EXPECT_EQ(hash->Release(), 1);
  EXPECT_EQ(md5->Release(), 0);
}

TEST_F(Hash, MadeByIHashIdGivesSecondTable) {
  IHash* hash = lib.Create<IHash>(IID_IHash);
  ASSERT_NE(hash, nullptr);
  IMD5* md5 = nullptr;
  ASSERT_EQ(hash->QueryInterface(&IID_IMD5, reinterpret_cast<void**>(&md5)), S_OK);
  EXPECT_NE(static_cast<void*>(hash), static_cast<void*>(md5));
  EXPECT_EQ(md5->Release(), 1);
  EXPECT_EQ(hash->Release(), 0);  // released once more: destroyed
}

}  // namespace
