#include "CellLinkGroup.h"

#include <algorithm>

namespace {

fw::ScopedFont UnderlinedCopy(HFONT font) {
  LOGFONTW description{};
  if (!::GetObjectW(font, sizeof(description), &description)) return fw::ScopedFont();
  description.lfUnderline = TRUE;
  return fw::ScopedFont(::CreateFontIndirectW(&description));
}

}  // namespace

bool CCellLinkGroup::AddLink(int id, const std::wstring& text) {
  // Without an owner there is no DC to measure in: GetDC(nullptr) would
  // measure in the screen's.
  if (Find(id) || !owner_) return false;
  fw::WindowDC dc(owner_);
  if (!dc.Get()) return false;
  Link link;
  link.id = id;
  link.text = text;
  // Measured in the link's own font, so the hit area matches the drawn text.
  Measure(dc, link);
  links_.push_back(std::move(link));
  return true;
}

bool CCellLinkGroup::RemoveLink(int id) {
  auto found = std::find_if(links_.begin(), links_.end(), [id](const Link& link) { return link.id == id; });
  if (found == links_.end()) return false;
  links_.erase(found);
  return true;
}

bool CCellLinkGroup::SetLinkText(int id, const std::wstring& text) {
  Link* link = Find(id);
  if (!link) return false;
  link->text = text;
  MeasureWithOwner(*link);
  return true;
}

bool CCellLinkGroup::GetLinkText(int id, std::wstring& text) const {
  const Link* link = Find(id);
  if (!link) return false;
  text = link->text;
  return true;
}

bool CCellLinkGroup::SetLinkTooltip(int id, const std::wstring& text) {
  Link* link = Find(id);
  if (!link) return false;
  link->tooltip = text;
  return true;
}

bool CCellLinkGroup::GetLinkTooltip(int id, std::wstring& text) const {
  const Link* link = Find(id);
  if (!link) return false;
  text = link->tooltip;
  return true;
}

bool CCellLinkGroup::EnableLink(int id, bool enable) {
  Link* link = Find(id);
  if (!link) return false;
  if (link->enabled == enable) return true;
  link->enabled = enable;
  // An underlined link changes font with its state.
  if (link->underline) MeasureWithOwner(*link);
  return true;
}

bool CCellLinkGroup::IsLinkEnabled(int id) const {
  const Link* link = Find(id);
  return link && link->enabled;
}

bool CCellLinkGroup::SetLinkColor(int id, COLORREF colour) {
  Link* link = Find(id);
  if (!link) return false;
  link->colour = colour;
  return true;
}

bool CCellLinkGroup::SetLinkDisabledColor(int id, COLORREF colour) {
  Link* link = Find(id);
  if (!link) return false;
  link->disabledColour = colour;
  return true;
}

bool CCellLinkGroup::SetLinkUnderline(int id, bool underline) {
  Link* link = Find(id);
  if (!link) return false;
  if (link->underline == underline) return true;
  link->underline = underline;
  MeasureWithOwner(*link);
  return true;
}

bool CCellLinkGroup::SetOwnerWindow(HWND owner) {
  if (owner == owner_) return true;
  if (!owner) return false;
  fw::WindowDC dc(owner);
  if (!dc.Get()) return false;
  owner_ = owner;
  for (Link& link : links_) Measure(dc, link);
  return true;
}

void CCellLinkGroup::SetFonts(SharedFont normal, SharedFont underlined) {
  normalFont_ = std::move(normal);
  underlinedFont_ = std::move(underlined);
  fw::WindowDC dc(owner_);
  if (!dc.Get()) return;
  for (Link& link : links_) Measure(dc, link);
}

int CCellLinkGroup::GetTotalWidth() const {
  if (links_.empty()) return 0;
  int total = 0;
  for (const Link& link : links_) total += link.width;
  return total + static_cast<int>(links_.size() - 1) * spacing_;
}

const CCellLinkGroup::Link* CCellLinkGroup::LinkFromPoint(int x, int y) const {
  if (x < 0 || y < 0 || y >= lineHeight_) return nullptr;
  int position = 0;
  for (const Link& link : links_) {
    if (x >= position && x < position + link.width) return &link;
    position += link.width + spacing_;
  }
  return nullptr;
}

bool CCellLinkGroup::LinkIdAt(int x, int y, int& id) const {
  const Link* link = LinkFromPoint(x, y);
  if (!link || !link->enabled) return false;
  id = link->id;
  return true;
}

bool CCellLinkGroup::SetCursorAt(int x, int y) const {
  const Link* link = LinkFromPoint(x, y);
  if (!link || !link->enabled) return false;
  ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
  return true;
}

int CCellLinkGroup::Draw(HDC dc, int x, int y, int clipDx, int clipDy, int width, int height) const {
  const RECT clip{x, y, x + width, y + height};
  const int saved = ::SaveDC(dc);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextAlign(dc, TA_TOP | TA_LEFT);

  int top = y - clipDy;
  {
    fw::ScopedSelectObject normal(dc, NormalFont());
    SIZE space{};
    ::GetTextExtentPoint32W(dc, L" ", 1, &space);
    if (lineHeight_ > space.cy) top += (lineHeight_ - space.cy) / 2;
  }

  int position = x - clipDx;
  bool first = true;
  for (const Link& link : links_) {
    if (!first) position += spacing_;
    first = false;
    if (position >= clip.right) break;
    const int end = std::min<int>(position + link.width, clip.right);
    fw::ScopedFont temporary;
    fw::ScopedSelectObject font(dc, FontOf(link, temporary));
    ::SetTextColor(dc, link.enabled ? link.colour : link.disabledColour);
    RECT cut{std::max<LONG>(position, clip.left), clip.top, end, clip.bottom};
    if (cut.right > cut.left)
      ::ExtTextOutW(dc, position, top, ETO_CLIPPED, &cut, link.text.c_str(), static_cast<UINT>(link.text.size()),
                    nullptr);
    position = end;
  }
  ::RestoreDC(dc, saved);
  return 1;
}

CCellLinkGroup::Link* CCellLinkGroup::Find(int id) {
  for (Link& link : links_)
    if (link.id == id) return &link;
  return nullptr;
}

const CCellLinkGroup::Link* CCellLinkGroup::Find(int id) const {
  for (const Link& link : links_)
    if (link.id == id) return &link;
  return nullptr;
}

HFONT CCellLinkGroup::NormalFont() const {
  if (normalFont_ && *normalFont_) return normalFont_->Get();
  return static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
}

HFONT CCellLinkGroup::FontOf(const Link& link, fw::ScopedFont& temporary) const {
  if (!link.underline || !link.enabled) return NormalFont();
  if (underlinedFont_ && *underlinedFont_) return underlinedFont_->Get();
  temporary = UnderlinedCopy(NormalFont());
  return temporary ? temporary.Get() : NormalFont();
}

void CCellLinkGroup::Measure(HDC dc, Link& link) const {
  fw::ScopedFont temporary;
  fw::ScopedSelectObject font(dc, FontOf(link, temporary));
  SIZE size{};
  ::GetTextExtentPoint32W(dc, link.text.c_str(), static_cast<int>(link.text.size()), &size);
  link.width = size.cx;
}

bool CCellLinkGroup::MeasureWithOwner(Link& link) const {
  fw::WindowDC dc(owner_);
  if (!dc.Get()) return false;
  Measure(dc, link);
  return true;
}
