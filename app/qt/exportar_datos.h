// The program's main window: the window without widgets (VentanaPrincipal) shown through Qt widgets, with
// the directory and drive lists, the centre list, the language box and the export and import buttons.
#pragma once

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "app/ventana_principal.h"

class QComboBox;
class QLineEdit;

namespace app {

class ListaCarpetas;

inline constexpr const char* kTituloVentana = "Exportar e importar datos ";

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

 private:
  void CrearPanelOrigen(QWidget* panel);
  void CrearPanelExportacion(QWidget* panel);
  void CrearPanelImportacion(QWidget* panel);
  void OrdenarTabulacion();
  void LlenarUnidades();

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
};

}  // namespace app
