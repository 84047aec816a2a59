// The program's main window in Qt: the window library's main window (ventana::VentanaPrincipal) drawn with Qt
// widgets, with the directory and drive lists, the centre list, the language box and the export and import
// buttons, and its window menu, a context menu of its panels whose orders also answer their shortcuts anywhere
// in the window; the widgets' events go to it.
#pragma once

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "run/interfaz_usuario.h"
#include "ventana/ventana_principal.h"

class QAction;
class QComboBox;
class QContextMenuEvent;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QPushButton;

namespace app {

class DialogosQt;
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

  ventana::VentanaPrincipal& Ventana() { return ventana_; }
  const ventana::VentanaPrincipal& Ventana() const { return ventana_; }
  // The window menu, as a right click on a panel shows it.
  QMenu& MenuVentana() const { return *menuVentana_; }

 protected:
  // Enter that no control took: the default button of the panel with the focus clicks.
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* objeto, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void CrearPanelOrigen(QWidget* panel);
  void CrearPanelExportacion(QWidget* panel);
  void CrearPanelImportacion(QWidget* panel);
  void OrdenarTabulacion();
  void LlenarUnidades();
  void CrearMenuVentana();
  void FocoCambiado(QWidget* ahora);
  const ventana::Control* DisenoDe(const QWidget* foco) const;
  QPushButton* BotonPorDefecto(const QWidget* foco) const;
  void PulsarBotonPorDefecto();
  void BExportarClick();
  void BImportarClick();

  void MostrarDirectorio();
  void MostrarUnidad();
  void MostrarCentros();

  std::unique_ptr<run::InterfazUsuario> interfazPropia_;
  ventana::VentanaPrincipal ventana_;
  std::unique_ptr<DialogosQt> dialogos_;

  QLineEdit* edNuevoDir_ = nullptr;
  ListaCarpetas* listaDirectorios_ = nullptr;
  QComboBox* listaUnidades_ = nullptr;
  QComboBox* cbCentro_ = nullptr;
  QComboBox* comboBoxValCast_ = nullptr;
  QPushButton* bClose_ = nullptr;
  QPushButton* bExportar_ = nullptr;
  QPushButton* bImportar_ = nullptr;
  QMenu* menuVentana_ = nullptr;
  QMetaObject::Connection seguimientoDelFoco_;
};

}  // namespace app
