// The yardstick for start time and rest: a Qt program that shows one empty
// main window with the client size of the dialogue window and does nothing.
//
//   vb_bare_window [WIDTH HEIGHT]

#include <QApplication>
#include <QMainWindow>
#include <QWidget>
#include <cstdlib>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int width = argc > 2 ? std::atoi(argv[1]) : 587;
  const int height = argc > 2 ? std::atoi(argv[2]) : 361;
  QMainWindow window;
  window.setWindowTitle("bare");
  window.setCentralWidget(new QWidget(&window));
  window.setFixedSize(width, height);
  window.show();
  return QApplication::exec();
}
