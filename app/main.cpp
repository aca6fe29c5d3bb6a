#include "app/Program.h"
#include "toolkit/qt/QtToolkit.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    visemer::QtToolkit toolkit;
    visemer::Program program(toolkit);
    return program.run();
}
