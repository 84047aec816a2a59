// The window menu's dialogs in Qt: "Problemas en los datos de ESCOLAN" and "Copias de los horarios", each a
// modal list drawn from its design (ventana/dialogos.h) over its model, and the question with Sí and No.
#pragma once

#include <QDialog>

#include <array>
#include <string>
#include <vector>

#include "run/interfaz_usuario.h"
#include "ventana/copias.h"
#include "ventana/dialogos.h"
#include "ventana/problemas.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace app {

// What both list dialogs share: the caption, the client area, the summary line, the list with its columns
// and the row of buttons, each placed and named as the design says (the list "Lista", the line "Resumen").
// The last button closes the dialog, as Escape does.
class TDialogoLista : public QDialog {
  Q_OBJECT

 public:
  QTreeWidget& Lista() const { return *lista_; }
  QPushButton& Boton(std::size_t indice) const { return *botones_.at(indice); }

 protected:
  TDialogoLista(const ventana::DisenoLista<5, 3>& diseno, QWidget* parent);
  // The summary line and the rows, each given by its cells.
  void Mostrar(const std::string& resumen, const std::vector<std::array<std::string, 5>>& filas);

 private:
  QLabel* resumen_ = nullptr;
  QTreeWidget* lista_ = nullptr;
  std::array<QPushButton*, 3> botones_{};
};

// "Copiar" puts the list on the clipboard as text; "Guardar…" asks for a file in the user's home folder and
// saves the list there.
class TDialogoProblemas : public TDialogoLista {
  Q_OBJECT

 public:
  TDialogoProblemas(ventana::DialogoProblemas& dialogo, run::InterfazUsuario& interfaz, QWidget* parent);

 private:
  void Copiar();
  void Guardar();

  ventana::DialogoProblemas& dialogo_;
  run::InterfazUsuario& interfaz_;
};

// The selected row is the model's; "Ver horarios" and "Restaurar" work on it, only for a backup with both
// timetables. After a restore the list shows the backups as they are then.
class TDialogoCopias : public TDialogoLista {
  Q_OBJECT

 public:
  TDialogoCopias(ventana::DialogoCopias& dialogo, QWidget* parent);

 private:
  void Llenar();
  void Seleccionar();
  void Restaurar();

  ventana::DialogoCopias& dialogo_;
};

class DialogosQt : public ventana::Dialogos {
 public:
  // `ventana` is the main window, the dialogs' parent; `interfaz` shows what fails in them.
  DialogosQt(QWidget* ventana, run::InterfazUsuario& interfaz) : ventana_(ventana), interfaz_(interfaz) {}

  void MostrarProblemas(ventana::DialogoProblemas& dialogo) override;
  void MostrarCopias(ventana::DialogoCopias& dialogo) override;
  // Over the dialog that asks, when one is open.
  bool Preguntar(const std::string& texto) override;

 private:
  QWidget* ventana_;
  run::InterfazUsuario& interfaz_;
};

}  // namespace app
