#pragma once
// What assistive tools learn of a window or control where Qt's own description falls short: a
// top-level QWidget is a "filler" to them, a label styled as a link a plain label, and on Unix a
// combo box is named by its current text.
#include <functional>

class QComboBox;
class QLabel;
class QWidget;

namespace toolkit::qt {

void DescribeWindow(QWidget* window, bool dialog);
// Named by its accessible name, else by the label whose buddy it is.
void DescribeList(QComboBox* list);
void DescribeLink(QLabel* label, std::function<void()> press);
void DescribeSeparator(QWidget* line);

} // namespace toolkit::qt
