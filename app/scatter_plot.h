#pragma once
// The scatter plot of the report: the complete pairs as points and the least-squares line across
// the range of X, with the ranges of both axes written at their ends.

#include <QPointF>
#include <QWidget>
#include <optional>
#include <vector>

class QPainter;

namespace quillon::ui {

struct ScatterData {
  std::vector<QPointF> points;
  std::optional<double> intercept, slope;  // the least-squares line of Y on X
};

class ScatterPlot : public QWidget {
  Q_OBJECT
 public:
  explicit ScatterPlot(QWidget* parent);

  void SetData(ScatterData scatter);
  const ScatterData& Data() const { return data_; }

  // Draws the plot into a rectangle of any paint device.
  void Draw(QPainter& painter, const QRect& area) const;
  // Writes the plot as SVG when the path ends in ".svg", as PNG otherwise.
  bool Save(const QString& path) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ScatterData data_;
};

}  // namespace quillon::ui
