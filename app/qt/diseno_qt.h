// The designs' types (ventana/diseno.h) as Qt's: each colour, box, font and text turned the one way both the
// main window and the review dialogs draw them.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QWidget>

#include <string_view>

#include "ventana/diseno.h"

namespace app {

// Qt reports neither the desktop's colour nor the hot-track colour: the design's colours of Windows' standard
// scheme stand for them.
QColor ColorQt(const ventana::Color& color);
QRect RectanguloQt(const ventana::Caja& caja);
QString TextoQt(std::string_view texto);
// A family of the Windows desktop, or the metric-compatible sans of this system where it is missing.
QFont FuenteQt(const ventana::Letra& letra);
void Colorear(QWidget& control, QPalette::ColorRole rol, const QColor& color);

// A label of a design on `panel`: at its fixed place, transparent unless it has a background of its own, its
// text in its font and colour, aligned and wrapped at word boundaries as it says.
void CrearEtiqueta(QWidget* panel, const ventana::Etiqueta& def);

// A control named and placed as its design says.
template <class Control>
Control* Colocar(Control* control, std::string_view nombre, const ventana::Caja& caja) {
  control->setObjectName(TextoQt(nombre));
  control->setGeometry(RectanguloQt(caja));
  return control;
}

}  // namespace app
