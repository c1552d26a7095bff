// Oskel's calls into the system, observed from outside: message boxes through a hook on the
// module's import (recorded, never shown), debug output as the debug-print exception that
// OutputDebugString raises, shell starts through recordargs.exe, downloads from a loopback
// server. Also: no function raises a Lua error whatever it is given.
#include <windows.h>

#include <string>
#include <vector>

#include "ImportTable.h"
#include "LoopbackHttpServer.h"
#include "OskelFixture.h"
#include "TestUtil.h"

namespace {

struct XBoxCall {
  bool owner;
  bool hasText, hasCaption;
  std::wstring text, caption;
  UINT type;
};
std::vector<XBoxCall> g_boxes;

int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  g_boxes.push_back({owner != nullptr, text != nullptr, caption != nullptr, text ? text : L"",
                     caption ? caption : L"", type});
  return IDOK;
}

std::vector<std::string> g_printed;

LONG CALLBACK RecordDebugPrint(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info->ExceptionRecord;
  if (r->ExceptionCode == DBG_PRINTEXCEPTION_C && r->NumberParameters >= 2 && r->ExceptionInformation[1]) {
    g_printed.emplace_back(reinterpret_cast<const char*>(r->ExceptionInformation[1]));
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

class System : public OskelScript {
 protected:
  void SetUp() override {
    OskelScript::SetUp();
    g_boxes.clear();
    g_printed.clear();
    box.reset(new CImportHook(Module(), "user32.dll", "MessageBoxW", reinterpret_cast<void*>(&RecordMessageBox)));
    ASSERT_TRUE(box->Active());
  }
  void TearDown() override { box.reset(); }
  std::unique_ptr<CImportHook> box;
};

TEST_F(System, MessageBoxTextByArgumentType) {
  EXPECT_EQ(Run("return select('#', Oskel.MessageBox(true, 12.7))"), "0");
  Run("Oskel.MessageBox(false, -3.9) Oskel.MessageBox(nil, {}) Oskel.MessageBox('', 'Title')");
  host.SetString("high", "caf\xE9");
  Run("Oskel.MessageBox(high)");
  ASSERT_EQ(g_boxes.size(), 5u);
  for (const XBoxCall& b : g_boxes) {
    EXPECT_FALSE(b.owner);
    EXPECT_EQ(b.type, static_cast<UINT>(MB_OK));
  }
  EXPECT_EQ(g_boxes[0].text, L"1");
  EXPECT_EQ(g_boxes[0].caption, L"12");
  EXPECT_EQ(g_boxes[1].text, L"0");
  EXPECT_EQ(g_boxes[1].caption, L"-3");
  EXPECT_FALSE(g_boxes[2].hasText);
  EXPECT_FALSE(g_boxes[2].hasCaption);
  EXPECT_TRUE(g_boxes[3].hasText);
  EXPECT_EQ(g_boxes[3].text, L"");
  EXPECT_EQ(g_boxes[3].caption, L"Title");
  EXPECT_EQ(g_boxes[4].text, XWiden("caf\xE9", -1, CP_ACP));  // ANSI code page, not UTF-8
  EXPECT_FALSE(g_boxes[4].hasCaption);
}

TEST_F(System, LogIsTheDebugPrint) {
  PVOID handler = AddVectoredExceptionHandler(1, &RecordDebugPrint);
  ASSERT_NE(handler, nullptr);
  std::string result = Run("local n = select('#', Oskel.Log('oskel says hi')) Oskel.Log(42) Oskel.Log({}) return n");
  RemoveVectoredExceptionHandler(handler);
  EXPECT_EQ(result, "0");
  EXPECT_EQ(g_printed, (std::vector<std::string>{"oskel says hi", "42", ""}));
}

TEST_F(System, NoFunctionRaisesWhateverItIsGiven) {
  // Every function with no, odd and too many arguments; the shell and download calls
  // refuse an empty target, so nothing is started or fetched.
  EXPECT_EQ(Run("local odd = {nil, {}, print, true, 0/0, coroutine.create(function() end)}\n"
                "local n = 0\n"
                "for name, f in pairs(Oskel) do\n"
                "  if name ~= 'GetTempFile' then\n"
                "    f() n = n + 1\n"
                "    for _, v in pairs(odd) do f(v, v, v, v) n = n + 1 end\n"
                "  end\n"
                "end\n"
                "return n"),
            "54");
}

class Shell : public System {
 protected:
  void SetUp() override {
    System::SetUp();
    record = dir / L"started.log";
    SetEnvironmentVariableW(L"PINVALE_RECORD", record.c_str());
    exe = Ansi(xtest::RecordArgsExe());
    host.SetString("exe", exe);
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"PINVALE_RECORD", nullptr);
    System::TearDown();
  }
  std::vector<std::string> Lines(size_t count) {
    std::vector<std::string> lines;
    xtest::WaitFor([&] {
      lines.clear();
      std::string text = xtest::Narrow(xtest::ReadRecordedLines(record));
      for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
      }
      return lines.size() >= count;
    }, 10000);
    return lines;
  }
  xtest::TempDir dir;
  std::wstring record;
  std::string exe;
};

TEST_F(Shell, ProgramStartsWithTheDefaultVerb) {
  EXPECT_EQ(Run("return select('#', Oskel.ShellExecute(exe))"), "0");
  std::vector<std::string> lines = Lines(1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("recordargs"), std::string::npos) << lines[0];
}

// A document type whose verbs start recordargs with the verb's name and the document.
class ShellDocument : public Shell {
 protected:
  void SetUp() override {
    Shell::SetUp();
    std::wstring program = xtest::RecordArgsExe();
    ASSERT_TRUE(SetKey(L".pvrectest", L"Pinvale.RecTest"));
    for (const wchar_t* verb : {L"open", L"pvverb", L"7"}) {
      ASSERT_TRUE(SetKey(std::wstring(L"Pinvale.RecTest\\shell\\") + verb + L"\\command",
                         L"\"" + program + L"\" verb=" + verb + L" \"%1\""));
    }
    doc = dir / L"sample.pvrectest";
    ASSERT_TRUE(xtest::WriteBytes(doc, "x"));
    host.SetString("doc", Ansi(doc));
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".pvrectest");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Pinvale.RecTest");
    Shell::TearDown();
  }
  static bool SetKey(const std::wstring& key, const std::wstring& value) {
    struct Key {
      HKEY h = nullptr;
      ~Key() { if (h) RegCloseKey(h); }
    } k;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k.h, nullptr) != ERROR_SUCCESS)
      return false;
    return RegSetValueExW(k.h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }
  std::wstring doc;
};

TEST_F(ShellDocument, VerbIsPassedWhenAStringOrNumberElseTheDefault) {
  Run("Oskel.ShellExecute(doc)");
  ASSERT_EQ(Lines(1).size(), 1u);
  Run("Oskel.ShellExecute(doc, 'pvverb')");
  ASSERT_EQ(Lines(2).size(), 2u);
  Run("Oskel.ShellExecute(doc, 7)");
  ASSERT_EQ(Lines(3).size(), 3u);
  Run("Oskel.ShellExecute(doc, {}) Oskel.ShellExecute(doc, true)");
  std::vector<std::string> lines = Lines(5);
  ASSERT_EQ(lines.size(), 5u);
  const char* verbs[] = {"verb=open", "verb=pvverb", "verb=7", "verb=open", "verb=open"};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_NE(lines[i].find(verbs[i]), std::string::npos) << lines[i];
    EXPECT_NE(lines[i].find("sample.pvrectest"), std::string::npos) << lines[i];
  }
}

TEST_F(ShellDocument, UnknownVerbOrMissingFileStartsNothing) {
  host.SetString("missing", Ansi(dir / L"missing.pvrectest"));
  EXPECT_EQ(Run("Oskel.ShellExecute(doc, 'novverb') Oskel.ShellExecute(missing)"
                " Oskel.ShellExecute('') Oskel.ShellExecute(string.rep('x', 3000))"
                " return 'done'"),
            "done");
  Run("Oskel.ShellExecute(doc, 'pvverb')");  // the marker that ends the wait
  std::vector<std::string> lines = Lines(1);
  xtest::PumpFor(200);
  lines = Lines(1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("verb=pvverb"), std::string::npos) << lines[0];
}

TEST_F(System, UrlDownloadToFileFromLoopback) {
  std::string body;
  for (int i = 0; i < 70000; ++i) body.push_back(static_cast<char>((i * 31) & 0xFF));
  xtest::LoopbackHttpServer server([&](const xtest::LoopbackHttpServer::Request& r) {
    if (r.target == "/files/skin.bin?v=2") return xtest::LoopbackHttpServer::Response(200, body);
    return xtest::LoopbackHttpServer::Response(404, "no");
  });
  ASSERT_NE(server.Port(), 0);
  xtest::TempDir dir;
  std::wstring target = dir / L"skin.bin";
  host.SetString("url", server.BaseUrl() + "/files/skin.bin?v=2");
  host.SetString("missing", server.BaseUrl() + "/missing");
  host.SetString("target", Ansi(target));
  host.SetString("other", Ansi(dir / L"other.bin"));
  EXPECT_EQ(Run("return select('#', Oskel.UrlDownloadToFile(url, target))"), "0");
  EXPECT_EQ(xtest::ReadBytes(target), body);
  EXPECT_EQ(Run("return select('#', Oskel.UrlDownloadToFile(missing, other))"), "0");
  // Unusable destinations are refused before any request is made.
  size_t before = server.RequestCount();
  Run("Oskel.UrlDownloadToFile(url, string.rep('y', 400)) Oskel.UrlDownloadToFile(url, nil)"
      " Oskel.UrlDownloadToFile(url, target .. '\\0.x') Oskel.UrlDownloadToFile(nil, target)");
  EXPECT_EQ(server.RequestCount(), before);
  ASSERT_GE(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].method, "GET");
}

}  // namespace
