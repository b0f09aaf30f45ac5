#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "ListTestSupport.h"
#include "RecordListCtrl.h"

namespace {

const COLORREF kGrid = RGB(255, 0, 0);
const COLORREF kButton = RGB(0, 160, 0);
const COLORREF kButtonHot = RGB(0, 0, 220);
const COLORREF kIcon = RGB(255, 128, 0);
const COLORREF kRowColour = RGB(240, 240, 255);
const COLORREF kKey = RGB(255, 0, 255);

class RecordListCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCursorPos(900, 700);
    ASSERT_TRUE(parent.Create(PopupArgs(10, 10, 300, 260)));
    ASSERT_TRUE(list.Create(ListArgs(parent.Hwnd(), 300, 260)));
    list.Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  }
  int LoadSkin(const std::wstring& extra = L"") {
    folder.WriteBmp(L"btn.bmp", 12, 10, kButton);
    folder.WriteBmp(L"btnhot.bmp", 12, 10, kButtonHot);
    folder.WriteBmp(L"icon.bmp", 10, 10, kKey, RECT{2, 2, 8, 8}, kIcon);
    std::wstring xml =
        L"<skin><records><LISTITEM TypeID='2' highlightbgclr='13158600' bgclr='" + ColourText(kRowColour) +
        L"'/><RECORDLIST_EXT indent='3' gridlnclr='" + ColourText(kGrid) + L"' itemheight='26'>"
        L"<item type='rec' fontclr='255' tooltip='first'/><item type='rec' tooltip='second'/>"
        L"<item type='btn' img_normal='btn.bmp' img_hover='btnhot.bmp' columnwidth='24'/>"
        L"<item type='icon' img_normal='icon.bmp' img_sel='icon.bmp' transclr='" + ColourText(kKey) + L"'/>" +
        extra + L"</RECORDLIST_EXT></records></skin>";
    std::wstring path = folder.WriteText(L"skin.xml", xml);
    return list.LoadSkinFile(L"records", path.c_str());
  }
  void Fill() {
    ASSERT_TRUE(list.InitColumns(true));
    ASSERT_EQ(1, LoadSkin());
    for (const wchar_t* text : {L"apple", L"banana", L"cherry"}) list.AddRecord(text, -1);
  }
  POINT ButtonCentre(int row) {
    RECT button{};
    list.GetButtonRect(row, button);
    return POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  }

  TempSkinFolder folder;
  ListParent parent;
  CRecordListCtrl list;
};

TEST_F(RecordListCtrlTest, ColumnsRecordsAndTheirValuesAndSearches) {
  Fill();
  EXPECT_FALSE(list.InitColumns(false)) << "the list has rows";
  RECT client = list.ClientRect();
  EXPECT_EQ(24, ListView_GetColumnWidth(list.Hwnd(), 1)) << "the skin's button column";
  EXPECT_EQ(client.right - 24, ListView_GetColumnWidth(list.Hwnd(), 0));
  EXPECT_EQ(L"first", list.Skin().tooltip) << "the second rec entry is ignored";
  EXPECT_EQ(26, SubItemRect(list.Hwnd(), 0, 1).bottom - SubItemRect(list.Hwnd(), 0, 1).top);

  EXPECT_EQ(3, list.GetItemIndent(1));
  EXPECT_TRUE(list.SetRecordValue(2, 42));
  EXPECT_EQ(42, list.GetRecordValue(2));
  EXPECT_EQ(2, list.FindRecordByValue(42, -1));
  EXPECT_EQ(-1, list.FindRecordByValue(7, -1));
  EXPECT_EQ(1, list.FindRecordByText(L"ban", -1));
  EXPECT_TRUE(list.SetRecordText(1, L"blueberry"));
  EXPECT_EQ(L"blueberry", list.GetRecordText(1));

  EXPECT_FALSE(list.DeleteRecord(5));
  EXPECT_TRUE(list.DeleteRecord(0));
  EXPECT_EQ(L"blueberry", list.GetRecordText(0));
  EXPECT_EQ(42, list.GetRecordValue(1));
  EXPECT_EQ(2, list.DeleteAllRecords());
  EXPECT_EQ(0, list.ItemCount());
  EXPECT_EQ(0, list.GetRecordValue(0));
}

TEST_F(RecordListCtrlTest, PressesOnTheButtonAndTheRowReachTheNotifyWindowOnlyOnceOneIsSet) {
  Fill();
  ClickAt(list.Hwnd(), ButtonCentre(0));
  EXPECT_TRUE(parent.recordNotifications.empty()) << "no notify window yet";
  list.SetNotifyWindow(parent.Hwnd());

  ClickAt(list.Hwnd(), ButtonCentre(1));
  ASSERT_EQ(1u, parent.recordNotifications.size());
  const RecordListNotify& button = parent.recordNotifications[0];
  EXPECT_EQ(RLN_BUTTONCLICK, static_cast<int>(button.hdr.code));
  EXPECT_EQ(list.Hwnd(), button.hdr.hwndFrom);
  EXPECT_EQ(77u, button.hdr.idFrom);
  EXPECT_EQ(1, button.row);
  EXPECT_EQ(&list, button.list);
  EXPECT_FALSE(IsSelected(list.Hwnd(), 1)) << "the button does not select its row";

  RECT text = SubItemRect(list.Hwnd(), 2, 0);
  ClickAt(list.Hwnd(), POINT{text.left + 60, text.top + 5});
  ASSERT_EQ(2u, parent.recordNotifications.size());
  EXPECT_EQ(RLN_ROWCLICK, static_cast<int>(parent.recordNotifications[1].hdr.code));
  EXPECT_EQ(2, parent.recordNotifications[1].row);
  EXPECT_TRUE(IsSelected(list.Hwnd(), 2));

  RECT cell = SubItemRect(list.Hwnd(), 0, 1);
  ClickAt(list.Hwnd(), POINT{cell.right - 1, cell.top + 1});
  EXPECT_EQ(2u, parent.recordNotifications.size()) << "column 1 beside the button tells nobody";
  EXPECT_TRUE(IsSelected(list.Hwnd(), 0));
}

TEST_F(RecordListCtrlTest, TheButtonLightsUnderTheMouseAndGoesOutWhenTheMouseMovesOn) {
  Fill();
  MoveTo(list.Hwnd(), ButtonCentre(0));
  EXPECT_EQ(RecordButton::kHot, list.GetRecord(0)->button.state);
  auto shown = ShownPixels(list.Hwnd());
  EXPECT_EQ(kButtonHot, shown->Pixel(ButtonCentre(0).x, ButtonCentre(0).y));
  RECT text = SubItemRect(list.Hwnd(), 1, 0);
  MoveTo(list.Hwnd(), POINT{text.left + 60, text.top + 5});
  EXPECT_EQ(RecordButton::kNormal, list.GetRecord(0)->button.state);
  MoveTo(list.Hwnd(), ButtonCentre(2));
  SendMessageW(list.Hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(RecordButton::kNormal, list.GetRecord(2)->button.state);
}

TEST_F(RecordListCtrlTest, RowsShowTheirIconButtonAndGridLine) {
  Fill();
  auto shown = ShownPixels(list.Hwnd());
  RECT row = SubItemRect(list.Hwnd(), 1, 0);
  EXPECT_EQ(kGrid, shown->Pixel(row.left + 200, row.bottom - 1));
  EXPECT_EQ(kRowColour, shown->Pixel(row.left + 200, row.bottom - 2));
  EXPECT_NE(kGrid, shown->Pixel(row.left, row.bottom - 1)) << "the line starts a pixel in";
  EXPECT_EQ(kButton, shown->Pixel(ButtonCentre(1).x, ButtonCentre(1).y));
  // The icon box starts at the indent; the icon is centred in it, its key colour left out.
  int middle = (row.top + row.bottom) / 2;
  EXPECT_EQ(kIcon, shown->Pixel(row.left + 3 + 1 + 5, middle));
  EXPECT_EQ(0, shown->Count(kKey, row));
}

TEST_F(RecordListCtrlTest, CreatedListsAskTheirParentForTheRowHeightThroughReflection) {
  CListCtrlOwnData created;
  ASSERT_TRUE(created.Create(ListArgs(parent.Hwnd(), 200, 100)));
  InsertColumns(created.Hwnd(), {L"a"}, 100);
  InsertRow(created.Hwnd(), {L"x"});
  EXPECT_EQ(16, SubItemRect(created.Hwnd(), 0, 0).bottom - SubItemRect(created.Hwnd(), 0, 0).top);
}

}  // namespace
