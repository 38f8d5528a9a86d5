#include "data/xMatrix.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// Element (r, c) = 10 r + c, so a kept value shows where it came from.
TMatrix numbered(int rows, int cols)
{
    TMatrix m(rows, cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            m.SetItem(r, c, 10 * r + c);
    return m;
}

void expectAll(const TMatrix& m, Extended value)
{
    for (int r = 0; r < m.Rows(); ++r)
        for (int c = 0; c < m.Cols(); ++c)
            EXPECT_EQ(m.GetItem(r, c), value) << "at (" << r << ", " << c << ")";
}

}  // namespace

TEST(xMatrix, CreateGivesZerosOfTheGivenShape)
{
    TMatrix m(2, 3);
    EXPECT_EQ(m.Rows(), 2);
    EXPECT_EQ(m.Cols(), 3);
    expectAll(m, 0);

    TMatrix empty(0, 0);
    EXPECT_EQ(empty.Rows(), 0);
    EXPECT_EQ(empty.Cols(), 0);
    empty.Fill(5);
    empty.Scale(2);
    EXPECT_EQ(empty.Rows(), 0);
}

TEST(xMatrix, ElementsKeepExtendedPrecision)
{
    TMatrix m(1, 1);
    const Extended tenth = 0.1L;  // not representable as a double
    m.SetItem(0, 0, tenth);
    EXPECT_EQ(m.GetItem(0, 0), tenth);
    EXPECT_NE(m.GetItem(0, 0), static_cast<Extended>(0.1));
    m.Scale(3);
    EXPECT_EQ(m.GetItem(0, 0), tenth * 3);
}

TEST(xMatrix, SetSizeToTheCurrentShapeKeepsValuesAndAnyOtherShapeClearsThem)
{
    TMatrix m = numbered(2, 3);
    m.SetSize(2, 3);
    EXPECT_EQ(m.GetItem(1, 2), 12);

    m.SetSize(2, 4);  // one dimension changed: everything cleared
    EXPECT_EQ(m.Cols(), 4);
    expectAll(m, 0);
}

TEST(xMatrix, ResizeKeepsTheCommonRegionAndZeroesTheRest)
{
    TMatrix m = numbered(2, 3);
    m.Resize(3, 2);
    ASSERT_EQ(m.Rows(), 3);
    ASSERT_EQ(m.Cols(), 2);
    EXPECT_EQ(m.GetItem(0, 0), 0);
    EXPECT_EQ(m.GetItem(0, 1), 1);
    EXPECT_EQ(m.GetItem(1, 0), 10);
    EXPECT_EQ(m.GetItem(1, 1), 11);
    EXPECT_EQ(m.GetItem(2, 0), 0);
    EXPECT_EQ(m.GetItem(2, 1), 0);

    m.Resize(3, 2);  // no-op: values stay
    EXPECT_EQ(m.GetItem(1, 1), 11);

    m.Resize(1, 4);  // growing a dimension adds zeros
    EXPECT_EQ(m.GetItem(0, 1), 1);
    EXPECT_EQ(m.GetItem(0, 2), 0);
    EXPECT_EQ(m.GetItem(0, 3), 0);
}

TEST(xMatrix, FillAndScale)
{
    TMatrix m(2, 2);
    m.Fill(3);
    m.Scale(0.5L);
    expectAll(m, 1.5L);
    m.Fill(-1);
    expectAll(m, -1);
}

TEST(xMatrix, AssignCopiesValuesAndTakesTheSourceShape)
{
    TMatrix same(2, 3);
    same.Assign(numbered(2, 3));
    EXPECT_EQ(same.GetItem(1, 2), 12);

    TMatrix other(5, 1);
    other.Assign(numbered(2, 3));
    EXPECT_EQ(other.Rows(), 2);
    EXPECT_EQ(other.Cols(), 3);
    EXPECT_EQ(other.GetItem(1, 0), 10);

    other.Assign(other);
    EXPECT_EQ(other.GetItem(1, 2), 12);
}

TEST(xMatrix, AnImpossibleSizeChangesNothing)
{
    for (auto [rows, cols] : {std::pair{-1, 3}, {3, -1}, {INT_MAX, INT_MAX}}) {
        TMatrix m = numbered(2, 3);
        EXPECT_FALSE(m.SetSize(rows, cols));
        EXPECT_FALSE(m.Resize(rows, cols));
        EXPECT_EQ(m.Rows(), 2);
        EXPECT_EQ(m.Cols(), 3);
        EXPECT_EQ(m.GetItem(1, 2), 12);
    }
}
