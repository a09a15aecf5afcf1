#pragma once
// The keyboard's way through the windows: Esc closes a window beside the main one, a frame in
// the highlight colour marks whatever holds the focus (frameless boxes and labels show nothing
// of their own), the menu bar opens from the keyboard, and a drop-down button opens its menu.

class QMenuBar;
class QToolButton;
class QWidget;

namespace quillon::ui {

// Esc closes this window. Every window beside the main one calls it once it is built.
void CloseOnEscape(QWidget* window);

// From now on the control that holds the focus in this window is framed in the highlight
// colour, at any scale.
void MarkFocus(QWidget* window);

// The menu bar opens with F10, and each menu with Alt and the letter its caption ends with
// ("文件(F)": Alt+F), the captions staying as they are. (Alt pressed and released alone is
// Qt's own: it puts the menu bar under the keyboard, Down or Enter then opens the menu.)
void OpenMenusFromKeyboard(QWidget* window, QMenuBar* menuBar);

// Space, Enter and Down (with or without Alt) open the button's menu, as a click on its arrow
// does; the face itself runs nothing.
void OpenMenuFromKeyboard(QToolButton* button);

}  // namespace quillon::ui
