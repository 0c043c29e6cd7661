#include "model/TreeVolume.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "model/FloatFault.h"
#include "model/Sentinel.h"

namespace orven {
namespace {

enum Species { kBeech, kOak, kAsh, kNorwaySpruce, kSitkaSpruce, kDouglasFir, kSilverFir };

// The published coefficients, typed again here in the published order
// c0 c1 c2 c3 c4 c5 c6 c7 cA cB cC s, so that a slip in the production table
// shows up as a wrong volume.
struct PublishedFunction {
  int definition;
  int species;
  double c[12];
};

const std::vector<PublishedFunction> kPublished = {
    {TotalVolume, kBeech, {0.467065, 2.100761, 0.715347, 0, 0, 0, 0.235416, 0.064329, 0, 0, 0, 0.002777}},
    {TotalVolume, kOak, {-0.172852, 2.084477, 0.801886, 1.07969, 0.280564, 0, 0, 0, 0, 0, 0, 0.003174}},
    {TotalVolume, kAsh, {-1.088694, 2.002341, 1.022051, 2.174706, 0.697865, -0.614073, 0, 0, 0, 0, 0, 0.002518}},
    {TotalVolume, kNorwaySpruce, {-1.753576, 1.775814, 1.136852, 0.524851, 0.725722, -1.108216, 0, 0, 0, 0, 0, 0.001411}},
    {TotalVolume, kSitkaSpruce, {-2.713511, 1.759844, 1.44207, 1.917824, 0.252296, -0.813636, 0, 0, 0, 0, 0, 0.00175}},
    {TotalVolume, kDouglasFir, {-1.202507, 1.832615, 0.991312, 0, 0, 0.259585, 0, 0, 0, 0, 0, 0.00216}},
    {TotalVolume, kSilverFir, {-3.05886, 1.789127, 1.459622, 4.226077, 1.564662, -2.573884, 0, 0, 0, 0, 0, 0.001046}},
    {MerchantableTo5cm, kBeech, {-0.674491, 2.137268, 0.957545, 0, 0, 0.175118, 0, 0, 0.668822, 0.855764, 0, 0.002036}},
    {MerchantableTo5cm, kOak, {-0.7128, 2.10968, 0.919557, 0, 0.675413, -0.390777, 0, 0, 0.688118, 0.816693, 0, 0.001714}},
    {MerchantableTo5cm, kAsh, {-1.348665, 1.991887, 1.098804, 0, 0.258224, 0, 0, 0, 0.429361, 0.955966, 0, 0.001704}},
    {MerchantableTo5cm, kNorwaySpruce, {-1.968223, 1.573607, 1.157948, 0, 0.244828, 0, 0, 0, -1.685292, 0.906558, 0.973479, 0.001306}},
    {MerchantableTo5cm, kSitkaSpruce, {-2.384499, 1.513453, 1.274685, 0, 0.114545, 0, 0, 0, -1.339713, 0.323825, 0, 0.001682}},
    {MerchantableTo5cm, kDouglasFir, {-1.423267, 1.800541, 1.036478, 0, 0, 0.240247, 0, 0, 0, 1.022298, 0, 0.002183}},
    {MerchantableTo5cm, kSilverFir, {-1.836165, 1.786329, 1.158275, 0, 1.036908, -1.640849, 0, 0, 0, 0, 0, 0.001053}},
    {MerchantableTo7cm, kBeech, {-0.825426, 2.181697, 0.994047, 0, 0, 0.148965, 0, 0, 0.957453, 1.008783, 0, 0.001925}},
    {MerchantableTo7cm, kOak, {-0.855221, 2.125952, 0.94509, 0, 0.728208, -0.388666, 0, 0, 0.794239, 0.991454, 0, 0.00163}},
    {MerchantableTo7cm, kAsh, {-1.515177, 1.99115, 1.125761, 0, 0.297575, 0, 0, 0, 0.558633, 1.070868, 0, 0.001774}},
    {MerchantableTo7cm, kNorwaySpruce, {-2.115425, 1.490901, 1.197033, 0, 0.236993, 0, 0, 0, -2.376159, 1.056454, 1.695886, 0.001331}},
    {MerchantableTo7cm, kSitkaSpruce, {-2.595419, 1.505677, 1.348035, 0, 0, 0, 0, 0, -0.771222, 0.77781, 0, 0.001642}},
    {MerchantableTo7cm, kDouglasFir, {-1.429517, 1.791862, 1.033283, 0, 0, 0.275505, 0, 0, 0, 0.957605, 0, 0.002252}},
    {MerchantableTo7cm, kSilverFir, {-1.864909, 1.803636, 1.168073, 0, 1.174249, -1.91471, 0, 0, 0, 0, 0, 0.001037}},
    {MerchantableTo10cm, kBeech, {-0.865663, 2.158306, 0.98676, 0, 0, 0.157324, 0, 0, 0.608793, 0.843249, 0, 0.001848}},
    {MerchantableTo10cm, kOak, {-1.078952, 1.97802, 0.988531, 0, 0.482206, 0, 0, 0, 0, 0.850331, 0, 0.001546}},
    {MerchantableTo10cm, kAsh, {-1.757332, 1.999106, 1.18868, 0, 0.228857, 0, 0, 0, 0.621417, 1.088072, 0, 0.001726}},
    {MerchantableTo10cm, kNorwaySpruce, {-2.386383, 1.361796, 1.285676, 0, 0.186363, 0, 0, 0, -3.366831, 1.064439, 2.544124, 0.001465}},
    {MerchantableTo10cm, kSitkaSpruce, {-2.766047, 1.576879, 1.403924, 0, 0, 0, 0, 0, 0, 0.983722, 0, 0.001723}},
    {MerchantableTo10cm, kDouglasFir, {-1.171972, 1.800845, 0.952246, 0, 0, 0.365047, 0, 0, 0, 1.016504, 0, 0.002434}},
    {MerchantableTo10cm, kSilverFir, {-1.941558, 1.755337, 1.179995, 0, 0.96566, -1.44801, 0, 0, 0, 0.808134, 0, 0.00105}},
};

// The volume function written out term by term.
double PublishedVolume(const PublishedFunction& f, double d, double h, double Dg) {
  const double* c = f.c;
  const double t = MerchDiameterLimit(f.definition);
  const double u = t / d;
  const double w = (h - 1.3) / h;
  const double A = std::log(1 + std::pow(u * w, 1.5));
  const double B = std::log(1 - std::pow(u, 4) * std::pow(w, 2));
  const double C = std::log(1 + std::pow(u, 2) * w);
  double S;
  if (f.definition == TotalVolume) {
    if (f.species == kBeech || f.species == kOak || f.species == kAsh) {
      S = c[11];
    } else if (f.species == kDouglasFir) {
      S = c[11] / (1 - d / 2);
    } else {
      S = c[11] / std::pow(1 - d / 2, 2);
    }
  } else {
    const int k = (f.species == kBeech || f.species == kAsh || f.species == kDouglasFir) ? 1 : 2;
    S = c[11] / ((1 - u * u) * std::pow(1 - d / 2, k));
  }
  const double y = c[0] + c[1] * std::log(d) + c[2] * std::log(h) + c[3] * std::log(h / (h - 1.3)) +
                   c[4] * Dg + c[5] * Dg * Dg + c[6] * std::log(Dg) +
                   c[7] * std::log(Dg) * std::log(Dg) + c[8] * A + c[9] * B + c[10] * C + S;
  return std::exp(y);
}

TEST(TreeVolumeTest, EveryFunctionMatchesItsPublishedCoefficients) {
  ASSERT_EQ(kPublished.size(), 28u);
  // d differs from Dg so that a coefficient moved between the d and Dg terms shows.
  const double d = 0.32, h = 24, Dg = 0.27;
  for (const PublishedFunction& f : kPublished) {
    SCOPED_TRACE(testing::Message() << "definition " << f.definition << ", species " << f.species);
    const double expected = PublishedVolume(f, d, h, Dg);
    ClearFloatFaults();
    const double v = TreeVolume(f.definition, f.species, d, h, Dg);
    EXPECT_FALSE(FloatFaultRaised());
    EXPECT_NEAR(v, expected, 1e-12 * expected);
  }
}

TEST(TreeVolumeTest, SmallTreeFormulaBelowThreeMetresSpeciesFunctionFromThreeMetres) {
  const double d = 0.12, Dg = 0.12;
  for (const PublishedFunction& f : kPublished) {
    SCOPED_TRACE(testing::Message() << "definition " << f.definition << ", species " << f.species);
    const double below = TreeVolume(f.definition, f.species, d, 2.9, Dg);
    if (f.definition == TotalVolume) {
      EXPECT_EQ(below, SmallTreeVolume(d, 2.9));
    } else {
      EXPECT_EQ(below, 0.0);
    }
    const double expected = PublishedVolume(f, d, 3.0, Dg);
    EXPECT_NEAR(TreeVolume(f.definition, f.species, d, 3.0, Dg), expected, 1e-12 * expected);
  }
}

TEST(TreeVolumeTest, SmallTreeVolume) {
  // (d^2 h + 1.3 (d + 0.02)(2d + 0.02)) pi / 12 with d = 0.02, h = 2.
  EXPECT_NEAR(SmallTreeVolume(0.02, 2.0), (0.0008 + 0.00312) * std::numbers::pi / 12, 1e-15);
  EXPECT_EQ(SmallTreeVolume(0.0, 2.0), Sentinel);
  EXPECT_EQ(SmallTreeVolume(-0.01, 2.0), Sentinel);
  EXPECT_EQ(SmallTreeVolume(0.02, 1.3), Sentinel);
  EXPECT_GT(SmallTreeVolume(0.02, 1.3001), 0.0);
}

TEST(TreeVolumeTest, MerchantableVolumeOfATreeNoThickerThanTheTopDiameterIsZero) {
  for (int definition : {MerchantableTo5cm, MerchantableTo7cm, MerchantableTo10cm}) {
    const double t = MerchDiameterLimit(definition);
    for (int species = kBeech; species <= kSilverFir; ++species) {
      SCOPED_TRACE(testing::Message() << "definition " << definition << ", species " << species);
      ClearFloatFaults();
      EXPECT_EQ(TreeVolume(definition, species, t, 15, 0.2), 0.0);
      // Below the top diameter the formula would take the log of a negative number.
      EXPECT_EQ(TreeVolume(definition, species, t / 2, 15, 0.2), 0.0);
      EXPECT_FALSE(FloatFaultRaised());
      EXPECT_GT(TreeVolume(definition, species, t + 0.001, 15, 0.2), 0.0);
    }
  }
}

TEST(TreeVolumeTest, NonPositiveDiametersGiveTheSentinel) {
  for (int definition = TotalVolume; definition <= MerchantableTo10cm; ++definition) {
    for (int species = kBeech; species <= kSilverFir; ++species) {
      SCOPED_TRACE(testing::Message() << "definition " << definition << ", species " << species);
      EXPECT_EQ(TreeVolume(definition, species, 0.0, 20, 0.3), Sentinel);
      EXPECT_EQ(TreeVolume(definition, species, -0.3, 20, 0.3), Sentinel);
      EXPECT_EQ(TreeVolume(definition, species, 0.3, 20, 0.0), Sentinel);
    }
  }
}

TEST(TreeVolumeTest, UnknownSpeciesOrDefinitionGivesZero) {
  EXPECT_EQ(TreeVolume(TotalVolume, 7, 0.3, 20, 0.3), 0.0);
  EXPECT_EQ(TreeVolume(MerchantableTo7cm, -1, 0.3, 20, 0.3), 0.0);
  EXPECT_EQ(TreeVolume(4, kBeech, 0.3, 20, 0.3), 0.0);
  EXPECT_EQ(TreeVolume(-1, kOak, 0.3, 20, 0.3), 0.0);
  // Below 3 m the small-tree rule comes first, whatever the species.
  EXPECT_EQ(TreeVolume(TotalVolume, 7, 0.3, 2.5, 0.3), SmallTreeVolume(0.3, 2.5));
}

TEST(TreeVolumeTest, MerchDiameterLimit) {
  EXPECT_EQ(MerchDiameterLimit(TotalVolume), 0.0);
  EXPECT_EQ(MerchDiameterLimit(MerchantableTo5cm), 0.05);
  EXPECT_EQ(MerchDiameterLimit(MerchantableTo7cm), 0.07);
  EXPECT_EQ(MerchDiameterLimit(MerchantableTo10cm), 0.10);
  EXPECT_EQ(MerchDiameterLimit(4), 0.0);
  EXPECT_EQ(MerchDiameterLimit(-1), 0.0);
}

TEST(TreeVolumeTest, FaultsAreLeftToTheCaller) {
  // (1 - d/2)^2 = 0 in the correction term of Norway spruce.
  ClearFloatFaults();
  TreeVolume(TotalVolume, kNorwaySpruce, 2.0, 20, 0.3);
  EXPECT_TRUE(FloatFaultRaised());

  ClearFloatFaults();
  TreeVolume(TotalVolume, kBeech, 0.3, 20, 1e200);
  EXPECT_TRUE(FloatFaultRaised());

  ClearFloatFaults();
  HeightForTreeVolume(TotalVolume, kBeech, 1e300, 0.3, 0.3);
  EXPECT_TRUE(FloatFaultRaised());
}

// The height search written out step by step: start heights 10 and 30, the
// better old point kept, a halving step when the secant falls below breast
// height, three stop rules and at most 100 steps.
double WrittenHeightSearch(int definition, int species, double v, double d, double Dg) {
  const auto V = [&](double h) { return TreeVolume(definition, species, d, h, Dg); };
  double a = 10, b = 30;
  for (int count = 1;; ++count) {
    const double va = V(a), vb = V(b);
    if (va == vb) return Sentinel;
    double next = b - (vb - v) * (b - a) / (vb - va);
    if (next > 1.300001) {
      if (std::abs(v - vb) < std::abs(v - va)) a = b;
      b = next;
    } else {
      next = b;
      b = (a + b) / 2;
    }
    if (count == 100) return Sentinel;
    if (std::abs(v - V(next)) < 0.000001 || std::abs(b - a) < 0.000000001) return next;
  }
}

TEST(TreeVolumeHeightSearchTest, InvertsTreeVolume) {
  struct Tree {
    double d, Dg;
  };
  for (const PublishedFunction& f : kPublished) {
    for (const Tree tree : {Tree{0.12, 0.12}, Tree{0.3, 0.3}, Tree{0.45, 0.4}}) {
      for (double h : {8.0, 20.0, 35.0}) {
        SCOPED_TRACE(testing::Message() << "definition " << f.definition << ", species " << f.species
                                        << ", d " << tree.d << ", h " << h);
        const double v = TreeVolume(f.definition, f.species, tree.d, h, tree.Dg);
        const double found = HeightForTreeVolume(f.definition, f.species, v, tree.d, tree.Dg);
        EXPECT_NEAR(found, h, 1e-3);
        EXPECT_LT(std::abs(TreeVolume(f.definition, f.species, tree.d, found, tree.Dg) - v), 1e-6);
      }
    }
  }
}

TEST(TreeVolumeHeightSearchTest, AwkwardVolumesFollowTheWrittenSteps) {
  // Volumes met twice near 3 m (where the small-tree formula meets the species
  // function), searches longer than 100 steps and far-off volumes: here the
  // result depends on every rule of the search.
  struct Case {
    int definition, species;
    double d, v;
  };
  const Case cases[] = {
      {TotalVolume, kOak, 0.3, 0.3},           {TotalVolume, kAsh, 0.12, 0.03},
      {TotalVolume, kNorwaySpruce, 0.3, 0.1},  {TotalVolume, kSitkaSpruce, 0.3, 0.03},
      {TotalVolume, kSitkaSpruce, 0.6, 0.1},   {TotalVolume, kBeech, 0.12, 0.03},
      {TotalVolume, kSilverFir, 0.3, 1e10},    {TotalVolume, kNorwaySpruce, 0.3, 1e10},
      {MerchantableTo5cm, kOak, 0.12, 1e10},   {MerchantableTo5cm, kBeech, 0.3, 0.1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "definition " << c.definition << ", species " << c.species
                                    << ", d " << c.d << ", v " << c.v);
    const double expected = WrittenHeightSearch(c.definition, c.species, c.v, c.d, c.d);
    EXPECT_NEAR(HeightForTreeVolume(c.definition, c.species, c.v, c.d, c.d), expected,
                1e-12 * std::max(1.0, std::abs(expected)));
  }
}

TEST(TreeVolumeHeightSearchTest, ArgumentsOutOfRangeGiveTheSentinel) {
  struct Case {
    int definition;
    double v, d, Dg;
  };
  const Case cases[] = {
      {TotalVolume, 0.0, 0.3, 0.3},
      {TotalVolume, -0.5, 0.3, 0.3},
      {TotalVolume, 0.5, 0.0, 0.3},
      {TotalVolume, 0.5, 0.3, 0.0},
      {MerchantableTo10cm, 0.5, 0.10, 0.3},
      {MerchantableTo10cm, 0.5, 0.1000009, 0.3},
      {MerchantableTo10cm, 0.5, 0.3, 0.1000009},
      {MerchantableTo5cm, 0.5, 0.05, 0.3},
      {TotalVolume, 0.5, 9.9, 0.3},
      {TotalVolume, 0.5, 0.3, 9.9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "definition " << c.definition << ", v " << c.v << ", d "
                                    << c.d << ", Dg " << c.Dg);
    EXPECT_EQ(HeightForTreeVolume(c.definition, kBeech, c.v, c.d, c.Dg), Sentinel);
  }
  // Just inside the diameter limit the search runs.
  const double v = TreeVolume(MerchantableTo10cm, kBeech, 0.1000011, 20, 0.3);
  EXPECT_NEAR(HeightForTreeVolume(MerchantableTo10cm, kBeech, v, 0.1000011, 0.3), 20, 1e-3);
}

TEST(TreeVolumeHeightSearchTest, UnreachableVolumeGivesTheSentinel) {
  for (const PublishedFunction& f : kPublished) {
    SCOPED_TRACE(testing::Message() << "definition " << f.definition << ", species " << f.species);
    EXPECT_EQ(HeightForTreeVolume(f.definition, f.species, 1e30, 0.3, 0.3), Sentinel);
  }
}

TEST(TreeVolumeHeightSearchTest, EqualVolumesAtBothStartHeightsGiveTheSentinelWithoutFault) {
  // An unknown species has volume 0 at every height.
  ClearFloatFaults();
  EXPECT_EQ(HeightForTreeVolume(TotalVolume, 7, 0.5, 0.3, 0.3), Sentinel);
  EXPECT_FALSE(FloatFaultRaised());
}

TEST(TreeVolumeHeightSearchTest, StepBelowBreastHeightHalvesTheBracket) {
  // A small-tree volume sends every secant step below 1.3 m, so b halves towards
  // a = 10 until the bracket closes, and the search ends there.
  const double v = SmallTreeVolume(0.3, 2.0);
  EXPECT_NEAR(HeightForTreeVolume(TotalVolume, kBeech, v, 0.3, 0.3), 10.0, 1e-8);
}

}  // namespace
}  // namespace orven
