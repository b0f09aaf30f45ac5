#include "SkinLayout.h"

namespace {
constexpr LONG kUnset = -1;
}

SkinLayout::Span SkinLayout::PlaceAxis(bool hasStartId, const RECT* startAnchor, LONG startAnchorEdge,
                                       int startOffset, bool hasEndId, const RECT* endAnchor,
                                       LONG endAnchorEdge, int endOffset, int size, int clientSize)
{
    Span span{kUnset, kUnset};
    if (!hasStartId) {
        if (startOffset != kUnset)
            span.start = startOffset;
    } else if (startAnchor) {
        span.start = startAnchorEdge + (startOffset != kUnset ? startOffset : 0);
    }

    if (!hasEndId) {
        if (endOffset != kUnset)
            span.end = clientSize - endOffset;
        else if (span.start != kUnset)
            span.end = span.start + size;
    } else if (endAnchor) {
        span.end = endAnchorEdge - (endOffset != kUnset ? endOffset : 0);
    }

    if (span.start == kUnset && span.end != kUnset)
        span.start = span.end - size;
    return span;
}

RECT SkinLayout::Place(const SkinPlacement& p, const RECT* leftAnchor, const RECT* topAnchor,
                       const RECT* rightAnchor, const RECT* bottomAnchor, int clientWidth, int clientHeight)
{
    const Span x = PlaceAxis(!p.leftid.empty(), leftAnchor, leftAnchor ? leftAnchor->right : 0, p.left,
                             !p.rightid.empty(), rightAnchor, rightAnchor ? rightAnchor->left : 0, p.right,
                             p.width, clientWidth);
    const Span y = PlaceAxis(!p.topid.empty(), topAnchor, topAnchor ? topAnchor->bottom : 0, p.top,
                             !p.bottomid.empty(), bottomAnchor, bottomAnchor ? bottomAnchor->top : 0, p.bottom,
                             p.height, clientHeight);
    return RECT{x.start, y.start, x.end, y.end};
}
