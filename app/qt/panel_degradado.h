// The gradient-filled background panel that the main window's controls sit on.
#pragma once

#include <QColor>
#include <QWidget>

namespace app {

// A panel painted with a vertical gradient from `inicio` at the top through `medio` halfway to `fin` at the
// bottom. It paints its whole area itself, into the window's back buffer, so labels on it may be transparent.
class PanelDegradado : public QWidget {
 public:
  PanelDegradado(const QColor& inicio, const QColor& medio, const QColor& fin, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor inicio_;
  QColor medio_;
  QColor fin_;
};

}  // namespace app
