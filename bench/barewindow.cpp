// The floor for the panel's start-up and memory: a bare Qt main window with
// the same widgets and 15 × 30 menu actions, and nothing else.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    for (int menu = 1; menu <= 15; ++menu) {
        QMenu* dropDown = window.menuBar()->addMenu(QStringLiteral("Menu %1").arg(menu));
        for (int item = 1; item <= 30; ++item) {
            dropDown->addAction(QStringLiteral("_CMD%1: item %2").arg(menu * 100 + item).arg(item));
        }
    }
    auto* client = new QWidget(&window);
    auto* check = new QCheckBox(QStringLiteral("IMEOFF"), client);
    check->setGeometry(15, 3, 70, 17);
    auto* combo = new QComboBox(client);
    combo->addItem(QStringLiteral("OrvaneList.txt"));
    combo->setGeometry(91, 2, 368, 24);
    window.setCentralWidget(client);
    QTimer timer;
    timer.start(1000);
    window.resize(467, 50);
    window.show();
    return QApplication::exec();
}
