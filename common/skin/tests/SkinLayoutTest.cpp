#include "SkinLayout.h"
#include <gtest/gtest.h>

namespace {
void ExpectRect(const RECT& r, LONG l, LONG t, LONG rt, LONG b)
{
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rt);
    EXPECT_EQ(r.bottom, b);
}
}

TEST(SkinLayout, OffsetsFromTheClientEdgesAndSizes)
{
    SkinPlacement p;
    p.left = 10; p.top = 20; p.width = 50; p.height = 30;
    ExpectRect(SkinLayout::Place(p, nullptr, nullptr, nullptr, nullptr, 300, 200), 10, 20, 60, 50);

    SkinPlacement stretched;
    stretched.left = 5; stretched.right = 5; stretched.top = 0; stretched.bottom = 10;
    ExpectRect(SkinLayout::Place(stretched, nullptr, nullptr, nullptr, nullptr, 300, 200), 5, 0, 295, 190);
}

TEST(SkinLayout, RightOffsetAndWidthFixTheLeftSide)
{
    SkinPlacement p;
    p.right = 10; p.width = 50; p.bottom = 0; p.height = 20;
    ExpectRect(SkinLayout::Place(p, nullptr, nullptr, nullptr, nullptr, 300, 200), 240, 180, 290, 200);
}

TEST(SkinLayout, AnchorsGiveTheFacingSides)
{
    const RECT before{0, 0, 100, 40};
    const RECT after{250, 150, 300, 200};
    SkinPlacement p;
    p.leftid = L"a"; p.left = 5; p.topid = L"a";
    p.rightid = L"b"; p.bottomid = L"b"; p.bottom = 10;
    ExpectRect(SkinLayout::Place(p, &before, &before, &after, &after, 300, 200), 105, 40, 250, 140);
}

TEST(SkinLayout, UnknownAnchorsLeaveSidesUnsetUnlessSizeFixesThem)
{
    SkinPlacement p;
    p.leftid = L"missing"; p.left = 5; p.width = 30;
    p.topid = L"missing"; p.height = 10;
    ExpectRect(SkinLayout::Place(p, nullptr, nullptr, nullptr, nullptr, 300, 200), -1, -1, -1, -1);

    p.right = 20;  // no rightid: right is measured from the client edge, left follows from width
    ExpectRect(SkinLayout::Place(p, nullptr, nullptr, nullptr, nullptr, 300, 200), 250, -1, 280, -1);
}

TEST(SkinLayout, NothingSetLeavesEverySideUnset)
{
    ExpectRect(SkinLayout::Place(SkinPlacement{}, nullptr, nullptr, nullptr, nullptr, 300, 200), -1, -1, -1, -1);
}
