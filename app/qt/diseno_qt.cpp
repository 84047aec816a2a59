#include "app/qt/diseno_qt.h"

#include <QFontDatabase>
#include <QLabel>

namespace app {

QColor ColorQt(const ventana::Color& color) { return {color.rgb.rojo, color.rgb.verde, color.rgb.azul}; }

QRect RectanguloQt(const ventana::Caja& caja) { return {caja.izquierda, caja.arriba, caja.ancho, caja.alto}; }

QString TextoQt(std::string_view texto) {
  return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size()));
}

QFont FuenteQt(const ventana::Letra& letra) {
  const QString familiaWindows = TextoQt(letra.cara);
  bool presente = QFontDatabase::families().contains(familiaWindows, Qt::CaseInsensitive);
  QFont fuente(presente ? familiaWindows : QStringLiteral("Liberation Sans"), letra.puntos);
  fuente.setBold(letra.negrita);
  fuente.setUnderline(letra.subrayada);
  return fuente;
}

void Colorear(QWidget& control, QPalette::ColorRole rol, const QColor& color) {
  QPalette paleta = control.palette();
  paleta.setColor(rol, color);
  control.setPalette(paleta);
}

void CrearEtiqueta(QWidget* panel, const ventana::Etiqueta& def) {
  auto* etiqueta = Colocar(new QLabel(TextoQt(def.texto), panel), def.nombre, def.caja);
  etiqueta->setTextFormat(Qt::PlainText);
  etiqueta->setAlignment(def.alineacion == ventana::Alineacion::kCentrada ? Qt::AlignHCenter | Qt::AlignTop
                                                                          : Qt::AlignLeft | Qt::AlignTop);
  etiqueta->setWordWrap(def.ajustada);
  etiqueta->setFont(FuenteQt(def.letra));
  // A window whose background role is the button face gives a label ButtonText (black) for its text unless it
  // is told to draw in WindowText.
  etiqueta->setForegroundRole(QPalette::WindowText);
  Colorear(*etiqueta, QPalette::WindowText, ColorQt(def.color));
  if (def.fondo) {
    etiqueta->setAutoFillBackground(true);
    Colorear(*etiqueta, QPalette::Window, ColorQt(*def.fondo));
  }
}

}  // namespace app
