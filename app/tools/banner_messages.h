#pragma once
// The banner's messages: four promotional lines and the welcome line, in the order the strip
// cycles through them every two seconds.

#include <array>

#include "app/widgets/painted_widgets.h"

namespace quillon::ui {

inline constexpr int BannerMessageCount = 5;

inline const std::array<BannerMessage, BannerMessageCount>& BannerMessages() {
  static const QColor red(255, 0, 0), teal(0, 128, 128), green(0, 128, 0);
  static const QColor white(255, 255, 255), paleYellow(255, 255, 192);
  static const std::array<BannerMessage, BannerMessageCount> messages = {{
      {50, red, white, QStringLiteral("边输入  边出结果")},
      {100, teal, paleYellow, QStringLiteral("医学统计轻松上手")},
      {600, red, white, QStringLiteral("五种常用检验")},
      {100, teal, paleYellow, QStringLiteral("点击访问作者主页")},
      {100, green, white, QStringLiteral("欢迎使用Quillon")},
  }};
  return messages;
}

// The message shown when the window opens, and again after every fifth tick.
inline const BannerMessage& WelcomeBannerMessage() { return BannerMessages().back(); }

}  // namespace quillon::ui
