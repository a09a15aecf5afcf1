#include <gtest/gtest.h>

#include "power/sample_size.h"

namespace quillon {
namespace {

TEST(SampleSize, Placeholder) {
  SampleSizeBoxes boxes;
  boxes.mean1 = "125.0";
  boxes.mean2 = "120.0";
  boxes.sd = "10.0";
  boxes.dropout = "10";
  const SampleSizeResult r = ComputeSampleSize(PowerDesign::TwoSample, boxes, SolveFor::SampleSize);
  EXPECT_EQ(*r.plan.n1, 64);
}

}  // namespace
}  // namespace quillon
