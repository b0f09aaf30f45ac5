#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstring>
#include <string>

#include "CodePatch.h"
#include "CoolScrollBar.h"
#include "ScrollBarHook.h"
#include "ScrollTestWindow.h"

namespace {

const char* const kNames[CScrollBarHook::kFunctionCount] = {
    "EnableScrollBar", "GetScrollInfo", "GetScrollPos", "GetScrollRange",
    "SetScrollInfo",   "SetScrollPos",  "SetScrollRange", "ShowScrollBar"};

using Entry = std::array<BYTE, CCodePatch::kJumpSize>;

Entry EntryBytes(int index) {
  Entry bytes{};
  const void* function = reinterpret_cast<const void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), kNames[index]));
  std::memcpy(bytes.data(), function, bytes.size());
  return bytes;
}

// Each case runs in a process of its own, so the patch is installed by the
// case's first GetInstance.
TEST(ScrollBarHook, RoutesAnAttachedListToTheEngineAndRestoresEveryByte) {
  Entry before[CScrollBarHook::kFunctionCount];
  for (int i = 0; i < CScrollBarHook::kFunctionCount; ++i) before[i] = EntryBytes(i);
  CScrollBarHook& hook = CScrollBarHook::GetInstance();
  ASSERT_TRUE(hook.IsInstalled());
  EXPECT_EQ(&hook, &CScrollBarHook::GetInstance());
  for (int i = 0; i < CScrollBarHook::kFunctionCount; ++i) EXPECT_EQ(EntryBytes(i)[0], 0xE9) << kNames[i];

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  HWND list = CreateWindowW(WC_LISTVIEWW, L"", WS_POPUP | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 100, 100, 200, 150,
                            nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(list);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 150;
  ListView_InsertColumn(list, 0, &column);
  ASSERT_TRUE(hook.Attach(list));
  EXPECT_FALSE(hook.Attach(list));
  ListView_SetItemCountEx(list, 100, 0);
  UpdateWindow(list);

  SCROLLINFO reported{};
  reported.cbSize = sizeof(reported);
  reported.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &reported));
  const CoolScrollBarState* engine = CoolScrollGetBar(list, SB_VERT);
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(reported.nMax, 99);  // the list's own rows reached the engine
  EXPECT_GT(reported.nPage, 0u);
  EXPECT_LT(reported.nPage, 100u);
  EXPECT_EQ(reported.nMin, engine->info.nMin);
  EXPECT_EQ(reported.nMax, engine->info.nMax);
  EXPECT_EQ(reported.nPage, engine->info.nPage);
  EXPECT_EQ(reported.nPos, engine->info.nPos);
  ListView_EnsureVisible(list, 60, FALSE);
  EXPECT_GT(GetScrollPos(list, SB_VERT), 0);
  EXPECT_EQ(GetScrollPos(list, SB_VERT), engine->info.nPos);
  DestroyWindow(list);

  hook.Uninstall();
  EXPECT_FALSE(hook.IsInstalled());
  for (int i = 0; i < CScrollBarHook::kFunctionCount; ++i) EXPECT_EQ(EntryBytes(i), before[i]) << kNames[i];
}

TEST(ScrollBarHook, AWindowWithoutTheEngineGetsTheSystemsResults) {
  CScrollBarHook& hook = CScrollBarHook::GetInstance();
  ASSERT_TRUE(hook.IsInstalled());
  ScrollTestWindow window(WS_VSCROLL | WS_HSCROLL);
  EXPECT_FALSE(hook.IsAttached(window.Hwnd()));
  SetScrollRange(window.Hwnd(), SB_VERT, 0, 50, FALSE);
  EXPECT_EQ(SetScrollPos(window.Hwnd(), SB_VERT, 20, FALSE), 0);
  int minPos = -1, maxPos = -1;
  EXPECT_TRUE(GetScrollRange(window.Hwnd(), SB_VERT, &minPos, &maxPos));
  EXPECT_EQ(minPos, 0);
  EXPECT_EQ(maxPos, 50);
  EXPECT_EQ(GetScrollPos(window.Hwnd(), SB_VERT), 20);
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  EXPECT_TRUE(GetScrollInfo(window.Hwnd(), SB_VERT, &info));
  EXPECT_EQ(info.nPos, 20);
  EXPECT_TRUE(EnableScrollBar(window.Hwnd(), SB_VERT, ESB_DISABLE_BOTH));
  EXPECT_TRUE(ShowScrollBar(window.Hwnd(), SB_HORZ, FALSE));
  EXPECT_FALSE(GetWindowLongPtrW(window.Hwnd(), GWL_STYLE) & WS_HSCROLL);
  // Patched again after each pass-through.
  for (int i = 0; i < CScrollBarHook::kFunctionCount; ++i) {
    const CCodePatch& patch = CScrollBarHook::Patch(static_cast<CScrollBarHook::Function>(i));
    EXPECT_EQ(0, std::memcmp(EntryBytes(i).data(), patch.JumpBytes(), CCodePatch::kJumpSize)) << kNames[i];
  }
}

TEST(ScrollBarHook, StylesAndColoursReachOnlyAttachedWindowsAndReportTheEnginesResult) {
  CScrollBarHook& hook = CScrollBarHook::GetInstance();
  ScrollTestWindow window(WS_VSCROLL | WS_HSCROLL);
  EXPECT_FALSE(hook.SetStyle(window.Hwnd(), SB_BOTH, 1));
  EXPECT_FALSE(hook.Detach(window.Hwnd()));
  ASSERT_TRUE(hook.AttachWithStyle(window.Hwnd(), SB_BOTH, 1));
  EXPECT_EQ(CoolScrollGetBar(window.Hwnd(), SB_HORZ)->style, kCsbHotTracked);
  EXPECT_EQ(CoolScrollGetBar(window.Hwnd(), SB_VERT)->style, kCsbHotTracked);
  EXPECT_FALSE(hook.AttachWithStyle(window.Hwnd(), SB_BOTH, 0));
  EXPECT_EQ(CoolScrollGetBar(window.Hwnd(), SB_VERT)->style, kCsbHotTracked);
  EXPECT_FALSE(hook.SetStyle(window.Hwnd(), 2, 0));
  EXPECT_FALSE(hook.SetColor(window.Hwnd(), 11, SB_BOTH, RGB(1, 2, 3)));
  EXPECT_TRUE(hook.SetColor(window.Hwnd(), kClrThumb, SB_BOTH, RGB(1, 2, 3)));
  EXPECT_EQ(CoolScrollGetBar(window.Hwnd(), SB_HORZ)->colours[kClrThumb], RGB(1, 2, 3));
  EXPECT_TRUE(hook.SetBaseColor(window.Hwnd(), SB_VERT, RGB(200, 200, 200)));
  EXPECT_EQ(CoolScrollGetBar(window.Hwnd(), SB_VERT)->colours[kClrArrowFacePressed], RGB(170, 170, 170));
  EXPECT_EQ(CoolScrollGetBar(window.Hwnd(), SB_VERT)->colours[kClrArrowGlyph], RGB(0, 0, 0));
  EXPECT_TRUE(hook.Detach(window.Hwnd()));
}

int WINAPI Two() { return 2; }

// A function placed gigabytes away from its replacement, as user32 lies from
// the program on x86_64: the jump must still reach it.
TEST(CodePatch, ReachesAReplacementBeyondA32BitJumpAndPutsTheFunctionBack) {
  const uintptr_t distant = reinterpret_cast<uintptr_t>(&Two) + (sizeof(void*) == 8 ? 0x100000000ull * 16 : 0x10000000u);
  BYTE* code = nullptr;
  for (uintptr_t at = distant; !code && at < distant + 0x40000000; at += 0x10000)
    code = static_cast<BYTE*>(VirtualAlloc(reinterpret_cast<void*>(at), 4096, MEM_RESERVE | MEM_COMMIT,
                                           PAGE_EXECUTE_READWRITE));
  ASSERT_NE(code, nullptr);
  const BYTE returnOne[] = {0xB8, 1, 0, 0, 0, 0xC3};  // mov eax, 1; ret
  std::memcpy(code, returnOne, sizeof(returnOne));
  auto function = reinterpret_cast<int(WINAPI*)()>(code);
  {
    CCodePatch patch;
    ASSERT_TRUE(patch.Install(code, reinterpret_cast<const void*>(&Two)));
    EXPECT_EQ(function(), 2);
    ASSERT_TRUE(patch.Suspend());
    EXPECT_EQ(function(), 1);
    ASSERT_TRUE(patch.Resume());
    EXPECT_EQ(function(), 2);
  }
  EXPECT_EQ(0, std::memcmp(code, returnOne, sizeof(returnOne)));
  EXPECT_EQ(function(), 1);
  VirtualFree(code, 0, MEM_RELEASE);
}

CCodePatch* g_passingThrough = nullptr;
int WINAPI PassThrough() { return g_passingThrough->CallOriginal<decltype(PassThrough)>(); }

// A function whose bytes can no longer be written back (here a read-only
// view of a file holding them, where the patched function was): passing a
// call through must fail it, not run the jump again and again.
TEST(CodePatch, APassThroughThatCannotPutTheBytesBackFailsTheCall) {
  BYTE* code = static_cast<BYTE*>(VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE));
  ASSERT_NE(code, nullptr);
  const BYTE returnOne[] = {0xB8, 1, 0, 0, 0, 0xC3};  // mov eax, 1; ret
  std::memcpy(code, returnOne, sizeof(returnOne));
  auto function = reinterpret_cast<int(WINAPI*)()>(code);
  static CCodePatch patch;  // its relay stays in use to the end
  g_passingThrough = &patch;
  ASSERT_TRUE(patch.Install(code, reinterpret_cast<const void*>(&PassThrough)));
  EXPECT_EQ(function(), 1);

  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"hollin-patched-" + std::to_wstring(GetCurrentProcessId());
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE, 0, nullptr, CREATE_ALWAYS,
                            FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file, code, 4096, &written, nullptr));
  HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_EXECUTE_READ, 0, 0, nullptr);
  ASSERT_NE(mapping, nullptr);
  VirtualFree(code, 0, MEM_RELEASE);
  void* view = MapViewOfFileEx(mapping, FILE_MAP_READ | FILE_MAP_EXECUTE, 0, 0, 0, code);
  ASSERT_EQ(view, code);
  EXPECT_FALSE(patch.Suspend());
  EXPECT_EQ(function(), 0);
  UnmapViewOfFile(view);
  CloseHandle(mapping);
  CloseHandle(file);
}

TEST(CodePatch, AnUnreadableFunctionIsNotPatchedAndReportsFailure) {
  // The system's half of the address space: nothing there a process can
  // read (Wine reads even freed pages of its own process).
  void* kernel = reinterpret_cast<void*>(~static_cast<uintptr_t>(0xFFFF));
  CCodePatch patch;
  EXPECT_FALSE(patch.Install(kernel, reinterpret_cast<const void*>(&Two)));
  EXPECT_FALSE(patch.IsInstalled());
  EXPECT_EQ(patch.Function(), nullptr);
  EXPECT_FALSE(patch.Suspend());
  EXPECT_FALSE(patch.Resume());
  EXPECT_TRUE(patch.Remove());  // nothing to put back
}

}  // namespace
