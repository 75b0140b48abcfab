#pragma once

class QLineEdit;
class QWidget;

namespace bw {

// A text box for a password: every character shows as "*", whatever the desktop's style
// would draw (Fusion and Breeze draw a dot).
QLineEdit* newPasswordBox(QWidget* parent = nullptr);

}  // namespace bw
