#include "model/YieldTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/FloatFault.h"
#include "model/Sentinel.h"

namespace orven {
namespace {

enum Species { kBeech, kOak, kAsh, kNorwaySpruce, kSitkaSpruce, kDouglasFir, kSilverFir };

// The yield-table model written out again from the published tables, so that a
// slip in a production coefficient shows up as a wrong value.
double PublishedHg(int species, double T, double S) {
  double A = 0, k = 0, p = 0, h0 = 0;
  switch (species) {
    case kBeech:
      A = 39.1259 - 4.3937 * S, k = 0.0256 + 0.00102 * S, p = 1 / (0.5841 - 0.0622 * S), h0 = 1.5192;
      break;
    case kOak:
      A = 38.3356 - 3.5797 * S, k = 0.0202 - 0.00048 * S, p = 1 / (1.057 - 0.0385 * S), h0 = -3.6531;
      break;
    case kAsh:
      A = 49.0022 - 3.0716 * S, k = 0.0218 - 0.00203 * S, p = 1 / 1.8076, h0 = -10.2248;
      break;
    case kNorwaySpruce:
      if (S <= 3.22999) {
        A = 41.9491 - 4.0557 * S, k = 0.0266 + 0.00116 * S, p = 1 / (0.6825 - 0.0656 * S), h0 = 0.1155;
      } else {
        A = 45.1666 - 2.2115 * S, k = 0.0246 - 0.00066 * S, p = 1 / (0.7649 - 0.0627 * S), h0 = -1.7816;
      }
      break;
    case kSitkaSpruce:
      A = 41.5284 - 4.9054 * S, k = 0.0463 + 0.00202 * S, p = 1 / (0.4198 - 0.0502 * S), h0 = -0.2416;
      break;
    case kDouglasFir:
      A = 56.9578 - 4.1799 * S, k = 0.0247 + 0.000715 * S, p = 1 / (0.9063 - 0.0469 * S), h0 = -3.8542;
      break;
    case kSilverFir:
      A = 49.5162 - 4.041 * S, k = 0.024 - 0.00039 * S, p = 1 / (0.6529 - 0.0427 * S), h0 = -0.3805;
      break;
  }
  return A * std::pow(1 - std::exp(-k * T), p) + h0;
}

double PublishedSiteClass(int species, double Y) {
  switch (species) {
    case kBeech: return 5.154351 - 0.428144 * Y + 5.886266 / Y;
    case kOak: return 7.5258 - 0.9122 * Y + 0.0097 * Y * Y;
    case kAsh: return 2.54627 - 0.40076 * Y + 11.64624 / Y;
    case kNorwaySpruce:
      return Y < 12.2563646069316 ? 94.032945 / Y - 4.442182
                                  : 5.355545 - 0.245697 * Y + 10.856284 / Y;
    case kSitkaSpruce: return 3.622654 - 0.133496 * Y + 9.464715 / Y;
    case kDouglasFir: return 9.526772 - 0.362205 * Y;
    case kSilverFir: return -0.366643 - 0.051548 * Y + 52.037855 / Y;
  }
  return 0;
}

// Unclamped initial-state formulas (S already inside the species' limits).
double PublishedDiameter(int species, double T, double S) {
  if (species == kDouglasFir) {
    return (0.9519 + 0.031 * std::log(S)) * T + (6.4266 - 2.9807 * S) * std::log(T) + 6.2132 * S -
           21.0505;
  }
  double a = 0, b = 0, e = 0, d0 = 0;
  switch (species) {
    case kBeech:
      a = 0.694 - 0.0924 * S, b = 0.9661 - 0.00087 * std::log(S), e = 0.00045 * S, d0 = 0.44 * S - 4.803;
      break;
    case kOak:
      a = 0.7355 + 0.1332 * S, b = 0.9602 - 0.0762 * S, e = 0.00062 * S, d0 = -4.2722 - 0.6402 * S;
      break;
    case kAsh:
      a = 0.9828 - 0.101 * S, b = 0.9792 - 0.00067 * std::log(S), e = 0.00006 * S,
      d0 = -3.4006 - 0.5142 * S;
      break;
    case kNorwaySpruce:
      if (S <= 3.22999) {
        a = 0.2524 + 0.00651 * S, b = 1.3092 - 0.091 * S, e = 0.00197 * S, d0 = 0.1598 - 0.00912 * S;
      } else {
        a = 1.1715 - 0.0102 * S, b = 0.8883 - 0.0749 * S, e = 0.00198 * S, d0 = 1.8066 - 0.4763 * S;
      }
      break;
    case kSitkaSpruce:
      a = 0.4285 + 0.0572 * S, b = 1.1994 - 0.0359 * std::log(S), e = -0.00302 * S,
      d0 = -2.2607 - 3.0155 * S;
      break;
    case kSilverFir:
      a = 12.5516 + 1.3637 * S, b = 0.4742 - 0.0547 * S, e = 0.00065 * S, d0 = 2.4205 * S - 45.0878;
      break;
  }
  return a * std::pow(T, b) * std::exp(e * T) + d0;
}

double PublishedBasalArea(int species, double T, double S) {
  double A = 0, b = 0, k = 0, m = 0;
  switch (species) {
    case kBeech:
      A = 23.5097 - 0.3353 * S, b = 1.2768, k = 0.0685 - 0.0077 * S, m = 0.000315 * S - 0.00212;
      break;
    case kOak:
      A = 17.4685 - 0.1959 * S, b = 0.7305, k = 0.0672 - 0.00788 * S, m = 0.000212 * S - 0.00112;
      break;
    case kAsh:
      A = 11.6974 - 0.4531 * S, b = 1.3959, k = 0.1187 - 0.0152 * S, m = 0.000603 * S - 0.00263;
      break;
    case kNorwaySpruce:
      if (S <= 3.22999) {
        A = 42.3708 - 4.3864 * S, b = 0.5051, k = 0.0186 + 0.0077 * S, m = 0.00303 - 0.00111 * S;
      } else {
        A = 35.7999 - 2.7552 * S, b = 1.4334, k = 0.1573 - 0.0657 * std::log(S),
        m = -0.00159 - 0.00033 * S;
      }
      break;
    case kSitkaSpruce:
      A = 33.9109 - 0.34 * S, b = 11.1076, k = 0.2302 - 0.085 * std::log(S), m = 0.00104 * S - 0.00423;
      break;
    case kDouglasFir:
      A = 49.4947 - 3.9516 * S, b = 1.9042, k = 0.0837 - 0.00124 * S, m = 0.00594 - 0.00076 * S;
      break;
    case kSilverFir:
      A = 50.1368 + 3.4724 * S, b = 1.3814, k = 0.0493 - 0.00375 * S, m = 0.000804 * S - 0.00043;
      break;
  }
  return A * (1 - b * std::exp(-k * T)) * std::exp(-m * T);
}

double PublishedStemNumber(int species, double T, double S) {
  double q = 0, r = 0, u = 0, v = 0, p = 0;
  switch (species) {
    case kBeech:
      q = 1647.2, r = -8.3463, u = 0.0496 - 0.00657 * S, v = 0.0214 * S - 0.1177,
      p = 1.7207 + 0.2158 * std::log(S);
      break;
    case kOak:
      q = 13431172, r = 21.5953, u = 5.4213 + 0.2084 * S, v = -8.2854 - 4.8293 * S,
      p = 2.0146 - 0.0681 * S;
      break;
    case kAsh:
      q = 61.1326, r = -12.8942, u = 0.0149 - 0.00089 * S, v = 0.00338 - 0.0119 * S,
      p = 1.9494 - 0.0942 * std::log(S);
      break;
    case kNorwaySpruce:
      if (S <= 3.22999) {
        q = 683.3, r = -199.4, u = 0.000979 + 0.00144 * S, v = 0.2766 - 0.0381 * S,
        p = 5.6675 - 1.4451 * std::log(S);
      } else {
        q = 679.6, r = -493.4, u = 0.000478 + 0.000469 * S, v = 0.2221 - 0.0165 * S,
        p = 2.2565 + 0.1628 * S;
      }
      break;
    case kSitkaSpruce:
      q = 1.077, r = -96.5978, u = 0.00183 - 0.00035 * S, v = 0,
      p = 2.5276 - 0.2671 * S + 0.2837 * std::log(S);
      break;
    case kDouglasFir:
      q = 74.3079, r = 3.8055, u = 0.00588 + 0.000994 * S, v = 0.1391 - 0.0244 * S,
      p = 4.1686 - 0.4126 * std::log(S);
      break;
    case kSilverFir:
      q = 128.7, r = 161.3, u = 0.0158 - 0.00216 * S, v = 0, p = 3.0832 - 0.2555 * S;
      break;
  }
  const double X = u * T + v * std::log(T);
  return q / std::pow(X, p) + r;
}

void ExpectClose(double actual, double expected) {
  EXPECT_NEAR(actual, expected, 1e-12 * std::max(1.0, std::abs(expected)));
}

struct AgeAndSite {
  int species;
  double T, S;
};

// Every species, and Norway spruce on both sides of its split.
const AgeAndSite kModelPoints[] = {
    {kBeech, 40, 2},         {kBeech, 90, 4.5},       {kOak, 40, 2},
    {kOak, 120, 3.5},        {kAsh, 40, 2},           {kAsh, 70, 3.5},
    {kNorwaySpruce, 40, 2},  {kNorwaySpruce, 40, 3.22999}, {kNorwaySpruce, 40, 3.23},
    {kNorwaySpruce, 60, 6},  {kSitkaSpruce, 40, 2},   {kSitkaSpruce, 60, 3.5},
    {kDouglasFir, 40, 2},    {kDouglasFir, 70, 3.5},  {kSilverFir, 40, 2},
    {kSilverFir, 90, 3},
};

TEST(YieldTableTest, HgFollowsThePublishedModel) {
  for (const AgeAndSite& x : kModelPoints) {
    SCOPED_TRACE(testing::Message() << "species " << x.species << ", T " << x.T << ", S " << x.S);
    ExpectClose(YieldTableHg(x.species, x.T, x.S), PublishedHg(x.species, x.T, x.S));
  }
}

TEST(YieldTableTest, BeechHgAtAgeZeroIsTheConstant) {
  for (double S : {1.0, 2.0, 3.5, 5.0}) EXPECT_DOUBLE_EQ(YieldTableHg(kBeech, 0, S), 1.5192);
}

TEST(YieldTableTest, UnknownSpeciesIsBeech) {
  for (int species : {7, -1}) {
    SCOPED_TRACE(species);
    EXPECT_EQ(YieldTableHg(species, 40, 2.5), YieldTableHg(kBeech, 40, 2.5));
    EXPECT_EQ(SiteClassFromYieldClass(species, 8), SiteClassFromYieldClass(kBeech, 8));
    EXPECT_EQ(YieldTableDiameter(species, 40, 2.5), YieldTableDiameter(kBeech, 40, 2.5));
    EXPECT_EQ(YieldTableBasalArea(species, 40, 2.5), YieldTableBasalArea(kBeech, 40, 2.5));
    EXPECT_EQ(YieldTableStemNumber(species, 40, 2.5), YieldTableStemNumber(kBeech, 40, 2.5));
  }
}

TEST(YieldTableTest, SiteClassFromYieldClassFollowsThePublishedModel) {
  for (int species = kBeech; species <= kSilverFir; ++species) {
    for (double Y : {4.5, 9.0, 16.0, 22.0}) {
      SCOPED_TRACE(testing::Message() << "species " << species << ", Y " << Y);
      ExpectClose(SiteClassFromYieldClass(species, Y), PublishedSiteClass(species, Y));
    }
  }
}

TEST(YieldTableTest, TinyYieldClassIsRaisedTo0001) {
  for (int species = kBeech; species <= kSilverFir; ++species) {
    SCOPED_TRACE(species);
    const double atLimit = SiteClassFromYieldClass(species, 0.001);
    EXPECT_EQ(SiteClassFromYieldClass(species, 0.0), atLimit);
    EXPECT_EQ(SiteClassFromYieldClass(species, -3.0), atLimit);
    EXPECT_TRUE(std::isfinite(atLimit));
  }
}

TEST(YieldTableTest, NorwaySpruceSplit) {
  const double split = 12.2563646069316;
  const double S = SiteClassFromYieldClass(kNorwaySpruce, split);
  EXPECT_NEAR(S, 3.2300, 0.00005);
  EXPECT_NEAR(S, 5.355545 - 0.245697 * split + 10.856284 / split, 1e-12);
  EXPECT_NEAR(SiteClassFromYieldClass(kNorwaySpruce, std::nextafter(split, 0.0)), 3.22999, 0.000005);
}

TEST(YieldTableTest, SiteClassLimits) {
  struct Case {
    int species;
    double lo, hi;
  };
  const Case cases[] = {{kBeech, 1, 5},       {kOak, 1, 4},        {kAsh, 1, 4},
                        {kNorwaySpruce, 1, 8}, {kSitkaSpruce, 1, 4}, {kDouglasFir, 1, 4},
                        {kSilverFir, 1, 3},    {7, 1, 4},           {-1, 1, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.species);
    const SiteClassRange limits = SiteClassLimits(c.species);
    EXPECT_EQ(limits.lo, c.lo);
    EXPECT_EQ(limits.hi, c.hi);
  }
}

// Site classes from lo to hi of each species in steps of 0.5.
template <class Check>
void ForEachSiteClass(Check&& check) {
  for (int species = kBeech; species <= kSilverFir; ++species) {
    const SiteClassRange limits = SiteClassLimits(species);
    for (double S = limits.lo; S <= limits.hi; S += 0.5) {
      SCOPED_TRACE(testing::Message() << "species " << species << ", S " << S);
      check(species, S);
    }
  }
}

TEST(YieldTableSolverTest, SiteClassFromHgInvertsHg) {
  ForEachSiteClass([](int species, double S) {
    for (double T : {20.0, 60.0}) {
      EXPECT_NEAR(SiteClassFromHg(species, YieldTableHg(species, T, S), T), S, 1e-9);
    }
  });
}

TEST(YieldTableSolverTest, AgeAtHgInvertsHg) {
  ForEachSiteClass([](int species, double S) {
    for (double T : {20.0, 60.0}) {
      const double age = YieldTableAgeAtHg(species, YieldTableHg(species, T, S), S);
      EXPECT_NEAR(age, T, 1e-8);
      EXPECT_NEAR(YieldTableHg(species, age, S), YieldTableHg(species, T, S), 1e-12);
    }
  });
}

TEST(YieldTableSolverTest, YieldClassFromSiteClassInvertsSiteClassFromYieldClass) {
  struct Case {
    int species;
    double Y;
  };
  // Yield classes inside each species' site-class range.
  const Case cases[] = {
      {kBeech, 4},          {kBeech, 7.5},         {kBeech, 10.5},         {kOak, 4.2},
      {kOak, 6},            {kOak, 7.7},           {kAsh, 4},              {kAsh, 5.5},
      {kAsh, 7.5},          {kNorwaySpruce, 8},    {kNorwaySpruce, 12.2}, {kNorwaySpruce, 12.3},
      {kNorwaySpruce, 15},  {kNorwaySpruce, 19.5}, {kSitkaSpruce, 7.5},    {kSitkaSpruce, 14},
      {kSitkaSpruce, 22},   {kDouglasFir, 15.5},   {kDouglasFir, 19},      {kDouglasFir, 23},
      {kSilverFir, 13.5},   {kSilverFir, 17},      {kSilverFir, 21},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "species " << c.species << ", Y " << c.Y);
    EXPECT_NEAR(YieldClassFromSiteClass(c.species, SiteClassFromYieldClass(c.species, c.Y)), c.Y, 1e-9);
  }
}

TEST(YieldTableSolverTest, YieldClassFromHgGoesThroughTheSiteClass) {
  for (int species = kBeech; species <= kSilverFir; ++species) {
    SCOPED_TRACE(species);
    const double Hg = YieldTableHg(species, 50, 2.0);
    EXPECT_NEAR(YieldClassFromHg(species, Hg, 50), YieldClassFromSiteClass(species, 2.0), 1e-9);
  }
  // A height no site class reaches has no yield class either (not a huge one).
  ASSERT_EQ(SiteClassFromHg(kBeech, 200, 50), Sentinel);
  EXPECT_EQ(YieldClassFromHg(kBeech, 200, 50), Sentinel);
}

// The secant search written out step by step: the better old point kept,
// tolerance 1e-12, at most 100 steps.
template <class Function>
double WrittenSecant(Function f, double target, double a, double b) {
  for (int count = 1;; ++count) {
    const double fa = f(a), fb = f(b);
    if (fa == fb) return Sentinel;
    const double next = b - (fb - target) * (b - a) / (fb - fa);
    if (std::abs(target - fb) < std::abs(target - fa)) a = b;
    b = next;
    if (count == 100) return Sentinel;
    if (std::abs(target - f(next)) < 1e-12) return next;
  }
}

TEST(YieldTableSolverTest, AwkwardTargetsFollowTheWrittenSteps) {
  // Targets far from the start points or outside the usual classes, where the
  // result depends on the start points and on every rule of the search.
  struct AgeCase {
    int species;
    double Hg, S;
  };
  for (const AgeCase& c : {AgeCase{kAsh, 2, 1}, AgeCase{kBeech, 35, 1}, AgeCase{kAsh, 35, 1},
                           AgeCase{kSilverFir, 45, 1}, AgeCase{kBeech, 2, 3}}) {
    SCOPED_TRACE(testing::Message() << "age: species " << c.species << ", Hg " << c.Hg << ", S " << c.S);
    ExpectClose(YieldTableAgeAtHg(c.species, c.Hg, c.S),
                WrittenSecant([&](double T) { return YieldTableHg(c.species, T, c.S); }, c.Hg, 15, 25));
  }
  struct SiteCase {
    int species;
    double Hg, T;
  };
  for (const SiteCase& c : {SiteCase{kNorwaySpruce, 10, 150}, SiteCase{kNorwaySpruce, 2, 150},
                            SiteCase{kSilverFir, 25, 3}, SiteCase{kSitkaSpruce, 2, 3}}) {
    SCOPED_TRACE(testing::Message() << "site: species " << c.species << ", Hg " << c.Hg << ", T " << c.T);
    ExpectClose(SiteClassFromHg(c.species, c.Hg, c.T),
                WrittenSecant([&](double S) { return YieldTableHg(c.species, c.T, S); }, c.Hg, 1, 4));
  }
  struct YieldCase {
    int species;
    double S;
  };
  for (const YieldCase& c : {YieldCase{kBeech, 8}, YieldCase{kBeech, 20}, YieldCase{kAsh, 6},
                             YieldCase{kNorwaySpruce, 3}, YieldCase{kNorwaySpruce, 20},
                             YieldCase{kSitkaSpruce, 6}, YieldCase{kSilverFir, 20}}) {
    SCOPED_TRACE(testing::Message() << "yield: species " << c.species << ", S " << c.S);
    ExpectClose(YieldClassFromSiteClass(c.species, c.S),
                WrittenSecant([&](double Y) { return SiteClassFromYieldClass(c.species, Y); }, c.S, 5, 15));
  }
}

TEST(YieldTableSolverTest, EqualFunctionValuesGiveTheSentinelWithoutFault) {
  // At age 0 every site class has the same height.
  ClearFloatFaults();
  EXPECT_EQ(SiteClassFromHg(kBeech, 10, 0), Sentinel);
  EXPECT_FALSE(FloatFaultRaised());
  // With oak at site class 50 the height is the sentinel at every age.
  ClearFloatFaults();
  EXPECT_EQ(YieldTableAgeAtHg(kOak, 20, 50), Sentinel);
  EXPECT_FALSE(FloatFaultRaised());
}

TEST(YieldTableSolverTest, UnreachableTargetsGiveTheSentinel) {
  EXPECT_EQ(YieldTableAgeAtHg(kBeech, 1e6, 2), Sentinel);
  EXPECT_EQ(SiteClassFromHg(kBeech, 1e6, 40), Sentinel);
  // The oak parabola has its minimum near site class -13.9.
  EXPECT_EQ(YieldClassFromSiteClass(kOak, -20), Sentinel);
}

TEST(YieldTableSolverTest, OnlyYieldClassFromSiteClassCatchesFaults) {
  // (f(b) - target) * (b - a) overflows in the first step.
  const double huge = 1.7e308;
  ClearFloatFaults();
  YieldTableAgeAtHg(kBeech, huge, 2);
  EXPECT_TRUE(FloatFaultRaised());

  ClearFloatFaults();
  SiteClassFromHg(kBeech, huge, 40);
  EXPECT_TRUE(FloatFaultRaised());

  ClearFloatFaults();
  EXPECT_EQ(YieldClassFromSiteClass(kBeech, huge), Sentinel);
  EXPECT_FALSE(FloatFaultRaised());
}

TEST(YieldTableTest, HgCatchesItsFaults) {
  // A negative age makes the base of the non-integral power negative.
  ClearFloatFaults();
  EXPECT_EQ(YieldTableHg(kBeech, -10, 2), Sentinel);
  EXPECT_FALSE(FloatFaultRaised());
  // exp(-k T) overflows.
  ClearFloatFaults();
  EXPECT_EQ(YieldTableHg(kBeech, -1e6, 2), Sentinel);
  EXPECT_FALSE(FloatFaultRaised());
}

TEST(YieldTableInitialStateTest, FollowsThePublishedModel) {
  for (const AgeAndSite& x : kModelPoints) {
    SCOPED_TRACE(testing::Message() << "species " << x.species << ", T " << x.T << ", S " << x.S);
    const double D = PublishedDiameter(x.species, x.T, x.S);
    const double G = PublishedBasalArea(x.species, x.T, x.S);
    const double N = PublishedStemNumber(x.species, x.T, x.S);
    // The points are chosen inside the result bounds, so no clamping hides a slip.
    ASSERT_TRUE(D > 1 && D < 200 && G > 0 && G < 100 && N > 0 && N < 25000);
    ExpectClose(YieldTableDiameter(x.species, x.T, x.S), D);
    ExpectClose(YieldTableBasalArea(x.species, x.T, x.S), G);
    ExpectClose(YieldTableStemNumber(x.species, x.T, x.S), N);
  }
}

TEST(YieldTableInitialStateTest, SiteClassIsClampedIntoTheSpeciesLimits) {
  struct Case {
    int species;
    double outside, limit, inside;
  };
  const Case cases[] = {{kBeech, 7, 5, 4.9},
                        {kSilverFir, 0.5, 1, 1.1},
                        {kNorwaySpruce, 9, 8, 7.9},
                        {kDouglasFir, 0.2, 1, 1.1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "species " << c.species << ", S " << c.outside);
    const double T = 40;
    EXPECT_EQ(YieldTableDiameter(c.species, T, c.outside), YieldTableDiameter(c.species, T, c.limit));
    EXPECT_EQ(YieldTableBasalArea(c.species, T, c.outside), YieldTableBasalArea(c.species, T, c.limit));
    EXPECT_EQ(YieldTableStemNumber(c.species, T, c.outside), YieldTableStemNumber(c.species, T, c.limit));
    // The neighbouring value inside the limits differs, so the equality above is the clamp.
    EXPECT_NE(YieldTableDiameter(c.species, T, c.inside), YieldTableDiameter(c.species, T, c.limit));
  }
}

TEST(YieldTableInitialStateTest, ResultsAreClampedIntoTheirBounds) {
  // Beech: at 1 year every formula leaves its bounds from below (stem number from above),
  // at 2000 years from above (stem number from below).
  ASSERT_LT(PublishedDiameter(kBeech, 1, 2), 1);
  ASSERT_LT(PublishedBasalArea(kBeech, 1, 2), 0);
  ASSERT_GT(PublishedStemNumber(kBeech, 1, 2), 25000);
  EXPECT_EQ(YieldTableDiameter(kBeech, 1, 2), 1);
  EXPECT_EQ(YieldTableBasalArea(kBeech, 1, 2), 0);
  EXPECT_EQ(YieldTableStemNumber(kBeech, 1, 2), 25000);

  ASSERT_GT(PublishedDiameter(kBeech, 2000, 2), 200);
  ASSERT_GT(PublishedBasalArea(kBeech, 2000, 2), 100);
  ASSERT_LT(PublishedStemNumber(kBeech, 2000, 2), 0);
  EXPECT_EQ(YieldTableDiameter(kBeech, 2000, 2), 200);
  EXPECT_EQ(YieldTableBasalArea(kBeech, 2000, 2), 100);
  EXPECT_EQ(YieldTableStemNumber(kBeech, 2000, 2), 0);
}

TEST(YieldTableInitialStateTest, FaultsGiveTheUnclampedSentinel) {
  ClearFloatFaults();
  EXPECT_EQ(YieldTableDiameter(kDouglasFir, 0, 2), Sentinel);  // ln 0
  EXPECT_EQ(YieldTableStemNumber(kSitkaSpruce, 0, 2), Sentinel);  // q / 0
  EXPECT_EQ(YieldTableStemNumber(kBeech, 0, 2), Sentinel);  // ln 0
  EXPECT_EQ(YieldTableBasalArea(kBeech, -1e6, 2), Sentinel);  // overflow
  EXPECT_FALSE(FloatFaultRaised());
}

}  // namespace
}  // namespace orven
