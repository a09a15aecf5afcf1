#include "plots/agreement_plot.h"

#include <QPainter>
#include <algorithm>

namespace quillon::plots {

namespace {

const QColor kDotColour(31, 78, 160, 180);
const QColor kBiasColour(30, 30, 30);
const QColor kLimitColour(200, 40, 40);
const QColor kBiasBand(222, 228, 240);
const QColor kLimitBand(250, 226, 226);

}  // namespace

AgreementPlot::AgreementPlot()
    // The axes' titles come with the data: there are no axes before it.
    : PlotCanvas(QStringLiteral("AgreementPlot"), QStringLiteral("一致性图"), QString(),
                 QString()) {}

void AgreementPlot::SetData(AgreementData agreement) {
  data_ = std::move(agreement);
  SetAxisTitles(data_.xTitle.isEmpty() ? QStringLiteral("每对的均数 (X + Y) / 2") : data_.xTitle,
                data_.yTitle.isEmpty() ? QStringLiteral("差值 X − Y") : data_.yTitle);
  DataChanged();
}

std::optional<PlotCanvas::Extent> AgreementPlot::DataExtent() const {
  if (data_.points.empty()) return std::nullopt;
  const QPointF first = data_.points.front();
  Extent extent{{first.x(), first.x()}, {first.y(), first.y()}};
  auto widen = [&extent](double y) {
    extent.y = {std::min(extent.y.low, y), std::max(extent.y.high, y)};
  };
  for (const QPointF& at : data_.points) {
    extent.x = {std::min(extent.x.low, at.x()), std::max(extent.x.high, at.x())};
    widen(at.y());
  }
  for (const auto& line : {data_.bias, data_.lowerLimit, data_.upperLimit}) {
    if (!line) continue;
    widen(line->value);
    if (line->lower) widen(*line->lower);
    if (line->upper) widen(*line->upper);
  }
  return extent;
}

QString AgreementPlot::EmptyMessage() const { return QStringLiteral("没有完整的数据对"); }

void AgreementPlot::DrawUnder(QPainter& painter, const Layout& layout) const {
  const PlotFrame frame = layout.Frame();
  painter.setPen(Qt::NoPen);
  for (const auto& [line, colour] :
       {std::pair{data_.bias, kBiasBand}, std::pair{data_.lowerLimit, kLimitBand},
        std::pair{data_.upperLimit, kLimitBand}}) {
    if (!line || !line->lower || !line->upper) continue;
    const double top = frame.MapY(*line->upper);
    const double bottom = frame.MapY(*line->lower);
    painter.fillRect(QRectF(layout.area.left(), top, layout.area.width(), bottom - top), colour);
  }
}

void AgreementPlot::DrawDots(QPainter& painter, const Layout& layout) const {
  DrawDataDots(painter, layout, data_.points, kDotColour);
}

void AgreementPlot::DrawOver(QPainter& painter, const Layout& layout) const {
  const PlotFrame frame = layout.Frame();
  const QRectF& area = layout.area;
  struct Labelled {
    const std::optional<AgreementLine>& line;
    QString name;
    QColor colour;
    Qt::PenStyle style;
  };
  for (const Labelled& each :
       {Labelled{data_.upperLimit, QStringLiteral("95%一致性界限上限 "), kLimitColour,
                 Qt::DashLine},
        Labelled{data_.bias, QStringLiteral("偏倚 "), kBiasColour, Qt::SolidLine},
        Labelled{data_.lowerLimit, QStringLiteral("95%一致性界限下限 "), kLimitColour,
                 Qt::DashLine}}) {
    if (!each.line) continue;
    const double y = frame.MapY(each.line->value);
    painter.setPen(QPen(each.colour, 1.5, each.style));
    painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    DrawLabelAbove(painter, area, y, each.name + ValueBesideTicks(each.line->value, layout.yTicks),
                   each.colour);
  }
}

}  // namespace quillon::plots
