#pragma once
#include <windows.h>
#include <string>

// Where one skin item sits relative to the client area and to the items laid
// out before it. Offsets of -1 are unset; an empty id means "no anchor".
struct SkinPlacement
{
    std::wstring leftid, topid, rightid, bottomid;
    int left = -1, top = -1, right = -1, bottom = -1;
    int width = 0, height = 0;
};

// Anchor layout of one item. The anchors are looked up by the caller (null =
// unknown anchor); their rectangles are read as they stand now, so an item can
// only follow items placed before it. Sides that cannot be fixed stay -1.
class SkinLayout
{
public:
    static RECT Place(const SkinPlacement& placement, const RECT* leftAnchor, const RECT* topAnchor,
                      const RECT* rightAnchor, const RECT* bottomAnchor, int clientWidth, int clientHeight);

private:
    struct Span { LONG start; LONG end; };
    static Span PlaceAxis(bool hasStartId, const RECT* startAnchor, LONG startAnchorEdge, int startOffset,
                          bool hasEndId, const RECT* endAnchor, LONG endAnchorEdge, int endOffset,
                          int size, int clientSize);
};
