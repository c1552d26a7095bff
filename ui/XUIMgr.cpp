// The UI manager and the UI thread. Every window and script runs on the UI thread; the
// application thread only waits in its loop for 994 and WM_QUIT, and for the UI thread's end.
#include "XUIMgr.h"

#include <objbase.h>
#include <process.h>

#include "XAppTemplate.h"
#include "XEasyDialog.h"
#include "XFontTemplate.h"
#include "XModelHooks.h"
#include "XScriptEngine.h"
#include "XSkinConfig.h"
#include "XSkinPackage.h"
#include "XSkinRegistry.h"
#include "XSkinStrings.h"
#include "XSkinTemplate.h"
#include "XWin.h"

namespace {

DWORD g_appThreadId = 0;
// The UI thread the last Initialize started, kept open so the application's loop sees its end.
CXHandle g_uiThread;
DWORD g_uiThreadId = 0;
bool g_uiThreadLost = false;
// The UI thread's WM_QUIT to the application thread carries this; after it, that thread only
// leaves its apartment and ends. A quit the application posts itself has 0.
const LPARAM kQuitFromUiThread = 0x5549;
const DWORD kUiThreadEndWaitMs = 10000;

// 994 is also the number of WM_DDE_ADVISE. Windows posts it as a plain thread message; Wine
// refuses to post a DDE message without a DDE parameter block. Then this private message
// carries it, and MessageLoop hands it on as 994.
UINT ReadyCarrier() {
  static const UINT carrier = RegisterWindowMessageW(L"Wendora.UIReady");
  return carrier;
}

void PostReady(DWORD appThread) {
  if (!PostThreadMessageW(appThread, XWM_UI_READY, 0, 0) && ReadyCarrier())
    PostThreadMessageW(appThread, ReadyCarrier(), 0, 0);
}

void RunScript(const XSKIN_FILE& script) {
  XBuffer<unsigned char> bytes;
  XExtractSkinFile(bytes, script.path);  // a missing file runs as an empty chunk
  CXScriptEngine::Create().RunStartupScript(reinterpret_cast<const char*>(bytes.GetData()),
                                            static_cast<size_t>(bytes.GetSize()));
}

// The object model asks here for the application's callback (see XModelHooks.h).
INotifyCallback* CurrentNotifyCallback() { return CXUIMgr::GetInstance().GetNotifyCallback(); }
[[maybe_unused]] const bool kNotifyHooked = (XModelHooks().notifyCallback = &CurrentNotifyCallback, true);

}  // namespace

CXUIMgr& CXUIMgr::GetInstance() {
  static CXUIMgr instance;
  return instance;
}

int CXUIMgr::Initialize() {
  ReadyCarrier();
  if (!g_appThreadId) g_appThreadId = GetCurrentThreadId();
  // The caller's message queue must exist before the UI thread posts to it.
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  unsigned id = 0;
  uintptr_t thread = _beginthreadex(nullptr, 0, &CXUIMgr::UIThread, &g_appThreadId, 0, &id);
  g_uiThread.Reset(reinterpret_cast<HANDLE>(thread));
  g_uiThreadId = thread ? id : 0;
  return 1;
}

void CXUIMgr::RunStartup() {
  CXSkinConfig::LoadChosenSkin();
  CXAppTemplate start;
  start.ReadFromPackage(L"oninit.x");
  CXSkinRegistry& registry = CXSkinRegistry::Instance();
  if (const XSKIN_FILE* font = registry.FindXml(L"res.font")) {
    CXFontTemplate fonts;
    fonts.ReadFromPackage(font->path);
  }
  CXSkinStrings::Instance().LoadForLanguage(XUserLanguage());
  const XSKIN_FILE* init = registry.FindScript(L"init");
  if (!init) return;
  const XSKIN_FILE initScript = *init;  // the scripts may change the table
  CXScriptEngine::Create();
  if (const XSKIN_FILE* loaded = registry.FindScript(L"loaded")) {
    const XSKIN_FILE loadedScript = *loaded;
    RunScript(loadedScript);
  }
  RunScript(initScript);
}

unsigned __stdcall CXUIMgr::UIThread(void* appThreadId) {
  const DWORD appThread = *static_cast<DWORD*>(appThreadId);
  // The thread's apartment for its whole life: the pictures of the skin's templates are each
  // decoded in a COM call that would otherwise make and tear down an apartment every time,
  // and its windows' drag and drop needs one anyway.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  try {
    RunStartup();
  } catch (...) {
    // Whatever was built before the failure stays; the application still hears of the end
    // of start-up.
  }
  PostReady(appThread);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  PostThreadMessageW(appThread, WM_QUIT, 0, kQuitFromUiThread);
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}

void CXUIMgr::MessageLoop(IMessageTranslator* translator) {
  const UINT carrier = ReadyCarrier();
  g_uiThreadLost = false;
  HANDLE ui = g_uiThread.Get();
  // Every queued message, until WM_QUIT (false when there is none left).
  bool fromUi = false;
  auto drain = [&]() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        fromUi = msg.lParam == kQuitFromUiThread;
        return true;
      }
      if (!msg.hwnd && carrier && msg.message == carrier) msg.message = XWM_UI_READY;
      if (translator && translator->Translate(&msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    return false;
  };
  for (;;) {
    if (drain()) {
      // The UI thread's own end (its apartment, its thread-local data, the libraries' thread
      // detach) never runs beside the process's exit, which tears down what it still uses.
      if (ui && fromUi) WaitForSingleObject(ui, kUiThreadEndWaitMs);
      return;
    }
    const DWORD woke = MsgWaitForMultipleObjectsEx(ui ? 1 : 0, &ui, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (ui && woke == WAIT_OBJECT_0) {
      // A UI thread that ended as it should has posted WM_QUIT before its end.
      if (drain()) return;
      g_uiThreadLost = true;
      return;
    }
    if (woke == WAIT_FAILED) return;
  }
}

bool CXUIMgr::UIThreadLost() const { return g_uiThreadLost; }

DWORD CXUIMgr::UIThreadId() const { return g_uiThreadId; }

IXUIObject* CXUIMgr::CreateUIObjectWithTemplate(const wchar_t* name) {
  IXUIObject* root = nullptr;
  try {
    root = CXSkinTemplate::Build(name);
    if (!root) return nullptr;
    CXSkinTemplate::ResolveIncludes(root);
    CXSkinRegistry::Instance().SetCreated(CString(name), root);
    return root;
  } catch (...) {
    // Out of memory half-way: nothing half-built is handed out or kept in the table.
    CXSkinRegistry::Instance().ForgetCreated(root);
    XDestroyUIObject(root);
    return nullptr;
  }
}

int CXUIMgr::DialogDoModal(IXUIObject* object, HWND owner) {
  auto* dialog = object ? dynamic_cast<CXEasyDialog*>(object) : nullptr;
  return dialog ? dialog->DoModal(owner) : 0;
}

void CXUIMgr::RegLuaFunction(const char* name, XLuaCFunction function) {
  if (CXScriptEngine* engine = CXScriptEngine::Get()) engine->SetGlobalFunction(name, function);
}
