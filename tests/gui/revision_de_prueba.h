// What the review dialogs' tests share: opening a dialog without a modal loop, typing as the user does,
// the dialog's grid and navigator, and reading a table file back.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/qt/control_revision.h"
#include "import/importacion.h"
#include "storage/storage.h"
#include "tests/gui/ventana_de_prueba.h"

namespace gui_testing {

// Keys as the user types them: each goes to the control that has the focus at that moment (the grid, or
// the cell editor that the first key opened).
inline QWidget* Foco() {
  QWidget* foco = QApplication::focusWidget();
  if (foco == nullptr) QTest::qFail("no control has the focus", __FILE__, __LINE__);
  return foco;
}
inline void Teclear(const QString& texto) {
  for (QChar caracter : texto) {
    if (QWidget* foco = Foco()) QTest::keyClick(foco, caracter.toLatin1());
  }
}
inline void Pulsar(Qt::Key tecla, Qt::KeyboardModifiers modificadores = Qt::NoModifier) {
  if (QWidget* foco = Foco()) QTest::keyClick(foco, tecla, modificadores);
}

// A field of every record of a table file, in stored order, as text; through an engine of its own, so
// only what reached the file counts.
inline std::vector<std::string> Campo(const std::string& ruta, const std::string& campo) {
  storage::Engine engine('.');
  storage::Table tabla(engine);
  tabla.SetTableName(ruta);
  tabla.Open();
  std::vector<std::string> valores;
  for (tabla.First(); !tabla.Eof(); tabla.Next()) valores.push_back(tabla.AsString(campo));
  return valores;
}

// The review of the kind, opened as the import opens it.
inline std::unique_ptr<run::Revision> RevisionDe(run::TipoRevision tipo, storage::Engine& engine) {
  if (tipo == run::TipoRevision::kProfesores) return importacion::RevisionProfesores(engine);
  return importacion::RevisionPlantilla(engine);
}

// The review first, which outlives the dialog that shows it, as in the import.
struct RevisionPropia {
  std::unique_ptr<run::Revision> revision;
};

// A dialog with the review it shows, both released together.
class DialogoConRevision : private RevisionPropia, public app::TControlRevision {
 public:
  DialogoConRevision(run::TipoRevision tipo, storage::Engine& engine, app::MostrarError mostrarError)
      : RevisionPropia{RevisionDe(tipo, engine)}, TControlRevision(*revision, nullptr, std::move(mostrarError)) {}
};

// The dialog of a review of the kind shown and active without a modal loop, its grid holding the focus; the
// messages it shows are collected in `errores`. Opening the review throws as the import's does.
inline std::unique_ptr<app::TControlRevision> AbrirDialogo(run::TipoRevision tipo, storage::Engine& engine,
                                                           std::vector<std::string>& errores) {
  std::unique_ptr<app::TControlRevision> dialogo = std::make_unique<DialogoConRevision>(
      tipo, engine, [&errores](const std::string& texto) { errores.push_back(texto); });
  dialogo->show();
  dialogo->activateWindow();
  if (!QTest::qWaitForWindowActive(dialogo.get())) throw std::runtime_error("the dialog did not become active");
  return dialogo;
}

// The texts of a grid's column, top to bottom, as the grid shows them.
inline QStringList Mostrado(const QTableView& rejilla, int columna) {
  QStringList textos;
  for (int fila = 0; fila < rejilla.model()->rowCount(); ++fila) {
    textos << rejilla.model()->index(fila, columna).data().toString();
  }
  return textos;
}

// The navigator's buttons that are enabled, by the part of their name after "wwDBNavigator1".
inline QStringList Habilitados(const QWidget& dialogo) {
  QStringList nombres;
  for (auto* boton : dialogo.findChild<QWidget*>(QStringLiteral("wwDBNavigator1"))->findChildren<QToolButton*>()) {
    if (boton->isEnabled()) nombres << boton->objectName().mid(QStringLiteral("wwDBNavigator1").size());
  }
  return nombres;
}

inline void PulsarBotonNavegador(const QWidget& dialogo, const QString& sufijo) {
  std::string nombre = "wwDBNavigator1" + sufijo.toStdString();
  QTest::mouseClick(Buscar<QToolButton>(dialogo, nombre.c_str()), Qt::LeftButton);
}

// "Salir" clicked with the mouse, which takes the focus before it clicks.
inline void PulsarSalir(const QWidget& dialogo) { QTest::mouseClick(Buscar<QPushButton>(dialogo, "BitBtn1"), Qt::LeftButton); }

// The close box: the window closes with the focus where it was in the dialog.
inline void CerrarConLaCaja(QDialog& dialogo) { dialogo.close(); }

// Calls `mostrar`, which shows a dialog modally, and drives that dialog with `conducir` once it is active
// with the focus in it. True when the dialog was driven, modal and owned by `dueno`. A dialog left open
// is closed after a while, so that a failing case does not hang.
template <class Dialogo>
bool ConducirModal(QWidget* dueno, const std::function<void()>& mostrar, const std::function<void(Dialogo&)>& conducir) {
  bool conducido = false;
  QTimer vigilante;
  vigilante.setSingleShot(true);
  QObject::connect(&vigilante, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  QTimer conductor;
  conductor.setSingleShot(true);
  QObject::connect(&conductor, &QTimer::timeout, [&] {
    auto* dialogo = qobject_cast<Dialogo*>(QApplication::activeModalWidget());
    if (dialogo == nullptr || !QTest::qWaitForWindowActive(dialogo) ||
        !QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; })) {
      return;
    }
    conducido = dialogo->isModal() && dialogo->parentWidget() == dueno;
    conducir(*dialogo);
  });
  vigilante.start(10000);
  conductor.start(0);
  mostrar();
  return conducido;
}

}  // namespace gui_testing
