#include "app/planning/pilot_estimates.h"

#include <cmath>

#include "app/analyses/fourfold_table.h"
#include "app/analyses/sample_grid.h"
#include "app/analyses/sample_panels.h"
#include "app/widgets/utf8.h"
#include "counts/summary_t_test.h"
#include "report/fourfold.h"
#include "report/p_style.h"
#include "stats/correlation.h"
#include "stats/paired_t_test.h"

namespace quillon::ui {

namespace {

QString Text(double value) { return FromUtf8(FixedText(value, 4)); }

PilotEstimates TwoSample(const TwoSamplePanel& panel) {
  const std::array<std::string, kSummaryBoxCount> texts = panel.SummaryTexts();
  const std::optional<SummaryValues> values = ReadSummaryValues(texts);
  if (!values) return QStringLiteral("两组的均数、标准差和例数尚未填全");
  const std::optional<PooledTTest> pooled = PoolSummaryValues(*values);
  if (!pooled || !pooled->pooledVariance || !(*pooled->pooledVariance > 0)) {
    return QStringLiteral("两组的合并标准差无法计算");
  }
  return std::vector<std::pair<QString, QString>>{
      {QStringLiteral("ssMean1"), FromUtf8(texts[kX1])},
      {QStringLiteral("ssMean2"), FromUtf8(texts[kX2])},
      {QStringLiteral("ssSD"), Text(std::sqrt(*pooled->pooledVariance))}};
}

PilotEstimates Paired(const SampleGrid& grid) {
  const std::optional<PairedDifferences> differences = DescribeDifferences(grid.Lists().Pairs());
  if (!differences || !differences->deviation) return QStringLiteral("完整的数据对不足两对");
  return std::vector<std::pair<QString, QString>>{
      {QStringLiteral("ssMeanDiff"), Text(differences->mean)},
      {QStringLiteral("ssSDDiff"), Text(*differences->deviation)}};
}

PilotEstimates Correlation(const SampleGrid& grid) {
  const CorrelationResult result = CorrelationRegression(grid.Lists().Pairs());
  if (result.r.empty()) return QStringLiteral("完整的数据对不足三对，或X、Y全部相等");
  return std::vector<std::pair<QString, QString>>{{QStringLiteral("ssR"), FromUtf8(result.r)}};
}

PilotEstimates Counts(PowerDesign design, const FourfoldTable& table) {
  const FourfoldFigures figures = FourfoldReportFigures(table.Cells());
  if (design == PowerDesign::TwoProportions) {
    const Figure& missing = !figures.risk.risk1 ? figures.risk.risk1 : figures.risk.risk2;
    if (!figures.risk.risk1 || !figures.risk.risk2) return FromUtf8(missing.reason);
    return std::vector<std::pair<QString, QString>>{
        {QStringLiteral("ssP1"), Text(*figures.risk.risk1)},
        {QStringLiteral("ssP2"), Text(*figures.risk.risk2)}};
  }
  // McNemar's table: the pairs with the first positive only (b) and the second only (c).
  if (!figures.n || !(*figures.n > 0)) return QStringLiteral("四个格子的对子数尚未填写");
  const double b = figures.cells[1];
  const double c = figures.cells[2];
  return std::vector<std::pair<QString, QString>>{{QStringLiteral("ssP10"), Text(b / *figures.n)},
                                                  {QStringLiteral("ssP01"), Text(c / *figures.n)}};
}

}  // namespace

PilotEstimates ReadPilotEstimates(PowerDesign design, const PilotSources& sources) {
  switch (design) {
    case PowerDesign::TwoSample:
      return TwoSample(*sources.twoSample);
    case PowerDesign::Paired:
      return Paired(*sources.grid);
    case PowerDesign::Correlation:
      return Correlation(*sources.grid);
    case PowerDesign::TwoProportions:
    case PowerDesign::McNemar:
      return Counts(design, *sources.fourfold);
  }
  return QString();
}

}  // namespace quillon::ui
