// The record navigator of the review dialogs: ten buttons in a row over a ModeloTabla (first, 10 back,
// prior, next, 10 forward, last, edit, post, cancel, refresh), each enabled only when its action applies.
// There is no insert and no delete button. Names, hints, actions and when they apply are
// ventana::FuenteDatos's; the navigator draws them.
#pragma once

#include <QWidget>

#include <array>

#include "ventana/fuente_datos.h"

class QToolButton;

namespace app {

class ModeloTabla;

class Navegador : public QWidget {
  Q_OBJECT

 public:
  // A held button repeats its action first after this delay and then at this interval.
  static constexpr int kPrimeraRepeticionMs = ventana::kPrimeraRepeticionMs;
  static constexpr int kRepeticionMs = ventana::kRepeticionMs;

  // The buttons are named after the navigator: `nombre` followed by First, PriorPage, Prior, Next,
  // NextPage, Last, Edit, Post, Cancel, Refresh. They never take the focus.
  Navegador(ModeloTabla& modelo, const QString& nombre, QWidget* parent);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Actualizar();

  ModeloTabla& modelo_;
  std::array<QToolButton*, 10> botones_{};
};

}  // namespace app
