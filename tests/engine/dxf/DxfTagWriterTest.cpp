#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/tags/DxfTokenizer.h"

TEST(DxfTagWriter, LaysOutCodesAndNumbersLikeCadFiles) {
    std::string out;
    cad::DxfTagWriter w(out, "\n");
    w.string(0, "LINE");
    w.integer(62, 7);
    w.integer(90, 70000);
    w.integer(1071, 12);
    w.real(10, 0.0);
    w.real(40, 1.5);
    w.real(41, 1e20);
    w.real(42, -2.5e-7);
    w.string(1000, " text ");
    w.tag(70, " 3 ");
    w.tag(40, "1.000000000000E+20");
    w.tag(1, "  keep  ");
    EXPECT_EQ(out,
              "  0\nLINE\n 62\n     7\n 90\n70000\n1071\n12\n 10\n0.0\n 40\n1.5\n 41\n1.0E+20\n 42\n-2.5E-07\n"
              "1000\n text \n 70\n     3\n 40\n1.000000000000E+20\n  1\n  keep  \n");
    EXPECT_THROW(w.real(10, std::numeric_limits<double>::quiet_NaN()), std::domain_error);
}

TEST(DxfTagWriter, RealsReadBackExactly) {
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> mant(-1.0, 1.0);
    std::uniform_int_distribution<int> exp(-300, 300);
    for (int i = 0; i < 20000; ++i) {
        const double v = std::ldexp(mant(rng), exp(rng) / 3);
        double back = 0;
        ASSERT_TRUE(cad::parseDxfDouble(cad::formatDxfReal(v), back)) << cad::formatDxfReal(v);
        ASSERT_EQ(back, v) << cad::formatDxfReal(v);
    }
}
