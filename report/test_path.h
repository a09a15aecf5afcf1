#pragma once
// Which family of tests the report's sentences follow: the t tests on the means, or the rank
// tests (Wilcoxon rank-sum, Wilcoxon signed-rank, Spearman) for skewed data. The table always
// shows both; only the results and methods sentences follow the choice.

namespace quillon {

enum class TestPath { TTest, RankTest };

}  // namespace quillon
