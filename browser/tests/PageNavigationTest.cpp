// Pages navigating for real against a server on 127.0.0.1, and the events
// Wine's browser never fires, raised through the control's own sink.
#include <winsock2.h>
#include <exdispid.h>

#include "GdiObjectCount.h"
#include "PageHostTestSupport.h"
#include "TestHttpServer.h"

namespace {

class PageNavigationTest : public PageHostTest {
 protected:
  std::wstring Address(const std::string& path) const { return server.Url(path); }
  size_t Requests() { return server.Requests().size(); }
  // A request that would arrive has had a generous chance to.
  void Settle() { RunUntil([] { return false; }, 700); }

  servicetest::TestHttpServer server;
};

TEST_F(PageNavigationTest, AddressesReachTheOwnerLowerCasedAndItsRefusalKeepsThePageOffTheNetwork) {
  IETab* page = OpenPage();
  server.Route("/Allowed.html", servicetest::HttpRoute(200, {"Content-Type: text/html"}, "<html></html>"));
  server.Route("/Refused.html", servicetest::HttpRoute(200, {}, "x"));
  owner.answerNavigation = [](const std::wstring& url) { return url.find(L"refused") != std::wstring::npos; };

  page->Navigate(Address("/Refused.html"));
  Settle();
  ASSERT_EQ(1, owner.Count(WM_IE_BEFORENAVIGATE));
  EXPECT_EQ(Address("/refused.html"), owner.received.back().url);
  EXPECT_EQ(static_cast<CIEDlg*>(page), reinterpret_cast<CIEDlg*>(owner.received.back().lParam));
  EXPECT_EQ(0u, Requests());
  EXPECT_EQ(1, page->IsLoaded());

  page->Navigate(Address("/Allowed.html"));
  EXPECT_TRUE(RunUntil([&] { return Requests() == 1; }));
  EXPECT_EQ(Address("/allowed.html"), owner.received.back().url);
}

TEST_F(PageNavigationTest, FlashAndPrivateAddressesAreCancelledQuietly) {
  IETab* page = OpenPage();
  page->Navigate(Address("/movie.SWF"));
  Settle();
  EXPECT_EQ(1, owner.Count(WM_IE_BEFORENAVIGATE));  // asked and allowed, then dropped
  EXPECT_EQ(0u, Requests());
  EXPECT_EQ(1, page->IsLoaded());

  for (const wchar_t* url : {L"QUOMMAPP:x", L"quommapp:"}) {
    page->Control().Navigate(url);
    Settle();
  }
  EXPECT_EQ(1, owner.Count(WM_IE_BEFORENAVIGATE));
  EXPECT_FALSE(FindWindowW(L"#32770", nullptr) && IsWindowVisible(FindWindowW(L"#32770", nullptr)) &&
               GetWindowThreadProcessId(FindWindowW(L"#32770", nullptr), nullptr) == GetCurrentThreadId());
}

TEST_F(PageNavigationTest, AFailedNavigationEndsLoadingAndGoesNoFurtherThanTheStrip) {
  IETab* page = OpenPage();
  auto closed = std::make_unique<servicetest::TestHttpServer>();
  const std::wstring unreachable = closed->Url("/");
  closed.reset();
  page->Navigate(unreachable);
  EXPECT_EQ(0, page->IsLoaded());
  EXPECT_TRUE(RunUntil([&] { return page->IsLoaded() == 1; }, 15000));
  EXPECT_EQ(0, owner.Count(WM_IE_NAVERROR));
}

TEST_F(PageNavigationTest, BlankPageTitleEscapeAndFill) {
  IETab* page = OpenPage();
  page->Navigate(L"not an address");  // kept, not navigated
  EXPECT_EQ(L"not an address", page->GetTitle());
  EXPECT_EQ(L"not an address", page->GetURL());
  page->Navigate(L"ABOUT:blank");
  EXPECT_EQ(L"空白页", page->GetTitle());

  // Esc in the page must not end the dialog the page is.
  HWND inner = page->Control().BrowserWindow();
  MSG escape{};
  escape.hwnd = inner ? inner : page->Control().Hwnd();
  escape.message = WM_KEYDOWN;
  escape.wParam = VK_ESCAPE;
  fw::DispatchOne(escape);
  RunUntil([] { return false; }, 100);
  EXPECT_TRUE(IsWindow(page->Hwnd()));

  SetWindowPos(page->Hwnd(), nullptr, 0, 0, 640, 380, SWP_NOMOVE | SWP_NOZORDER);
  RECT pageClient = page->ClientRect();
  RECT control = page->Control().WindowRect();
  MapWindowPoints(nullptr, page->Hwnd(), reinterpret_cast<POINT*>(&control), 2);
  EXPECT_TRUE(EqualRect(&pageClient, &control));
}

// The browser's own argument layout, last argument first.
class EventArguments {
 public:
  DISPPARAMS Params() { return DISPPARAMS{args_.data(), nullptr, static_cast<UINT>(args_.size()), 0}; }
  // Pushed in the event's order.
  void Text(const std::wstring& text) {
    texts_.push_back(std::make_unique<VARIANT>());
    VariantInit(texts_.back().get());
    texts_.back()->vt = VT_BSTR;
    texts_.back()->bstrVal = SysAllocString(text.c_str());
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_VARIANT;
    ref.pvarVal = texts_.back().get();
    args_.insert(args_.begin(), ref);
  }
  void Value(const VARIANT& value) { args_.insert(args_.begin(), value); }
  ~EventArguments() {
    for (auto& text : texts_) VariantClear(text.get());
  }

 private:
  std::vector<VARIANT> args_;
  std::vector<std::unique_ptr<VARIANT>> texts_;
};

VARIANT Dispatch(IDispatch* value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DISPATCH;
  v.pdispVal = value;
  return v;
}

VARIANT BoolRef(VARIANT_BOOL* flag) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BYREF | VT_BOOL;
  v.pboolVal = flag;
  return v;
}

HRESULT Raise(CIEDlg* page, DISPID id, EventArguments& arguments) {
  DISPPARAMS params = arguments.Params();
  return page->Control().EventSink()->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

TEST_F(PageNavigationTest, EventsWineNeverFiresReachTheOwnerThroughTheSink) {
  IETab* page = OpenPage();
  const std::wstring location = L"http://127.0.0.1:1/";
  page->Navigate(location);
  ASSERT_TRUE(RunUntil([&] { return page->Control().LocationURL() == location; }));

  EventArguments frame;
  frame.Value(Dispatch(page->Control().Browser()));
  frame.Text(L"http://127.0.0.1:1/frame.html");
  EXPECT_EQ(S_OK, Raise(page, DISPID_DOCUMENTCOMPLETE, frame));
  EXPECT_EQ(0, owner.Count(WM_IE_DOCCOMPLETE));
  EXPECT_EQ(1, page->IsLoaded());

  EventArguments top;
  top.Value(Dispatch(page->Control().Browser()));
  top.Text(L"HTTP://127.0.0.1:1/");
  Raise(page, DISPID_DOCUMENTCOMPLETE, top);
  EXPECT_EQ(1, owner.Count(WM_IE_DOCCOMPLETE));

  EventArguments title;
  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = SysAllocString(L"about:blank");
  title.Value(text);
  Raise(page, DISPID_TITLECHANGE, title);
  VariantClear(&text);
  EXPECT_EQ(L"空白页", strip->GetTabText(page));
  EXPECT_EQ(1, owner.Count(WM_IE_TITLECHANGE));

  // The owner answers a new window through the browser's own flag.
  IDispatch* opened = nullptr;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  owner.answerNewWindow = [](WPARAM, LPARAM flag) {
    *reinterpret_cast<VARIANT_BOOL*>(flag) = 1;
    return 0;
  };
  EventArguments window;
  VARIANT slot;
  VariantInit(&slot);
  slot.vt = VT_BYREF | VT_DISPATCH;
  slot.ppdispVal = &opened;
  window.Value(slot);
  window.Value(BoolRef(&cancel));
  Raise(page, DISPID_NEWWINDOW2, window);
  ASSERT_EQ(1, owner.Count(WM_IE_NEWWINDOW));
  EXPECT_EQ(VARIANT_TRUE, cancel);

  // A refusal raised the browser's way comes back as VARIANT_TRUE.
  owner.answerNavigation = [](const std::wstring&) { return 1; };
  VARIANT_BOOL refused = VARIANT_FALSE;
  VARIANT empty;
  VariantInit(&empty);
  EventArguments before;
  before.Value(Dispatch(page->Control().Browser()));
  before.Text(L"http://Example.com/");
  for (int i = 0; i < 4; ++i) before.Value(empty);
  before.Value(BoolRef(&refused));
  EXPECT_EQ(S_OK, Raise(page, DISPID_BEFORENAVIGATE2, before));
  EXPECT_EQ(VARIANT_TRUE, refused);
  EXPECT_EQ(L"http://example.com/", owner.received.back().url);

  // The private scheme is cancelled before the page is asked.
  owner.answerNavigation = [](const std::wstring&) { return 0; };
  const int asked = owner.Count(WM_IE_BEFORENAVIGATE);
  VARIANT_BOOL appCancel = VARIANT_FALSE;
  EventArguments app;
  app.Value(Dispatch(page->Control().Browser()));
  app.Text(L"QuommApp:open");
  for (int i = 0; i < 4; ++i) app.Value(empty);
  app.Value(BoolRef(&appCancel));
  Raise(page, DISPID_BEFORENAVIGATE2, app);
  EXPECT_EQ(VARIANT_TRUE, appCancel);
  EXPECT_EQ(asked, owner.Count(WM_IE_BEFORENAVIGATE));

  // Where a navigation arrived is asked again: a refused arrival leaves the
  // page blank.
  owner.answerNavigation = [](const std::wstring& url) { return url == L"http://elsewhere.test/"; };
  EventArguments arrived;
  arrived.Value(Dispatch(page->Control().Browser()));
  arrived.Text(L"http://Elsewhere.test/");
  EXPECT_EQ(S_OK, Raise(page, DISPID_NAVIGATECOMPLETE2, arrived));
  EXPECT_TRUE(RunUntil([&] { return page->Control().LocationURL() == L"about:blank"; }));
  EXPECT_EQ(L"about:blank", page->GetURL());

  EventArguments wrong;
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, Raise(page, DISPID_NEWWINDOW2, wrong));
}

TEST_F(PageNavigationTest, HundredPagesComeAndGoLeavingNothingBehind) {
  const HRESULT before = CoInitialize(nullptr);  // S_OK: the thread had none
  if (SUCCEEDED(before)) CoUninitialize();
  OpenPage();  // loads the browser's modules once
  TearDown();
  SetUp();
  const DWORD gdi = GdiObjectCount::Now();
  const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  for (int i = 0; i < 100; ++i) {
    IETab* page = OpenPage();
    ASSERT_NE(nullptr, page->Control().Browser());
    page->Navigate(L"about:blank");
    TearDown();
    SetUp();
  }
  EXPECT_LE(GdiObjectCount::Now(), gdi + 10);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user + 10);
  const HRESULT after = CoInitialize(nullptr);
  EXPECT_EQ(before, after);
  if (SUCCEEDED(after)) CoUninitialize();
}

}  // namespace
