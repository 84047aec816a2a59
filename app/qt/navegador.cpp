#include "app/qt/navegador.h"

#include <QStyle>
#include <QToolButton>

#include <iterator>

#include "app/qt/modelo_tabla.h"

namespace app {
namespace {

// The buttons' glyphs, in the order of ventana::kBotonesNavegador.
constexpr QStyle::StandardPixmap kIconos[] = {
    QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSeekBackward,  QStyle::SP_ArrowLeft,
    QStyle::SP_ArrowRight,        QStyle::SP_MediaSeekForward,   QStyle::SP_MediaSkipForward,
    QStyle::SP_ArrowUp,           QStyle::SP_DialogApplyButton,  QStyle::SP_DialogCancelButton,
    QStyle::SP_BrowserReload,
};
static_assert(std::size(kIconos) == ventana::kBotonesNavegador.size(), "one glyph per button");

}  // namespace

Navegador::Navegador(ModeloTabla& modelo, const QString& nombre, QWidget* parent) : QWidget(parent), modelo_(modelo) {
  setObjectName(nombre);
  for (std::size_t i = 0; i < botones_.size(); ++i) {
    const ventana::BotonNavegador& def = ventana::kBotonesNavegador[i];
    auto* boton = new QToolButton(this);
    boton->setObjectName(nombre + QLatin1String(def.sufijo));
    boton->setToolTip(QString::fromLatin1(def.pista));
    boton->setIcon(style()->standardIcon(kIconos[i]));
    boton->setFocusPolicy(Qt::NoFocus);
    boton->setAutoRepeat(true);
    boton->setAutoRepeatDelay(kPrimeraRepeticionMs);
    boton->setAutoRepeatInterval(kRepeticionMs);
    connect(boton, &QToolButton::clicked, this, [this, accion = def.accion] { modelo_.Ejecutar(accion); });
    botones_[i] = boton;
  }
  connect(&modelo_, &ModeloTabla::filaActualCambiada, this, &Navegador::Actualizar);
  connect(&modelo_, &ModeloTabla::estadoCambiado, this, &Navegador::Actualizar);
  connect(&modelo_, &QAbstractItemModel::modelReset, this, &Navegador::Actualizar);
  Actualizar();
}

void Navegador::Actualizar() {
  for (std::size_t i = 0; i < botones_.size(); ++i) {
    botones_[i]->setEnabled(modelo_.Fuente().Aplicable(ventana::kBotonesNavegador[i].accion));
  }
}

// The buttons share the width, the spare pixels going one each to the first ones.
void Navegador::resizeEvent(QResizeEvent* /*event*/) {
  int cuantos = static_cast<int>(botones_.size());
  int x = 0;
  for (int i = 0; i < cuantos; ++i) {
    int ancho = width() / cuantos + (i < width() % cuantos ? 1 : 0);
    botones_[static_cast<std::size_t>(i)]->setGeometry(x, 0, ancho, height());
    x += ancho;
  }
}

}  // namespace app
