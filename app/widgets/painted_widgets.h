#pragma once
// Widgets that draw their own content: panels with rules, the symbol boxes of the result
// panels (t, r, the chi-square sign, with a subscript and "="), and the banner strip.

#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

namespace quillon::ui {

// A panel with a plain background and straight rules drawn under its child controls.
class RuledPanel : public QWidget {
  Q_OBJECT
 public:
  RuledPanel(QWidget* parent, const QString& name, QRect geometry, const QColor& background);

  // A rule from (x1, y1) to (x2, y2), in twips relative to the panel.
  void AddRule(int x1, int y1, int x2, int y2, const QColor& colour, int widthPx = 1);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Rule {
    QLine line;
    QColor colour;
    int width;
  };
  std::vector<Rule> rules_;
};

enum class Symbol { T, R, ChiSquare };

// A white box showing an italic statistic symbol, a small subscript and "=".
// Picture5(index) at (left, top) in twips; its "=" ends just before the value label at valueLeft.
class SymbolBox : public QWidget {
  Q_OBJECT
 public:
  SymbolBox(QWidget* parent, int index, int left, int top, int valueLeft, Symbol symbol,
            const QString& subscript = {});

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Symbol symbol_;
  QString subscript_;
};

// One message of the banner strip: where its text starts and its colours.
struct BannerMessage {
  int textLeftTwips;
  QColor background;
  QColor text;
  QString message;
};

// The banner strip: one message at a time, bold 11 pt "宋体" (the installed face it stands for,
// given by the caller), drawn at y = 80 twips.
class BannerStrip : public QWidget {
  Q_OBJECT
 public:
  BannerStrip(QWidget* parent, QRect geometry, const QString& songFace);
  void Show(const BannerMessage& message);
  const BannerMessage& Current() const { return current_; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  BannerMessage current_;
};

}  // namespace quillon::ui
