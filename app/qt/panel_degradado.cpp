#include "app/qt/panel_degradado.h"

#include <QLinearGradient>
#include <QPainter>

namespace app {

PanelDegradado::PanelDegradado(const QColor& inicio, const QColor& medio, const QColor& fin, QWidget* parent)
    : QWidget(parent), inicio_(inicio), medio_(medio), fin_(fin) {
  // Every pixel is painted here: nothing needs erasing first (no flicker between erase and paint).
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PanelDegradado::paintEvent(QPaintEvent* /*event*/) {
  QLinearGradient degradado(0, 0, 0, height());
  degradado.setColorAt(0.0, inicio_);
  degradado.setColorAt(0.5, medio_);
  degradado.setColorAt(1.0, fin_);
  QPainter pintor(this);
  pintor.fillRect(rect(), degradado);
}

}  // namespace app
