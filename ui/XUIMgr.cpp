// The UI manager and the UI thread. Every window and script runs on the UI thread; the
// application thread only waits in its loop for 994 and WM_QUIT.
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

namespace {

DWORD g_appThreadId = 0;

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
  uintptr_t thread = _beginthreadex(nullptr, 0, &CXUIMgr::UIThread, &g_appThreadId, 0, nullptr);
  if (thread) CloseHandle(reinterpret_cast<HANDLE>(thread));
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
  PostThreadMessageW(appThread, WM_QUIT, 0, 0);
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}

void CXUIMgr::MessageLoop(IMessageTranslator* translator) {
  const UINT carrier = ReadyCarrier();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!msg.hwnd && carrier && msg.message == carrier) msg.message = XWM_UI_READY;
    if (translator && translator->Translate(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

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
