#pragma once
// The program's application object: an error that escapes any event handler is reported
// (the program writes it to its error log) instead of ending the program.
#include <QApplication>

class GuiApplication : public QApplication {
public:
    GuiApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};
