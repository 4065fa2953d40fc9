#include "errorreport.h"
#include "programend.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxErrorReport::raise(RuntimeError error)
{
    QMessageBox::critical(QApplication::activeWindow(), title_, errorMessage(error));
    exitProcessNow(1);
}
