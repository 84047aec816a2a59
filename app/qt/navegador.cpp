#include "app/qt/navegador.h"

#include <QStyle>
#include <QToolButton>

#include "app/qt/modelo_tabla.h"

namespace app {
namespace {

struct DefBoton {
  const char* sufijo;
  const char* pista;
  QStyle::StandardPixmap icono;
  void (*accion)(ModeloTabla&);
  bool (*aplicable)(const ModeloTabla&);
};

bool HayAnterior(const ModeloTabla& m) { return m.Registros() > 0 && m.FilaActual() > 0; }
bool HaySiguiente(const ModeloTabla& m) { return m.FilaActual() < m.Registros() - 1; }

constexpr DefBoton kBotones[] = {
    {"First", "Move to first record", QStyle::SP_MediaSkipBackward, [](ModeloTabla& m) { m.IrAFila(0); }, HayAnterior},
    {"PriorPage", "Move backward 10 records", QStyle::SP_MediaSeekBackward,
     [](ModeloTabla& m) { m.Desplazar(-Navegador::kPagina); }, HayAnterior},
    {"Prior", "Move to prior record", QStyle::SP_ArrowLeft, [](ModeloTabla& m) { m.Desplazar(-1); }, HayAnterior},
    {"Next", "Move to next record", QStyle::SP_ArrowRight, [](ModeloTabla& m) { m.Desplazar(1); }, HaySiguiente},
    {"NextPage", "Move forward 10 records", QStyle::SP_MediaSeekForward,
     [](ModeloTabla& m) { m.Desplazar(Navegador::kPagina); }, HaySiguiente},
    {"Last", "Move to last record", QStyle::SP_MediaSkipForward, [](ModeloTabla& m) { m.IrAFila(m.Registros() - 1); },
     HaySiguiente},
    {"Edit", "Edit current record", QStyle::SP_ArrowUp, [](ModeloTabla& m) { m.Editar(); },
     [](const ModeloTabla& m) { return !m.Editando(); }},
    {"Post", "Post changes of current record", QStyle::SP_DialogApplyButton, [](ModeloTabla& m) { m.Publicar(); },
     [](const ModeloTabla& m) { return m.Editando(); }},
    {"Cancel", "Cancel changes made to current record", QStyle::SP_DialogCancelButton,
     [](ModeloTabla& m) { m.Cancelar(); }, [](const ModeloTabla& m) { return m.Editando(); }},
    {"Refresh", "Refresh the contents of the dataset", QStyle::SP_BrowserReload, [](ModeloTabla& m) { m.Releer(); },
     [](const ModeloTabla&) { return true; }},
};
static_assert(std::size(kBotones) == 10, "one definition per button");

}  // namespace

Navegador::Navegador(ModeloTabla& modelo, const QString& nombre, QWidget* parent) : QWidget(parent), modelo_(modelo) {
  setObjectName(nombre);
  for (std::size_t i = 0; i < botones_.size(); ++i) {
    const DefBoton& def = kBotones[i];
    auto* boton = new QToolButton(this);
    boton->setObjectName(nombre + QLatin1String(def.sufijo));
    boton->setToolTip(QString::fromLatin1(def.pista));
    boton->setIcon(style()->standardIcon(def.icono));
    boton->setFocusPolicy(Qt::NoFocus);
    boton->setAutoRepeat(true);
    boton->setAutoRepeatDelay(kPrimeraRepeticionMs);
    boton->setAutoRepeatInterval(kRepeticionMs);
    connect(boton, &QToolButton::clicked, this, [this, accion = def.accion] { accion(modelo_); });
    botones_[i] = boton;
  }
  connect(&modelo_, &ModeloTabla::filaActualCambiada, this, &Navegador::Actualizar);
  connect(&modelo_, &ModeloTabla::estadoCambiado, this, &Navegador::Actualizar);
  connect(&modelo_, &QAbstractItemModel::modelReset, this, &Navegador::Actualizar);
  Actualizar();
}

void Navegador::Actualizar() {
  for (std::size_t i = 0; i < botones_.size(); ++i) botones_[i]->setEnabled(kBotones[i].aplicable(modelo_));
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
