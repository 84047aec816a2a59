// What the two review dialogs of the import share: the fixed frame on the gradient panel, the labels, the
// record navigator, the grid and the button "Salir"; the grid's enter and exit handlers, called as the
// focus enters the grid and leaves it for another control of the dialog; and the table layer's messages,
// shown through the application's error handler.
#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QDialog;
class QPushButton;

namespace app {

class ModeloTabla;
class Navegador;
class RejillaDatos;

// Shows a message of the table layer the way the application shows an error (a modal box with a stop icon).
using MostrarError = std::function<void(const std::string& mensaje)>;

// A label of a review dialog: where it stands, its text and look.
struct EtiquetaRevision {
  const char* nombre;
  QRect caja;
  QString texto;
  QFont fuente;
  QColor color;
  bool ajustada = false;               // wrapped at word boundaries inside its box
  Qt::Alignment alineacion = Qt::AlignLeft | Qt::AlignTop;
  QColor fondo = {};                   // transparent when invalid
};

struct DisenoRevision {
  QString titulo;
  QSize cliente;
  QRect panel;
  std::vector<EtiquetaRevision> etiquetas;
  QRect navegador;
  const char* nombreRejilla;
  QRect rejilla;
  QRect salir;
};

class MarcoRevision : public QObject {
 public:
  // Builds the dialog's controls. `alEntrar` and `alSalir` are the grid's enter and exit handlers.
  MarcoRevision(QDialog& dialogo, ModeloTabla& modelo, const DisenoRevision& diseno, std::function<void()> alEntrar,
                std::function<void()> alSalir, MostrarError mostrarError);
  ~MarcoRevision() override;
  MarcoRevision(const MarcoRevision&) = delete;
  MarcoRevision& operator=(const MarcoRevision&) = delete;

  // The dialog's default font, "MS Sans Serif" where the system has it.
  static QFont Fuente(int puntos, bool negrita = false, bool subrayada = false);
  // The three labels of a review dialog: its title (Label1), the heading of the explanation (Label3) and
  // the explanation (Label2).
  static EtiquetaRevision Titulo(const QRect& caja, const char* texto);
  static EtiquetaRevision Encabezado(const QRect& caja, const char* texto);
  static EtiquetaRevision Explicacion(const QRect& caja, const char* texto);

 protected:
  bool eventFilter(QObject* objeto, QEvent* event) override;

 private:
  void CrearControles(const DisenoRevision& diseno);
  void FocoCambiado(QWidget* ahora);
  void Fallo(const QString& mensaje);
  void SalirClick();

  QDialog& dialogo_;
  ModeloTabla& modelo_;
  std::function<void()> alEntrar_;
  std::function<void()> alSalir_;
  MostrarError mostrarError_;
  QPointer<RejillaDatos> rejilla_;
  QMetaObject::Connection seguimientoDelFoco_;
  bool enLaRejilla_ = false;
  // A failure not yet shown: while there is one, the focus does not leave the grid.
  bool falloSinMostrar_ = false;
};

}  // namespace app
