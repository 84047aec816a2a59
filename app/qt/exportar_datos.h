// The program's main window: the window without widgets (VentanaPrincipal) shown through Qt widgets, with
// the directory and drive lists, the centre list, the language box and the export and import buttons.
#pragma once

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "app/ventana_principal.h"

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace app {

class ListaCarpetas;

class TExportarDatos : public QWidget {
  Q_OBJECT

 public:
  // Builds the controls and runs the window's creation (FormCreate): an error there is shown through
  // `interfaz` and the window is still usable. `interfaz` is how the runs reach the user; with none the
  // window uses message boxes and the application's hourglass of its own.
  explicit TExportarDatos(run::InterfazUsuario* interfaz = nullptr, QWidget* parent = nullptr);
  ~TExportarDatos() override;
  TExportarDatos(const TExportarDatos&) = delete;
  TExportarDatos& operator=(const TExportarDatos&) = delete;

  // The steps that the export button runs, in order.
  std::vector<exportacion::PasoExportacion> pasosExportacion = exportacion::PasosExportacion();

  const VentanaPrincipal& Ventana() const { return ventana_; }

 protected:
  // Enter that no control took: the default button of the panel with the focus clicks.
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* objeto, QEvent* event) override;

 private:
  void CrearPanelOrigen(QWidget* panel);
  void CrearPanelExportacion(QWidget* panel);
  void CrearPanelImportacion(QWidget* panel);
  void OrdenarTabulacion();
  void LlenarUnidades();
  void FocoCambiado(QWidget* ahora);
  QPushButton* BotonPorDefecto(const QWidget* foco) const;
  void PulsarBotonPorDefecto();

  void FormCreate();
  void MostrarDirectorio();
  void MostrarUnidad();
  void MostrarCentros();

  void AbrirCarpeta(const std::string& carpeta);
  void ElegirUnidad(int indice);
  void BExportarClick();
  void BImportarClick();

  storage::Engine engine_;
  std::unique_ptr<run::InterfazUsuario> interfazPropia_;
  run::InterfazUsuario& interfaz_;
  VentanaPrincipal ventana_;

  QLineEdit* edNuevoDir_ = nullptr;
  ListaCarpetas* listaDirectorios_ = nullptr;
  QComboBox* listaUnidades_ = nullptr;
  QComboBox* cbCentro_ = nullptr;
  QComboBox* comboBoxValCast_ = nullptr;
  QWidget* draw3D3_ = nullptr;
  QPushButton* bClose_ = nullptr;
  QPushButton* bExportar_ = nullptr;
  QPushButton* bImportar_ = nullptr;
  QMetaObject::Connection seguimientoDelFoco_;
};

}  // namespace app
