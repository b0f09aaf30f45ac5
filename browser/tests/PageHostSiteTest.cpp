// The host as the browser asks it, through the control's own client site.
#include <winsock2.h>
#include <downloadmgr.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <shlobj.h>
#include <urlmon.h>

#include <algorithm>

#include "CDocHostSite.h"
#include "CommHelper.h"
#include "PageHostTestSupport.h"
#include "ProgramPage.h"
#include "ScopedImportPatch.h"
#include "ServiceTestSupport.h"
#include "SiteList.h"
#include "SnapshotList.h"
#include "SysConf.h"
#include "TestHttpServer.h"
#include "UrlsConf.h"
#include "Windows2000Locales.h"
#include "WindowsVersion.h"
#include "WordsList.h"

namespace {

template <typename T>
T* SiteInterface(CIEDlg* page, REFIID iid) {
  IOleObject* object = nullptr;
  IOleClientSite* site = nullptr;
  T* result = nullptr;
  if (SUCCEEDED(page->Control().Browser()->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object)))) {
    object->GetClientSite(&site);
    object->Release();
  }
  if (site) {
    site->QueryInterface(iid, reinterpret_cast<void**>(&result));
    site->Release();
  }
  return result;
}

TEST(ProgramPageTest, OnlyFilesInsideTheFolderArePagesOfTheProgram) {
  Windows2000Locales windows2000;
  const std::wstring folder = L"C:\\Program Files\\Tavik";
  struct Case {
    const wchar_t* url;
    bool inside;
  } cases[] = {
      {L"file:///C:/Program%20Files/Tavik/help/a.html", true},
      {L"file://C:\\Program Files\\Tavik\\a.html", true},
      {L"FILE:///c:/program files/TAVIK/a.html#top", true},
      {L"file:///C:/Program%20Files/Tavik/help/../a.html", true},
      {L"file:///C:/Program%20Files/Tavik/../Other/a.html", false},
      {L"file:///C:/Program%20Files/Tavik%2e%2e/a.html", false},
      {L"file:///C:/Program%20Files/TavikBad/a.html", false},
      {L"file:///C:/Program%20Files/Tavik", false},
      {L"file://server/share/Program Files/Tavik/a.html", false},
      {L"file:////server/C:/Program Files/Tavik/a.html", false},
      {L"http://C:/Program Files/Tavik/a.html", false},
      {L"about:blank", false},
      {L"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.inside, IsPageInFolder(c.url, folder)) << c.url;
  EXPECT_FALSE(IsPageInFolder(L"file://server/share/a.html", L"\\\\server\\share"));
  // Other folders whose names only a linguistic comparison takes for the
  // program's: as long, with "ß" for "ss" or a soft hyphen moved.
  EXPECT_FALSE(IsPageInFolder(L"file:///C:/Program%20Files/Stras%C3%9Fe/a.html", L"C:\\Program Files\\Straßse"));
  EXPECT_FALSE(IsPageInFolder(L"file:///C:/Program%20Files/Tav%C2%ADik/a.html", L"C:\\Program Files\\Ta\u00ADvik"));
  EXPECT_FALSE(IsPageInFolder(L"file:///C:/Program%20Files/Strasse/a.html", L"C:\\Program Files\\Straße"));
  EXPECT_FALSE(IsPageInFolder(L"file:///C:/Program%20Files/Ta%C2%ADvik/a.html", folder));
  EXPECT_TRUE(IsPageInFolder(L"file:///C:/Program%20Files/STRASSE/a.html", L"C:\\Program Files\\Strasse"));
}

// The account's token and folders as Windows gives them to a program without
// a manifest: virtualised or not (or unreadable), with its local application
// data folder (or none).
class AccountStandIn {
 public:
  enum class Token { kVirtualised, kNotVirtualised, kUnreadable };
  AccountStandIn(Token token, std::wstring localAppData)
      : token_(::GetModuleHandleW(nullptr), SetReal(&realToken_, L"advapi32.dll", "GetTokenInformation"),
               reinterpret_cast<void*>(&TokenInformation)),
        folder_(::GetModuleHandleW(nullptr), SetReal(&realFolder_, L"shell32.dll", "SHGetFolderPathW"),
                reinterpret_cast<void*>(&FolderPath)) {
    state_ = token;
    localAppData_ = std::move(localAppData);
    EXPECT_TRUE(token_.Patched() && folder_.Patched()) << "the account goes unchecked";
  }
  AccountStandIn(const AccountStandIn&) = delete;
  AccountStandIn& operator=(const AccountStandIn&) = delete;

 private:
  using TokenFunction = BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, void*, DWORD, DWORD*);
  using FolderFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);

  template <typename Function>
  static void* SetReal(Function* real, const wchar_t* dll, const char* name) {
    ::LoadLibraryW(dll);
    void* found = ScopedImportPatch::Function(dll, name);
    *real = reinterpret_cast<Function>(found);
    return found;
  }
  static BOOL WINAPI TokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, void* info, DWORD length,
                                      DWORD* returned) {
    if (kind != TokenVirtualizationEnabled) return realToken_(token, kind, info, length, returned);
    if (state_ == Token::kUnreadable || length < sizeof(DWORD)) {
      ::SetLastError(state_ == Token::kUnreadable ? ERROR_ACCESS_DENIED : ERROR_INSUFFICIENT_BUFFER);
      return FALSE;
    }
    *static_cast<DWORD*>(info) = state_ == Token::kVirtualised ? 1 : 0;
    *returned = sizeof(DWORD);
    return TRUE;
  }
  static HRESULT WINAPI FolderPath(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path) {
    if ((folder & 0xFF) != CSIDL_LOCAL_APPDATA) return realFolder_(owner, folder, token, flags, path);
    if (localAppData_.empty()) return E_FAIL;
    ::lstrcpynW(path, localAppData_.c_str(), MAX_PATH);
    return S_OK;
  }

  static inline TokenFunction realToken_ = nullptr;
  static inline FolderFunction realFolder_ = nullptr;
  static inline Token state_ = Token::kNotVirtualised;
  static inline std::wstring localAppData_;
  ScopedImportPatch token_;
  ScopedImportPatch folder_;
};

// A page the child's account may have put in its VirtualStore copy of the
// program folder shows at the folder's path, but is none of the program's.
TEST(ProgramPageTest, APageTheAccountMayHaveCopiedIntoItsVirtualStoreIsNoProgramPage) {
  using Token = AccountStandIn::Token;
  servicetest::ScratchFolder local;
  const std::wstring program = CCommHelper::GetExeDir();
  const std::wstring url = L"file:///" + program + L"\\help\\page.html";
  const ScopedWindowsVersion vista(VER_PLATFORM_WIN32_NT, 6, 0);
  auto isProgramPage = [&](Token token, const std::wstring& localAppData) {
    AccountStandIn account(token, localAppData);
    return IsProgramPage(url);
  };
  EXPECT_TRUE(isProgramPage(Token::kVirtualised, local.path()));
  EXPECT_FALSE(isProgramPage(Token::kVirtualised, L"")) << "no folder to look in";

  const std::wstring twin = local.path() + L"\\VirtualStore" + program.substr(2) + L"\\HELP";
  CCommHelper::MakeDirTree(twin);
  servicetest::WriteBytes(twin + L"\\Page.html", "<object classid=\"clsid:00000000\"></object>");
  EXPECT_FALSE(isProgramPage(Token::kVirtualised, local.path()));
  EXPECT_FALSE(isProgramPage(Token::kUnreadable, local.path()));
  EXPECT_TRUE(isProgramPage(Token::kNotVirtualised, local.path()));
  {
    const ScopedWindowsVersion xp(VER_PLATFORM_WIN32_NT, 5, 1);
    EXPECT_TRUE(isProgramPage(Token::kVirtualised, local.path())) << "Windows XP virtualises nothing";
  }
}

TEST(SecurityPolicyTest, OnlyTheProgramsPagesMayScriptUnsafeControls) {
  const std::wstring local = L"file:///" + CCommHelper::GetExeDir() + L"\\page.html";
  const HRESULT kDefault = INET_E_DEFAULT_ACTION;
  struct Case {
    DWORD action;
    HRESULT local, remote;
    DWORD remotePolicy;
  } cases[] = {
      {0x1200, S_OK, S_OK, URLPOLICY_ALLOW},         {0x1201, S_OK, S_FALSE, URLPOLICY_DISALLOW},
      {0x1203, S_OK, S_FALSE, URLPOLICY_DISALLOW},   {0x1204, S_OK, kDefault, 7},
      {0x13FF, S_OK, kDefault, 7},                   {0x1400, S_OK, S_OK, URLPOLICY_ALLOW},
      {0x1401, S_OK, S_FALSE, URLPOLICY_DISALLOW},   {0x1405, S_OK, S_OK, URLPOLICY_ALLOW},
      {0x1406, S_OK, kDefault, 7},                   {0x1605, kDefault, kDefault, 7},
      {0x1C00, kDefault, kDefault, 7},               {0x1001, kDefault, kDefault, 7},
  };
  for (const Case& c : cases) {
    for (const std::wstring& url : {local, std::wstring(L"http://example.com/"), std::wstring(L"about:blank")}) {
      const bool isLocal = url == local;
      DWORD policy = 7;
      const HRESULT hr = CDocHostSite::UrlActionPolicy(url.c_str(), c.action, reinterpret_cast<BYTE*>(&policy),
                                                       sizeof(policy));
      EXPECT_EQ(isLocal ? c.local : c.remote, hr) << std::hex << c.action << " " << url.c_str();
      if (!isLocal) {
        EXPECT_EQ(c.remotePolicy, policy) << std::hex << c.action;
      }
    }
  }
  BYTE small[3] = {9, 9, 9};
  EXPECT_EQ(S_FALSE, CDocHostSite::UrlActionPolicy(L"http://example.com/", 0x1400, small, sizeof(small)));
  EXPECT_EQ(9, small[0]);
}

class PageHostSiteTest : public PageHostTest {};

TEST_F(PageHostSiteTest, TheBrowserFindsTheSecurityManagerAndTheHostsAnswers) {
  IETab* page = OpenPage();
  IServiceProvider* services = SiteInterface<IServiceProvider>(page, IID_IServiceProvider);
  ASSERT_NE(nullptr, services);
  IInternetSecurityManager* manager = nullptr;
  EXPECT_EQ(S_OK, services->QueryService(IID_IInternetSecurityManager, IID_IInternetSecurityManager,
                                         reinterpret_cast<void**>(&manager)));
  ASSERT_NE(nullptr, manager);
  DWORD policy = 7;
  EXPECT_EQ(S_FALSE, manager->ProcessUrlAction(L"http://example.com/", 0x1201, reinterpret_cast<BYTE*>(&policy),
                                               sizeof(policy), nullptr, 0, 0, 0));
  EXPECT_EQ(INET_E_DEFAULT_ACTION, manager->MapUrlToZone(L"http://example.com/", &policy, 0));
  manager->Release();
  void* other = &policy;
  EXPECT_EQ(E_NOINTERFACE, services->QueryService(IID_IInternetSecurityManager, IID_IUnknown, &other));
  EXPECT_EQ(nullptr, other);
  services->Release();

  IDocHostUIHandler* handler = SiteInterface<IDocHostUIHandler>(page, IID_IDocHostUIHandler);
  ASSERT_NE(nullptr, handler);
  DOCHOSTUIINFO info{};
  info.dwFlags = 0xFFFFFFFF;
  info.dwDoubleClick = 5;
  EXPECT_EQ(S_OK, handler->GetHostInfo(&info));
  EXPECT_EQ(sizeof(DOCHOSTUIINFO), info.cbSize);
  EXPECT_EQ(0xFFD3FFF9u | 0x00240006u, info.dwFlags);
  EXPECT_EQ(0u, info.dwDoubleClick);

  // Menu modes: S_OK means no menu of the browser's own.
  const DWORD kTypes[] = {CONTEXT_MENU_DEFAULT, CONTEXT_MENU_CONTROL, CONTEXT_MENU_TEXTSELECT, CONTEXT_MENU_ANCHOR};
  const HRESULT kAnswers[][4] = {{S_OK, S_OK, S_OK, S_OK},
                                 {S_FALSE, S_FALSE, S_FALSE, S_FALSE},
                                 {S_OK, S_FALSE, S_FALSE, S_OK},
                                 {S_OK, S_OK, S_FALSE, S_OK},
                                 {S_FALSE, S_FALSE, S_FALSE, S_FALSE}};
  for (int mode = 0; mode < 5; ++mode) {
    page->Control().SetContextMenuMode(mode);
    for (int t = 0; t < 4; ++t)
      EXPECT_EQ(kAnswers[mode][t], handler->ShowContextMenu(kTypes[t], nullptr, nullptr, nullptr)) << mode << t;
  }
  handler->Release();
}

TEST_F(PageHostSiteTest, WindowExternalIsGivenOnlyToThePagesOfTheProgram) {
  IETab* page = OpenPage();
  const std::wstring local = L"file:///" + CCommHelper::GetExeDir() + L"\\page.html";
  page->Navigate(local);
  ASSERT_TRUE(RunUntil([&] { return IsProgramPage(page->Control().LocationURL()); }))
      << page->Control().LocationURL().c_str();
  IDocHostUIHandler* handler = SiteInterface<IDocHostUIHandler>(page, IID_IDocHostUIHandler);
  ASSERT_NE(nullptr, handler);
  IDispatch* external = nullptr;
  ASSERT_EQ(S_OK, handler->GetExternal(&external));
  ASSERT_NE(nullptr, external);

  LPOLESTR name = const_cast<LPOLESTR>(L"IRead");
  DISPID id = 0;
  ASSERT_EQ(S_OK, external->GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
  auto read = [&](VARIANT argument, VARIANT* result) {
    DISPPARAMS params{&argument, nullptr, 1, 0};
    return external->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, nullptr, nullptr);
  };
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = SysAllocString(L"SETTING");
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(S_OK, read(argument, &result));
  EXPECT_EQ(GetSysConfPath(), result.bstrVal);
  VariantClear(&result);
  // Every name answers its own file, in any letter case; any other name nothing.
  const std::pair<const wchar_t*, std::wstring> files[] = {
      {L"setting", GetSysConfPath()},   {L"Log", GetHistoryFilePath()},  {L"REC", GetRecommendListPath()},
      {L"ctrl", GetNavCtrlPath()},      {L"Words", GetWordsPath()},      {L"FAVS", GetFavoritesFilePath()},
      {L"urls", GetUrlsConfPath()},     {L"settings", L""},              {L"", L""}};
  for (const auto& [name, path] : files) {
    VARIANT named;
    VariantInit(&named);
    named.vt = VT_BSTR;
    named.bstrVal = SysAllocString(name);
    EXPECT_EQ(S_OK, read(named, &result)) << name;
    EXPECT_EQ(path, result.vt == VT_BSTR && result.bstrVal ? result.bstrVal : L"") << name;
    VariantClear(&result);
    VariantClear(&named);
  }
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, external->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr));

  page->Navigate(L"http://127.0.0.1:1/");
  ASSERT_TRUE(RunUntil([&] { return !IsProgramPage(page->Control().LocationURL()); }));
  IDispatch* denied = &*external;
  EXPECT_EQ(S_FALSE, handler->GetExternal(&denied));
  EXPECT_EQ(nullptr, denied);
  EXPECT_NE(S_OK, read(argument, &result));  // a reference kept from before
  EXPECT_EQ(VT_EMPTY, result.vt);
  VariantClear(&argument);
  external->Release();
  handler->Release();
}

// Counts its references and the calls it is given.
class CountingDropTarget : public IDropTarget {
 public:
  LONG references = 1;
  int enters = 0;
  STDMETHODIMP QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
  STDMETHODIMP_(ULONG) Release() override { return --references; }
  STDMETHODIMP DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    ++enters;
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  STDMETHODIMP DragOver(DWORD, POINTL, DWORD*) override { return S_OK; }
  STDMETHODIMP DragLeave() override { return S_OK; }
  STDMETHODIMP Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
};

TEST_F(PageHostSiteTest, TheBrowsersDropTargetIsKeptUntilThePageGoesAndALateCallerIsAnsweredSafely) {
  IETab* page = OpenPage();
  page->Navigate(L"file:///" + CCommHelper::GetExeDir() + L"\\page.html");
  ASSERT_TRUE(RunUntil([&] { return IsProgramPage(page->Control().LocationURL()); }));
  IDocHostUIHandler* handler = SiteInterface<IDocHostUIHandler>(page, IID_IDocHostUIHandler);
  ASSERT_NE(nullptr, handler);
  CountingDropTarget browserTarget;
  IDropTarget* given = nullptr;
  ASSERT_EQ(S_OK, handler->GetDropTarget(&browserTarget, &given));
  ASSERT_NE(nullptr, given);
  EXPECT_NE(static_cast<IDropTarget*>(&browserTarget), given);
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  given->DragEnter(nullptr, 0, POINTL{}, &effect);
  EXPECT_EQ(1, browserTarget.enters);
  EXPECT_EQ(2, browserTarget.references);
  IDispatch* kept = nullptr;
  ASSERT_EQ(S_OK, handler->GetExternal(&kept));
  ASSERT_NE(nullptr, kept);

  DestroyIETabWindow(page);  // the window goes before the page object
  EXPECT_EQ(1, browserTarget.references);
  TearDown();  // the page and its control are gone; the site is still held
  DOCHOSTUIINFO info{};
  EXPECT_EQ(E_NOTIMPL, handler->GetHostInfo(&info));
  IDispatch* external = reinterpret_cast<IDispatch*>(&info);
  EXPECT_EQ(S_FALSE, handler->GetExternal(&external));
  EXPECT_EQ(nullptr, external);
  handler->Release();

  // What the browser still held when the page went answers nothing.
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(E_UNEXPECTED, given->DragEnter(nullptr, 0, POINTL{}, &effect));
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
  EXPECT_EQ(E_UNEXPECTED, given->DragLeave());
  EXPECT_EQ(1, browserTarget.enters);
  given->Release();
  VARIANT name;
  VariantInit(&name);
  name.vt = VT_BSTR;
  name.bstrVal = SysAllocString(L"setting");
  DISPPARAMS read{&name, nullptr, 1, 0};
  VARIANT path;
  VariantInit(&path);
  EXPECT_EQ(E_UNEXPECTED, kept->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &read, &path, nullptr, nullptr));
  EXPECT_EQ(VT_EMPTY, path.vt);
  VariantClear(&name);
  kept->Release();
  SetUp();
}

TEST_F(PageHostSiteTest, ScriptBoxesTakeTheHostsCaption) {
  IETab* page = OpenPage();
  IDocHostShowUI* showUI = SiteInterface<IDocHostShowUI>(page, __uuidof(IDocHostShowUI));
  ASSERT_NE(nullptr, showUI);
  HMODULE strings = LoadLibraryExW(L"SHDOCLC.DLL", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  wchar_t scriptCaption[256] = {};
  if (!strings || !LoadStringW(strings, 2213, scriptCaption, 256)) GTEST_SKIP() << "no SHDOCLC.DLL caption";
  FreeLibrary(strings);

  static std::wstring seenCaption;
  seenCaption.clear();
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) CALLBACK {
    HWND box = FindWindowW(L"#32770", nullptr);
    if (!box || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId()) return;
    wchar_t caption[256] = {};
    GetWindowTextW(box, caption, 256);
    seenCaption = caption;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  LRESULT pressed = 0;
  for (const std::wstring& asked : {std::wstring(scriptCaption), std::wstring(L"其他标题")}) {
    seenCaption.clear();
    EXPECT_EQ(S_OK, showUI->ShowMessage(page->Hwnd(), const_cast<LPOLESTR>(L"你好"),
                                        const_cast<LPOLESTR>(asked.c_str()), MB_OK, nullptr, 0, &pressed));
    EXPECT_EQ(IDOK, pressed);
    EXPECT_EQ(asked == scriptCaption ? L"Tavik HTMLVIEW" : asked, seenCaption);
  }
  KillTimer(nullptr, timer);
  showUI->Release();
}

// A page of a locked window, as the window tells it.
IETab* Locked(IETab* page) {
  static_cast<CBrowserPage*>(page)->SetLocked(true);
  return page;
}

TEST_F(PageHostSiteTest, ALockedPageShowsNoContextMenu) {
  IETab* locked = Locked(OpenPage());
  IETab* unlocked = OpenPage();
  EXPECT_EQ(0, locked->Control().GetContextMenuMode());
  EXPECT_EQ(1, unlocked->Control().GetContextMenuMode());
  IDocHostUIHandler* lockedHandler = SiteInterface<IDocHostUIHandler>(locked, IID_IDocHostUIHandler);
  IDocHostUIHandler* unlockedHandler = SiteInterface<IDocHostUIHandler>(unlocked, IID_IDocHostUIHandler);
  ASSERT_TRUE(lockedHandler && unlockedHandler);
  // S_OK: handled by the host, no menu of the browser's.
  for (DWORD type : {CONTEXT_MENU_DEFAULT, CONTEXT_MENU_IMAGE, CONTEXT_MENU_CONTROL, CONTEXT_MENU_TABLE,
                     CONTEXT_MENU_TEXTSELECT, CONTEXT_MENU_ANCHOR, CONTEXT_MENU_UNKNOWN}) {
    EXPECT_EQ(S_OK, lockedHandler->ShowContextMenu(type, nullptr, nullptr, nullptr)) << type;
    EXPECT_EQ(S_FALSE, unlockedHandler->ShowContextMenu(type, nullptr, nullptr, nullptr)) << type;
  }
  lockedHandler->Release();
  unlockedHandler->Release();
}

// Holds the modifiers of a key in the thread's key state, as while the key
// is pressed, and puts the state back.
class HeldModifiers {
 public:
  explicit HeldModifiers(const std::vector<BYTE>& keys) {
    GetKeyboardState(saved_);
    BYTE state[256];
    memcpy(state, saved_, sizeof(state));
    for (BYTE key : {VK_SHIFT, VK_LSHIFT, VK_RSHIFT, VK_CONTROL, VK_LCONTROL, VK_RCONTROL, VK_MENU, VK_LMENU,
                     VK_RMENU})
      state[key] = 0;
    for (BYTE key : keys) state[key] = 0x80;
    SetKeyboardState(state);
  }
  ~HeldModifiers() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

TEST_F(PageHostSiteTest, ALockedPageSwallowsTheKeysThatOpenWindowsAndKeepsTheEditingKeys) {
  IETab* locked = Locked(OpenPage());
  IETab* unlocked = OpenPage();
  IDocHostUIHandler* lockedHandler = SiteInterface<IDocHostUIHandler>(locked, IID_IDocHostUIHandler);
  IDocHostUIHandler* unlockedHandler = SiteInterface<IDocHostUIHandler>(unlocked, IID_IDocHostUIHandler);
  ASSERT_TRUE(lockedHandler && unlockedHandler);
  const BYTE kCtrl = VK_CONTROL, kShift = VK_SHIFT, kAlt = VK_MENU;
  struct Case {
    std::vector<BYTE> modifiers;
    WPARAM key;
    bool swallowed;
  } cases[] = {
      // Open, open location, save as, print, new window, find, the search,
      // favourites, history and downloads bars, add and organise favourites,
      // a copy of the window, view source.
      {{kCtrl}, 'O', true}, {{kCtrl}, 'L', true}, {{kCtrl}, 'S', true}, {{kCtrl}, 'P', true},
      {{kCtrl}, 'N', true}, {{kCtrl}, 'F', true}, {{kCtrl}, 'E', true}, {{kCtrl}, 'I', true},
      {{kCtrl}, 'H', true}, {{kCtrl}, 'J', true}, {{kCtrl}, 'D', true}, {{kCtrl}, 'B', true},
      {{kCtrl}, 'K', true}, {{kCtrl}, 'U', true},
      // A private window, the browsing-history dialog, pinned bars.
      {{kCtrl, kShift}, 'P', true}, {{kCtrl, kShift}, VK_DELETE, true}, {{kCtrl, kShift}, 'H', true},
      {{kCtrl, kShift}, 'S', true}, {{kCtrl}, VK_F4, true},
      // Function keys: help, find, caret browsing, full screen, the tools of
      // the page, the menu; the context-menu keys.
      {{}, VK_F1, true}, {{}, VK_F3, true}, {{}, VK_F7, true}, {{}, VK_F11, true}, {{}, VK_F12, true},
      {{}, VK_F10, true}, {{kShift}, VK_F10, true}, {{}, VK_APPS, true},
      // Alt combinations: the browser's menus and commands.
      {{kAlt}, 'D', true}, {{kAlt}, 'C', true}, {{kAlt}, 'F', true}, {{kAlt}, VK_HOME, true},
      {{kAlt}, VK_RETURN, true},
      // Typing, editing and moving in page fields.
      {{}, 'A', false}, {{kShift}, 'A', false}, {{}, VK_BACK, false}, {{}, VK_TAB, false},
      {{kShift}, VK_TAB, false}, {{}, VK_RETURN, false}, {{}, VK_LEFT, false}, {{}, VK_DOWN, false},
      {{}, VK_HOME, false}, {{}, VK_END, false}, {{}, VK_DELETE, false}, {{}, VK_SPACE, false},
      {{kShift}, VK_DELETE, false}, {{kShift}, VK_INSERT, false}, {{}, VK_ESCAPE, false},
      {{kCtrl}, 'C', false}, {{kCtrl}, 'V', false}, {{kCtrl}, 'X', false}, {{kCtrl}, 'A', false},
      {{kCtrl}, 'Z', false}, {{kCtrl}, 'Y', false}, {{kCtrl}, VK_INSERT, false}, {{kCtrl}, VK_LEFT, false},
      {{kCtrl, kShift}, VK_RIGHT, false}, {{kCtrl}, VK_BACK, false}, {{kCtrl}, VK_DELETE, false},
      {{kCtrl}, VK_HOME, false}, {{kCtrl}, VK_CONTROL, false},
      // Refresh; the window's own new-tab keys; closing, which asks the
      // password; back; a list's drop-down; AltGr and Alt codes typing.
      {{}, VK_F5, false}, {{kCtrl}, 'T', false}, {{kCtrl}, VK_F5, false}, {{kAlt}, VK_F4, false},
      {{kAlt}, VK_LEFT, false}, {{kAlt}, VK_DOWN, false}, {{kCtrl, kAlt}, 'Q', false},
      {{kAlt}, VK_NUMPAD6, false}, {{kAlt}, VK_MENU, false},
  };
  for (const Case& c : cases) {
    HeldModifiers held(c.modifiers);
    const bool alt = std::find(c.modifiers.begin(), c.modifiers.end(), kAlt) != c.modifiers.end();
    const bool ctrl = std::find(c.modifiers.begin(), c.modifiers.end(), kCtrl) != c.modifiers.end();
    MSG key{};
    key.hwnd = locked->Control().BrowserWindow() ? locked->Control().BrowserWindow() : locked->Control().Hwnd();
    key.message = (alt && !ctrl) || c.key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN;
    key.wParam = c.key;
    key.lParam = 1 | (alt ? 1L << 29 : 0);
    std::string name;
    for (BYTE m : c.modifiers) name += m == kCtrl ? "Ctrl+" : m == kShift ? "Shift+" : "Alt+";
    name += std::to_string(c.key);
    EXPECT_EQ(c.swallowed ? S_OK : E_NOTIMPL, lockedHandler->TranslateAccelerator(&key, nullptr, 0)) << name;
    key.hwnd = unlocked->Control().BrowserWindow() ? unlocked->Control().BrowserWindow() : unlocked->Control().Hwnd();
    EXPECT_EQ(E_NOTIMPL, unlockedHandler->TranslateAccelerator(&key, nullptr, 0)) << "unlocked " << name;
  }
  // Only key presses are judged.
  MSG character{};
  character.hwnd = locked->Control().Hwnd();
  character.message = WM_CHAR;
  character.wParam = 'O' & 0x1F;  // what Ctrl+O types
  HeldModifiers ctrl({kCtrl});
  EXPECT_EQ(E_NOTIMPL, lockedHandler->TranslateAccelerator(&character, nullptr, 0));
  lockedHandler->Release();
  unlockedHandler->Release();
}

// FileDownload as the browser raises it: IE7 on with ActiveDocument and the
// cancel flag, IE6 with the cancel flag alone.
VARIANT_BOOL RaiseFileDownload(IETab* page, int activeDocument) {
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT args[2];
  VariantInit(&args[0]);
  args[0].vt = VT_BYREF | VT_BOOL;
  args[0].pboolVal = &cancel;
  VariantInit(&args[1]);
  args[1].vt = VT_BOOL;
  args[1].boolVal = activeDocument ? VARIANT_TRUE : VARIANT_FALSE;
  DISPPARAMS params{args, nullptr, activeDocument < 0 ? 1u : 2u, 0};
  EXPECT_EQ(S_OK, page->Control().EventSink()->Invoke(DISPID_FILEDOWNLOAD, IID_NULL, 0, DISPATCH_METHOD, &params,
                                                       nullptr, nullptr, nullptr));
  return cancel;
}

TEST_F(PageHostSiteTest, ALockedPageDownloadsNoFile) {
  IETab* locked = Locked(OpenPage());
  IETab* unlocked = OpenPage();
  EXPECT_EQ(VARIANT_TRUE, RaiseFileDownload(locked, 0)) << "a file";
  EXPECT_EQ(VARIANT_FALSE, RaiseFileDownload(locked, 1)) << "a page the browser shows";
  EXPECT_EQ(VARIANT_FALSE, RaiseFileDownload(locked, -1)) << "IE6, which raises it for pages too";
  EXPECT_EQ(VARIANT_FALSE, RaiseFileDownload(unlocked, 0)) << "unlocked";

  // The download manager the browser asks for a file: the browser's own
  // unless locked; a locked page's fetches nothing and answers for it.
  const GUID kDownloadManager = __uuidof(IDownloadManager);
  IServiceProvider* unlockedServices = SiteInterface<IServiceProvider>(unlocked, IID_IServiceProvider);
  ASSERT_NE(nullptr, unlockedServices);
  void* none = unlockedServices;
  EXPECT_EQ(E_NOINTERFACE, unlockedServices->QueryService(kDownloadManager, kDownloadManager, &none));
  EXPECT_EQ(nullptr, none);
  unlockedServices->Release();

  IServiceProvider* services = SiteInterface<IServiceProvider>(locked, IID_IServiceProvider);
  ASSERT_NE(nullptr, services);
  IDownloadManager* manager = nullptr;
  ASSERT_EQ(S_OK, services->QueryService(kDownloadManager, kDownloadManager, reinterpret_cast<void**>(&manager)));
  ASSERT_NE(nullptr, manager);
  servicetest::TestHttpServer server;
  server.Route("/setup.exe", servicetest::HttpRoute(200, {"Content-Type: application/octet-stream"}, "MZ"));
  IMoniker* file = nullptr;
  IBindCtx* context = nullptr;
  ASSERT_EQ(S_OK, CreateURLMonikerEx(nullptr, server.Url("/setup.exe").c_str(), &file, URL_MK_UNIFORM));
  ASSERT_EQ(S_OK, CreateBindCtx(0, &context));
  BINDINFO bind{};
  bind.cbSize = sizeof(bind);
  EXPECT_EQ(S_OK, manager->Download(file, context, BINDVERB_GET, BINDF_ASYNCHRONOUS, &bind, nullptr, nullptr,
                                    CP_UTF8));
  RunUntil([] { return false; }, 700);
  EXPECT_EQ(0u, server.Requests().size());
  context->Release();
  file->Release();
  manager->Release();
  services->Release();
}

}  // namespace
