// The directory tree list: the folders of a path, one entry per level, each level indented one step more,
// then the subfolders of its last folder. Opening an entry (double-click, or Enter on the selected one)
// asks to move there; a single click only selects.
#pragma once

#include <QListWidget>

#include <functional>
#include <string>

namespace app {

class ListaCarpetas : public QListWidget {
 public:
  // What each entry holds besides its text.
  static constexpr int kRolRuta = Qt::UserRole;       // the folder's Windows path
  static constexpr int kRolNivel = Qt::UserRole + 1;  // 0 for the drive's root

  explicit ListaCarpetas(QWidget* parent);

  // Lists `carpeta` (a full Windows path) and its subfolders, with its own entry selected.
  void MostrarCarpeta(const std::string& carpeta);

  // Called with the path of an entry the user opens.
  std::function<void(const std::string&)> alAbrir;

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QListWidgetItem* Agregar(const QString& texto, const std::string& ruta, int nivel, bool abierta);
  void Abrir(const QListWidgetItem* entrada);
};

}  // namespace app
